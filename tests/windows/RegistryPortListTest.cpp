// The port list from the real registry, with radio-sim behind one of its
// ports. scripts/test-windows starts radio-sim, maps its pseudo-terminal as a
// COM port in Wine's Ports key, restarts wineserver so that Wine lists it
// under HARDWARE\DEVICEMAP\SERIALCOMM, and names the port in
// RADIOINFO_SIM_PORT (COMn). Wine lists the host's serial devices there as
// well, so the tests look for their own port and never at the whole list.
#include "system/ModSetComm2.h"
#include "system/RegistryPortSource.h"
#include "system/StartPort.h"
#include "system/SystemPorts.h"
#include "system/WindowsApi.h"

#include "record/ModFun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
using Texts = std::vector<std::u16string>;

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// The simulated radio's port from the environment; 0 when it is not set.
int SimPortNumber() {
    const char* name = std::getenv("RADIOINFO_SIM_PORT");
    if (name == nullptr) {
        return 0;
    }
    return PortNumberOfEntry(Widen(name)).value_or(0);
}

// A port number of at most three digits that the list does not hold.
int UnlistedPortNumber(const Texts& list) {
    int portNo = 999;
    while (InComPorts(list, portNo)) {
        --portNo;
    }
    return portNo;
}

// The data texts under SERIALCOMM through the wide registry functions, in
// the registry's order: what the list must follow.
Texts RegistryDataTexts() {
    Texts texts;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return texts;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        wchar_t data[256] = {};
        DWORD nameChars = 256;
        DWORD dataBytes = sizeof(data) - sizeof(wchar_t);
        if (RegEnumValueW(key, index, name, &nameChars, nullptr, nullptr,
                          reinterpret_cast<BYTE*>(data), &dataBytes) != ERROR_SUCCESS) {
            break;
        }
        const std::wstring text(data);
        texts.emplace_back(text.begin(), text.end());
    }
    RegCloseKey(key);
    return texts;
}

class RegistryPortList : public testing::Test {
  protected:
    void SetUp() override {
        simPort_ = SimPortNumber();
        if (simPort_ == 0) {
            GTEST_SKIP() << "RADIOINFO_SIM_PORT names no COM port; scripts/test-windows sets it";
        }
        RegistryPortSource source;
        first_ = ListComPorts(list_, source);
    }

    int simPort_ = 0;
    Texts list_;
    std::int16_t first_ = 0;
};

struct StartRow {
    const char* name;
    enum Saved { SimPort, Nothing, Unlisted, Negative } saved;
    bool selectsSimPort; // else the first listed port
};

const StartRow StartRows[] = {
    {"SavedListedIsKept", StartRow::SimPort, true},
    {"NothingSavedTakesTheFirstListed", StartRow::Nothing, false},
    {"SavedNotListedTakesTheFirstListed", StartRow::Unlisted, false},
    {"NegativeSavedTakesTheFirstListed", StartRow::Negative, false},
};

void PrintTo(const StartRow& row, std::ostream* out) {
    *out << row.name;
}
} // namespace

// Windows lists only its own ports; Wine adds the host's serial devices
// (COM1 for /dev/ttyS0 and so on), so the test looks for its port alone.
TEST_F(RegistryPortList, ListsTheSimulatedRadiosPort) {
    EXPECT_TRUE(InComPorts(list_, simPort_));
    EXPECT_EQ(SelectListText(list_, ComPortText(simPort_)), ComPortText(simPort_));
}

TEST_F(RegistryPortList, FollowsTheRegistrysOrderAndNumbersTheFirstPort) {
    Texts expected;
    for (const std::u16string& data : RegistryDataTexts()) {
        expected.push_back(u"COM" + data.substr(std::min<std::size_t>(3, data.size()), 3));
    }
    EXPECT_EQ(list_, expected);
    ASSERT_FALSE(list_.empty());
    EXPECT_EQ(first_, PortNumberOfEntry(list_.front()).value_or(0));
}

TEST_F(RegistryPortList, TheSystemSourceIsTheRegistryAndOpensPortsByName) {
    std::vector<PortEntry> entries;
    EXPECT_EQ(ListComPorts(entries, *MakeSystemPortSource()), first_);
    EXPECT_EQ(EntryTexts(entries), list_);
    EXPECT_EQ(SystemPortDevice(simPort_), ComPortText(simPort_));
}

class RegistryStartPort : public RegistryPortList, public testing::WithParamInterface<StartRow> {};

TEST_P(RegistryStartPort, StartUpSelectsBySavedPort) {
    const StartRow& row = GetParam();
    const int saved = row.saved == StartRow::SimPort    ? simPort_
                      : row.saved == StartRow::Unlisted ? UnlistedPortNumber(list_)
                      : row.saved == StartRow::Negative ? -1
                                                        : 0;
    const int expected = row.selectsSimPort ? simPort_ : first_;
    EXPECT_EQ(StartPortNumber(false, static_cast<std::int16_t>(saved), list_, first_), expected);
}

INSTANTIATE_TEST_SUITE_P(SavedPorts, RegistryStartPort, testing::ValuesIn(StartRows),
                         [](const testing::TestParamInfo<StartRow>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(RegistryPortList, TheListedPortReachesTheRadio) {
    const std::string name = "\\\\.\\COM" + std::to_string(simPort_);
    HANDLE port = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    DCB line{};
    line.DCBlength = sizeof(line);
    ASSERT_TRUE(GetCommState(port, &line));
    line.BaudRate = CBR_9600;
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    ASSERT_TRUE(SetCommState(port, &line));
    COMMTIMEOUTS timeouts{};
    timeouts.ReadTotalTimeoutConstant = 3000;
    ASSERT_TRUE(SetCommTimeouts(port, &timeouts));
    PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);

    // The handshake, then END: each answer comes after the cable's echo.
    const std::pair<std::string, std::string> exchanges[] = {
        {"PROGRAM", std::string("PROGRAMHV\x06")},
        {"END", std::string("END\x06")},
    };
    for (const auto& [command, answer] : exchanges) {
        SCOPED_TRACE(command);
        DWORD written = 0;
        ASSERT_TRUE(
            WriteFile(port, command.data(), static_cast<DWORD>(command.size()), &written, nullptr));
        std::string received(answer.size(), '\0');
        DWORD got = 0;
        ASSERT_TRUE(
            ReadFile(port, received.data(), static_cast<DWORD>(received.size()), &got, nullptr));
        received.resize(got);
        EXPECT_EQ(received, answer);
    }
    CloseHandle(port);
}

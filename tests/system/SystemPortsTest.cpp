#include "system/SystemPorts.h"
#include "system/QtPortResolver.h"
#include "system/SysfsSerialDevices.h"

#include "PseudoTerminal.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace {
// An alias numbered far above any real device of this machine, to a
// pseudo-terminal; and com501 to /dev/null, which is no port.
struct PrivateAlias {
    TempDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.Path().string()};
    PseudoTerminal pty;
    std::u16string device = pty.Path().u16string();

    PrivateAlias() {
        fs::create_directories(config.Path() / "radioinfo" / "ports");
        fs::create_symlink(pty.Path(), config.Path() / "radioinfo" / "ports" / "com500");
        fs::create_symlink("/dev/null", config.Path() / "radioinfo" / "ports" / "com501");
    }
};
} // namespace

TEST(SystemPorts, ListTheAliasesOfTheConfigFolder) {
    PrivateAlias alias;
    std::vector<PortEntry> list;
    ListComPorts(list, *MakeSystemPortSource());
    ASSERT_FALSE(alias.device.empty());
    EXPECT_NE(std::find(list.begin(), list.end(), PortEntry{u"COM500", alias.device}), list.end());
    EXPECT_EQ(std::find_if(list.begin(), list.end(),
                           [](const PortEntry& e) { return e.text == u"COM501"; }),
              list.end());
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return PortNumberOfEntry(a.text) < PortNumberOfEntry(b.text);
    }));
}

TEST(SystemPorts, TheResolverOpensTheAliasDevice) {
    PrivateAlias alias;
    EXPECT_EQ(SystemPortDevice(500), alias.device);
    EXPECT_EQ(SystemPortResolver()(500), QString::fromStdU16String(alias.device));
    EXPECT_EQ(SystemPortDevice(501), u"");
    EXPECT_TRUE(SystemPortResolver()(501).isEmpty());
    EXPECT_EQ(SystemPortDevice(502), u"");
}

TEST(SysfsSerialDevices, TtysBackedByADeviceAndTheKnownDevicelessKinds) {
    struct Entry {
        const char* name;
        const char* driver; // nullptr: no device behind the tty
        const char* type;   // the 8250 type attribute, nullptr for none
        bool listed;
    };
    const Entry entries[] = {
        {"ttyS0", "serial8250", "4", true},
        {"ttyS1", "serial8250", "0", false}, // registered, no hardware
        {"ttyS2", "port", "0", true},        // newer kernels: the serial-base port driver
        {"ttyUSB0", "ftdi_sio", nullptr, true},
        {"ttyACM0", "cdc_acm", nullptr, true},
        {"tty5", nullptr, nullptr, false},
        {"console", nullptr, nullptr, false},
        {"rfcomm0", nullptr, nullptr, true},
        {"tnt0", nullptr, nullptr, true},
        {"ttyGS0", nullptr, nullptr, true},
    };
    TempDir sys;
    const fs::path classFolder = sys.Path() / "class" / "tty";
    fs::create_directories(classFolder);
    std::vector<std::u16string> expected;
    for (const Entry& e : entries) {
        const fs::path entry = classFolder / e.name;
        fs::create_directory(entry);
        if (e.driver != nullptr) {
            const fs::path device = sys.Path() / "devices" / e.name;
            fs::create_directories(device);
            fs::create_directories(sys.Path() / "drivers" / e.driver);
            fs::create_symlink(sys.Path() / "drivers" / e.driver, device / "driver");
            fs::create_symlink(device, entry / "device");
        }
        if (e.type != nullptr) {
            WriteBytes(entry / "type", std::string(e.type) + "\n");
        }
        if (e.listed) {
            expected.push_back(u"/dev/" + fs::path(e.name).u16string());
        }
    }
    const std::optional<std::vector<SerialDevice>> devices = SysfsSerialDevices(classFolder);
    ASSERT_TRUE(devices);
    std::vector<std::u16string> paths;
    for (const SerialDevice& device : *devices) {
        EXPECT_EQ(u"/dev/" + device.kernelName, device.path);
        paths.push_back(device.path);
    }
    std::sort(paths.begin(), paths.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(paths, expected);
    EXPECT_FALSE(SysfsSerialDevices(sys.Path() / "missing"));
}

#include "system/ModSetComm2.h"

#include "PortPrinting.h"
#include "record/ModFun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {
using Texts = std::vector<std::u16string>;

// Data texts as the registry hands them out, in its order.
class FakeRegistry : public PortSource {
  public:
    explicit FakeRegistry(Texts data) : data_(std::move(data)) {}

    std::vector<SystemPort> Ports() override {
        ++calls;
        std::vector<SystemPort> ports;
        for (const auto& d : data_) {
            ports.push_back({d, {}});
        }
        return ports;
    }

    int calls = 0;

  private:
    Texts data_;
};

struct ListCase {
    const char* what;
    Texts data;
    Texts entries;
    std::int16_t first;
};

const ListCase ListCases[] = {
    {"system order kept, not sorted", {u"COM5", u"COM1", u"COM3"}, {u"COM5", u"COM1", u"COM3"}, 5},
    {"two digits", {u"COM12"}, {u"COM12"}, 12},
    {"three digits at most", {u"COM1234"}, {u"COM123"}, 123},
    {"nothing listed", {}, {}, 0},
    {"duplicates kept", {u"COM3", u"COM3", u"COM2"}, {u"COM3", u"COM3", u"COM2"}, 3},
    {"a non-number entry is listed but gives no number",
     {u"CNCA0", u"COM4"},
     {u"COMA0", u"COM4"},
     4},
    {"only non-number entries", {u"CNCA0", u"CNCB1"}, {u"COMA0", u"COMB1"}, 0},
    {"first non-zero number", {u"COM0", u"COM2", u"COM9"}, {u"COM0", u"COM2", u"COM9"}, 2},
    {"a sign is not a digit", {u"COM-1", u"COM6"}, {u"COM-1", u"COM6"}, 6},
    {"spaces around the number removed", {u"COM 7", u"COM8 "}, {u"COM7", u"COM8"}, 7},
    {"the prefix is not looked at", {u"XYZ5"}, {u"COM5"}, 5},
    {"data ends at its first NUL", {u"COM9\0COM1"s}, {u"COM9"}, 9},
    {"inner space is not a number", {u"COM1 2", u"COM3"}, {u"COM1 2", u"COM3"}, 3},
    {"three characters or fewer", {u"COM", u"CO", u""}, {u"COM", u"COM", u"COM"}, 0},
    {"cut to three, then trimmed", {u"COM 456"}, {u"COM45"}, 45},
};
} // namespace

TEST(ListComPorts, BuildsEntriesAndFirstNumberFromTheSystemData) {
    for (const ListCase& c : ListCases) {
        SCOPED_TRACE(c.what);
        FakeRegistry source(c.data);
        Texts list{u"COM99", u"stale"};
        EXPECT_EQ(ListComPorts(list, source), c.first);
        EXPECT_EQ(list, c.entries);
    }
}

TEST(ListComPorts, EntriesCarryTheSourcesDevicePaths) {
    class WithPaths : public PortSource {
        std::vector<SystemPort> Ports() override {
            return {{u"COM3", u"/dev/ttyS2"}, {u"COM1234", u"/dev/pts/7"}};
        }
    } source;
    std::vector<PortEntry> list{{u"COM1", u"/dev/old"}};
    EXPECT_EQ(ListComPorts(list, source), 3);
    EXPECT_EQ(list, (std::vector<PortEntry>{{u"COM3", u"/dev/ttyS2"}, {u"COM123", u"/dev/pts/7"}}));
    EXPECT_EQ(EntryTexts(list), (Texts{u"COM3", u"COM123"}));
}

TEST(ListComPorts, AsksTheSourceAfreshEveryTime) {
    FakeRegistry source({u"COM2"});
    Texts list;
    ListComPorts(list, source);
    ListComPorts(list, source);
    EXPECT_EQ(source.calls, 2);
    EXPECT_EQ(list, Texts{u"COM2"});
}

TEST(ListComPorts, ARefreshAfterTheSelectedPortVanishedSelectsTheFirstListed) {
    // The window's tick: keep COM4 when listed, else the first entry.
    FakeRegistry gone({u"COM1", u"COM2"});
    Texts list;
    ASSERT_EQ(ListComPorts(list, gone), 1);
    EXPECT_EQ(SelectListText(list, ComPortText(4)), u"COM1");
    FakeRegistry back({u"COM1", u"COM2", u"COM4"});
    ASSERT_EQ(ListComPorts(list, back), 1);
    EXPECT_EQ(SelectListText(list, ComPortText(4)), u"COM4");
}

TEST(InComPorts, WholeEntryExactlyAndCaseSensitively) {
    struct Case {
        Texts list;
        int portNo;
        bool listed;
    };
    const Case cases[] = {
        {{u"COM1", u"COM7"}, 7, true}, {{u"COM17"}, 7, false},
        {{u"COM7"}, 17, false},        {{}, 7, false},
        {{u"com7"}, 7, false},         {{u"COM07"}, 7, false},
        {{u"COM7 "}, 7, false},        {{u"COM3", u"COM3", u"COM7"}, 7, true},
        {{u"COM123"}, 123, true},      {{u"COM0"}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.portNo);
        EXPECT_EQ(InComPorts(c.list, c.portNo), c.listed);
    }
}

TEST(PortNumberOfEntry, DigitsAfterTheFirstThreeCharacters) {
    const std::vector<std::pair<std::u16string, std::optional<std::int16_t>>> cases{
        {u"COM5", 5},
        {u"COM123", 123},
        {u"COM0", 0},
        {u"COM007", 7},
        {u"XYZ12", 12},
        {u"COM32767", 32767},
        {u"COM32768", std::nullopt},
        {u"COM99999999999", std::nullopt},
        {u"COM", std::nullopt},
        {u"", std::nullopt},
        {u"COMA0", std::nullopt},
        {u"COM-1", std::nullopt},
        {u"COM1 2", std::nullopt},
    };
    for (const auto& [entry, number] : cases) {
        SCOPED_TRACE(Ascii(entry));
        EXPECT_EQ(PortNumberOfEntry(entry), number);
    }
}

TEST(FixedComPortList, Com1ToCom256InOrder) {
    const Texts list = FixedComPortList();
    ASSERT_EQ(list.size(), 256u);
    EXPECT_EQ(list.front(), u"COM1");
    EXPECT_EQ(list[4], u"COM5");
    EXPECT_EQ(list[9], u"COM10");
    EXPECT_EQ(list[99], u"COM100");
    EXPECT_EQ(list.back(), u"COM256");
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(PortNumberOfEntry(list[i]), static_cast<std::int16_t>(i + 1));
    }
    EXPECT_TRUE(InComPorts(list, 5));
    EXPECT_FALSE(InComPorts(list, 257));
    EXPECT_EQ(SelectListText(list, ComPortText(5)), u"COM5");
}

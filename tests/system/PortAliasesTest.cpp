#include "system/PortAliases.h"
#include "system/ConfigDir.h"
#include "system/LinuxPortSource.h"

#include "PortPrinting.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
using Ports = std::vector<SystemPort>;

// Character devices every Linux system has, to stand in for serial ports:
// the terminal check of these tests takes them for terminals.
const fs::path Null = "/dev/null";
const fs::path Zero = "/dev/zero";
const fs::path Full = "/dev/full";

bool StandsIn(const fs::path& device) {
    return device == Null || device == Zero || device == Full;
}

struct AliasFolder {
    TempDir temp;
    fs::path folder = temp.Path() / "ports";

    AliasFolder() { fs::create_directory(folder); }

    void Link(const std::string& name, const fs::path& target) const {
        fs::create_symlink(target, folder / name);
    }
};

LinuxPortSource::DeviceLister Devices(std::vector<SerialDevice> devices) {
    return [devices] { return devices; };
}
} // namespace

TEST(AliasNumber, ComAndOneToThreeDigitsInAnyCase) {
    const std::vector<std::pair<std::string, int>> cases{
        {"com1", 1},  {"COM7", 7},     {"Com42", 42}, {"cOM999", 999}, {"com007", 7},
        {"com0", 0},  {"com1234", 0},  {"comX", 0},   {"com", 0},      {"com1a", 0},
        {"com 1", 0}, {"ttyUSB0", 0},  {"xcom1", 0},  {"com-1", 0},    {"", 0},
        {"c0m1", 0},  {"com1.lnk", 0},
    };
    for (const auto& [name, number] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(AliasNumber(name), number);
    }
}

TEST(ReadPortAliases, SymlinksToTerminalDevicesOnly) {
    AliasFolder a;
    a.Link("com5", Null);
    a.Link("Com42", Zero);
    a.Link("com7", Full);            // a character device, but no terminal
    a.Link("com1234", Null);         // four digits
    a.Link("comX", Null);            // no number
    a.Link("com0", Null);            // no port 0
    a.Link("com12", "/nonexistent"); // dangling
    a.Link("com13", a.temp.Path());  // a folder
    WriteBytes(a.temp.Path() / "plain", "x");
    a.Link("com14", a.temp.Path() / "plain"); // a regular file
    WriteBytes(a.folder / "com15", "x");      // not a link at all
    fs::create_directory(a.folder / "com16");

    std::vector<fs::path> asked;
    const std::vector<PortAlias> aliases = ReadPortAliases(a.folder, [&asked](const fs::path& d) {
        asked.push_back(d);
        return d == Null || d == Zero;
    });
    ASSERT_EQ(aliases.size(), 2u);
    EXPECT_EQ(aliases[0].number, 42);
    EXPECT_EQ(aliases[0].devicePath, u"/dev/zero");
    EXPECT_EQ(aliases[1].number, 5);
    EXPECT_EQ(aliases[1].devicePath, u"/dev/null");
    std::ranges::sort(asked);
    EXPECT_EQ(asked, (std::vector<fs::path>{Full, Null, Zero})) << "character devices only";

    std::map<int, AliasState> states;
    for (const AliasEntry& entry :
         ListAliasEntries(a.folder, [](const fs::path& d) { return d == Null || d == Zero; })) {
        states[entry.number] = entry.state;
    }
    EXPECT_EQ(states, (std::map<int, AliasState>{{5, AliasState::Port},
                                                 {7, AliasState::NotADevice},
                                                 {12, AliasState::TargetMissing},
                                                 {13, AliasState::NotADevice},
                                                 {14, AliasState::NotADevice},
                                                 {15, AliasState::NotALink},
                                                 {16, AliasState::NotALink},
                                                 {42, AliasState::Port}}));
}

TEST(ReadPortAliases, TheDevicePathIsTheLinksResolvedTarget) {
    AliasFolder a;
    a.Link("step", Full);
    a.Link("com3", a.folder / "step"); // a link to a link
    const std::vector<PortAlias> aliases = ReadPortAliases(a.folder, StandsIn);
    ASSERT_EQ(aliases.size(), 1u);
    EXPECT_EQ(aliases[0].devicePath, u"/dev/full");
}

TEST(ReadPortAliases, OfNamesWithOneNumberTheFirstInByteOrderWins) {
    AliasFolder a;
    a.Link("com7", Zero);
    a.Link("COM7", Null);
    a.Link("com007", Full);
    const std::vector<PortAlias> aliases = ReadPortAliases(a.folder, StandsIn);
    ASSERT_EQ(aliases.size(), 1u);
    EXPECT_EQ(aliases[0].number, 7);
    EXPECT_EQ(aliases[0].devicePath, u"/dev/null"); // "COM7" < "com007" < "com7"
}

TEST(ReadPortAliases, ABrokenLinkLetsTheNextNameWithItsNumberIn) {
    AliasFolder a;
    a.Link("COM7", "/nonexistent");
    a.Link("com7", Zero);
    const std::vector<PortAlias> aliases = ReadPortAliases(a.folder, StandsIn);
    ASSERT_EQ(aliases.size(), 1u);
    EXPECT_EQ(aliases[0].devicePath, u"/dev/zero");
}

TEST(ReadPortAliases, AMissingFolderHasNoAliases) {
    TempDir temp;
    EXPECT_TRUE(ReadPortAliases(temp.Path() / "ports", StandsIn).empty());
    EXPECT_TRUE(ReadPortAliases(Null, StandsIn).empty()); // not a folder
}

TEST(LinuxPortSource, AliasesAndDevicesInAscendingOrder) {
    AliasFolder a;
    a.Link("com5", Null);
    a.Link("COM40", Zero);
    LinuxPortSource source(a.folder,
                           Devices({{u"ttyUSB7", u"/dev/ttyUSB7"},
                                    {u"ttyS4", u"/dev/ttyS4"},
                                    {u"ttyS0", u"/dev/ttyS0"},
                                    {u"ttyAMA0", u"/dev/ttyAMA0"}}),
                           LinuxPortSource::DeviceFolders(), StandsIn);
    EXPECT_EQ(source.Ports(), (Ports{{u"COM1", u"/dev/ttyS0"},
                                     {u"COM5", u"/dev/null"},  // hides ttyS4
                                     {u"COM40", u"/dev/zero"}, // hides ttyUSB7
                                     {u"COM97", u"/dev/ttyAMA0"}}));

    std::vector<PortEntry> list;
    EXPECT_EQ(ListComPorts(list, source), 1);
    EXPECT_EQ(EntryTexts(list),
              (std::vector<std::u16string>{u"COM1", u"COM5", u"COM40", u"COM97"}));
    EXPECT_EQ(list[1].devicePath, u"/dev/null");
}

TEST(LinuxPortSource, AVanishedAliasDropsOutAndUncoversTheDevice) {
    AliasFolder a;
    a.Link("com1", Null);
    a.Link("com2", Zero);
    LinuxPortSource source(a.folder, Devices({{u"ttyS0", u"/dev/ttyS0"}}),
                           LinuxPortSource::DeviceFolders(), StandsIn);
    EXPECT_EQ(source.Ports(), (Ports{{u"COM1", u"/dev/null"}, {u"COM2", u"/dev/zero"}}));

    // The pseudo-terminal behind com1 went away: its link now dangles.
    fs::remove(a.folder / "com1");
    a.Link("com1", "/dev/pts/no-such-terminal");
    fs::remove(a.folder / "com2");
    EXPECT_EQ(source.Ports(), (Ports{{u"COM1", u"/dev/ttyS0"}}));
}

TEST(LinuxPortSource, DevicePathOfANumberOpensTheAliasOrDevice) {
    AliasFolder a;
    a.Link("com5", Null);
    LinuxPortSource source(a.folder,
                           Devices({{u"ttyS0", u"/dev/ttyS0"}, {u"ttyS4", u"/dev/ttyS4"}}),
                           LinuxPortSource::DeviceFolders(), StandsIn);
    EXPECT_EQ(source.DevicePathOf(1), u"/dev/ttyS0");
    EXPECT_EQ(source.DevicePathOf(5), u"/dev/null");
    EXPECT_EQ(source.DevicePathOf(2), u"");
    EXPECT_EQ(source.DevicePathOf(0), u"");
}

TEST(LinuxPortSource, NoAliasesAndNoDevicesListNothing) {
    TempDir temp;
    LinuxPortSource source(temp.Path() / "ports", Devices({}));
    std::vector<std::u16string> list{u"COM3"};
    EXPECT_EQ(ListComPorts(list, source), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(LinuxPortSource(temp.Path(), nullptr).Ports().empty());
}

TEST(ConfigDir, FollowsXdgConfigHomeElseHome) {
    struct Case {
        std::optional<std::string> xdg;
        fs::path expected;
    };
    const Case cases[] = {
        {"/xdg/config", "/xdg/config/radioinfo"},
        {std::nullopt, "/home/dealer/.config/radioinfo"},
        {"", "/home/dealer/.config/radioinfo"},
        {"relative/config", "/home/dealer/.config/radioinfo"}, // ignored by the XDG rules
    };
    ScopedEnv home("HOME", "/home/dealer");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdg.value_or("(unset)"));
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(RadioinfoConfigDir(), c.expected);
        EXPECT_EQ(DefaultAliasFolder(), c.expected / "ports");
    }
}

TEST(ConfigDir, WithoutHomeThePasswordDatabaseGivesTheFolder) {
    ScopedEnv home("HOME", std::nullopt);
    ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    const fs::path dir = RadioinfoConfigDir();
    EXPECT_TRUE(dir.is_absolute());
    EXPECT_EQ(dir.filename(), "radioinfo");
    EXPECT_EQ(dir.parent_path().filename(), ".config");
}

TEST(LinuxPortSource, TheStampChangesWithWhatTheListIsMadeOf) {
    struct Case {
        const char* name;
        void (*change)(const AliasFolder& a, const fs::path& devices);
        bool changed;
    };
    const Case cases[] = {
        {"nothing", [](const AliasFolder&, const fs::path&) {}, false},
        {"alias added", [](const AliasFolder& a, const fs::path&) { a.Link("com2", Zero); }, true},
        {"target gone",
         [](const AliasFolder& a, const fs::path&) { fs::remove(a.temp.Path() / "tty"); }, true},
        {"target replaced",
         [](const AliasFolder& a, const fs::path&) {
             fs::remove(a.temp.Path() / "tty");
             fs::create_symlink(Full, a.temp.Path() / "tty");
         },
         true},
        {"device added",
         [](const AliasFolder&, const fs::path& devices) {
             fs::create_directory(devices / "ttyUSB0");
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AliasFolder a;
        const fs::path devices = a.temp.Path() / "dev";
        fs::create_directory(devices);
        // As radio-sim links it: the alias names a link to the pseudo-terminal.
        fs::create_symlink(Null, a.temp.Path() / "tty");
        a.Link("com1", a.temp.Path() / "tty");
        LinuxPortSource source(a.folder, Devices({}), {devices});
        const std::optional<PortStamp> before = source.ChangeStamp();
        ASSERT_TRUE(before);
        c.change(a, devices);
        EXPECT_EQ(source.ChangeStamp() != before, c.changed);
    }
}

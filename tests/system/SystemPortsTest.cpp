#include "system/SystemPorts.h"
#include "system/QtPortResolver.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace {
// An alias numbered far above any real device of this machine.
struct PrivateAlias {
    TempDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.Path().string()};

    PrivateAlias() {
        fs::create_directories(config.Path() / "radioinfo" / "ports");
        fs::create_symlink("/dev/null", config.Path() / "radioinfo" / "ports" / "com500");
    }
};
} // namespace

TEST(SystemPorts, ListTheAliasesOfTheConfigFolder) {
    PrivateAlias alias;
    std::vector<PortEntry> list;
    ListComPorts(list, *MakeSystemPortSource());
    const auto found = std::find(list.begin(), list.end(), PortEntry{u"COM500", u"/dev/null"});
    EXPECT_NE(found, list.end());
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return PortNumberOfEntry(a.text) < PortNumberOfEntry(b.text);
    }));
}

TEST(SystemPorts, TheResolverOpensTheAliasDevice) {
    PrivateAlias alias;
    EXPECT_EQ(SystemPortDevice(500), u"/dev/null");
    EXPECT_EQ(SystemPortResolver()(500), QStringLiteral("/dev/null"));
    EXPECT_EQ(SystemPortDevice(501), u"");
    EXPECT_TRUE(SystemPortResolver()(501).isEmpty());
}

#include "system/ModSYSType.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct VersionCase {
    std::uint32_t platformId;
    std::uint32_t major;
    std::uint32_t minor;
    bool fixedList;
};

// Platform 1 is the Windows 9x family, 2 the NT family.
const VersionCase VersionCases[] = {
    {2, 6, 0, true},                     // the one version that takes the fixed list
    {2, 5, 1, false},                    // XP
    {2, 6, 1, false},                    // 7
    {2, 6, 2, false},                    // 8
    {2, 10, 0, false},                   // 10 and 11
    {2, 5, 0, false},                    // 2000
    {1, 6, 0, false},                    // 6.0 but not NT
    {0, 6, 0, false},  {2, 0, 6, false}, // major and minor must not be swapped
    {6, 2, 0, false},                    // nor platform and major
    {2, 16, 0, false},
};

std::vector<std::u16string> CheckWith(const std::optional<OsVersion>& version, bool& fixed) {
    std::vector<std::u16string> shown;
    fixed =
        CheckSysTypeFor(version, [&shown](std::u16string_view text) { shown.emplace_back(text); });
    return shown;
}
} // namespace

TEST(CheckSysType, FixedListExactlyForNtSixPointZero) {
    for (const VersionCase& c : VersionCases) {
        SCOPED_TRACE(testing::Message() << c.platformId << " " << c.major << "." << c.minor);
        EXPECT_EQ(IsFixedListVersion(c.platformId, c.major, c.minor), c.fixedList);
        bool fixed = !c.fixedList;
        EXPECT_TRUE(CheckWith(OsVersion{c.platformId, c.major, c.minor}, fixed).empty());
        EXPECT_EQ(fixed, c.fixedList);
    }
}

TEST(CheckSysType, AFailedQueryTellsTheUserAndTakesRegistryMode) {
    bool fixed = true;
    EXPECT_EQ(CheckWith(std::nullopt, fixed), std::vector<std::u16string>{u"未知操作系统"});
    EXPECT_FALSE(fixed);
}

TEST(CheckSysType, AFailedQueryWithoutAMessageBoxStillGivesRegistryMode) {
    EXPECT_FALSE(CheckSysTypeFor(std::nullopt, nullptr));
}

#ifndef _WIN32
TEST(CheckSysType, WithoutAVersionQueryFixedListModeIsOffSilently) {
    std::vector<std::u16string> shown;
    EXPECT_FALSE(CheckSysType([&shown](std::u16string_view text) { shown.emplace_back(text); }));
    EXPECT_TRUE(shown.empty());
}
#endif

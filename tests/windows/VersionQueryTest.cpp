// The operating-system check against the real version query: Wine reports
// the version its configuration names, so each row sets it for a child
// process, as `winecfg -v` would, and reads what the child's check decided.
#include "WineHost.h"

#include <gtest/gtest.h>

namespace {
struct VersionRow {
    const char* wineVersion; // a name `winecfg -v` takes
    const char* reported;    // platform, major.minor as the child prints them
    bool fixedList;
};

const VersionRow VersionRows[] = {
    {"vista", "2 6.0", true},
    {"win2008", "2 6.0", true}, // Server 2008 is the same NT 6.0
    {"winxp64", "2 5.2", false},
    {"win7", "2 6.1", false},
    {"win8", "2 6.2", false},
    // Windows 8.1 and later report 6.2 to a program whose manifest does not
    // name them, as this tool's does not; Wine does the same.
    {"win81", "2 6.2", false},
    {"win10", "2 6.2", false},
};

void PrintTo(const VersionRow& row, std::ostream* out) {
    *out << row.wineVersion;
}

class VersionQuery : public testing::TestWithParam<VersionRow> {};
} // namespace

TEST_P(VersionQuery, FixedListExactlyWhenTheSystemSaysNtSixPointZero) {
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "only Wine lets a test choose the version its programs see";
    }
    const VersionRow& row = GetParam();
    const ScopedWineVersion version(row.wineVersion);
    const auto report = RunThisProgram("--report-sys-type");
    ASSERT_TRUE(report.has_value());
    const std::string firstLine = report->substr(0, report->find_first_of("\r\n"));
    EXPECT_EQ(firstLine,
              std::string(row.reported) + " fixed=" + (row.fixedList ? "1" : "0") + " messages=0");
}

INSTANTIATE_TEST_SUITE_P(WineVersions, VersionQuery, testing::ValuesIn(VersionRows),
                         [](const testing::TestParamInfo<VersionRow>& row) {
                             return std::string(row.param.wineVersion);
                         });

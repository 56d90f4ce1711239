// Command-line parsing on its own, for the cases a process test would not show directly.
#include "Options.h"

#include <gtest/gtest.h>

namespace simtest {
namespace {

using namespace std::chrono_literals;
using radiosim::Options;

Options parse(std::vector<const char*> arguments) {
    return radiosim::parseOptions(arguments);
}

TEST(Options, CommandListsMergeAcrossRepeatsAndForms) {
    const Options options = parse({"--repeat", "5", "--repeat=6,9", "--noise", "2,2"});
    EXPECT_EQ(options.faults.repeat, (std::set<int>{5, 6, 9}));
    EXPECT_EQ(options.faults.noise, (std::set<int>{2}));
}

TEST(Options, BenchTakesSecondsWithDecimals) {
    const Options options = parse({"--bench", "1.5,0.25"});
    ASSERT_TRUE(options.bench);
    EXPECT_EQ(options.bench->timing.stay, 1500ms);
    EXPECT_EQ(options.bench->timing.gap, 250ms);
}

struct CountCase {
    const char* name;
    std::vector<const char*> arguments;
    int radios;
};

// Names the row in test listings.
std::ostream& operator<<(std::ostream& out, const CountCase& row) {
    return out << row.name;
}

class RadioCount : public testing::TestWithParam<CountCase> {};

TEST_P(RadioCount, FollowsRadiosThenImages) {
    EXPECT_EQ(parse(GetParam().arguments).radioCount(), GetParam().radios);
}

INSTANTIATE_TEST_SUITE_P(
    Benches, RadioCount,
    testing::Values(CountCase{"noBench", {}, 1}, CountCase{"benchAlone", {"--bench", "1,1"}, 1},
                    CountCase{"images", {"--bench", "1,1", "--bench-images", "a,b,c"}, 3},
                    CountCase{
                        "radios", {"--bench", "1,1", "--radios", "5", "--bench-images", "a"}, 5}),
    [](const auto& row) { return std::string(row.param.name); });

// --version is also the radio's version text; only a bare last --version asks
// for the program's.
TEST(Options, VersionWithATextSetsTheRadiosVersion) {
    EXPECT_TRUE(parse({"--version"}).showVersion);
    EXPECT_TRUE(parse({"--pace", "--version"}).showVersion);
    const Options text = parse({"--version", "V120"});
    EXPECT_FALSE(text.showVersion);
    EXPECT_EQ(text.version, "V120");
    EXPECT_EQ(parse({"--version=V100"}).version, "V100");
}

TEST(Options, DefaultsAreAPlainRadio) {
    const Options options = parse({});
    EXPECT_FALSE(options.pace);
    EXPECT_EQ(options.latency, 0ms);
    EXPECT_EQ(options.faults.repeatTimes, 1);
    EXPECT_FALSE(options.faults.silentFrom);
    EXPECT_FALSE(options.bench);
}

} // namespace
} // namespace simtest

// The frame parser on its own: where one command ends and junk begins.
#include "FrameParser.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

namespace simtest {
namespace {

using radiosim::CommandKind;
using radiosim::FrameParser;
using radiosim::ParsedItem;

// "junk:<hex>" or the command's transcript name, per item.
std::vector<std::string> describeAll(const std::vector<ParsedItem>& items) {
    std::vector<std::string> out;
    for (const ParsedItem& item : items) {
        out.push_back(item.command ? radiosim::describe(*item.command) : "junk:" + hex(item.bytes));
    }
    return out;
}

std::vector<ParsedItem> feedAll(FrameParser& parser, const Bytes& bytes) {
    std::vector<ParsedItem> items;
    for (const std::uint8_t byte : bytes) {
        for (ParsedItem& item : parser.feed(byte)) {
            // Adjacent junk from separate bytes belongs together for the comparison.
            if (!item.command && !items.empty() && !items.back().command) {
                items.back().bytes.insert(items.back().bytes.end(), item.bytes.begin(),
                                          item.bytes.end());
            } else {
                items.push_back(std::move(item));
            }
        }
    }
    return items;
}

struct ParseCase {
    const char* name;
    Bytes input;
    std::vector<std::string> items;
    bool partialLeft = false;
};

// Names the row in test listings.
std::ostream& operator<<(std::ostream& out, const ParseCase& row) {
    return out << row.name;
}

class Parse : public testing::TestWithParam<ParseCase> {};

TEST_P(Parse, SplitsTheStreamIntoCommandsAndJunk) {
    FrameParser parser;
    EXPECT_EQ(describeAll(feedAll(parser, GetParam().input)), GetParam().items);
    EXPECT_EQ(parser.hasPartial(), GetParam().partialLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, Parse,
    testing::Values(
        ParseCase{"program", programCommand(), {"PROGRAM"}},
        ParseCase{"end", endCommand(), {"END"}}, ParseCase{"read", readCommand(0x3BA0), {"R 3BA0"}},
        ParseCase{"write", dataFrame(0x3B50, counting(1)), {"W 3B50"}},
        ParseCase{"backToBack",
                  join({programCommand(), readCommand(0x3B00), endCommand()}),
                  {"PROGRAM", "R 3B00", "END"}},
        ParseCase{"junkFirst", join({text("xy"), endCommand()}), {"junk:78 79", "END"}},
        ParseCase{"restartInsideACandidate", text("PRPROGRAM"), {"junk:50 52", "PROGRAM"}},
        ParseCase{"wrongCount",
                  join({{0x52, 0x3B, 0x00, 0x20}, endCommand()}),
                  {"junk:52 3B 00 20", "END"}},
        ParseCase{"partial", {0x57, 0x3B, 0x00, 0x10, 0x45}, {}, true},
        ParseCase{"startBytesAsData", dataFrame(0x3B00, text("PROGRAMENDRW")), {"W 3B00"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(AbandonPartial, GivesBackJunkAndTheCommandsHiddenInIt) {
    FrameParser parser;
    const Bytes input =
        join({{0x57, 0x3B, 0x00, 0x10}, readCommand(0x3B10), endCommand(), text("EN")});
    EXPECT_TRUE(feedAll(parser, input).empty());
    EXPECT_EQ(describeAll(parser.abandonPartial()),
              (std::vector<std::string>{"junk:57 3B 00 10", "R 3B10", "END", "junk:45 4E"}));
    EXPECT_FALSE(parser.hasPartial());
    EXPECT_EQ(describeAll(feedAll(parser, programCommand())), std::vector<std::string>{"PROGRAM"});
}

TEST(CommandBytes, AreKeptForTheEcho) {
    FrameParser parser;
    const Bytes frame = dataFrame(0x3BF0, Bytes(16, 0xFF));
    const auto items = feedAll(parser, frame);
    ASSERT_EQ(items.size(), 1U);
    ASSERT_TRUE(items[0].command);
    EXPECT_EQ(items[0].command->kind, CommandKind::Write);
    EXPECT_EQ(items[0].command->address, 0x3BF0);
    EXPECT_EQ(items[0].command->raw, frame);
    EXPECT_EQ(items[0].bytes, frame);
}

} // namespace
} // namespace simtest

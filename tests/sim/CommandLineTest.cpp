// The command line as demos and end-to-end tests use it.
#include "SimProcess.h"

#include <csignal>
#include <gtest/gtest.h>

namespace simtest {
namespace {

Bytes readFirstBlock(SimProcess& sim) {
    const Bytes got = sim.exchange(readCommand(0x3B00), 26);
    return got.size() == 26 ? Bytes(got.begin() + 8, got.begin() + 24) : Bytes{};
}

TEST(Image, IsWhatTheRadioReads) {
    TempDir dir;
    Bytes image(256);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(255 - i);
    }
    writeFile(dir / "image", image);
    SimProcess sim({"--image", (dir / "image").string()});
    ASSERT_TRUE(sim.handshake());
    for (std::size_t offset = 0; offset < 256; offset += 16) {
        const auto address = static_cast<std::uint16_t>(0x3B00 + offset);
        EXPECT_EQ(sim.exchange(readCommand(address), 26),
                  join({readCommand(address), dataFrame(address, block(image, offset))}));
    }
}

TEST(Overrides, SetModelVersionAndBandOverTheImage) {
    TempDir dir;
    writeFile(dir / "image", Bytes(256, 0xEE));
    SimProcess sim({"--image", (dir / "image").string(), "--model", "KVT46", "--version", "V110",
                    "--band", "0"});
    ASSERT_TRUE(sim.handshake());
    EXPECT_EQ(hex(readFirstBlock(sim)),
              hex(join({text("KVT46"), {0, 0}, text("V110"), Bytes(4, 0xEE), {0x00}})));
}

struct RefusedCase {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    const char* message;
};

// Names the row in test listings.
std::ostream& operator<<(std::ostream& out, const RefusedCase& row) {
    return out << row.name;
}

class Refused : public testing::TestWithParam<RefusedCase> {};

TEST_P(Refused, ExitsWithAMessageBeforeOpeningAPty) {
    TempDir dir;
    writeFile(dir / "short", Bytes(255, 0));
    writeFile(dir / "long", Bytes(257, 0));
    writeFile(dir / "plain", Bytes{});
    std::vector<std::string> arguments;
    for (std::string argument : GetParam().arguments) {
        if (argument.starts_with("DIR/")) {
            argument = (dir / argument.substr(4)).string();
        }
        arguments.push_back(argument);
    }
    const Finished finished = runToEnd(arguments);
    EXPECT_EQ(finished.status, GetParam().status) << finished.output;
    EXPECT_NE(finished.output.find(GetParam().message), std::string::npos) << finished.output;
    EXPECT_EQ(finished.output.find("PTY "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, Refused,
    testing::Values(
        RefusedCase{"shortImage", {"--image", "DIR/short"}, 1, "255 bytes, expected 256"},
        RefusedCase{"longImage", {"--image", "DIR/long"}, 1, "257 bytes, expected 256"},
        RefusedCase{"missingImage", {"--image", "DIR/none"}, 1, "cannot open image"},
        RefusedCase{
            "shortBenchImage", {"--bench", "1,1", "--bench-images", "DIR/short"}, 1, "255 bytes"},
        RefusedCase{"longModel", {"--model", "KVT46100"}, 1, "longer than 7 bytes"},
        RefusedCase{"longVersion", {"--version", "V1000"}, 1, "longer than 4 bytes"},
        RefusedCase{"linkOverAFile", {"--link", "DIR/plain"}, 1, "not a symlink"},
        RefusedCase{"unknownOption", {"--colour"}, 2, "unknown option --colour"},
        RefusedCase{"missingValue", {"--latency"}, 2, "needs a value"},
        RefusedCase{"notANumber", {"--latency", "soon"}, 2, "not a number"},
        RefusedCase{"bandTooHigh", {"--band", "256"}, 2, "out of range"},
        RefusedCase{"commandZero", {"--repeat", "1,0"}, 2, "out of range"},
        RefusedCase{"benchOneValue", {"--bench", "5"}, 2, "STAY,GAP"},
        RefusedCase{"radiosWithoutBench", {"--radios", "2"}, 2, "need --bench"},
        RefusedCase{"moreImagesThanRadios",
                    {"--bench", "1,1", "--radios", "1", "--bench-images", "a,b"},
                    2,
                    "more images"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Help, DescribesEveryOption) {
    const Finished finished = runToEnd({"--help"});
    EXPECT_EQ(finished.status, 0);
    for (const char* option :
         {"--link", "--image", "--save", "--model", "--version", "--band", "--latency", "--pace",
          "--silent-from", "--bad-checksum", "--repeat", "--repeat-times", "--noise", "--split",
          "--hangup", "--bench", "--radios", "--bench-images", "--transcript"}) {
        EXPECT_NE(finished.output.find(std::string("  ") + option + " "), std::string::npos)
            << option;
    }
}

TEST(Link, PointsAtThePtyReplacesAnOldLinkAndGoesAwayOnExit) {
    TempDir dir;
    const auto link = dir / "ttyRadio";
    std::filesystem::create_symlink("/nonexistent", link);
    SimProcess sim({"--link", link.string()});
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.ptyPath());
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
}

class StopSignal : public testing::TestWithParam<int> {};

TEST_P(StopSignal, EndsTheSimulatorWithStatusZero) {
    SimProcess sim({});
    ASSERT_TRUE(sim.handshake());
    ASSERT_EQ(::kill(sim.pid(), GetParam()), 0);
    EXPECT_EQ(sim.waitExit(3000ms), 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignal, testing::Values(SIGINT, SIGTERM),
                         [](const auto& row) {
                             return row.param == SIGINT ? "SIGINT" : "SIGTERM";
                         });

// Drops the timestamps, checking on the way that they never go backwards.
std::vector<std::string> withoutTimes(const std::vector<std::string>& lines) {
    std::vector<std::string> texts;
    long last = 0;
    for (const std::string& line : lines) {
        const std::size_t space = line.find(' ');
        const long ms = std::stol(line.substr(0, space));
        EXPECT_GE(ms, last) << line;
        last = ms;
        texts.push_back(line.substr(space + 1));
    }
    return texts;
}

TEST(Transcript, ListsEveryCommandAndEventInOrder) {
    TempDir dir;
    SimProcess sim({"--transcript", (dir / "log").string(), "--noise", "2"});
    EXPECT_EQ(sim.exchange(text("zz"), 2), text("zz"));
    ASSERT_TRUE(sim.handshake());
    const Bytes frame = dataFrame(0x3B60, counting(1));
    EXPECT_EQ(sim.exchange(readCommand(0x3B00), 29).size(), 29U);
    EXPECT_EQ(sim.exchange(frame, 23), join({frame, ack()}));
    EXPECT_EQ(sim.exchange(endCommand(), 4), join({endCommand(), ack()}));
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(withoutTimes(readLines(dir / "log")),
              (std::vector<std::string>{"PROGRAM", "R 3B00", "NOISE 00 FF 13", "W 3B60", "END"}));
}

} // namespace
} // namespace simtest

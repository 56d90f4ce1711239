// Faults injected by command number, as the tool's error handling needs them.
#include "SimProcess.h"

#include <gtest/gtest.h>

namespace simtest {
namespace {

struct Step {
    Bytes send;
    Bytes expect; // everything the tool should receive for it
};

struct FaultCase {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<Step> steps;
};

// Names the row in test listings.
std::ostream& operator<<(std::ostream& out, const FaultCase& row) {
    return out << row.name;
}

const Bytes kWriteA = dataFrame(0x3B60, counting(0x41));
const Bytes kWriteB = dataFrame(0x3B60, counting(0x61));
const Bytes kZeros(16, 0x00);

Step program() {
    return {programCommand(), join({programCommand(), handshakeAnswer()})};
}
Step read(std::uint16_t address, const Bytes& data) {
    return {readCommand(address), join({readCommand(address), dataFrame(address, data)})};
}
Step write(const Bytes& frame, const Bytes& answer) {
    return {frame, join({frame, answer})};
}
Step end(const Bytes& answer) {
    return {endCommand(), join({endCommand(), answer})};
}
Step echoOnly(const Bytes& command) {
    return {command, command};
}

Bytes withChecksumOffByOne(Bytes frame) {
    ++frame.at(20);
    return frame;
}

class Fault : public testing::TestWithParam<FaultCase> {};

TEST_P(Fault, ShapesTheAnswers) {
    SimProcess sim(GetParam().arguments);
    int number = 0;
    for (const Step& step : GetParam().steps) {
        ++number;
        sim.send(step.send);
        EXPECT_EQ(hex(sim.receive(step.expect.size())), hex(step.expect)) << "command " << number;
    }
    EXPECT_EQ(hex(sim.receiveUntilQuiet(150ms)), "") << "nothing more";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Fault,
    testing::Values(
        FaultCase{"repeatWriteIsNotStored",
                  {"--repeat", "2"},
                  {program(), write(kWriteA, repeat()), read(0x3B60, kZeros), write(kWriteB, ack()),
                   read(0x3B60, counting(0x61))}},
        FaultCase{"repeatEndKeepsTheSession",
                  {"--repeat", "3"},
                  {program(), read(0x3B60, kZeros), end(repeat()), read(0x3B60, kZeros), end(ack()),
                   echoOnly(readCommand(0x3B60))}},
        FaultCase{"repeatTimesCoversTheResends",
                  {"--repeat", "2", "--repeat-times", "3"},
                  {program(), write(kWriteA, repeat()), write(kWriteA, repeat()),
                   write(kWriteA, repeat()), write(kWriteA, ack()), write(kWriteA, ack())}},
        FaultCase{"repeatTimesEndsWithADifferentCommand",
                  {"--repeat", "2", "--repeat-times", "3"},
                  {program(), write(kWriteA, repeat()), write(kWriteB, ack()),
                   read(0x3B60, counting(0x61))}},
        FaultCase{
            "repeatList",
            {"--repeat", "2,3"},
            {program(), write(kWriteA, repeat()), write(kWriteA, repeat()), write(kWriteA, ack())}},
        FaultCase{"repeatGivenTwice",
                  {"--repeat", "2", "--repeat=4"},
                  {program(), write(kWriteA, repeat()), write(kWriteA, ack()), end(repeat()),
                   end(ack())}},
        FaultCase{"repeatLeavesReadsAlone", {"--repeat", "1,2"}, {program(), read(0x3B60, kZeros)}},
        FaultCase{"badChecksum",
                  {"--bad-checksum", "2"},
                  {program(),
                   {readCommand(0x3B60),
                    join({readCommand(0x3B60), withChecksumOffByOne(dataFrame(0x3B60, kZeros))})},
                   read(0x3B60, kZeros)}},
        FaultCase{"silentFrom",
                  {"--silent-from", "3"},
                  {program(), read(0x3B60, kZeros), echoOnly(readCommand(0x3B60)),
                   echoOnly(programCommand()), echoOnly(endCommand())}},
        FaultCase{"silentOutranksRepeat",
                  {"--silent-from", "2", "--repeat", "2"},
                  {program(), echoOnly(kWriteA)}},
        FaultCase{"noiseBeforeTheEcho",
                  {"--noise", "2"},
                  {program(),
                   {readCommand(0x3B60),
                    join({{0x00, 0xFF, 0x13}, readCommand(0x3B60), dataFrame(0x3B60, kZeros)})},
                   read(0x3B60, kZeros)}},
        FaultCase{
            "noiseOnTheHandshake",
            {"--noise", "1"},
            {{programCommand(), join({{0x00, 0xFF, 0x13}, programCommand(), handshakeAnswer()})}}},
        FaultCase{"splitKeepsTheBytes", {"--split", "1,2"}, {program(), read(0x3B60, kZeros)}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Latency, DelaysTheAnswerButNotTheEcho) {
    SimProcess sim({"--latency", "300"});
    const auto start = Clock::now();
    sim.send(programCommand());
    EXPECT_EQ(sim.receive(7, 250ms), programCommand());
    EXPECT_LT(msSince(start), 250.0) << "echo must not wait";
    EXPECT_EQ(sim.receive(3, 1000ms), handshakeAnswer());
    EXPECT_GE(msSince(start), 295.0);
}

TEST(Split, SendsTheSecondPartAboutFiftyMillisecondsLater) {
    SimProcess sim({"--split", "1"});
    sim.send(programCommand());
    Bytes got = sim.receive(1, 1000ms);
    const auto firstSeen = Clock::now();
    got = join({got, sim.receive(9, 20ms)});
    ASSERT_FALSE(got.empty());
    ASSERT_LT(got.size(), 10U) << "all arrived at once";
    got = join({got, sim.receive(10 - got.size(), 1000ms)});
    EXPECT_GE(msSince(firstSeen), 40.0);
    EXPECT_EQ(got, join({programCommand(), handshakeAnswer()}));
}

TEST(Pace, TakesAboutOneMillisecondPerByte) {
    SimProcess sim({"--pace"});
    ASSERT_TRUE(sim.handshake());
    constexpr int kBlocks = 4;
    const auto start = Clock::now();
    for (int i = 0; i < kBlocks; ++i) {
        const auto address = static_cast<std::uint16_t>(0x3B00 + 16 * i);
        ASSERT_EQ(sim.exchange(readCommand(address), 26).size(), 26U);
    }
    // 104 bytes at 10 bits each and 9600 bit/s are 108 ms on the line.
    EXPECT_GE(msSince(start), 100.0);
    EXPECT_LT(msSince(start), 2000.0);
}

TEST(Hangup, ClosesThePtyWithoutEchoAndExitsCleanly) {
    TempDir dir;
    SimProcess sim({"--hangup", "2", "--link", (dir / "port").string()});
    ASSERT_TRUE(sim.handshake());
    sim.send(readCommand(0x3B00));
    EXPECT_TRUE(sim.seesHangup(2000ms));
    EXPECT_EQ(sim.waitExit(3000ms), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "port"));
}

} // namespace
} // namespace simtest

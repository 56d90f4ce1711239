// Whatever arrives on the line, the simulator echoes it, keeps running and falls back
// into step at the next command.
#include "SimProcess.h"

#include <gtest/gtest.h>
#include <random>

namespace simtest {
namespace {

struct JunkCase {
    const char* name;
    Bytes junk;
};

// Names the row in test listings.
std::ostream& operator<<(std::ostream& out, const JunkCase& row) {
    return out << row.name;
}

class Junk : public testing::TestWithParam<JunkCase> {};

TEST_P(Junk, IsEchoedAndTheFollowingHandshakeAnswered) {
    SimProcess sim({});
    const Bytes sent = join({GetParam().junk, programCommand()});
    EXPECT_EQ(hex(sim.exchange(sent, sent.size() + 3)), hex(join({sent, handshakeAnswer()})));
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, Junk,
    testing::Values(JunkCase{"letters", text("xyz")}, JunkCase{"noise", {0x00, 0xFF, 0x13}},
                    JunkCase{"brokenProgram", text("PROGRA")}, JunkCase{"doubledP", text("P")},
                    JunkCase{"brokenEnd", text("EN")}, JunkCase{"startBytes", text("RPR")},
                    JunkCase{"readWithWrongCount", {0x52, 0x3B, 0x00, 0x11}},
                    JunkCase{"writeWithWrongCount", {0x57, 0x3B, 0x00, 0x20}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Resync, StartBytesInsideWriteDataBelongToTheFrame) {
    SimProcess sim({});
    ASSERT_TRUE(sim.handshake());
    const Bytes frame = dataFrame(0x3B60, join({text("PROGRAMEND"), text("R;\x10W;\x10")}));
    EXPECT_EQ(hex(sim.exchange(frame, 23)), hex(join({frame, ack()})));
}

TEST(Resync, AnUnfinishedCommandIsDroppedAfterHalfASecond) {
    SimProcess sim({});
    const Bytes partial{0x57, 0x3B, 0x00, 0x10, 0x01, 0x02, 0x03};
    const auto start = Clock::now();
    sim.send(partial);
    EXPECT_EQ(sim.receive(partial.size(), 2000ms), partial) << "echoed when dropped";
    EXPECT_GE(msSince(start), 450.0);
    EXPECT_TRUE(sim.handshake()) << "PROGRAM not swallowed as write data";
}

TEST(Fuzz, RandomBytesNeitherCrashNorDerailTheRadio) {
    SimProcess sim({});
    ASSERT_TRUE(sim.handshake());
    // Mostly bytes that start or continue commands, to reach deep into the parser.
    const Bytes alphabet = join({text("PROGAMENDRW"), {0x3B, 0x10, 0x06, 0x0A, 0x00, 0xFF}});
    std::mt19937 random(20261201);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() + 3);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<std::size_t> chunkSize(1, 64);
    std::size_t sent = 0;
    while (sent < 4000) {
        Bytes chunk(chunkSize(random));
        for (std::uint8_t& byte : chunk) {
            const std::size_t choice = pick(random);
            byte = choice < alphabet.size() ? alphabet[choice]
                                            : static_cast<std::uint8_t>(anyByte(random));
        }
        sim.send(chunk);
        sent += chunk.size();
        sim.receive(4096, 1ms); // keep the line drained
    }
    sim.receiveUntilQuiet(700ms);
    ASSERT_TRUE(sim.handshake());
    EXPECT_EQ(sim.exchange(readCommand(0x3B20), 26),
              join({readCommand(0x3B20), dataFrame(0x3B20, text("2026120100000005"))}));
    EXPECT_EQ(sim.stop(), 0);
}

} // namespace
} // namespace simtest

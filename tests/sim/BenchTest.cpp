// Radios plugged in one after another for a batch write.
#include "SimProcess.h"

#include <gtest/gtest.h>
#include <thread>

namespace simtest {
namespace {

bool answersHandshake(SimProcess& sim) {
    sim.send(programCommand());
    return sim.receive(10, 80ms) == join({programCommand(), handshakeAnswer()});
}

// Polls with handshakes (as a batch tool does) until the answer is `answered`; returns
// when that was first seen, or nothing within the timeout.
std::optional<Clock::time_point> waitForRadio(SimProcess& sim, bool answered, Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (answersHandshake(sim) == answered) {
            return Clock::now();
        }
        std::this_thread::sleep_for(10ms);
    }
    return std::nullopt;
}

Bytes serialOf(SimProcess& sim) {
    const Bytes got = sim.exchange(readCommand(0x3B20), 26);
    return got.size() == 26 ? Bytes(got.begin() + 8, got.begin() + 24) : Bytes{};
}

Bytes serialInFile(const std::filesystem::path& file) {
    const Bytes image = readFile(file);
    return image.size() == 256 ? block(image, 0x20) : Bytes{};
}

TEST(Bench, AttachesTheNextRadioAfterStayAndGapAndNoneAfterTheLast) {
    TempDir dir;
    SimProcess sim({"--bench", "0.4,0.4", "--radios", "2", "--save", (dir / "radio").string(),
                    "--transcript", (dir / "log").string()});

    ASSERT_TRUE(sim.handshake());
    EXPECT_EQ(serialOf(sim), text("2026120100000005"));
    ASSERT_EQ(sim.exchange(endCommand(), 4), join({endCommand(), ack()}));
    const auto ended = Clock::now();
    EXPECT_EQ(serialInFile(dir / "radio.1"), text("2026120100000005"));
    EXPECT_TRUE(answersHandshake(sim)) << "radio 1 stays attached after its END";

    const auto detached = waitForRadio(sim, false, 2000ms);
    ASSERT_TRUE(detached);
    EXPECT_GE(msBetween(ended, *detached), 380.0);
    const auto attached = waitForRadio(sim, true, 2000ms);
    ASSERT_TRUE(attached);
    EXPECT_GE(msBetween(*detached, *attached), 250.0);

    EXPECT_EQ(serialOf(sim), text("2026120100000006"));
    ASSERT_EQ(sim.exchange(endCommand(), 4), join({endCommand(), ack()}));
    EXPECT_EQ(serialInFile(dir / "radio.2"), text("2026120100000006"));
    ASSERT_TRUE(waitForRadio(sim, false, 2000ms));
    EXPECT_FALSE(waitForRadio(sim, true, 600ms)) << "no third radio";

    EXPECT_EQ(sim.stop(), 0);
    std::vector<std::string> events;
    for (const std::string& line : readLines(dir / "log")) {
        const std::string event = line.substr(line.find(' ') + 1);
        if (event.starts_with("ATTACH") || event.starts_with("DETACH")) {
            events.push_back(event);
        }
    }
    EXPECT_EQ(events, (std::vector<std::string>{"DETACH 1", "ATTACH 2", "DETACH 2"}));
}

TEST(Bench, GivesEachRadioItsOwnImage) {
    TempDir dir;
    writeFile(dir / "a", Bytes(256, 0x11));
    writeFile(dir / "b", Bytes(256, 0x22));
    SimProcess sim({"--bench", "0.1,0.1", "--bench-images",
                    (dir / "a").string() + "," + (dir / "b").string()});
    ASSERT_TRUE(sim.handshake());
    EXPECT_EQ(serialOf(sim), Bytes(16, 0x11));
    ASSERT_EQ(sim.exchange(endCommand(), 4), join({endCommand(), ack()}));

    ASSERT_TRUE(waitForRadio(sim, false, 2000ms));
    ASSERT_TRUE(waitForRadio(sim, true, 2000ms));
    EXPECT_EQ(serialOf(sim), Bytes(16, 0x22));
}

} // namespace
} // namespace simtest

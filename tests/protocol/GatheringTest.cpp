// Receive events and the gathering of handshake bytes in RxBuffer.
#include "doubles/ProtocolWorld.h"

#include <gtest/gtest.h>

namespace {

const Bytes Pattern = Ascii("PROGRAMHV\x06");

Bytes Noise(std::size_t n, std::uint8_t first = 0x20) {
    Bytes bytes;
    for (std::size_t i = 0; i < n; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(first + i % 64));
    }
    return bytes;
}

// A Read that has sent its handshake into an unplugged cable: every byte
// that arrives is put there by the test.
struct HandshakeStep : ProtocolWorld {
    HandshakeStep() {
        cable.SetPlugged(false);
        comm.StartRead();
    }
};

TEST(Gathering, NinetyFiveBytesThenTenStartsAgainWithTheTen) {
    HandshakeStep w;
    ASSERT_EQ(w.comm.ReadStep, StepProgram);
    w.serial.Deliver(Noise(95));
    ASSERT_EQ(w.comm.RxLength, 95);
    const Bytes ten = Noise(10, 0x60);
    w.serial.Deliver(ten);
    EXPECT_EQ(w.comm.RxLength, 10);
    EXPECT_EQ(Hex(std::span(w.comm.RxBuffer).first(10)), Hex(ten));
    EXPECT_EQ(w.Wire(), std::vector<std::string>{"PROGRAM"});
}

TEST(Gathering, NinetyFiveBytesThenTheHandshakeIsRecognised) {
    HandshakeStep w;
    w.serial.Deliver(Noise(95));
    w.serial.Deliver(Pattern);
    EXPECT_EQ(w.Wire(), (std::vector<std::string>{"PROGRAM", "R 3B00"}));
    EXPECT_EQ(w.comm.ReadStep, StepReadFirst);
}

TEST(Gathering, UpToAHundredBytesAreKeptAcrossEvents) {
    HandshakeStep w;
    w.serial.Deliver(Noise(40));
    w.serial.Deliver(Noise(60, 0x40));
    EXPECT_EQ(w.comm.RxLength, 100);
    Bytes all = Noise(40);
    const Bytes more = Noise(60, 0x40);
    all.insert(all.end(), more.begin(), more.end());
    EXPECT_EQ(Hex(std::span(w.comm.RxBuffer).first(100)), Hex(all));
}

TEST(Gathering, HandshakeAcrossTwoEventsIsRecognised) {
    HandshakeStep w;
    Bytes first = Noise(8);
    first.insert(first.end(), Pattern.begin(), Pattern.begin() + 7); // "PROGRAM"
    Bytes second(Pattern.begin() + 7, Pattern.end());                // "HV" 06
    const Bytes tail = Noise(7);
    second.insert(second.end(), tail.begin(), tail.end());
    w.serial.Deliver(first);
    ASSERT_EQ(w.Wire().size(), 1u);
    w.serial.Deliver(second);
    EXPECT_EQ(w.serial.ReceiveEvents(), 2);
    EXPECT_EQ(w.Wire(), (std::vector<std::string>{"PROGRAM", "R 3B00"}));
}

TEST(Gathering, AChunkOfExactly101BytesFitsAfterTheRestart) {
    HandshakeStep w;
    const Bytes chunk = Noise(101);
    w.serial.Deliver(chunk);
    EXPECT_EQ(w.comm.RxLength, 101);
    EXPECT_EQ(Hex(w.comm.RxBuffer), Hex(chunk));
}

TEST(Gathering, AHandshakeAtTheEndOfA101ByteChunkIsRecognised) {
    HandshakeStep w;
    Bytes chunk = Noise(91);
    chunk.insert(chunk.end(), Pattern.begin(), Pattern.end());
    ASSERT_EQ(chunk.size(), 101u);
    w.serial.Deliver(chunk);
    EXPECT_EQ(w.Wire(), (std::vector<std::string>{"PROGRAM", "R 3B00"}));
}

TEST(Gathering, LongChunksStayInsideTheBuffer) {
    for (const std::size_t size : {102u, 150u, 1000u, 5000u}) {
        SCOPED_TRACE(size);
        HandshakeStep w;
        w.comm.MulWriteNo = 7;
        w.serial.Deliver(Noise(30));
        w.serial.Deliver(Noise(size, 0x30));
        EXPECT_GE(w.comm.RxLength, 0);
        EXPECT_LE(w.comm.RxLength, RxBufferSize);
        // the neighbours of the buffer are untouched
        EXPECT_EQ(w.comm.PollCount, 0);
        EXPECT_EQ(w.comm.MulWriteNo, 7);
        EXPECT_EQ(w.comm.OperationMode, ModeRead);
        EXPECT_EQ(w.comm.RadioModelText, u"");
        // and a handshake still gets through afterwards
        w.serial.Deliver(Pattern);
        EXPECT_EQ(w.Wire().back(), "R 3B00");
    }
}

TEST(Gathering, OnlyInTheHandshakeStep) {
    ProtocolWorld w;
    w.radio.SilentFrom(2); // answers PROGRAM, then nothing
    w.comm.StartRead();
    w.clock.RunUntil([&] { return w.Wire().size() == 2; }, 100);
    ASSERT_EQ(w.Wire(), (std::vector<std::string>{"PROGRAM", "R 3B00"}));
    w.clock.Advance(20); // the echo of the R has arrived and waits
    Bytes chunk = Pattern;
    const Bytes more = Noise(16);
    chunk.insert(chunk.end(), more.begin(), more.end());
    const int events = w.serial.ReceiveEvents();
    w.serial.Deliver(chunk);
    ASSERT_EQ(w.serial.ReceiveEvents(), events + 1);
    EXPECT_EQ(w.comm.RxLength, 0);
    EXPECT_EQ(w.Wire().size(), 2u);
    w.Settle();
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
}

TEST(Gathering, EventsOtherThanReceiveAreIgnored) {
    HandshakeStep w;
    w.serial.Deliver(Bytes(Pattern.begin(), Pattern.begin() + 5)); // below the threshold
    for (const int event : {0, 1, 3, 4, 1001}) {
        w.serial.RaiseEvent(event);
    }
    EXPECT_EQ(w.serial.InputCalls(), 0);
    EXPECT_EQ(w.serial.Waiting(), 5u);
    EXPECT_EQ(w.Wire().size(), 1u);
}

TEST(Gathering, UnrecognisedBytesLeaveTheTimerAlone) {
    HandshakeStep w;
    const VirtualClock::Time due = w.timer.DueAt();
    w.clock.Advance(200);
    w.serial.Deliver(Noise(30));
    EXPECT_TRUE(w.timer.IsRunning());
    EXPECT_EQ(w.timer.DueAt(), due);
    EXPECT_EQ(w.timer.StartCount(), 1);
}

} // namespace

// The test world checked against bytes known by heart, so that what the
// protocol tests take for granted about the radio and the cable holds.
#include "doubles/ProtocolWorld.h"

#include <gtest/gtest.h>

namespace {

TEST(TestRadioSelf, AnswersAReadFromItsMemory) {
    TestRadio radio;
    radio.Poke(0x3B10, FromHex("01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10"));
    radio.Poke(0x3B00, Bytes(16, 0x00));
    radio.Poke(0x3BF0, Bytes(16, 0xFF));
    EXPECT_EQ(Hex(radio.Receive(Ascii("PROGRAM")).Answer), "48 56 06");
    EXPECT_EQ(Hex(radio.Receive(FromHex("52 3B 10 10")).Answer),
              "57 3B 10 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 E3 06");
    EXPECT_EQ(radio.Receive(FromHex("52 3B 00 10")).Answer.at(20), 0x4B);
    EXPECT_EQ(radio.Receive(FromHex("52 3B F0 10")).Answer.at(20), 0x2B);
    EXPECT_EQ(Hex(radio.Receive(Ascii("END")).Answer), "06");
    EXPECT_EQ(radio.Log(),
              (std::vector<std::string>{"PROGRAM", "R 3B10", "R 3B00", "R 3BF0", "END"}));
    EXPECT_TRUE(radio.Violations().empty());
}

TEST(TestRadioSelf, StoresAGoodFrameAndRefusesABadOne) {
    TestRadio radio;
    radio.Receive(Ascii("PROGRAM"));
    const Bytes good = FromHex("57 3B 10 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 E3 06");
    EXPECT_EQ(Hex(radio.Receive(good).Answer), "06");
    EXPECT_EQ(Hex(radio.Block(0x3B10)), "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10");
    Bytes bad = good;
    bad[20] = 0xE4;
    bad[4] = 0x77;
    EXPECT_TRUE(radio.Receive(bad).Answer.empty());
    EXPECT_EQ(radio.At(0x3B10), 0x01);
    EXPECT_EQ(radio.Violations().size(), 1u);
}

TEST(TestRadioSelf, NeedsTheHandshakeFirst) {
    TestRadio radio;
    EXPECT_TRUE(radio.Receive(FromHex("52 3B 00 10")).Answer.empty());
    EXPECT_EQ(radio.Violations().size(), 1u);
}

TEST(TestRadioSelf, FactoryMemoryReadsAsTheRightModel) {
    const TestRadio radio;
    EXPECT_EQ(Hex(std::span(radio.Mem()).first(11)), Hex(Ascii("KVT4610V100")));
    EXPECT_NE(Hex(TestRadio::FactoryMemory(1)), Hex(TestRadio::FactoryMemory(2)));
}

TEST(CableSelf, EchoesThenAnswersAfterTheLatency) {
    VirtualClock clock;
    FakeSerial serial(clock);
    CableLink cable(clock, serial);
    TestRadio radio;
    cable.Attach(radio);
    std::vector<Bytes> chunks;
    serial.SetOnReceiveEvent([&](int) { chunks.push_back(serial.Input()); });
    std::u16string reason;
    ASSERT_TRUE(serial.Open(1, "9600,N,8,1", reason));
    serial.SetRThreshold(10);
    serial.Output(Ascii("PROGRAM"));
    clock.Advance(4);
    EXPECT_TRUE(chunks.empty());
    clock.Advance(1);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(Hex(chunks[0]), "50 52 4F 47 52 41 4D 48 56 06");
}

TEST(CableSelf, PiecesBelowTheThresholdWaitForTheRest) {
    VirtualClock clock;
    FakeSerial serial(clock);
    CableLink cable(clock, serial);
    TestRadio radio;
    cable.Attach(radio);
    cable.SetChunking({2, {3, 8}, 10});
    int events = 0;
    serial.SetOnReceiveEvent([&](int) { ++events; });
    std::u16string reason;
    ASSERT_TRUE(serial.Open(1, "9600,N,8,1", reason));
    serial.SetRThreshold(10);
    serial.Output(Ascii("PROGRAM"));
    clock.Advance(12);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(serial.Waiting(), 8u);
    clock.Advance(10);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(serial.Waiting(), 10u);
}

TEST(TimerSelf, TicksEveryIntervalUntilStopped) {
    VirtualClock clock;
    FakeTimer timer(clock);
    int ticks = 0;
    timer.SetOnTick([&] { ++ticks; });
    timer.Start(500);
    clock.Advance(1499);
    EXPECT_EQ(ticks, 2);
    timer.Start(500); // restarts the wait
    clock.Advance(499);
    EXPECT_EQ(ticks, 2);
    clock.Advance(1);
    EXPECT_EQ(ticks, 3);
    timer.Stop();
    clock.Advance(5000);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(clock.Idle());
}

TEST(ClockSelf, RunsInTimeOrderThenInSchedulingOrder) {
    VirtualClock clock;
    std::string order;
    clock.At(20, [&] { order += 'c'; });
    clock.At(10, [&] { order += 'a'; });
    clock.At(10, [&] {
        order += 'b';
        clock.After(0, [&] { order += 'd'; });
    });
    const VirtualClock::EventId gone = clock.At(15, [&] { order += 'x'; });
    clock.Cancel(gone);
    EXPECT_TRUE(clock.RunUntilIdle(100));
    EXPECT_EQ(order, "abdc");
    EXPECT_EQ(clock.Now(), 20);
}

} // namespace

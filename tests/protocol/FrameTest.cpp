// The commands on the wire: bytes, length, and the bytes waited for.
#include "doubles/ProtocolWorld.h"

#include "protocol/CaseName.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

struct SendCase {
    std::string Name;
    std::function<void(ProtocolWorld&)> Prepare;
    std::function<void(ModComm&)> Send;
    std::string ExpectedHex;
    int ExpectedThreshold;
};

class CommandBytes : public testing::TestWithParam<SendCase> {};

TEST_P(CommandBytes, GoOutAsOneCommandWithItsThreshold) {
    const SendCase& c = GetParam();
    ProtocolWorld w;
    w.cable.Detach();
    ASSERT_TRUE(w.comm.OpenPort());
    if (c.Prepare) {
        c.Prepare(w);
    }
    const std::size_t before = w.serial.Wire().size();
    c.Send(w.comm);
    ASSERT_EQ(w.serial.Wire().size(), before + 1);
    const Bytes& sent = w.serial.Wire().back().Data;
    EXPECT_EQ(Hex(sent), c.ExpectedHex);
    EXPECT_EQ(w.serial.RThreshold(), c.ExpectedThreshold);
    EXPECT_EQ(w.comm.SentLength, static_cast<std::int32_t>(sent.size()));
    EXPECT_EQ(w.comm.RxLength, 0);
    EXPECT_TRUE(w.timer.IsRunning());
    ASSERT_FALSE(w.timer.StartIntervals().empty());
    EXPECT_EQ(w.timer.StartIntervals().back(), WaitTimerInterval);
}

void FillImage(ProtocolWorld& w, int address, const Bytes& data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        w.data.Image[static_cast<std::size_t>(address - 0x3B00) + i] = data[i];
    }
}

const Bytes Data01To10 = FromHex("01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10");

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandBytes,
    testing::Values(
        SendCase{"Program", nullptr, [](ModComm& c) { c.SendProgram(); }, "50 52 4F 47 52 41 4D",
                 10},
        SendCase{"ReadBlock3B00", nullptr, [](ModComm& c) { c.ReadBlock(0x3B00, 16); },
                 "52 3B 00 10", 26},
        SendCase{"ReadBlock3BF0", nullptr, [](ModComm& c) { c.ReadBlock(0x3BF0, 16); },
                 "52 3B F0 10", 26},
        SendCase{"End", nullptr, [](ModComm& c) { c.SendEnd(); }, "45 4E 44", 4},
        SendCase{"ReadNextBlockFromStart", [](ProtocolWorld& w) { w.comm.BlockAddress = 0x3AF0; },
                 [](ModComm& c) { c.ReadNextBlock(); }, "52 3B 00 10", 26},
        SendCase{"ReadNextBlockToTheLast", [](ProtocolWorld& w) { w.comm.BlockAddress = 0x3BE0; },
                 [](ModComm& c) { c.ReadNextBlock(); }, "52 3B F0 10", 26},
        SendCase{"WriteBlock3B10With01To10",
                 [](ProtocolWorld& w) {
                     FillImage(w, 0x3B10, Data01To10);
                     w.comm.BlockAddress = 0x3B00;
                 },
                 [](ModComm& c) { c.WriteNextBlock(); },
                 "57 3B 10 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 E3 06", 23},
        SendCase{"WriteBlock3B00Zeros", [](ProtocolWorld& w) { w.comm.BlockAddress = 0x3AF0; },
                 [](ModComm& c) { c.WriteNextBlock(); },
                 "57 3B 00 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 4B 06", 23},
        SendCase{"WriteBlock3BF0AllFF",
                 [](ProtocolWorld& w) {
                     FillImage(w, 0x3BF0, Bytes(16, 0xFF));
                     w.comm.BlockAddress = 0x3B90;
                 },
                 [](ModComm& c) { c.WriteNextBlock(); },
                 "57 3B F0 10 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 2B 06", 23},
        SendCase{"WriteNextBlockSkipsTo3B60",
                 [](ProtocolWorld& w) {
                     FillImage(w, 0x3B60, Data01To10);
                     w.comm.BlockAddress = 0x3B10;
                 },
                 [](ModComm& c) { c.WriteNextBlock(); },
                 "57 3B 60 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 33 06", 23}),
    CaseName());

TEST(WriteOrder, SevenBlocksFromTheStartThenNone) {
    ProtocolWorld w;
    w.cable.Detach();
    ASSERT_TRUE(w.comm.OpenPort());
    w.comm.OperationMode = ModeWrite;
    w.comm.BlockAddress = 0x3AF0;
    for (int i = 0; i < 8 && w.comm.NextWriteBlock(); ++i) {
        w.comm.WriteNextBlock();
    }
    EXPECT_EQ(w.Wire(), WrittenBlocks);
    EXPECT_FALSE(w.comm.NextWriteBlock());
}

TEST(ReadOrder, SixteenBlocksFromTheStartThenNone) {
    ProtocolWorld w;
    w.cable.Detach();
    ASSERT_TRUE(w.comm.OpenPort());
    w.comm.OperationMode = ModeRead;
    w.comm.BlockAddress = 0x3AF0;
    for (int i = 0; i < 17 && w.comm.NextReadBlock(); ++i) {
        w.comm.ReadNextBlock();
    }
    std::vector<std::string> expected;
    for (int a = 0x3B00; a <= 0x3BF0; a += 0x10) {
        expected.push_back(CommandFor("R", a));
    }
    EXPECT_EQ(w.Wire(), expected);
    EXPECT_FALSE(w.comm.NextReadBlock());
}

TEST(SendFrame, EmptiesWaitingBytesAndTheHandshakeBuffer) {
    ProtocolWorld w;
    w.cable.Detach();
    ASSERT_TRUE(w.comm.OpenPort());
    w.comm.SendProgram();
    w.serial.Deliver(FromHex("11 22 33 44 55")); // below the threshold: waits
    ASSERT_EQ(w.serial.Waiting(), 5u);
    w.comm.RxLength = 7;
    w.comm.SendEnd();
    EXPECT_EQ(w.serial.Waiting(), 0u);
    EXPECT_EQ(w.comm.RxLength, 0);
    EXPECT_EQ(w.comm.SentLength, 3);
}

} // namespace

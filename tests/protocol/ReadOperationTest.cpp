// A Read: the commands on the wire, the record afterwards, the message shown.
#include "doubles/ProtocolWorld.h"
#include "protocol/CaseName.h"
#include "record/ModFun.h"
#include "record/RadioModel.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

std::vector<std::string> ReadCommands() {
    std::vector<std::string> commands = {"PROGRAM"};
    for (int a = 0x3B00; a <= 0x3BF0; a += 0x10) {
        commands.push_back(CommandFor("R", a));
    }
    commands.push_back("END");
    return commands;
}

std::u16string Trim(std::u16string_view text) {
    return TrimText(text);
}

TEST(Read, SendsEighteenCommandsAndCompletes) {
    ProtocolWorld w;
    w.comm.StartRead();
    EXPECT_EQ(w.comm.OperationMode, ModeRead);
    ASSERT_TRUE(w.Settle());

    EXPECT_EQ(w.Wire(), ReadCommands());
    EXPECT_EQ(w.radio.Log(), ReadCommands());
    EXPECT_TRUE(w.radio.Violations().empty());
    ASSERT_EQ(w.Texts(), TextList{Box::ReadComplete});
    const FakeWindow::Message& done = w.window.Messages().back();
    EXPECT_EQ(done.Buttons, MessageButtons::Ok);
    EXPECT_EQ(done.Icon, MessageIcon::None);
    EXPECT_FALSE(done.PortOpen);
    EXPECT_FALSE(done.TimerRunning);
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_FALSE(w.timer.IsRunning());
    EXPECT_EQ(w.comm.BlockAddress, BlockAddressStart);
    EXPECT_TRUE(w.serial.Misuse().empty());
}

TEST(Read, OpensTheChosenPortWithTheLineSettings) {
    ProtocolWorld w;
    w.comm.ComPortNo = 7;
    w.comm.StartRead();
    w.Settle();
    ASSERT_EQ(w.serial.OpenCalls().size(), 1u);
    EXPECT_EQ(w.serial.OpenCalls()[0].PortNo, 7);
    EXPECT_EQ(w.serial.OpenCalls()[0].Settings, "9600,N,8,1");
}

TEST(Read, EveryCommandStartsAFullResponseTime) {
    ProtocolWorld w;
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(w.timer.StartCount(), 18);
    for (const int interval : w.timer.StartIntervals()) {
        EXPECT_EQ(interval, WaitTimerInterval);
    }
    EXPECT_EQ(w.timer.TickCount(), 0);
}

TEST(Read, TheImageHoldsTheRadiosBytesAndTheRecordIsUnpacked) {
    ProtocolWorld w;
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(Hex(w.data.Image), Hex(w.radio.Mem()));

    ASSERT_EQ(w.window.Shown().size(), 1u);
    const RadioInfo& r = w.data.Record;
    EXPECT_EQ(w.window.Shown()[0], r);
    EXPECT_EQ(r.RfVersion, u"V1.10");
    EXPECT_EQ(r.LcdVersion, u"V2.05");
    EXPECT_EQ(r.BandCode, 1);
    EXPECT_EQ(r.FactoryMode, 1);
    EXPECT_EQ(r.FreqSet, 0);
    EXPECT_EQ(r.Stun, 0);
    EXPECT_EQ(r.Kill, 0);
    EXPECT_EQ(Trim(r.UserCode.Str()), u"KZWP");
    EXPECT_EQ(Trim(r.ProgPassWord.Str()), u"8888");
    EXPECT_EQ(r.AreaCode, u"CN01");
    EXPECT_EQ(Trim(r.SerialNo.Str()), u"2026120600000005");
    EXPECT_EQ(Trim(r.ProductDate.Str()), u"2026-12-06");
    EXPECT_EQ(Trim(r.ManufactureCode.Str()), u"12-1-E-1");
    EXPECT_EQ(Trim(r.MaintainDate.Str()), u"");
    EXPECT_EQ(Trim(r.DealerCode.Str()), u"OLD-DEALER");
    EXPECT_EQ(Trim(r.StockDate.Str()), u"2025-01-01");
    EXPECT_EQ(Trim(r.SellDate.Str()), u"");
    EXPECT_EQ(Trim(r.Seller.Str()), u"\u4E2D\u6587");
    EXPECT_EQ(Trim(r.MaintainDesc.Str()), u"Checked at the shop");
    EXPECT_EQ(r.RadioModel, u"KVT4610");
}

TEST(Read, ShowsTheRecordBeforeTheMessage) {
    ProtocolWorld w;
    w.comm.StartRead();
    ASSERT_TRUE(w.clock.RunUntil([&] { return !w.window.Messages().empty(); }, 10000));
    EXPECT_EQ(w.window.Shown().size(), 1u);
}

TEST(Read, BandFlagsFromTheRadio) {
    ProtocolWorld w;
    w.radio.SetBand(0);
    w.radio.Poke(0x3B10, FromHex("0E"));
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(w.data.Record.BandCode, 0);
    EXPECT_EQ(w.data.Record.FactoryMode, 0);
    EXPECT_EQ(w.data.Record.FreqSet, 1);
    EXPECT_EQ(w.data.Record.Stun, 1);
    EXPECT_EQ(w.data.Record.Kill, 1);
}

// The last moment an answer still comes in time: one millisecond inside
// the model's response time.
constexpr VirtualClock::Time LastMsInTime =
    (TheModel.ResponseTime - std::chrono::milliseconds{1}).count();

struct ChunkCase {
    std::string Name;
    CableLink::Chunking Chunking;
};

class ReadChunks : public testing::TestWithParam<ChunkCase> {};

TEST_P(ReadChunks, AnswersInPiecesStillMakeACompleteRead) {
    ProtocolWorld w;
    w.cable.SetChunking(GetParam().Chunking);
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(w.Wire(), ReadCommands());
    EXPECT_EQ(w.Texts(), TextList{Box::ReadComplete});
    EXPECT_EQ(Hex(w.data.Image), Hex(w.radio.Mem()));
}

INSTANTIATE_TEST_SUITE_P(Chunks, ReadChunks,
                         testing::Values(ChunkCase{"AllAtOnce", {5, {}, 1}},
                                         ChunkCase{
                                             "ByteAfterByte",
                                             {1,
                                              {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                               14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25},
                                              1}},
                                         ChunkCase{"EchoThenAnswer", {3, {3, 4, 7}, 2}},
                                         ChunkCase{"SlowPieces", {100, {2, 9}, 150}},
                                         ChunkCase{"JustInTime", {LastMsInTime, {}, 1}}),
                         CaseName());

TEST(Read, HandshakeWithThreeNoiseBytesBeforeTheEcho) {
    ProtocolWorld w;
    w.radio.NoiseNext("PROGRAM", FromHex("00 FF 48"));
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(w.Wire(), ReadCommands());
    EXPECT_EQ(w.Texts(), TextList{Box::ReadComplete});
}

TEST(Read, HandshakeSplitOverTwoReceiveEvents) {
    ProtocolWorld w;
    // 3 noise bytes and the echo make the first event; "HV" 06 and 7 more
    // bytes the second.
    w.radio.NoiseNext("PROGRAM", FromHex("11 22 33"));
    w.radio.MutateNext("PROGRAM", [](Bytes& answer) {
        const Bytes tail = FromHex("01 02 03 04 05 06 07");
        answer.insert(answer.end(), tail.begin(), tail.end());
    });
    w.cable.SetChooser(
        [](std::span<const std::uint8_t> sent) -> std::optional<CableLink::Chunking> {
            if (DescribeCommand(sent) == "PROGRAM") {
                return CableLink::Chunking{5, {10}, 20};
            }
            return std::nullopt;
        });
    w.comm.StartRead();
    w.clock.RunUntil([&] { return w.Wire().size() == 2; }, 1000);
    EXPECT_EQ(w.serial.ReceiveEvents(), 2);
    w.Settle();
    EXPECT_EQ(w.Wire(), ReadCommands());
    EXPECT_EQ(w.Texts(), TextList{Box::ReadComplete});
}

TEST(Read, AHandshakeMissingItsAckIsNeverRecognised) {
    ProtocolWorld w;
    w.radio.MutateNext("PROGRAM", [](Bytes& answer) { answer.pop_back(); }); // 9 bytes
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(w.Wire(), std::vector<std::string>{"PROGRAM"});
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
}

// A block answer that is not a good frame is dropped; the time-out ends the Read.
struct BadAnswerCase {
    std::string Name;
    std::function<void(Bytes&)> Change;
};

class ReadBadAnswer : public testing::TestWithParam<BadAnswerCase> {};

TEST_P(ReadBadAnswer, IsDroppedAndTheReadTimesOut) {
    ProtocolWorld w;
    w.radio.MutateNext("R 3B20", GetParam().Change);
    w.comm.StartRead();
    w.Settle();
    const std::vector<std::string> all = ReadCommands();
    const std::vector<std::string> expected(all.begin(), all.begin() + 4);
    EXPECT_EQ(w.Wire(), expected);
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_TRUE(w.window.Shown().empty());
    EXPECT_EQ(w.window.Messages().back().At, w.serial.Wire().back().At + WaitTimerInterval);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ReadBadAnswer,
    testing::Values(BadAnswerCase{"ChecksumOneHigh",
                                  [](Bytes& a) { a[20] = static_cast<std::uint8_t>(a[20] + 1); }},
                    BadAnswerCase{"ChecksumOneLow",
                                  [](Bytes& a) { a[20] = static_cast<std::uint8_t>(a[20] - 1); }},
                    BadAnswerCase{"MarkerNotW", [](Bytes& a) { a[0] = 0x52; }},
                    BadAnswerCase{"CountNot10",
                                  [](Bytes& a) {
                                      a[3] = 0x0F;
                                      a[20] = static_cast<std::uint8_t>(a[20] - 1);
                                  }},
                    BadAnswerCase{"TrailerNot06", [](Bytes& a) { a[21] = 0x0A; }},
                    BadAnswerCase{"OneByteLonger", [](Bytes& a) { a.push_back(0x06); }},
                    BadAnswerCase{"OneByteShorter", [](Bytes& a) { a.pop_back(); }},
                    BadAnswerCase{"OnlyAnAck", [](Bytes& a) { a = {0x06}; }}),
    CaseName());

TEST(Read, ALoneAckAfterAnRIsNotTakenForAnAnswer) {
    ProtocolWorld w;
    w.radio.MutateNext("R 3B40", [](Bytes& a) { a = {0x06}; });
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(w.Wire().back(), "R 3B40");
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
}

TEST(Read, ANewReadAfterACompleteOneRunsTheSame) {
    ProtocolWorld w;
    w.comm.StartRead();
    w.Settle();
    const std::size_t first = w.serial.Wire().size();
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(w.serial.WireTextFrom(first), ReadCommands());
    EXPECT_EQ(w.Texts(), (TextList{Box::ReadComplete, Box::ReadComplete}));
}

} // namespace

// A Write: the commands on the wire, what the radio holds afterwards, the
// band question and the message shown.
#include "doubles/ProtocolWorld.h"
#include "protocol/CaseName.h"
#include "protocol/DealerEdit.h"
#include "record/ModFun.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> WriteCommands() {
    std::vector<std::string> commands = {"PROGRAM", "R 3B00", "R 3B10", "R 3BF0"};
    commands.insert(commands.end(), WrittenBlocks.begin(), WrittenBlocks.end());
    commands.push_back("END");
    return commands;
}

struct WriteWorld : ProtocolWorld {
    DealerEdit edit;
    WriteWorld() {
        window.SetOnGetData([this](ModData& d) { edit.ApplyTo(d); });
    }
};

TEST(Write, SendsTwelveCommandsAndCompletes) {
    WriteWorld w;
    w.comm.StartWrite();
    EXPECT_EQ(w.comm.OperationMode, ModeWrite);
    ASSERT_TRUE(w.Settle());

    EXPECT_EQ(w.Wire(), WriteCommands());
    EXPECT_EQ(w.radio.Log(), WriteCommands());
    EXPECT_TRUE(w.radio.Violations().empty()) << w.radio.Violations().front();
    ASSERT_EQ(w.Texts(), TextList{Box::WriteComplete});
    const FakeWindow::Message& done = w.window.Messages().back();
    EXPECT_EQ(done.Buttons, MessageButtons::Ok);
    EXPECT_EQ(done.Icon, MessageIcon::None);
    EXPECT_FALSE(done.PortOpen);
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_FALSE(w.timer.IsRunning());
    EXPECT_EQ(w.comm.BlockAddress, BlockAddressStart);
    EXPECT_EQ(w.window.GetDataCalls(), 1);
    EXPECT_EQ(w.timer.StartCount(), 12);
    EXPECT_TRUE(w.serial.Misuse().empty());
}

TEST(Write, TheFormIsCollectedOnlyAfterTheLastRead) {
    WriteWorld w;
    std::vector<std::string> wireAtCollect;
    bool timerRunningAtCollect = true;
    w.window.SetOnGetData([&](ModData& d) {
        wireAtCollect = w.Wire();
        timerRunningAtCollect = w.timer.IsRunning();
        w.edit.ApplyTo(d);
    });
    w.comm.StartWrite();
    w.Settle();
    EXPECT_EQ(wireAtCollect, (std::vector<std::string>{"PROGRAM", "R 3B00", "R 3B10", "R 3BF0"}));
    EXPECT_FALSE(timerRunningAtCollect);
}

struct MemoryCase {
    std::string Name;
    // What the tool did before this write, in the same run.
    std::function<void(WriteWorld&)> Before;
    DealerEdit Edit;
};

DealerEdit NoFlags() {
    DealerEdit e;
    e.FreqSet = 0;
    e.Stun = 0;
    e.Kill = 0;
    e.PassWord = u"";
    e.Seller = u"Shop 9";
    e.SellerBytes = Ascii("Shop 9");
    return e;
}

DealerEdit LongTexts() {
    DealerEdit e;
    e.PassWord = u"9876";
    e.DealerCode = u"ABCDEFGHIJKLMNOP";                             // exactly 16
    e.Seller = u"\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587"; // 16 bytes
    e.SellerBytes = FromHex("D6 D0 CE C4 D6 D0 CE C4 D6 D0 CE C4 D6 D0 CE C4");
    return e;
}

class WriteMemory : public testing::TestWithParam<MemoryCase> {};

TEST_P(WriteMemory, TheRadioGetsBackOnlyItsOwnBytesAndTheDealersFields) {
    const MemoryCase& c = GetParam();
    WriteWorld w;
    if (c.Before) {
        c.Before(w);
    }
    w.edit = c.Edit;
    w.radio.SetMemory(TestRadio::FactoryMemory(7));
    w.radio.Poke(0x3B10, FromHex("0E"));
    const TestRadio::Memory before = w.radio.Mem();
    const std::size_t first = w.serial.Wire().size();
    const std::size_t messages = w.Texts().size();

    w.comm.StartWrite();
    w.Settle();

    ASSERT_EQ(w.Texts().size(), messages + 1);
    EXPECT_EQ(w.Texts().back(), Box::WriteComplete);
    EXPECT_EQ(w.serial.WireTextFrom(first), WriteCommands());
    const TestRadio::Memory expected = c.Edit.Written(before, 1);
    EXPECT_EQ(Hex(w.radio.Mem()), Hex(expected));

    // each W frame carries the radio's block as it ends up, with its sum
    for (std::size_t i = first; i < w.serial.Wire().size(); ++i) {
        const Bytes& sent = w.serial.Wire()[i].Data;
        if (DescribeCommand(sent).rfind("W ", 0) != 0) {
            continue;
        }
        const int address = sent[1] * 256 + sent[2];
        Bytes frame = {0x57, sent[1], sent[2], 0x10};
        const Bytes block = w.radio.Block(address);
        frame.insert(frame.end(), block.begin(), block.end());
        frame.push_back(ByteSum(std::span(frame).subspan(1, 19)));
        frame.push_back(0x06);
        EXPECT_EQ(Hex(sent), Hex(frame));
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, WriteMemory,
                         testing::Values(MemoryCase{"FreshTool", nullptr, DealerEdit{}},
                                         MemoryCase{"AfterReadingAnotherRadio",
                                                    [](WriteWorld& w) {
                                                        w.radio.SetMemory(
                                                            TestRadio::FactoryMemory(3));
                                                        w.comm.StartRead();
                                                        w.Settle();
                                                    },
                                                    DealerEdit{}},
                                         MemoryCase{"AfterWritingAnotherRadio",
                                                    [](WriteWorld& w) {
                                                        w.radio.SetMemory(
                                                            TestRadio::FactoryMemory(4));
                                                        w.comm.StartWrite();
                                                        w.Settle();
                                                    },
                                                    DealerEdit{}},
                                         MemoryCase{"NoFlagsEmptyPassWord", nullptr, NoFlags()},
                                         MemoryCase{"FullWidthTexts", nullptr, LongTexts()}),
                         CaseName());

TEST(Write, FlagByteF1WithFreqSetAndKillBecomesFB) {
    WriteWorld w;
    w.radio.Poke(0x3B10, FromHex("F1"));
    w.comm.StartWrite();
    w.Settle();
    EXPECT_EQ(w.radio.At(0x3B10), 0xFB);
}

TEST(Write, FlagByte0EWithNoFlagsBecomes00) {
    WriteWorld w;
    w.edit = NoFlags();
    w.radio.Poke(0x3B10, FromHex("0E"));
    w.comm.StartWrite();
    w.Settle();
    EXPECT_EQ(w.radio.At(0x3B10), 0x00);
}

struct BandCase {
    std::string Name;
    std::uint8_t RadioBand;
    std::optional<std::int16_t> WindowBand;
    MessageResult Answer;
    std::uint8_t BandAfter;
    std::size_t Questions;
};

class WriteBand : public testing::TestWithParam<BandCase> {};

TEST_P(WriteBand, TheRadiosBandIsOverwrittenOnlyWhenTheOperatorAgrees) {
    const BandCase& c = GetParam();
    WriteWorld w;
    w.radio.SetBand(c.RadioBand);
    w.data.Record.BandCode = static_cast<std::int16_t>(c.RadioBand == 0 ? 1 : 0);
    w.window.SetWindowBand(c.WindowBand);
    w.window.ScriptAnswers({c.Answer});
    const TestRadio::Memory before = w.radio.Mem();
    w.comm.StartWrite();
    w.Settle();
    EXPECT_EQ(w.Texts(), TextList{Box::WriteComplete});
    EXPECT_EQ(w.window.BandQuestions(), c.Questions);
    EXPECT_EQ(w.radio.At(0x3B0F), c.BandAfter);
    EXPECT_EQ(Hex(w.radio.Mem()), Hex(w.edit.Written(before, c.BandAfter)));
    for (const FakeWindow::Message& m : w.window.Messages()) {
        if (m.Question) {
            EXPECT_EQ(m.Buttons, MessageButtons::OkCancel);
            EXPECT_EQ(m.Icon, MessageIcon::Exclamation);
            EXPECT_FALSE(m.TimerRunning); // no command outstanding while asking
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bands, WriteBand,
    testing::Values(BandCase{"DifferentOverwritten", 1, 0, MessageResult::Ok, 0, 1},
                    BandCase{"DifferentKept", 1, 0, MessageResult::Cancel, 1, 1},
                    BandCase{"DifferentOtherWayOverwritten", 0, 1, MessageResult::Ok, 1, 1},
                    BandCase{"SameNoQuestion", 0, 0, MessageResult::Cancel, 0, 0},
                    BandCase{"SameOneNoQuestion", 1, 1, MessageResult::Cancel, 1, 0},
                    BandCase{"NoWindowBandKeepsTheRadios", 0, std::nullopt, MessageResult::Ok, 0,
                             0}),
    CaseName());

TEST(Write, ShowsTheRecordWithTheNextSerialNumber) {
    WriteWorld w;
    w.data.Record.SerialNo = u"2026120600000001";
    w.comm.StartWrite();
    w.Settle();
    ASSERT_EQ(w.window.Shown().size(), 1u);
    EXPECT_EQ(TrimText(w.window.Shown()[0].SerialNo.Str()), u"2026120600000002");
    EXPECT_EQ(w.data.Record.SerialNo.Str(), u"2026120600000002");
    // the serial number is never written to the radio
    EXPECT_EQ(Hex(w.radio.Block(0x3B20)), Hex(Ascii("2026120600000005")));
}

TEST(Write, AWriteAfterAWriteRunsTheSame) {
    WriteWorld w;
    w.comm.StartWrite();
    w.Settle();
    const std::size_t first = w.serial.Wire().size();
    w.comm.StartWrite();
    w.Settle();
    EXPECT_EQ(w.serial.WireTextFrom(first), WriteCommands());
    EXPECT_EQ(w.Texts(), (TextList{Box::WriteComplete, Box::WriteComplete}));
}

} // namespace

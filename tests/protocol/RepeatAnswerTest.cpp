// The repeat answer 0x0A: the refused command goes out again unchanged; five
// refusals in a row end the operation like a time-out.
#include "doubles/ProtocolWorld.h"
#include "protocol/CaseName.h"
#include "protocol/DealerEdit.h"
#include "protocol/OperationKind.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct RepeatCase {
    std::string Name;
    Operation Op;
    std::string Command; // the command the radio refuses
    int Times;           // refusals in a row
};

class RepeatAnswer : public testing::TestWithParam<RepeatCase> {};

TEST_P(RepeatAnswer, ResendsTheSameCommandAtMostFourTimes) {
    const RepeatCase& c = GetParam();
    ProtocolWorld w;
    DealerEdit edit;
    w.window.SetOnGetData([&](ModData& d) { edit.ApplyTo(d); });
    const TestRadio::Memory before = w.radio.Mem();
    w.radio.RefuseNext(c.Command, c.Times);
    Start(w, c.Op);
    ASSERT_TRUE(w.Settle());

    const bool givesUp = c.Times >= 5;
    std::vector<std::string> expected;
    for (const std::string& command : FullCommands(c.Op)) {
        if (command == c.Command) {
            expected.insert(expected.end(), static_cast<std::size_t>(std::min(c.Times, 4) + 1),
                            command);
            if (givesUp) {
                break;
            }
        } else {
            expected.push_back(command);
        }
    }
    EXPECT_EQ(w.Wire(), expected);

    // every resend is byte for byte the refused command
    const std::vector<std::string> wire = w.Wire();
    const auto first = std::find(wire.begin(), wire.end(), c.Command);
    ASSERT_NE(first, wire.end());
    const Bytes& original = w.serial.Wire()[static_cast<std::size_t>(first - wire.begin())].Data;
    for (std::size_t i = 0; i < wire.size(); ++i) {
        if (wire[i] == c.Command) {
            EXPECT_EQ(Hex(w.serial.Wire()[i].Data), Hex(original));
        }
    }

    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_FALSE(w.timer.IsRunning());
    if (givesUp) {
        EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    } else {
        EXPECT_EQ(w.Texts(), TextList{CompleteText(c.Op)});
        if (c.Op != Operation::Read) {
            EXPECT_EQ(Hex(w.radio.Mem()), Hex(edit.Written(before, 1)));
            EXPECT_EQ(w.window.GetDataCalls(), 1);
        }
    }
    if (c.Op == Operation::Batch) {
        ASSERT_FALSE(w.window.FaceCalls().empty());
        EXPECT_EQ(w.window.FaceCalls().back().ModeAtCall, ModeMulWrite);
        EXPECT_FALSE(w.window.RunningFace());
    }
    EXPECT_TRUE(w.radio.Violations().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RepeatAnswer,
    testing::Values(RepeatCase{"WriteFirstBlockOnce", Operation::Write, "W 3B00", 1},
                    RepeatCase{"WriteSecondBlockOnce", Operation::Write, "W 3B10", 1},
                    RepeatCase{"WriteBlock3B90Twice", Operation::Write, "W 3B90", 2},
                    RepeatCase{"WriteLastBlockFourTimes", Operation::Write, "W 3BF0", 4},
                    RepeatCase{"WriteBlockFiveTimesGivesUp", Operation::Write, "W 3B60", 5},
                    RepeatCase{"WriteBlockAlwaysGivesUp", Operation::Write, "W 3B00", 1000},
                    RepeatCase{"WriteEndOnce", Operation::Write, "END", 1},
                    RepeatCase{"WriteEndFourTimes", Operation::Write, "END", 4},
                    RepeatCase{"WriteEndFiveTimesGivesUp", Operation::Write, "END", 5},
                    RepeatCase{"ReadEndOnce", Operation::Read, "END", 1},
                    RepeatCase{"ReadEndFourTimes", Operation::Read, "END", 4},
                    RepeatCase{"ReadEndFiveTimesGivesUp", Operation::Read, "END", 5},
                    RepeatCase{"BatchFirstBlockOnce", Operation::Batch, "W 3B00", 1},
                    RepeatCase{"BatchBlock3B70ThreeTimes", Operation::Batch, "W 3B70", 3},
                    RepeatCase{"BatchBlockFiveTimesGivesUp", Operation::Batch, "W 3B10", 5},
                    RepeatCase{"BatchEndTwice", Operation::Batch, "END", 2},
                    RepeatCase{"BatchEndFiveTimesGivesUp", Operation::Batch, "END", 5}),
    CaseName());

TEST(RepeatAnswer, TheCountStartsAgainForEachCommand) {
    ProtocolWorld w;
    w.radio.RefuseNext("W 3B00", 4);
    w.radio.RefuseNext("W 3B10", 4);
    w.radio.RefuseNext("END", 4);
    w.comm.StartWrite();
    w.Settle();
    EXPECT_EQ(w.Texts(), TextList{Box::WriteComplete});
    EXPECT_EQ(w.radio.CountOf("W 3B00"), 5);
    EXPECT_EQ(w.radio.CountOf("W 3B10"), 5);
    EXPECT_EQ(w.radio.CountOf("END"), 5);
}

TEST(RepeatAnswer, ARefusalAfterAnAcceptedResendCountsFromOne) {
    ProtocolWorld w;
    // four refusals, one ack, and then the next block is refused four times
    w.radio.RefuseNext("W 3B60", 4);
    w.radio.RefuseNext("W 3B70", 4);
    w.comm.StartWrite();
    w.Settle();
    EXPECT_EQ(w.Texts(), TextList{Box::WriteComplete});
}

TEST(RepeatAnswer, EachResendGetsAFullResponseTime) {
    ProtocolWorld w;
    w.cable.SetLatency(450);
    w.radio.RefuseNext("END", 4);
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(w.Texts(), TextList{Box::ReadComplete});
    EXPECT_EQ(w.timer.StartCount(), 18 + 4);
}

TEST(RepeatAnswer, TheResendGoesOutWhenTheRefusalArrives) {
    ProtocolWorld w;
    w.radio.RefuseNext("W 3B80", 1);
    w.comm.StartWrite();
    w.Settle();
    const std::vector<std::string> wire = w.Wire();
    const auto first = std::find(wire.begin(), wire.end(), "W 3B80");
    ASSERT_NE(first, wire.end());
    const std::size_t i = static_cast<std::size_t>(first - wire.begin());
    ASSERT_EQ(wire[i + 1], "W 3B80");
    // the default cable answers 5 ms after a command, the refusal included
    EXPECT_EQ(w.serial.Wire()[i + 1].At - w.serial.Wire()[i].At, 5);
}

TEST(RepeatAnswer, EndAfterAFailedCheckIsResentAndTheErrorFollows) {
    for (const Operation op : {Operation::Read, Operation::Write, Operation::Batch}) {
        SCOPED_TRACE(Name(op));
        ProtocolWorld w;
        w.radio.SetVersionBytes(Ascii("V120"));
        w.radio.RefuseNext("END", 2);
        Start(w, op);
        w.Settle();
        std::vector<std::string> expected = {"PROGRAM", "R 3B00"};
        if (op == Operation::Write) {
            expected.push_back("R 3B10");
        }
        expected.insert(expected.end(), {"END", "END", "END"});
        EXPECT_EQ(w.Wire(), expected);
        EXPECT_EQ(
            w.Texts(),
            TextList{u"Model Type or Version Error!\r\nRadio Model:KVT4610\r\nRadio Version:V120"});
        EXPECT_EQ(w.comm.OperationMode, ModeOf(op));
    }
}

TEST(RepeatAnswer, AlwaysRefusingEndAfterAFailedCheckGivesUp) {
    ProtocolWorld w;
    w.radio.SetVersionBytes(Ascii("V120"));
    w.radio.RefuseNext("END", 1000);
    w.comm.StartWrite();
    w.Settle();
    EXPECT_EQ(w.radio.CountOf("END"), 5);
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
}

} // namespace

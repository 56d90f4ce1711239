// Opening and closing the port around the operations.
#include "doubles/ProtocolWorld.h"
#include "protocol/OperationKind.h"

#include <gtest/gtest.h>

namespace {

TEST(Port, ThatCannotOpenStopsTheOperationWithOneMessage) {
    for (const Operation op : {Operation::Read, Operation::Write, Operation::Batch}) {
        SCOPED_TRACE(Name(op));
        ProtocolWorld w;
        w.serial.FailOpen(u"no such port");
        Start(w, op, 3);
        w.Settle();
        ASSERT_EQ(w.window.Messages().size(), 1u);
        const FakeWindow::Message& m = w.window.Messages()[0];
        EXPECT_EQ(m.Text.substr(0, Box::CannotOpenPort.size()), Box::CannotOpenPort);
        EXPECT_EQ(m.Buttons, MessageButtons::Ok);
        EXPECT_EQ(m.Icon, MessageIcon::Stop);
        EXPECT_TRUE(w.serial.Wire().empty());
        EXPECT_EQ(w.comm.OperationMode, ModeIdle);
        EXPECT_EQ(w.timer.StartCount(), 0);
        EXPECT_TRUE(w.radio.Log().empty());
        if (op == Operation::Batch) {
            EXPECT_FALSE(w.window.RunningFace());
            EXPECT_EQ(w.window.FaceCalls().back().ModeAtCall, ModeMulWrite);
        }
    }
}

TEST(Port, TheMessageIsExactlyTheFixedTextWhenTheReasonIsEmpty) {
    ProtocolWorld w;
    w.serial.FailOpen(u"");
    w.comm.StartRead();
    ASSERT_EQ(w.window.Messages().size(), 1u);
    EXPECT_EQ(w.window.Messages()[0].Text.substr(0, Box::CannotOpenPort.size()),
              Box::CannotOpenPort);
}

TEST(Port, AnOpenPortIsClosedAndOpenedAgainWithoutAMessage) {
    const Operation pairs[][2] = {{Operation::Read, Operation::Write},
                                  {Operation::Write, Operation::Read},
                                  {Operation::Read, Operation::Read},
                                  {Operation::Write, Operation::Write}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(std::string(Name(pair[0])) + " then " + Name(pair[1]));
        ProtocolWorld w;
        w.cable.SetPlugged(false);
        Start(w, pair[0]);
        w.clock.Advance(100);
        ASSERT_TRUE(w.serial.PortOpen());
        w.cable.SetPlugged(true);
        Start(w, pair[1]);
        EXPECT_GE(w.serial.CloseCalls(), 1);
        EXPECT_EQ(w.serial.OpenCalls().size(), 2u);
        EXPECT_TRUE(w.serial.Misuse().empty());
        w.Settle();
        EXPECT_EQ(w.serial.WireTextFrom(1), FullCommands(pair[1]));
        EXPECT_EQ(w.Texts(), TextList{CompleteText(pair[1])});
        EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    }
}

TEST(Port, ClosingAClosedPortDoesNothing) {
    ProtocolWorld w;
    w.comm.ClosePort();
    EXPECT_EQ(w.serial.CloseCalls(), 0);
    EXPECT_FALSE(w.serial.PortOpen());
}

TEST(Port, OpenPortUsesTheChosenNumberAndTheLineSettings) {
    ProtocolWorld w;
    w.comm.ComPortNo = 12;
    ASSERT_TRUE(w.comm.OpenPort());
    EXPECT_TRUE(w.serial.PortOpen());
    ASSERT_EQ(w.serial.OpenCalls().size(), 1u);
    EXPECT_EQ(w.serial.OpenCalls()[0].PortNo, 12);
    EXPECT_EQ(w.serial.OpenCalls()[0].Settings, "9600,N,8,1");
    EXPECT_TRUE(w.Texts().empty());
}

TEST(Port, EveryOperationEndsWithThePortClosed) {
    for (const Operation op : {Operation::Read, Operation::Write, Operation::Batch}) {
        SCOPED_TRACE(Name(op));
        ProtocolWorld w;
        Start(w, op);
        w.Settle();
        EXPECT_FALSE(w.serial.PortOpen());
        EXPECT_EQ(w.serial.DroppedWhileClosed(), 0u);
        EXPECT_TRUE(w.serial.Misuse().empty());
    }
}

} // namespace

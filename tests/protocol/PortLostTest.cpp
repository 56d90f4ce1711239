// The port an operation opened is the one its failure names, whatever the
// port list did meanwhile; and a port whose device is gone ends the operation
// at once, a batch waiting for its next radio included.
#include "doubles/ProtocolWorld.h"
#include "protocol/OperationKind.h"

#include <gtest/gtest.h>

namespace {
const std::u16string Hint =
    u"Is the radio switched on, the cable seated and the right port chosen?";

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}
} // namespace

// The adapter unplugged while command n is outstanding: nothing more goes out,
// no time-out is waited for, and the box names COM7 and its device.
TEST(PortLost, EndsTheOperationAtOnceAtEveryCommand) {
    for (const Operation op : {Operation::Read, Operation::Write, Operation::Batch}) {
        const std::vector<std::string> all = FullCommands(op);
        for (std::size_t sent = 1; sent <= all.size(); ++sent) {
            ProtocolWorld w;
            w.comm.ComPortNo = 7;
            w.serial.SetDeviceName(u"/dev/ttyUSB6");
            Start(w, op);
            ASSERT_TRUE(w.clock.RunUntil([&] { return w.Wire().size() >= sent; }, 60000));
            const std::string command = w.Wire().back();
            const std::string name = std::string(Name(op)) + " at " + command;
            w.serial.RaiseEvent(CommEventPortLost);
            EXPECT_EQ(w.comm.OperationMode, ModeIdle) << name;
            EXPECT_FALSE(w.serial.PortOpen()) << name;
            EXPECT_FALSE(w.timer.IsRunning()) << name << ": no time-out waited for";
            ASSERT_TRUE(w.Settle()) << name;
            EXPECT_EQ(w.Wire().size(), sent) << name << ": nothing sent after";
            ASSERT_EQ(w.FirstLines(), TextList{Box::CommunicationError}) << name;
            EXPECT_TRUE(w.Texts()[0].find(u"on COM7 (/dev/ttyUSB6) to " + Wide(command)) !=
                        std::u16string::npos)
                << name;
        }
    }
}

// A batch waiting for its next radio polls with PROGRAM; the port gone, it
// stops there rather than polling a dead port for four hours.
TEST(PortLost, ABatchWaitingForItsNextRadioStops) {
    ProtocolWorld w;
    Start(w, Operation::Batch, 3);
    ASSERT_TRUE(w.clock.RunUntil([&] { return w.comm.MulWriteNo == 2; }, 60000));
    w.cable.Detach();
    w.clock.Advance(1700);
    EXPECT_EQ(w.comm.OperationMode, ModeMulWrite) << "still polling";
    w.serial.RaiseEvent(CommEventPortLost);
    ASSERT_TRUE(w.Settle(10000));
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    EXPECT_FALSE(w.window.RunningFace());
}

// The list refresh moves ComPortNo (and what the list says of the device)
// while the operation runs; the failure names the port the operation opened.
TEST(PortLost, TheFailureNamesThePortTheOperationOpened) {
    ProtocolWorld w;
    w.comm.ComPortNo = 7;
    w.serial.SetDeviceName(u"/dev/pts/0");
    w.radio.MutateNext("R 3B10", [&](Bytes&) {
        w.comm.ComPortNo = 1;
        w.serial.SetDeviceName(u"/dev/ttyS0");
    });
    w.radio.SilentOn("W 3B00");
    Start(w, Operation::Write);
    ASSERT_TRUE(w.Settle());
    EXPECT_EQ(w.Texts(),
              TextList{Box::CommunicationError +
                       u"\r\nNo answer from the radio on COM7 (/dev/pts/0) to W 3B00. No block "
                       u"acknowledged. The radio may be partly written: write it again. " +
                       Hint});
}

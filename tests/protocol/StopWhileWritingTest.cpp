// A stop asked for at each command of a Write and of a batch: while blocks go
// out the radio is finished first; a stop at once is told what reached it.
#include "doubles/ProtocolWorld.h"
#include "protocol/LinkFailure.h"
#include "protocol/OperationKind.h"

#include <gtest/gtest.h>

namespace {
std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// The line a stop at once gives, from the commands on the wire: the last one
// is outstanding, every W before it was acknowledged.
std::u16string ExpectedLine(const std::vector<std::string>& wire) {
    std::u16string blocks;
    for (std::size_t i = 0; i + 1 < wire.size(); ++i) {
        if (wire[i].starts_with("W ")) {
            blocks += (blocks.empty() ? u"" : u", ") + Wide(wire[i].substr(2));
        }
    }
    const std::u16string written =
        blocks.empty()
            ? u"No block acknowledged. The radio may be partly written: write it again."
            : u"Blocks acknowledged: " + blocks + u". The radio is partly written: write it again.";
    return u"The radio was being written (" + Wide(wire.back()) + u"). " + written;
}
} // namespace

TEST(StopWhileWriting, EachCommandOfAWriteAndABatch) {
    for (const Operation op : {Operation::Write, Operation::Batch}) {
        const std::vector<std::string> all = FullCommands(op);
        for (std::size_t sent = 1; sent <= all.size(); ++sent) {
            ProtocolWorld w;
            Start(w, op, 2);
            ASSERT_TRUE(w.clock.RunUntil([&] { return w.Wire().size() >= sent; }, 60000));
            const std::vector<std::string> wire = w.Wire();
            const std::string name = std::string(Name(op)) + " at " + wire.back();
            const bool writing = wire.back().starts_with("W ") || sent == all.size();
            ASSERT_EQ(w.comm.DeferStop(), writing) << name;
            if (!writing) {
                continue;
            }
            EXPECT_EQ(StoppedWriteLine(w.comm.LastCommand(), w.comm.AcknowledgedBlocks(), 1),
                      ExpectedLine(wire))
                << name;
            ASSERT_TRUE(w.Settle()) << name;
            EXPECT_EQ(w.Wire(), all) << name << ": finished, nothing after it";
            EXPECT_EQ(w.comm.OperationMode, ModeIdle) << name;
            EXPECT_FALSE(w.serial.PortOpen()) << name;
        }
    }
}

TEST(StopWhileWriting, TheLineInChinese) {
    const std::uint8_t command[] = {'W', 0x3B, 0x70, 0x10};
    const int blocks[] = {0x3B00, 0x3B10, 0x3B60};
    EXPECT_EQ(StoppedWriteLine(command, blocks, 2),
              u"对讲机正在写入（W 3B70）。已确认的数据块：3B00、3B10、3B60。"
              u"对讲机只写入了一部分，请重新写入。");
}

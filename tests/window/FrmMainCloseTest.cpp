// The window asked to close (Exit, the close button, Alt+F4, a logout's
// signal) at every command of a Read, a Write and a batch, on a virtual
// clock: a radio whose blocks are going out is finished first, without a
// message, and then the window closes; anything else ends at once.
#include "VirtualLine.h"
#include "WindowFixture.h"
#include "doubles/AreaMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
enum class Op { Read, Write, Batch };

// The commands the radio gets when the operation runs to its end on one radio.
std::vector<std::string> Whole(Op op) {
    std::vector<std::string> commands{"PROGRAM"};
    if (op == Op::Read) {
        for (int block = 0x3B00; block <= 0x3BF0; block += 0x10) {
            commands.push_back(CommandFor("R", block));
        }
    } else {
        commands.insert(commands.end(), {"R 3B00", "R 3B10", "R 3BF0"});
        for (const std::size_t block : area::WrittenBlocks()) {
            commands.push_back(CommandFor("W", 0x3B00 + static_cast<int>(block)));
        }
    }
    commands.push_back("END");
    return commands;
}

enum class Then { Nothing, SecondClose, RadioFallsSilent };

// The Seller the window writes, as the radio must hold it: the text, then 0x00.
std::string SellerBytes(const TestRadio& radio) {
    return std::string(radio.Mem().begin() + 0x90, radio.Mem().begin() + 0xA0);
}
} // namespace

TEST(FrmMainClose, FinishesTheRadioBeingWrittenAndNothingElse) {
    const std::string written = std::string("CLOSE") + std::string(11, '\0');
    for (const Op op : {Op::Read, Op::Write, Op::Batch}) {
        const std::vector<std::string> whole = Whole(op);
        for (std::size_t sent = 1; sent <= whole.size(); ++sent) {
            for (const Then then : {Then::Nothing, Then::SecondClose, Then::RadioFallsSilent}) {
                VirtualWindow vw;
                VirtualLine& line = vw.line;
                WindowFixture& f = vw.fixture;
                FrmMain& w = vw.w;
                const std::string before = SellerBytes(line.radio);
                static_cast<QLineEdit*>(w.Text1[11])->setText("CLOSE");
                op == Op::Read    ? w.Command1->click()
                : op == Op::Write ? w.Command2->click()
                                  : w.Command4_Click();
                ASSERT_TRUE(line.clock.RunUntil([&] { return line.Wire().size() >= sent; }, 60000));
                const std::string command = line.Wire().back();
                const std::string name = std::to_string(static_cast<int>(op)) + " at " + command +
                                         ", then " + std::to_string(static_cast<int>(then));
                const bool writing = op != Op::Read && (command[0] == 'W' || command == "END");

                w.close();
                EXPECT_EQ(w.isVisible(), writing) << name << ": waits only for a radio written";
                if (then == Then::SecondClose) {
                    w.close();
                } else if (then == Then::RadioFallsSilent) {
                    line.radio.SilentFrom(1);
                }
                ASSERT_TRUE(line.clock.RunUntilIdle(60000)) << name;
                EXPECT_FALSE(w.isVisible()) << name;
                EXPECT_FALSE(line.serial->PortOpen()) << name;
                EXPECT_TRUE(f.Messages.empty()) << name << ": no question, no message";
                // A radio that falls silent still answers the command it had;
                // the next one then goes unanswered and the time-out ends it.
                const std::size_t silentEnd = std::min(sent + 1, whole.size());
                const std::size_t reached = !writing                    ? sent
                                            : then == Then::Nothing     ? whole.size()
                                            : then == Then::SecondClose ? sent
                                                                        : silentEnd;
                const bool finished = reached == whole.size() && writing;
                const std::vector<std::string> expected(
                    whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(reached));
                EXPECT_EQ(line.Wire(), expected) << name;
                if (finished) {
                    EXPECT_EQ(SellerBytes(line.radio), written) << name;
                } else if (!writing) {
                    EXPECT_EQ(SellerBytes(line.radio), before) << name << ": nothing written";
                }
            }
        }
    }
}

// A batch waiting for its next radio has none being written: it ends at once.
TEST(FrmMainClose, ABatchWaitingForItsNextRadioClosesAtOnce) {
    VirtualWindow vw;
    VirtualLine& line = vw.line;
    FrmMain& w = vw.w;
    w.Text2[0]->setText("3");
    w.Command4_Click();
    ASSERT_TRUE(line.clock.RunUntil([&] { return w.Comm().MulWriteNo == 2; }, 60000));
    const std::size_t sent = line.Wire().size();
    w.close();
    EXPECT_FALSE(w.isVisible());
    ASSERT_TRUE(line.clock.RunUntilIdle(60000));
    EXPECT_EQ(line.Wire().size(), sent) << "no further radio polled or written";
    EXPECT_TRUE(vw.fixture.Messages.empty());
}

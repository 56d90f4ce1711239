// The line after "Communication Error!": where the link failed, what the
// radio holds now and what to check, in the window's language.
#include "doubles/ProtocolWorld.h"
#include "protocol/CaseName.h"
#include "protocol/OperationKind.h"

#include <gtest/gtest.h>

namespace {

enum class Fault { Silent, Refused };

struct FailureCase {
    std::string Name;
    Operation Op;
    Fault Kind;
    std::string Command; // the command the radio leaves unanswered or refuses
    int LangType;
    std::u16string Device; // what the serial control reports
    std::u16string Line;   // the second line of the box
};

const std::u16string Hint =
    u"Is the radio switched on, the cable seated and the right port chosen?";
const std::u16string HintChinese = u"请检查对讲机是否开机、数据线是否插好、端口是否选对。";
const std::u16string WriteAgain = u"The radio is partly written: write it again.";
const std::u16string WriteAgainChinese = u"对讲机只写入了一部分，请重新写入。";

class FailureLine : public testing::TestWithParam<FailureCase> {};

TEST_P(FailureLine, NamesThePortTheCommandAndWhatWasWritten) {
    const FailureCase& c = GetParam();
    ProtocolWorld w;
    w.window.SetLangType(c.LangType);
    w.serial.SetDeviceName(c.Device);
    w.comm.ComPortNo = 3;
    if (c.Kind == Fault::Silent) {
        w.radio.SilentOn(c.Command);
    } else {
        w.radio.RefuseNext(c.Command, 5);
    }
    Start(w, c.Op);
    ASSERT_TRUE(w.Settle());
    EXPECT_EQ(w.Texts(), TextList{Box::CommunicationError + u"\r\n" + c.Line});
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailureLine,
    testing::Values(
        FailureCase{"ReadNoRadio", Operation::Read, Fault::Silent, "PROGRAM", 1, u"/dev/ttyUSB0",
                    u"No answer from the radio on COM3 (/dev/ttyUSB0) to PROGRAM. " + Hint},
        FailureCase{"ReadNoRadioChinese", Operation::Read, Fault::Silent, "PROGRAM", 2,
                    u"/dev/ttyUSB0",
                    u"COM3 (/dev/ttyUSB0) 上的对讲机对 PROGRAM 没有应答。" + HintChinese},
        FailureCase{"ReadSilentMidway", Operation::Read, Fault::Silent, "R 3B20", 1, u"",
                    u"No answer from the radio on COM3 to R 3B20. " + Hint},
        FailureCase{"WriteSilentBeforeWriting", Operation::Write, Fault::Silent, "R 3BF0", 1,
                    u"/dev/pts/4",
                    u"No answer from the radio on COM3 (/dev/pts/4) to R 3BF0. " + Hint},
        FailureCase{"WriteFirstBlockUnanswered", Operation::Write, Fault::Silent, "W 3B00", 1,
                    u"/dev/pts/4",
                    u"No answer from the radio on COM3 (/dev/pts/4) to W 3B00. No block "
                    u"acknowledged. The radio may be partly written: write it again. " +
                        Hint},
        FailureCase{"WriteSilentMidway", Operation::Write, Fault::Silent, "W 3B60", 1,
                    u"/dev/pts/4",
                    u"No answer from the radio on COM3 (/dev/pts/4) to W 3B60. Blocks "
                    u"acknowledged: 3B00, 3B10. " +
                        WriteAgain + u" " + Hint},
        FailureCase{
            "WriteSilentMidwayChinese", Operation::Write, Fault::Silent, "W 3B60", 2, u"/dev/pts/4",
            u"COM3 (/dev/pts/4) 上的对讲机对 W 3B60 没有应答。已确认的数据块：3B00、3B10。" +
                WriteAgainChinese + HintChinese},
        FailureCase{"WriteEndUnanswered", Operation::Write, Fault::Silent, "END", 1, u"/dev/pts/4",
                    u"No answer from the radio on COM3 (/dev/pts/4) to END. Blocks acknowledged: "
                    u"3B00, 3B10, 3B60, 3B70, 3B80, 3B90, 3BF0. " +
                        WriteAgain + u" " + Hint},
        FailureCase{"WriteRefused", Operation::Write, Fault::Refused, "W 3B70", 1, u"/dev/pts/4",
                    u"The radio on COM3 (/dev/pts/4) refused W 3B70 5 times. Blocks "
                    u"acknowledged: 3B00, 3B10, 3B60. " +
                        WriteAgain + u" " + Hint},
        FailureCase{
            "WriteRefusedChinese", Operation::Write, Fault::Refused, "W 3B70", 2, u"/dev/pts/4",
            u"COM3 (/dev/pts/4) 上的对讲机 5 次拒绝了 W 3B70。已确认的数据块：3B00、3B10、3B60。" +
                WriteAgainChinese + HintChinese},
        FailureCase{"BatchSilentMidway", Operation::Batch, Fault::Silent, "W 3B80", 1,
                    u"/dev/pts/4",
                    u"No answer from the radio on COM3 (/dev/pts/4) to W 3B80. Blocks "
                    u"acknowledged: 3B00, 3B10, 3B60, 3B70. " +
                        WriteAgain + u" " + Hint}),
    CaseName());

// A batch tells only what the radio on the cable holds: the blocks of the
// radios before it were all acknowledged and their END too.
TEST(FailureLine, ABatchForgetsTheRadiosBefore) {
    ProtocolWorld w;
    w.comm.ComPortNo = 3;
    TestRadio second;
    second.SilentOn("W 3B60");
    w.clock.At(1000, [&] { w.cable.Detach(); });
    w.clock.At(3000, [&] { w.cable.Attach(second); });
    w.ClickBatch(2);
    ASSERT_TRUE(w.Settle());
    EXPECT_EQ(w.radio.CountOf("END"), 1) << "the first radio was written whole";
    EXPECT_EQ(w.Texts(), TextList{Box::CommunicationError +
                                  u"\r\nNo answer from the radio on COM3 to W 3B60. Blocks "
                                  u"acknowledged: 3B00, 3B10. " +
                                  WriteAgain + u" " + Hint});
}

} // namespace

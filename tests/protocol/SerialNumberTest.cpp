// The serial number after a radio has been written.
#include "doubles/ProtocolWorld.h"
#include "protocol/CaseName.h"

#include <gtest/gtest.h>

namespace {

struct SerialCase {
    std::string Name;
    std::u16string Before;
    std::u16string After;
};

const SerialCase SerialCases[] = {
    {"SequenceAfterEightCharacters", u"AB12345600000041", u"AB12345600000042"},
    {"ShortSequenceWidened", u"AB1234567", u"AB12345600000008"},
    {"EightDigitsCarry", u"00000099", u"00000100"},
    {"OneDigitWidened", u"7", u"00000008"},
    {"LettersOnly", u"ABC", u"ABC"},
    {"TailNotANumber", u"AB123456XY", u"AB123456XY"},
    {"DateAndSequence", u"2026120600000001", u"2026120600000002"},
    {"EightDigits", u"12345678", u"12345679"},
    {"TenDigitsSplitAfterEight", u"1234567890", u"1234567800000091"},
    {"TailCarriesIntoThousands", u"AB12345600000999", u"AB12345600001000"},
    {"LetterInTheTail", u"AB12345600000X41", u"AB12345600000X41"},
    {"Empty", u"", u""},
};

class NextSerial : public testing::TestWithParam<SerialCase> {};

TEST_P(NextSerial, AdvancesTheSequencePart) {
    EXPECT_EQ(NextSerialNo(GetParam().Before), GetParam().After);
}

INSTANTIATE_TEST_SUITE_P(Numbers, NextSerial, testing::ValuesIn(SerialCases), CaseName());

class SerialAfterWrite : public testing::TestWithParam<SerialCase> {};

TEST_P(SerialAfterWrite, TheRecordAndTheWindowGetTheNextNumber) {
    const SerialCase& c = GetParam();
    ProtocolWorld w;
    w.data.Record.SerialNo = c.Before;
    w.comm.StartWrite();
    w.Settle();
    ASSERT_EQ(w.Texts(), TextList{Box::WriteComplete});
    // the text, one NUL, blanks up to the width of 16
    std::u16string field = c.After;
    field.push_back(u'\0');
    field.resize(16, u' ');
    EXPECT_EQ(w.data.Record.SerialNo.Str(), field);
    ASSERT_EQ(w.window.Shown().size(), 1u);
    EXPECT_EQ(w.window.Shown()[0].SerialNo.Str(), field);
}

INSTANTIATE_TEST_SUITE_P(Numbers, SerialAfterWrite, testing::ValuesIn(SerialCases), CaseName());

} // namespace

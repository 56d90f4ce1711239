#include "record/FormFields.h"
#include "record/ModFun.h"
#include "record/ModModel.h"
#include "record/ModVersion.h"
#include "record/RadioModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;
using namespace std::chrono_literals;

TEST(TrimText, RemovesTrailingBlanksThenCutsAtFirstNul) {
    const std::vector<std::pair<std::u16string, std::u16string>> cases{
        {u"AB\0  "s, u"AB"},    {u"A B  ", u"A B"}, {u"\0ABC"s, u""}, {u"\0text  "s, u""},
        {u"  lead", u"  lead"}, {u"", u""},         {u"    ", u""},   {u"AB\0 \0 "s, u"AB"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(TrimText(text), expected);
    }
}

TEST(GetModelName, NamesKnownCodesAndPassesOthers) {
    EXPECT_EQ(GetModelName(u"KVT4610\0   "s), u"KVT4610");
    EXPECT_EQ(GetModelName(u"KVT4611"), u"KVT4611");
    EXPECT_EQ(GetModelName(u"kvt4610"), u"kvt4610");
}

// The one place the tests pin the KVT4610's rules; every other test takes the
// timings by their names.
TEST(RadioModel, TheKvt4610AsItsDealersKnowIt) {
    EXPECT_EQ(Kvt4610.ModelText, u"KVT4610");
    ASSERT_EQ(Kvt4610.Versions.size(), 2u);
    EXPECT_EQ(Kvt4610.Versions[0], u"V100");
    EXPECT_EQ(Kvt4610.Versions[1], u"V110");
    EXPECT_EQ(Kvt4610.RadioType, u"KVT4610");
    EXPECT_EQ(Kvt4610.LineSettings, "9600,N,8,1");
    EXPECT_EQ(Kvt4610.ResponseTime, 500ms);
    EXPECT_EQ(Kvt4610.NewRadioAfterSilences, 2);
    EXPECT_EQ(Kvt4610.BatchGivesUpAfter, 4h);
    EXPECT_EQ(Kvt4610.MaxPollCount(), 28800);
    EXPECT_EQ(Kvt4610.MaxRepeatAnswers, 5);
}

TEST(SelectListText, PrefersEqualEntryThenFirstThenEmpty) {
    const std::vector<std::u16string> ports{u"COM5", u"COM1", u"COM3"};
    EXPECT_EQ(SelectListText(ports, u"COM3"), u"COM3");
    EXPECT_EQ(SelectListText(ports, u"COM4"), u"COM5");
    EXPECT_EQ(SelectListText(ports, u"com3"), u"COM5");
    EXPECT_EQ(SelectListText({}, u"COM3"), u"");
}

TEST(Hex2, TwoUppercaseDigits) {
    EXPECT_EQ(Hex2(0), u"00");
    EXPECT_EQ(Hex2(10), u"0A");
    EXPECT_EQ(Hex2(255), u"FF");
}

TEST(BytesToVersion, MajorWithoutLeadingZeroMinorTwoDigits) {
    EXPECT_EQ(BytesToVersion(1, 0), u"V1.00");
    EXPECT_EQ(BytesToVersion(0, 0), u"V0.00");
    EXPECT_EQ(BytesToVersion(255, 255), u"VFF.FF");
    EXPECT_EQ(BytesToVersion(2, 5), u"V2.05");
    EXPECT_EQ(BytesToVersion(0x1A, 0), u"V1A.00");
    EXPECT_EQ(BytesToVersion(1, 0x10), u"V1.10");
}

TEST(FormatVersion, KeepsWellFormedTextsElseDefault) {
    const std::vector<std::pair<std::u16string, std::u16string>> cases{
        {u"V1.10", u"V1.10"},  {u"v2.5", u"V2.05"},   {u"1.10", u"V1.10"},   {u"V12.34", u"V12.34"},
        {u"V1", u"V1.00"},     {u"V.10", u"V1.00"},   {u"V1.100", u"V1.00"}, {u"V123.1", u"V1.00"},
        {u"V1A.00", u"V1.00"}, {u"X1.10", u"V1.00"},  {u"", u"V1.00"},       {u"V1.", u"V1.00"},
        {u"V1.2.3", u"V1.00"}, {u"V-1.10", u"V1.00"}, {u"0.0", u"V0.00"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(FormatVersion(text, u"V1.00"), expected) << std::string(text.begin(), text.end());
    }
}

TEST(CollectingTheWindow, KeepsEveryVersionAReadCanShow) {
    for (int major = 0; major < 256; ++major) {
        for (int minor = 0; minor < 256; ++minor) {
            RadioInfo record;
            record.RfVersion =
                BytesToVersion(static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(minor));
            record.LcdVersion = record.RfVersion;
            RadioInfo collected = record;
            TakeFields(ShowFields(record), collected);
            ASSERT_EQ(collected.RfVersion, record.RfVersion);
            ASSERT_EQ(collected.LcdVersion, record.RfVersion);
        }
    }
}

TEST(IsByteVersion, OnlyWhatBytesToVersionGives) {
    for (const std::u16string text : {u"V01.00", u"V1.0", u"V1.0a", u"v1.00", u"V100.00", u"V1.000",
                                      u"1.00", u"V.00", u"V1A", u""}) {
        EXPECT_FALSE(IsByteVersion(text)) << std::string(text.begin(), text.end());
    }
}

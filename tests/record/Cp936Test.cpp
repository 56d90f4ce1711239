// Code page 936 both ways, one table for both codecs: Qt's GBK converter on
// Linux and the Windows API (Cp936Windows.cpp) on Windows.
#include "record/Cp936.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>

using namespace std::string_literals;

namespace {
struct EncodeRow {
    const char* what;
    std::u16string text;
    std::optional<std::string> bytes; // nullopt: no code page 936 form
};

const EncodeRow EncodeRows[] = {
    {"empty", u"", ""s},
    {"ASCII stays one byte", u"Li 17-A", "Li 17-A"s},
    {"two-byte characters", u"A中文", "A\xD6\xD0\xCE\xC4"s},
    {"full-width and punctuation", u"（１）·", "\xA3\xA8\xA3\xB1\xA3\xA9\xA1\xA4"s},
    {"GBK extension", u"丂", "\x81\x40"s},
    {"Hebrew has none", u"ש", std::nullopt},
    {"beyond the BMP has none", u"\U0001F600", std::nullopt},
    {"one missing character spoils the text", u"中ש", std::nullopt},
    {"pinyin letters are in it", u"é", "\xA8\xA6"s},
    {"no best-fit stand-in for a letter it lacks", u"ä", std::nullopt},
};

struct DecodeRow {
    const char* what;
    std::string bytes;
    std::u16string text;
    // Qt's GBK converter, which the Linux build uses, keeps this row's
    // promise only through the Windows API: it drops a lead byte at the end
    // and reads 0xFF as U+F8F5, a private-use character.
    bool windowsApiOnly = false;
};

const DecodeRow DecodeRows[] = {
    {"empty", ""s, u""},
    {"ASCII", "Li 17-A"s, u"Li 17-A"},
    {"two-byte characters", "A\xD6\xD0\xCE\xC4"s, u"A中文"},
    {"NUL is a character", "A\0B"s, u"A\0B"s},
    {"lead byte at the end", "A\x81"s, u"A\uFFFD", true},
    {"lead byte before a byte that cannot follow it", "\x81\x20"s, u"\uFFFD "},
    {"0xFF is no character",
     "\xFF"
     "A"s,
     u"\uFFFDA", true},
    {"a valid pair after an invalid byte", "\xFF\xD6\xD0"s, u"\uFFFD中", true},
};

class Cp936Encode : public testing::TestWithParam<EncodeRow> {};
class Cp936Decode : public testing::TestWithParam<DecodeRow> {};

std::string Name(const char* what) {
    std::string name;
    for (const char* c = what; *c != '\0'; ++c) {
        name.push_back(std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_');
    }
    return name;
}
} // namespace

TEST_P(Cp936Encode, GivesTheBytesOrNothing) {
    EXPECT_EQ(EncodeCp936(GetParam().text), GetParam().bytes);
}

TEST_P(Cp936Decode, GivesTheTextWithReplacementsForInvalidBytes) {
#ifndef _WIN32
    if (GetParam().windowsApiOnly) {
        GTEST_SKIP() << "Qt's GBK converter decodes these bytes otherwise";
    }
#endif
    EXPECT_EQ(DecodeCp936(GetParam().bytes), GetParam().text);
}

TEST(Cp936, EveryEncodedTextDecodesBack) {
    for (const EncodeRow& row : EncodeRows) {
        if (row.bytes) {
            EXPECT_EQ(DecodeCp936(*row.bytes), row.text) << row.what;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, Cp936Encode, testing::ValuesIn(EncodeRows),
                         [](const auto& row) { return Name(row.param.what); });
INSTANTIATE_TEST_SUITE_P(Bytes, Cp936Decode, testing::ValuesIn(DecodeRows),
                         [](const auto& row) { return Name(row.param.what); });

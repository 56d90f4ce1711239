// Code page 936 both ways, one table for both codecs: Qt's GBK converter on
// Linux and the Windows API (Cp936Windows.cpp) on Windows and under Wine.
#include "record/Cp936.h"

#ifdef _WIN32
#include "windows/UnderWine.h"
#endif

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
    std::optional<std::u16string> underWine = std::nullopt; // where Wine differs
    bool qtDiffers = false; // Qt's converter breaks the promise of Cp936.h here
};

const DecodeRow DecodeRows[] = {
    {"empty", ""s, u""},
    {"ASCII", "Li 17-A"s, u"Li 17-A"},
    {"two-byte characters", "A\xD6\xD0\xCE\xC4"s, u"A中文"},
    {"NUL is a character", "A\0B"s, u"A\0B"s},
    {"lead byte before a byte that cannot follow it", "\x81\x20"s, u"\uFFFD "},
    {"lead byte at the end", "A\x81"s, u"A\uFFFD"},
    // The code page's table gives 0xFF the private-use U+F8F5, and so do
    // Windows and Qt; Wine has no character for it.
    {"0xFF alone",
     "\xFF"
     "A"s,
     u"\uF8F5A", u"\uFFFDA"},
    {"a valid pair after 0xFF", "\xFF\xD6\xD0"s, u"\uF8F5中", u"\uFFFD中"},
};

// Test names and failures show a row by what it tries.
void PrintTo(const EncodeRow& row, std::ostream* out) {
    *out << row.what;
}

void PrintTo(const DecodeRow& row, std::ostream* out) {
    *out << row.what;
}

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
    const DecodeRow& row = GetParam();
#ifdef _WIN32
    const std::u16string expected =
        RunningUnderWine() ? row.underWine.value_or(row.text) : row.text;
#else
    if (row.qtDiffers) {
        GTEST_SKIP() << "Qt's GBK converter decodes these bytes otherwise";
    }
    const std::u16string& expected = row.text;
#endif
    EXPECT_EQ(DecodeCp936(row.bytes), expected);
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

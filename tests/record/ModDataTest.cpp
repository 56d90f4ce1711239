#include "record/ModData.h"
#include "doubles/AreaMap.h"
#include "record/Cp936.h"
#include "record/ModFun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace std::string_literals;

namespace {
// GBK bytes of 中 and 文, written out so the codec is checked, not trusted.
const std::string Zhong = "\xD6\xD0";
const std::string Wen = "\xCE\xC4";

void PutBytes(InfoImage& image, int offset, std::string_view bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
}

std::string ImageBytes(const InfoImage& image, int offset, int length) {
    return std::string(image.begin() + offset, image.begin() + offset + length);
}
} // namespace

TEST(Cp936, EncodesAndDecodesGbk) {
    EXPECT_EQ(EncodeCp936(u"A中文"), "A" + Zhong + Wen);
    EXPECT_EQ(DecodeCp936("A" + Zhong + Wen), u"A中文");
    EXPECT_FALSE(EncodeCp936(u"\U0001F600").has_value()); // no GBK form
    EXPECT_FALSE(EncodeCp936(u"ש").has_value());
}

TEST(InitData, DefaultsFollowTheDay) {
    struct Case {
        CalendarDate today;
        std::u16string serialNo, manufactureCode, productDate;
    };
    const Case cases[] = {
        {{2026, 12, 6}, u"2026120600000001", u"12-1-E-1", u"2026-12-06"},
        {{2027, 3, 1}, u"2027030100000001", u"03-1-E-1", u"2027-03-01"},
        {{2030, 5, 31}, u"2030053100000001", u"05-1-E-1", u"2030-05-31"},
    };
    for (const Case& c : cases) {
        ModData data;
        data.Record.SellDate = u"old";
        data.Image[3] = 0x55;
        data.InitData(c.today);
        const RadioInfo& r = data.Record;
        EXPECT_EQ(r.SerialNo.Str(), c.serialNo);
        EXPECT_EQ(r.ManufactureCode.Str(), c.manufactureCode);
        EXPECT_EQ(TrimText(r.ProductDate.Str()), c.productDate);
        EXPECT_EQ(r.ProductDate.Str()[c.productDate.size()], u'\0');
        EXPECT_EQ(r.BandCode, 1);
        EXPECT_EQ(r.UserCode.Str(), u"KZWP");
        EXPECT_EQ(r.ProgPassWord.Str(), u"\0   "s);
        EXPECT_EQ(TrimText(r.SellDate.Str()), u"");
        EXPECT_EQ(r.RfVersion, u"V1.00");
        EXPECT_EQ(r.LcdVersion, u"V1.00");
        EXPECT_EQ(r.RadioModel, u"KVT4610");
        EXPECT_EQ(r.AreaCode, u"");
        EXPECT_EQ(data.Image[3], 0x55) << "the image is not touched";
    }
}

TEST(PackImage, FlagsKeepFactoryBitAndHighBits) {
    struct Case {
        std::uint8_t before;
        std::int16_t freqSet, stun, kill;
        std::uint8_t after;
    };
    const Case cases[] = {
        {0xF1, 1, 0, 1, 0xFB},
        {0x0E, 0, 0, 0, 0x00},
        {0x00, 1, 1, 1, 0x0E},
        {0xFF, 0, 1, 0, 0xF5},
    };
    for (const Case& c : cases) {
        ModData data;
        data.Image[0x10] = c.before;
        data.Record.FreqSet = c.freqSet;
        data.Record.Stun = c.stun;
        data.Record.Kill = c.kill;
        data.PackImage(PackRule::Fresh);
        EXPECT_EQ(data.Image[0x10], c.after);
    }
}

TEST(PackImage, ChangesOnlyTheDealerBytes) {
    ModData data;
    data.Image.fill(0xA5);
    data.Record.BandCode = 0;
    data.Record.ProgPassWord = u"12";
    data.Record.DealerCode = u"D1";
    data.Record.StockDate = u"2026-01-02";
    data.Record.SellDate = u"中文";
    data.Record.Seller = u"Seller  ";
    data.Record.SerialNo = u"SHOULD NOT GO";
    data.PackImage(PackRule::Fresh);

    InfoImage expected;
    expected.fill(0xA5);
    expected[area::Named("BandCode").Offset] = 0;
    expected[area::Named("Flags").Offset] = 0xA1;
    // Every dealer's text goes afresh, one the record leaves empty as zeros.
    for (const area::Field& f : area::Fields) {
        if (f.Written && area::IsText(f)) {
            std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(f.Offset), f.Width, 0);
        }
    }
    const auto field = [&](const char* name, std::string_view bytes) {
        PutBytes(expected, static_cast<int>(area::Named(name).Offset), bytes);
    };
    field("ProgPassWord", "12");
    field("DealerCode", "D1");
    field("StockDate", "2026-01-02");
    field("SellDate", Zhong + Wen);
    field("Seller", "Seller");
    EXPECT_EQ(data.Image, expected);
}

TEST(PackImage, ABandWithoutAListEntryLeavesTheRadiosBand) {
    for (const int band : {-1, 2, 255, 256, 1000}) {
        ModData data;
        data.Image[0x0F] = 1;
        data.Record.BandCode = static_cast<std::int16_t>(band);
        data.PackImage(PackRule::Fresh);
        EXPECT_EQ(data.Image[0x0F], 1);
    }
}

TEST(PutAnsiText, StoresWholeCharactersOnly) {
    struct Case {
        std::u16string text;
        std::string bytes; // then zeros to 16
    };
    const std::u16string eight = u"中文中文中文中文";
    const std::string eightBytes = Zhong + Wen + Zhong + Wen + Zhong + Wen + Zhong + Wen;
    const Case cases[] = {
        {eight, eightBytes},
        {eight + u"中", eightBytes},
        {u"A" + eight, "A" + Zhong + Wen + Zhong + Wen + Zhong + Wen + Zhong},
        {u"0123456789ABCDEF", "0123456789ABCDEF"},
        {u"0123456789ABCDEFG", "0123456789ABCDEF"},
        {u"", ""},
        {u"Aש", "A?"},
    };
    for (const Case& c : cases) {
        ModData data;
        data.Image.fill(0xEE);
        data.PutAnsiText(0x3B60, c.text, 16);
        std::string expected = c.bytes;
        expected.resize(16, '\0');
        EXPECT_EQ(ImageBytes(data.Image, 0x60, 16), expected);
        EXPECT_EQ(data.Image[0x5F], 0xEE);
        EXPECT_EQ(data.Image[0x70], 0xEE);
    }
}

TEST(PutText, AddressesOutsideTheImageAreSkipped) {
    ModData data;
    data.Image.fill(0xEE);
    data.PutAscText(0x3AFE, u"ABCD", 4);
    data.PutAnsiText(0x3BFE, u"WXYZ", 4);
    data.PutAscText(-5, u"AB", 2);
    data.PutAnsiText(0x7FFFFFF0, u"AB", 100);
    EXPECT_EQ(ImageBytes(data.Image, 0, 3), "CD\xEE");
    EXPECT_EQ(ImageBytes(data.Image, 0xFD, 3), "\xEEWX");
}

TEST(PutAscText, OneBytePerCharacterThenZeros) {
    ModData data;
    data.PutAscText(0x3B18, u"12", 4);
    EXPECT_EQ(ImageBytes(data.Image, 0x18, 4), "12\0\0"s);
    data.PutAscText(0x3B18, u"", 4);
    EXPECT_EQ(ImageBytes(data.Image, 0x18, 4), "\0\0\0\0"s);
    data.PutAscText(0x3B18, u"a中\xE9", 4);
    EXPECT_EQ(ImageBytes(data.Image, 0x18, 4), "a?\xE9\0"s);
}

TEST(UnpackImage, ReadsEveryFieldFromTheImage) {
    ModData data;
    data.InitData({2026, 12, 6});
    data.Image.fill(0xFF);
    PutBytes(data.Image, 0x0B, "\x02\x05\x1A\x00\x00\xF1"s);
    PutBytes(data.Image, 0x14, "KZ\0\0"s);
    PutBytes(data.Image, 0x18, "1234");
    PutBytes(data.Image, 0x1C, "01\xFF\x31");
    PutBytes(data.Image, 0x20, "AB12345600000041");
    PutBytes(data.Image, 0x40, Zhong + Wen + Zhong + Wen);
    PutBytes(data.Image, 0x60, "0123456789ABCDEF");
    PutBytes(data.Image, 0x70, "AB\xFFXYZ");
    PutBytes(data.Image, 0x80, "  two   \0"s);
    PutBytes(data.Image, 0x90, "tail            "); // no terminator: blanks go
    data.UnpackImage();

    const RadioInfo& r = data.Record;
    EXPECT_EQ(r.RfVersion, u"V2.05");
    EXPECT_EQ(r.LcdVersion, u"V1A.00");
    EXPECT_EQ(r.BandCode, 0);
    EXPECT_EQ(r.FactoryMode, 1);
    EXPECT_EQ(r.FreqSet, 0);
    EXPECT_EQ(r.Stun, 0);
    EXPECT_EQ(r.Kill, 0);
    EXPECT_EQ(r.UserCode.Str(), u"KZ  ");
    EXPECT_EQ(r.ProgPassWord.Str(), u"1234");
    EXPECT_EQ(r.AreaCode, u"01");
    EXPECT_EQ(r.SerialNo.Str(), u"AB12345600000041");
    EXPECT_EQ(r.ManufactureCode.Str(), u"中文中文\0   "s);
    EXPECT_EQ(TrimText(r.DealerCode.Str()), u"0123456789ABCDEF");
    EXPECT_EQ(TrimText(r.StockDate.Str()), u"AB");
    EXPECT_EQ(TrimText(r.SellDate.Str()), u"  two   ");
    EXPECT_EQ(TrimText(r.ProductDate.Str()), u"");
    EXPECT_EQ(TrimText(r.MaintainDesc.Str()), u"");
    EXPECT_EQ(r.Seller.Str(), u"tail\0           "s);
    EXPECT_EQ(r.RadioModel, u"KVT4610");
}

TEST(UnpackImage, BandAndFlagsAsTheRadioHoldsThem) {
    ModData data;
    data.Image[0x0F] = 7;
    data.Image[0x10] = 0x0E;
    data.UnpackImage();
    EXPECT_EQ(data.Record.BandCode, 7);
    EXPECT_EQ(data.Record.FactoryMode, 0);
    EXPECT_EQ(data.Record.FreqSet, 1);
    EXPECT_EQ(data.Record.Stun, 1);
    EXPECT_EQ(data.Record.Kill, 1);
}

TEST(PackUnpack, DealerTextsRoundTrip) {
    const std::u16string texts[] = {u"0123456789ABCDEF", u"中文中文中文中文", u"A1", u"  lead",
                                    u""};
    for (const auto& text : texts) {
        ModData data;
        data.Record.DealerCode = text;
        data.PackImage(PackRule::Fresh);
        data.UnpackImage();
        EXPECT_EQ(TrimText(data.Record.DealerCode.Str()), text);
    }
}

#pragma once

#include "CalendarDate.h"
#include "FixedText.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The radio information area 0x3B00..0x3BFF, byte i mirroring address 0x3B00 + i.
using InfoImage = std::array<std::uint8_t, 256>;

constexpr int InfoImageBase = 0x3B00;
constexpr int InfoImageSize = 256;
// The bands the Frequency list has an entry for (0 and 1); a band without one
// shows no selection.
constexpr int BandListCount = 2;

// One record of radio information, a field for every item the window shows.
struct RadioInfo {
    std::int16_t FactoryMode = 0;
    std::int16_t FreqSet = 0;
    std::int16_t Stun = 0;
    std::int16_t Kill = 0;
    std::int16_t BandCode = 0;
    FixedText<4> ProgPassWord;
    FixedText<16> SerialNo;
    FixedText<16> ProductDate;
    FixedText<8> ManufactureCode;
    FixedText<4> UserCode;
    FixedText<16> MaintainDate;
    FixedText<16> DealerCode;
    FixedText<16> StockDate;
    FixedText<16> SellDate;
    FixedText<16> Seller;
    FixedText<80> MaintainDesc;
    std::u16string RadioModel;
    std::u16string AreaCode;
    std::u16string RfVersion;
    std::u16string LcdVersion;

    friend bool operator==(const RadioInfo&, const RadioInfo&) = default;
};

// A byte text of the image: one character per byte (its code the byte), up
// to the first 0x00 or 0xFF or the end of the field.
std::u16string ByteText(const InfoImage& image, int offset, int width);

// The record and the image of one run, and the conversions between them.
class ModData {
  public:
    RadioInfo Record;
    InfoImage Image{};

    // Defaults for every field of the record; the image is left alone.
    void InitData(const CalendarDate& today);
    // The fields a dealer may change, from the record into the image.
    void PackImage();
    // Every field that has image bytes, from the image into the record.
    void UnpackImage();

    // Stores text one byte per character into length bytes from a radio address.
    void PutAscText(std::int32_t start, std::u16string_view text, std::int32_t length);
    // Stores text in code page 936 into length bytes from a radio address.
    void PutAnsiText(std::int32_t start, std::u16string_view text, std::int32_t length);

  private:
    void PackAnsiText(std::int32_t start, std::u16string_view text, std::int32_t length);
};

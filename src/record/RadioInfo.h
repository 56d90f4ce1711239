#pragma once

#include "FixedText.h"

#include <array>
#include <cstdint>
#include <string>

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

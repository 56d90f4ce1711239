#pragma once

#include "RadioInfo.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// The radio's information area 0x3B00..0x3BFF, one row per field: where it
// lies (start from 0x3B00, width in bytes), how the radio stores it, whether
// a dealer's write sends it, the window control that shows it, its name in
// radioinfo-cli's output and its option, and its captions. Packing,
// unpacking, the window's mapping, the command line and the blocks a write
// sends all derive from this table. A new field is a new row (and a member of
// RadioInfo), a caption, and its place in the window's layout.

enum class FieldKind : std::uint8_t {
    ByteText,     // one byte per character, up to the first 0x00 or 0xFF
    AnsiText,     // code page 936, up to the first 0x00 or 0xFF
    Version,      // a major and a minor byte, shown V<hex>.<two hex digits>
    Number,       // one byte
    FlagBit,      // one bit of a byte
    ModelText,    // checked against the model's rules; names the record's model when known
    ModelVersion, // checked against the model's accepted versions
    Carried,      // not interpreted: the radio's own bytes
};

enum class Sent : std::uint8_t {
    No,     // a write sends it as the radio held it, or not at all
    Dealer, // a write sends it from the window (a restore from its file)
    Block,  // not the dealer's, but its block is written: as the image holds it
};

// How a row reaches its field of RadioInfo.
struct RecordField {
    std::int16_t RadioInfo::*Number = nullptr;
    std::u16string (*Text)(const RadioInfo&) = nullptr;
    void (*SetText)(RadioInfo&, std::u16string_view) = nullptr;
    bool FixedWidth = false; // a FixedText: padded with blanks, cut at its NUL when shown
};

struct AreaField {
    std::u16string_view Name; // in the record, read's output and its JSON
    int Start;                // offset from 0x3B00
    int Width;                // bytes
    FieldKind Kind;
    std::uint8_t Bit; // FlagBit: the bit in its byte
    Sent Written;
    int Text1;                   // the Text1 field showing it; -1 for none
    int Check;                   // the check box showing it (Check1, 2, 3, 8); 0 for none
    std::string_view Option;     // radioinfo-cli's option setting it; empty for none
    std::u16string_view English; // caption
    std::u16string_view Chinese;
    RecordField Record;
};

namespace area_detail {
inline const std::u16string& Value(const std::u16string& text) {
    return text;
}
template <std::size_t N> const std::u16string& Value(const FixedText<N>& text) {
    return text.Str();
}
template <typename T> constexpr bool IsFixed = false;
template <std::size_t N> constexpr bool IsFixed<FixedText<N>> = true;

template <auto Member> constexpr RecordField Text() {
    using Type = std::remove_cvref_t<decltype(std::declval<RadioInfo>().*Member)>;
    return {nullptr, [](const RadioInfo& r) { return std::u16string(Value(r.*Member)); },
            [](RadioInfo& r, std::u16string_view text) { r.*Member = std::u16string(text); },
            IsFixed<Type>};
}
constexpr RecordField Number(std::int16_t RadioInfo::*member) {
    return {member, nullptr, nullptr, false};
}
} // namespace area_detail

// clang-format off
// Rows in the order radioinfo-cli read lists them.
inline constexpr AreaField InfoArea[] = {
    // name              start width kind                  bit   written       Text1 check option
    {u"FactoryMode",     0x10, 1,  FieldKind::FlagBit,   0x01, Sent::No,      -1, 1, "",
     u"Factory",                u"工厂模式",  area_detail::Number(&RadioInfo::FactoryMode)},
    {u"FreqSet",         0x10, 1,  FieldKind::FlagBit,   0x02, Sent::Dealer,  -1, 8, "--freq-set",
     u"Freq. Set",              u"频段设置",  area_detail::Number(&RadioInfo::FreqSet)},
    {u"Stun",            0x10, 1,  FieldKind::FlagBit,   0x04, Sent::Dealer,  -1, 2, "--stun",
     u"Stun",                   u"遥晕",      area_detail::Number(&RadioInfo::Stun)},
    {u"Kill",            0x10, 1,  FieldKind::FlagBit,   0x08, Sent::Dealer,  -1, 3, "--kill",
     u"Kill",                   u"遥毙",      area_detail::Number(&RadioInfo::Kill)},
    {u"BandCode",        0x0F, 1,  FieldKind::Number,    0,    Sent::Dealer,  -1, 0, "--band",
     u"Frequency",              u"频段",      area_detail::Number(&RadioInfo::BandCode)},
    {u"ProgPassWord",    0x18, 4,  FieldKind::ByteText,  0,    Sent::Dealer,  12, 0, "--password",
     u"Program PassWord",       u"编程密码",  area_detail::Text<&RadioInfo::ProgPassWord>()},
    {u"SerialNo",        0x20, 16, FieldKind::AnsiText,  0,    Sent::No,      1,  0, "",
     u"Serial Number",          u"序列号",    area_detail::Text<&RadioInfo::SerialNo>()},
    {u"ProductDate",     0x30, 16, FieldKind::AnsiText,  0,    Sent::No,      2,  0, "",
     u"Producted Date",         u"出厂日期",  area_detail::Text<&RadioInfo::ProductDate>()},
    {u"ManufactureCode", 0x40, 8,  FieldKind::AnsiText,  0,    Sent::No,      6,  0, "",
     u"Manufacture Code",       u"生产批号",  area_detail::Text<&RadioInfo::ManufactureCode>()},
    {u"UserCode",        0x14, 4,  FieldKind::ByteText,  0,    Sent::No,      7,  0, "",
     u"User Code",              u"客户代码",  area_detail::Text<&RadioInfo::UserCode>()},
    {u"MaintainDate",    0x50, 16, FieldKind::AnsiText,  0,    Sent::No,      3,  0, "",
     u"Maintained Date",        u"维修日期",  area_detail::Text<&RadioInfo::MaintainDate>()},
    {u"DealerCode",      0x60, 16, FieldKind::AnsiText,  0,    Sent::Dealer,  8,  0, "--dealer-code",
     u"Dealer Code",            u"经销商代码", area_detail::Text<&RadioInfo::DealerCode>()},
    {u"StockDate",       0x70, 16, FieldKind::AnsiText,  0,    Sent::Dealer,  9,  0, "--stock-date",
     u"Stock Date",             u"入库时间",  area_detail::Text<&RadioInfo::StockDate>()},
    {u"SellDate",        0x80, 16, FieldKind::AnsiText,  0,    Sent::Dealer,  10, 0, "--sell-date",
     u"Sell Date",              u"销售时间",  area_detail::Text<&RadioInfo::SellDate>()},
    {u"Seller",          0x90, 16, FieldKind::AnsiText,  0,    Sent::Dealer,  11, 0, "--seller",
     u"Seller",                 u"经手人",    area_detail::Text<&RadioInfo::Seller>()},
    {u"MaintainDesc",    0xA0, 80, FieldKind::AnsiText,  0,    Sent::No,      4,  0, "",
     u"Maintained Description", u"维修原因",  area_detail::Text<&RadioInfo::MaintainDesc>()},
    {u"RadioModel",      0x00, 7,  FieldKind::ModelText, 0,    Sent::No,      -1, 0, "",
     u"Radio Type",             u"机型",      area_detail::Text<&RadioInfo::RadioModel>()},
    {u"AreaCode",        0x1C, 4,  FieldKind::ByteText,  0,    Sent::No,      0,  0, "",
     u"Area Code",              u"销售区号",  area_detail::Text<&RadioInfo::AreaCode>()},
    {u"RfVersion",       0x0B, 2,  FieldKind::Version,   0,    Sent::No,      5,  0, "",
     u"RF FW",                  u"主板固件",  area_detail::Text<&RadioInfo::RfVersion>()},
    {u"LcdVersion",      0x0D, 2,  FieldKind::Version,   0,    Sent::No,      13, 0, "",
     u"LCD FW",                 u"LCD固件",   area_detail::Text<&RadioInfo::LcdVersion>()},
    // The rest of the area: the version text the model check reads, and bytes
    // the tool does not interpret. The last block goes back as the image holds it.
    {u"ModelVersion",    0x07, 4,  FieldKind::ModelVersion, 0, Sent::No,      -1, 0, "", u"", u"", {}},
    {u"",                0x11, 3,  FieldKind::Carried,   0,    Sent::No,      -1, 0, "", u"", u"", {}},
    {u"",                0x48, 8,  FieldKind::Carried,   0,    Sent::No,      -1, 0, "", u"", u"", {}},
    {u"",                0xF0, 16, FieldKind::Carried,   0,    Sent::Block,   -1, 0, "", u"", u"", {}},
};
// clang-format on

// The row of a field by name; throws std::out_of_range for an unknown one.
const AreaField& AreaFieldNamed(std::u16string_view name);
// The row the window's Text1(index) shows; nullptr for none.
const AreaField* FieldInText1(int index);

// The bits of each image byte a dealer may change (rows Sent::Dealer): a
// write sends every other bit as the radio held it.
const InfoImage& DealerBits();

// The blocks a write sends, in address order: every block holding a row
// that is sent.
std::span<const int> BlocksWritten();

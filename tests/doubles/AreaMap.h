#pragma once

#include "doubles/CommandText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The test world's own map of a radio's information area 0x3B00..0x3BFF and
// its own reading of it, written from the radio's side: what each byte is,
// which window field shows it and how the dealer's texts are stored. It
// shares nothing with the tool's record code, so tests can hold the tool to it.
namespace area {

enum class Kind {
    ByteText, // one byte per character, up to 0x00 or 0xFF
    AnsiText, // code page 936, up to 0x00 or 0xFF
    Version,  // two bytes: major, minor, shown as V<hex>.<2 hex>
    Band,     // one byte, a position of the Frequency list when 0 or 1
    Flags,    // Factory, Freq. Set, Stun, Kill in bits 0..3
};

struct Field {
    const char* Name;
    std::size_t Offset;
    std::size_t Width;
    Kind Type;
    int Text1;          // the window's Text1 field showing it; -1 for none
    bool Written;       // a dealer's write sends it
    bool TrimmedOnShow; // a byte text whose trailing blanks do not show
};

// clang-format off
inline constexpr Field Fields[] = {
    // name              offset width kind            Text1 written trimmed
    {"RfVersion",        0x0B,  2,    Kind::Version,  5,    false,  false},
    {"LcdVersion",       0x0D,  2,    Kind::Version,  13,   false,  false},
    {"BandCode",         0x0F,  1,    Kind::Band,     -1,   true,   false},
    {"Flags",            0x10,  1,    Kind::Flags,    -1,   true,   false},
    {"UserCode",         0x14,  4,    Kind::ByteText, 7,    false,  true},
    {"ProgPassWord",     0x18,  4,    Kind::ByteText, 12,   true,   true},
    {"AreaCode",         0x1C,  4,    Kind::ByteText, 0,    false,  false},
    {"SerialNo",         0x20,  16,   Kind::AnsiText, 1,    false,  false},
    {"ProductDate",      0x30,  16,   Kind::AnsiText, 2,    false,  false},
    {"ManufactureCode",  0x40,  8,    Kind::AnsiText, 6,    false,  false},
    {"MaintainDate",     0x50,  16,   Kind::AnsiText, 3,    false,  false},
    {"DealerCode",       0x60,  16,   Kind::AnsiText, 8,    true,   false},
    {"StockDate",        0x70,  16,   Kind::AnsiText, 9,    true,   false},
    {"SellDate",         0x80,  16,   Kind::AnsiText, 10,   true,   false},
    {"Seller",           0x90,  16,   Kind::AnsiText, 11,   true,   false},
    {"MaintainDesc",     0xA0,  80,   Kind::AnsiText, 4,    false,  false},
};
// clang-format on

// Flag bits of byte 0x10 and the check box showing each.
inline constexpr std::uint8_t FactoryBit = 0x01, FreqSetBit = 0x02, StunBit = 0x04, KillBit = 0x08;

// The flags of the Flags row, each a field of its own in the record and in
// radioinfo-cli's output; a dealer's write sends all but Factory.
struct FlagBit {
    const char* Name;
    std::uint8_t Bit;
    bool Written;
};
inline constexpr FlagBit FlagBits[] = {
    {"FactoryMode", FactoryBit, false},
    {"FreqSet", FreqSetBit, true},
    {"Stun", StunBit, true},
    {"Kill", KillBit, true},
};
// The bits of the flag byte a dealer's write sets; the others go back as the
// radio held them.
inline constexpr std::uint8_t DealerFlagBits = [] {
    std::uint8_t bits = 0;
    for (const FlagBit& f : FlagBits) {
        bits = static_cast<std::uint8_t>(bits | (f.Written ? f.Bit : 0));
    }
    return bits;
}();

// The row of a field by name; a name the map does not have does not compile
// where the row is needed at compile time, and throws otherwise.
constexpr const Field& Named(std::string_view name) {
    for (const Field& f : Fields) {
        if (name == f.Name) {
            return f;
        }
    }
    throw std::out_of_range("no field of that name in the area's map");
}

constexpr bool IsText(const Field& field) {
    return field.Type == Kind::ByteText || field.Type == Kind::AnsiText;
}

// How many fields the record has, and radioinfo-cli read prints: one per row,
// one per flag of the flag byte, and the Radio Type, which the record keeps
// and no byte of the area holds.
constexpr std::size_t RecordFieldCount() {
    std::size_t count = 1;
    for (const Field& f : Fields) {
        count += f.Type == Kind::Flags ? std::size(FlagBits) : 1;
    }
    return count;
}

// A write sends the radio's last block back as the tool last saw it, with
// the blocks of the dealer's fields, whether or not a field lies in it.
inline constexpr std::size_t LastBlock = 0xF0;

// The blocks a dealer's write sends, as offsets in address order: every
// block holding a written row, and the last block.
inline std::vector<std::size_t> WrittenBlocks() {
    std::vector<std::size_t> blocks;
    for (std::size_t block = 0; block < 256; block += 16) {
        bool written = block == LastBlock;
        for (const Field& f : Fields) {
            written = written || (f.Written && f.Offset < block + 16 && block < f.Offset + f.Width);
        }
        if (written) {
            blocks.push_back(block);
        }
    }
    return blocks;
}

using Memory = std::array<std::uint8_t, 256>;

// The text a window field shows for the radio's bytes of a text field: the
// bytes up to the first 0x00 or 0xFF (or the whole field); a code page 936
// text that fills its field loses its trailing blanks, one ended by 0x00 or
// 0xFF keeps them. nullopt where this build cannot decode the bytes.
std::optional<std::u16string> ShownText(const Memory& memory, const Field& field);

// "V1.0A" for the bytes 01 0A.
std::u16string VersionText(std::uint8_t major, std::uint8_t minor);

// The bytes a dealer's text is stored as when written afresh: whole
// characters while they fit, '?' for one the field cannot hold, then 0x00
// to the width. nullopt where this build cannot encode the text.
std::optional<Bytes> FreshBytes(std::u16string_view text, const Field& field);

// Code page 936 decoded by glibc's iconv and the code page's private-use
// rule: a byte sequence that is no character is U+FFFD and the next byte
// starts afresh. nullopt where the build has no iconv (Windows).
std::optional<std::u16string> DecodeGbk(std::span<const std::uint8_t> bytes);
// The code page 936 bytes of one character (one or two UTF-16 units);
// nullopt when it has none, or the build cannot tell.
std::optional<Bytes> EncodeGbk(std::u16string_view character);
// Whether this build can decode and encode code page 936 beyond ASCII.
bool KnowsGbk();

// Trailing blanks (spaces only) removed.
std::u16string TrimRight(std::u16string_view text);

} // namespace area

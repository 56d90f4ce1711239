#include "doubles/AreaMap.h"

#include <cstdio>
#include <map>
#include <vector>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace area {
namespace {

#ifndef _WIN32
bool IsLead(std::uint8_t b) {
    return b >= 0x81 && b <= 0xFE;
}
bool IsTrail(std::uint8_t b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// One character of code page 936 as glibc knows it; 0 for none.
char16_t Iconv(std::span<const std::uint8_t> bytes) {
    const iconv_t cd = iconv_open("UTF-16LE", "CP936");
    char in[2] = {static_cast<char>(bytes[0]),
                  bytes.size() > 1 ? static_cast<char>(bytes[1]) : '\0'};
    char16_t out[4] = {};
    char* from = in;
    std::size_t left = bytes.size();
    char* to = reinterpret_cast<char*>(out);
    std::size_t room = sizeof out;
    const std::size_t done = iconv(cd, &from, &left, &to, &room);
    iconv_close(cd);
    const bool one = done != static_cast<std::size_t>(-1) && left == 0 && room == sizeof out - 2;
    return one ? out[0] : u'\0';
}

// Every two-byte code of the code page and its character. glibc leaves out
// the private-use part: the three user-defined areas, and the codes GBK left
// unassigned, which the code page gives U+E766 onward in code order.
const std::map<std::uint16_t, char16_t>& PairTable() {
    static const std::map<std::uint16_t, char16_t> table = [] {
        std::map<std::uint16_t, char16_t> t;
        char16_t unassigned = 0xE766;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (!IsTrail(static_cast<std::uint8_t>(trail))) {
                    continue;
                }
                const std::uint8_t pair[] = {static_cast<std::uint8_t>(lead),
                                             static_cast<std::uint8_t>(trail)};
                char16_t c = Iconv(pair);
                const int skip = trail > 0x7F ? 1 : 0;
                if (c != 0) {
                } else if (lead >= 0xAA && lead <= 0xAF && trail >= 0xA1) {
                    c = static_cast<char16_t>(0xE000 + (lead - 0xAA) * 94 + (trail - 0xA1));
                } else if (lead >= 0xF8 && trail >= 0xA1) {
                    c = static_cast<char16_t>(0xE234 + (lead - 0xF8) * 94 + (trail - 0xA1));
                } else if (lead >= 0xA1 && lead <= 0xA7 && trail <= 0xA0) {
                    c = static_cast<char16_t>(0xE4C6 + (lead - 0xA1) * 96 + (trail - 0x40 - skip));
                } else {
                    c = unassigned++;
                }
                t[static_cast<std::uint16_t>(lead << 8 | trail)] = c;
            }
        }
        return t;
    }();
    return table;
}

// The one byte a character below 0x80 is, 0x80 for the euro sign and 0xFF
// for the code page's private-use U+F8F5.
std::optional<char16_t> SingleByte(std::uint8_t b) {
    if (b < 0x80) {
        return b;
    }
    if (b == 0x80) {
        return u'\u20AC';
    }
    if (b == 0xFF) {
        return u'\uF8F5';
    }
    return std::nullopt;
}

const std::map<char16_t, Bytes>& EncodeTable() {
    static const std::map<char16_t, Bytes> table = [] {
        std::map<char16_t, Bytes> t;
        for (int b = 0; b <= 0xFF; ++b) {
            if (const auto c = SingleByte(static_cast<std::uint8_t>(b))) {
                t.emplace(*c, Bytes{static_cast<std::uint8_t>(b)});
            }
        }
        for (const auto& [code, c] : PairTable()) {
            t.emplace(c, Bytes{static_cast<std::uint8_t>(code >> 8),
                               static_cast<std::uint8_t>(code & 0xFF)});
        }
        return t;
    }();
    return table;
}
#endif

std::size_t CharacterUnits(std::u16string_view text, std::size_t at) {
    const bool pair = at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF &&
                      text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
    return pair ? 2 : 1;
}

// The field's bytes up to its first 0x00 or 0xFF, and whether one ended them.
std::span<const std::uint8_t> TextPart(const Memory& memory, const Field& field, bool& ended) {
    const auto all = std::span(memory).subspan(field.Offset, field.Width);
    std::size_t n = 0;
    while (n < all.size() && all[n] != 0x00 && all[n] != 0xFF) {
        ++n;
    }
    ended = n < all.size();
    return all.first(n);
}

} // namespace

bool KnowsGbk() {
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

std::optional<std::u16string> DecodeGbk(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] < 0x80) {
            text += static_cast<char16_t>(bytes[i]);
            continue;
        }
        if (!KnowsGbk()) {
            return std::nullopt;
        }
#ifndef _WIN32
        if (IsLead(bytes[i]) && i + 1 < bytes.size() && IsTrail(bytes[i + 1])) {
            text += PairTable().at(static_cast<std::uint16_t>(bytes[i] << 8 | bytes[i + 1]));
            ++i;
            continue;
        }
        text += SingleByte(bytes[i]).value_or(u'\uFFFD');
#endif
    }
    return text;
}

std::optional<Bytes> EncodeGbk(std::u16string_view character) {
    if (character.size() == 1 && character[0] < 0x80) {
        return Bytes{static_cast<std::uint8_t>(character[0])};
    }
    if (!KnowsGbk()) {
        return std::nullopt;
    }
#ifndef _WIN32
    if (character.size() == 1) {
        const auto found = EncodeTable().find(character[0]);
        if (found != EncodeTable().end()) {
            return found->second;
        }
    }
#endif
    return std::nullopt;
}

std::u16string TrimRight(std::u16string_view text) {
    std::size_t n = text.size();
    while (n > 0 && text[n - 1] == u' ') {
        --n;
    }
    return std::u16string(text.substr(0, n));
}

std::u16string VersionText(std::uint8_t major, std::uint8_t minor) {
    char text[16];
    std::snprintf(text, sizeof text, "V%X.%02X", major, minor);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

std::optional<std::u16string> ShownText(const Memory& memory, const Field& field) {
    bool ended = false;
    const std::span<const std::uint8_t> bytes = TextPart(memory, field, ended);
    switch (field.Type) {
    case Kind::ByteText: {
        const std::u16string text(bytes.begin(), bytes.end());
        return field.TrimmedOnShow ? TrimRight(text) : text;
    }
    case Kind::AnsiText: {
        const auto text = DecodeGbk(bytes);
        if (!text) {
            return std::nullopt;
        }
        return ended ? *text : TrimRight(*text);
    }
    case Kind::Version:
        return VersionText(memory[field.Offset], memory[field.Offset + 1]);
    case Kind::Band:
    case Kind::Flags:
        break;
    }
    return std::nullopt;
}

std::optional<Bytes> FreshBytes(std::u16string_view text, const Field& field) {
    const std::u16string kept = TrimRight(text);
    Bytes bytes;
    for (std::size_t at = 0; at < kept.size();) {
        const std::size_t units = CharacterUnits(kept, at);
        const std::u16string_view character = std::u16string_view(kept).substr(at, units);
        at += units;
        Bytes one;
        if (field.Type == Kind::ByteText) {
            one = {units == 1 && character[0] <= 0xFF ? static_cast<std::uint8_t>(character[0])
                                                      : std::uint8_t{'?'}};
        } else if (const auto encoded = EncodeGbk(character)) {
            one = *encoded;
        } else if (!KnowsGbk()) {
            return std::nullopt;
        } else {
            one = {'?'};
        }
        if (bytes.size() + one.size() > field.Width) {
            break;
        }
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    bytes.resize(field.Width, 0x00);
    return bytes;
}

} // namespace area

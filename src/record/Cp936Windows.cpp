// Code page 936 through the Windows API, for builds without Qt's codec. It
// keeps the promises of Cp936.h: no best-fit substitutes when encoding, and
// U+FFFD for byte sequences that are no character.
#include "Cp936.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <array>

namespace {
constexpr UINT CodePage936 = 936;
constexpr char16_t Replacement = u'\uFFFD';

// A trail byte GBK allows after a lead byte: 0x40..0x7E or 0x80..0xFE.
bool IsTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

// The character of one or two bytes, or nullopt when they are none.
std::optional<char16_t> DecodeOne(const char* bytes, int length) {
    std::array<wchar_t, 2> wide{};
    const int count = MultiByteToWideChar(CodePage936, MB_ERR_INVALID_CHARS, bytes, length,
                                          wide.data(), static_cast<int>(wide.size()));
    if (count != 1) {
        return std::nullopt;
    }
    return static_cast<char16_t>(wide[0]);
}
} // namespace

std::optional<std::string> EncodeCp936(std::u16string_view text) {
    if (text.empty()) {
        return std::string();
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int wideLength = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CodePage936, WC_NO_BEST_FIT_CHARS, wide, wideLength,
                                         nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(CodePage936, WC_NO_BEST_FIT_CHARS, wide, wideLength, bytes.data(), size,
                            nullptr, &usedDefault) != size ||
        usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

std::u16string DecodeCp936(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            text.push_back(static_cast<char16_t>(byte));
            ++i;
            continue;
        }
        // A lead byte with a proper trail byte is one character, or one
        // U+FFFD when that pair is unassigned; otherwise the byte stands
        // alone and the next one is looked at afresh.
        if (i + 1 < bytes.size() && IsDBCSLeadByteEx(CodePage936, byte) &&
            IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            text.push_back(DecodeOne(bytes.data() + i, 2).value_or(Replacement));
            i += 2;
            continue;
        }
        text.push_back(DecodeOne(bytes.data() + i, 1).value_or(Replacement));
        ++i;
    }
    return text;
}

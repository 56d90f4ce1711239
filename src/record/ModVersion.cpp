#include "ModVersion.h"

#include <algorithm>

namespace {
std::u16string HexDigits(std::uint8_t value) {
    constexpr char16_t digits[] = u"0123456789ABCDEF";
    std::u16string text;
    if (value >= 16) {
        text += digits[value / 16];
    }
    text += digits[value % 16];
    return text;
}

bool IsShortNumber(std::u16string_view part) {
    return !part.empty() && part.size() <= 2 &&
           std::all_of(part.begin(), part.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

std::u16string Hex2(std::uint8_t value) {
    std::u16string text = HexDigits(value);
    return text.size() == 1 ? u"0" + text : text;
}

std::u16string BytesToVersion(std::uint8_t major, std::uint8_t minor) {
    return u"V" + HexDigits(major) + u"." + Hex2(minor);
}

std::u16string FormatVersion(std::u16string_view text, std::u16string_view defaultVersion) {
    if (text.empty()) {
        return std::u16string(defaultVersion);
    }
    std::size_t start = 0;
    if (text.front() == u'V' || text.front() == u'v') {
        start = 1;
    } else if (text.front() < u'0' || text.front() > u'9') {
        return std::u16string(defaultVersion);
    }
    const std::size_t dot = text.find(u'.', start);
    if (dot == std::u16string_view::npos) {
        return std::u16string(defaultVersion);
    }
    const std::u16string_view major = text.substr(start, dot - start);
    std::u16string minor(text.substr(dot + 1));
    if (!IsShortNumber(major) || !IsShortNumber(minor)) {
        return std::u16string(defaultVersion);
    }
    if (minor.size() < 2) {
        minor.insert(0, u"0");
    }
    return u"V" + std::u16string(major) + u"." + minor;
}

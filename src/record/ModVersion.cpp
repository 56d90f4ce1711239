#include "ModVersion.h"

#include <algorithm>
#include <optional>

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

// The value of one or two uppercase hexadecimal digits.
std::optional<std::uint8_t> HexByte(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 2) {
        return std::nullopt;
    }
    int value = 0;
    for (const char16_t c : digits) {
        const bool digit = c >= u'0' && c <= u'9';
        if (!digit && (c < u'A' || c > u'F')) {
            return std::nullopt;
        }
        value = value * 16 + (digit ? c - u'0' : c - u'A' + 10);
    }
    return static_cast<std::uint8_t>(value);
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

bool IsByteVersion(std::u16string_view text) {
    const std::size_t dot = text.find(u'.');
    if (!text.starts_with(u'V') || dot == std::u16string_view::npos) {
        return false;
    }
    const auto major = HexByte(text.substr(1, dot - 1));
    const auto minor = HexByte(text.substr(dot + 1));
    return major && minor && BytesToVersion(*major, *minor) == text;
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

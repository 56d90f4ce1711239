#include "EscapedText.h"

#include <cstdio>

namespace {
bool IsControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::u16string Escape(char16_t c) {
    switch (c) {
    case u'\n':
        return u"\\n";
    case u'\r':
        return u"\\r";
    case u'\t':
        return u"\\t";
    default:
        break;
    }
    char digits[8];
    std::snprintf(digits, sizeof digits, c < 0x80 ? "\\x%02x" : "\\u%04x",
                  static_cast<unsigned>(c));
    return std::u16string(digits, digits + std::char_traits<char>::length(digits));
}
} // namespace

std::u16string EscapeControls(std::u16string_view text) {
    std::u16string escaped;
    for (const char16_t c : text) {
        if (IsControl(c)) {
            escaped += Escape(c);
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QString EscapeControls(const QString& text) {
    return QString::fromStdU16String(EscapeControls(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()))));
}

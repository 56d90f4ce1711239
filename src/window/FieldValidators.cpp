#include "FieldValidators.h"

#include "record/Cp936.h"

#include <algorithm>

QValidator::State SevenBitValidator::validate(QString& input, int&) const {
    const bool allowed = std::all_of(input.begin(), input.end(), [this](QChar c) {
        return c.unicode() < 0x80 || held_.contains(c);
    });
    return allowed ? Acceptable : Invalid;
}

QValidator::State AlphanumericValidator::validate(QString& input, int&) const {
    const bool alphanumeric = std::all_of(input.begin(), input.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
    });
    return alphanumeric ? Acceptable : Invalid;
}

QValidator::State Cp936FieldValidator::validate(QString& input, int&) const {
    const auto bytes = EncodeCp936(std::u16string_view(
        reinterpret_cast<const char16_t*>(input.utf16()), static_cast<std::size_t>(input.size())));
    return bytes && std::ssize(*bytes) <= maxBytes_ ? Acceptable : Invalid;
}

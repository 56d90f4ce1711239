#include "FieldValidators.h"

#include "record/Cp936.h"

#include <algorithm>

namespace {
bool IsControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

// Line breaks and other control characters never enter a field, however they
// come (a paste, an input method): a spreadsheet cell's trailing CR LF would
// be written unseen, a NUL would end the text in the radio, an ESC would
// steer a terminal that shows it. What a field shows is what is written.
void DropControls(QString& input, int& pos) {
    const auto before = std::count_if(
        input.begin(), input.begin() + std::min<qsizetype>(pos, input.size()), IsControl);
    input.removeIf(IsControl);
    pos -= static_cast<int>(before);
}
} // namespace

QValidator::State SevenBitValidator::validate(QString& input, int& pos) const {
    DropControls(input, pos);
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

QValidator::State Cp936FieldValidator::validate(QString& input, int& pos) const {
    DropControls(input, pos);
    const auto bytes = EncodeCp936(std::u16string_view(
        reinterpret_cast<const char16_t*>(input.utf16()), static_cast<std::size_t>(input.size())));
    return bytes && std::ssize(*bytes) <= maxBytes_ ? Acceptable : Invalid;
}

#include "SerialProof.h"

#include "Cp936.h"
#include "InfoArea.h"

#include <algorithm>

namespace {
// A character that shows: no blank, no control character, no undecodable byte.
bool Shows(char16_t c) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    return !control && c != u' ' && c != u'\u3000' && c != u'\uFFFD';
}
} // namespace

std::optional<std::string> SerialProof(const InfoImage& image) {
    const AreaField& field = AreaFieldNamed(u"SerialNo");
    const auto first = image.begin() + field.Start;
    const auto end = std::find_if(first, first + field.Width,
                                  [](std::uint8_t b) { return b == 0x00 || b == 0xFF; });
    std::string bytes(first, end);
    bytes.erase(bytes.find_last_not_of(' ') + 1);
    const std::u16string text = DecodeCp936(bytes);
    if (std::none_of(text.begin(), text.end(), Shows)) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> SerialField(const InfoImage& image) {
    if (!SerialProof(image)) {
        return std::nullopt;
    }
    const AreaField& field = AreaFieldNamed(u"SerialNo");
    return std::string(image.begin() + field.Start, image.begin() + field.Start + field.Width);
}

bool SameRadio(const InfoImage& file, const InfoImage& radio) {
    const std::optional<std::string> serial = SerialProof(file);
    return serial && serial == SerialProof(radio);
}

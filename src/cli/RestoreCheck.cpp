#include "RestoreCheck.h"

#include "record/Cp936.h"

#include <algorithm>

namespace {
constexpr int SerialOffset = 0x20;
constexpr int SerialWidth = 16;

// The bytes of a text field up to its first 0x00 or 0xFF.
std::string FieldBytes(const InfoImage& image, int offset, int width) {
    const auto first = image.begin() + offset;
    const auto end =
        std::find_if(first, first + width, [](std::uint8_t b) { return b == 0x00 || b == 0xFF; });
    return std::string(first, end);
}

// A character that shows: no blank, no control character, no undecodable byte.
bool Shows(char16_t c) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    return !control && c != u' ' && c != u'\u3000' && c != u'\uFFFD';
}

// The settings a dealer may change and their bits: what the read-back names.
struct DealerSetting {
    const char* name;
    std::size_t offset;
    std::size_t width;
    std::uint8_t bits;
};

constexpr DealerSetting DealerSettings[] = {
    {"BandCode", 0x0F, 1, 0xFF},   {"FreqSet", 0x10, 1, 0x02},      {"Stun", 0x10, 1, 0x04},
    {"Kill", 0x10, 1, 0x08},       {"ProgPassWord", 0x18, 4, 0xFF}, {"DealerCode", 0x60, 16, 0xFF},
    {"StockDate", 0x70, 16, 0xFF}, {"SellDate", 0x80, 16, 0xFF},    {"Seller", 0x90, 16, 0xFF},
};
} // namespace

bool IsImageOfThisModel(const InfoImage& image) {
    const std::string model(image.begin(), image.begin() + 7);
    const std::string version(image.begin() + 7, image.begin() + 11);
    return model == "KVT4610" && (version == "V100" || version == "V110");
}

QString ModelTextOf(const InfoImage& image) {
    return QString::fromLatin1(FieldBytes(image, 0, 7));
}

QString VersionTextOf(const InfoImage& image) {
    return QString::fromLatin1(FieldBytes(image, 7, 4));
}

std::optional<std::string> SerialProof(const InfoImage& image) {
    std::string bytes = FieldBytes(image, SerialOffset, SerialWidth);
    bytes.erase(bytes.find_last_not_of(' ') + 1);
    const std::u16string text = DecodeCp936(bytes);
    if (std::none_of(text.begin(), text.end(), Shows)) {
        return std::nullopt;
    }
    return bytes;
}

bool SameRadio(const InfoImage& file, const InfoImage& radio) {
    const std::optional<std::string> serial = SerialProof(file);
    return serial && serial == SerialProof(radio);
}

QStringList DealerDifferences(const InfoImage& file, const InfoImage& radio) {
    const InfoImage& dealer = DealerBits();
    QStringList names;
    for (std::size_t i = 0; i < file.size(); ++i) {
        const auto differ = static_cast<std::uint8_t>((file[i] ^ radio[i]) & dealer[i]);
        QStringList here;
        for (const DealerSetting& s : DealerSettings) {
            if (i >= s.offset && i < s.offset + s.width && (differ & s.bits) != 0) {
                here << QString::fromLatin1(s.name);
            }
        }
        if (differ != 0 && here.isEmpty()) {
            here << QStringLiteral("0x%1").arg(InfoImageBase + static_cast<int>(i), 4, 16);
        }
        for (const QString& name : here) {
            if (!names.contains(name)) {
                names << name;
            }
        }
    }
    return names;
}

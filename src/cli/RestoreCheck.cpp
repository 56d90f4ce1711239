#include "RestoreCheck.h"

#include "record/InfoArea.h"
#include "record/ModModel.h"

#include <algorithm>

namespace {
// The bytes of a text field up to its first 0x00 or 0xFF.
std::string FieldBytes(const InfoImage& image, const AreaField& field) {
    const auto first = image.begin() + field.Start;
    const auto end = std::find_if(first, first + field.Width,
                                  [](std::uint8_t b) { return b == 0x00 || b == 0xFF; });
    return std::string(first, end);
}

// The bits of a row a dealer may change in the byte at offset i.
std::uint8_t DealerMask(const AreaField& field, std::size_t i) {
    const bool inside =
        static_cast<int>(i) >= field.Start && static_cast<int>(i) < field.Start + field.Width;
    if (field.Written != Sent::Dealer || !inside) {
        return 0;
    }
    return field.Kind == FieldKind::FlagBit ? field.Bit : std::uint8_t{0xFF};
}
} // namespace

// The same question the protocol asks of a radio before it writes one.
bool IsImageOfThisModel(const InfoImage& image) {
    return ModelOfArea(image) != nullptr;
}

QString ModelTextOf(const InfoImage& image) {
    return QString::fromLatin1(FieldBytes(image, AreaFieldNamed(u"RadioModel")));
}

QString VersionTextOf(const InfoImage& image) {
    return QString::fromLatin1(FieldBytes(image, AreaFieldNamed(u"ModelVersion")));
}

// Every dealer bit is compared; one that no row names (none should be) is
// named by its address.
QStringList DealerDifferences(const InfoImage& file, const InfoImage& radio) {
    const InfoImage& dealer = DealerBits();
    QStringList names;
    for (std::size_t i = 0; i < file.size(); ++i) {
        const auto differ = static_cast<std::uint8_t>((file[i] ^ radio[i]) & dealer[i]);
        if (differ == 0) {
            continue;
        }
        std::uint8_t named = 0;
        for (const AreaField& field : InfoArea) {
            const std::uint8_t mask = DealerMask(field, i);
            named = static_cast<std::uint8_t>(named | mask);
            const QString name = QString::fromStdU16String(std::u16string(field.Name));
            if ((differ & mask) != 0 && !names.contains(name)) {
                names << name;
            }
        }
        if ((differ & ~named) != 0) {
            names << QStringLiteral("0x%1").arg(InfoImageBase + static_cast<int>(i), 4, 16);
        }
    }
    return names;
}

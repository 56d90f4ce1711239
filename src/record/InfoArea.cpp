#include "InfoArea.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

const AreaField& AreaFieldNamed(std::u16string_view name) {
    const auto found = std::ranges::find(InfoArea, name, &AreaField::Name);
    if (found == std::end(InfoArea)) {
        throw std::out_of_range("no field of the information area has that name");
    }
    return *found;
}

const AreaField* FieldInText1(int index) {
    const auto found = std::ranges::find(InfoArea, index, &AreaField::Text1);
    return found != std::end(InfoArea) ? &*found : nullptr;
}

const InfoImage& DealerBits() {
    static const InfoImage bits = [] {
        InfoImage b{};
        for (const AreaField& f : InfoArea) {
            if (f.Written != Sent::Dealer) {
                continue;
            }
            const std::uint8_t mask = f.Kind == FieldKind::FlagBit ? f.Bit : std::uint8_t{0xFF};
            for (int i = f.Start; i < f.Start + f.Width; ++i) {
                b[static_cast<std::size_t>(i)] |= mask;
            }
        }
        return b;
    }();
    return bits;
}

std::span<const int> BlocksWritten() {
    static const std::vector<int> blocks = [] {
        std::vector<int> b;
        for (int block = 0; block < InfoImageSize; block += 16) {
            const bool sent = std::ranges::any_of(InfoArea, [&](const AreaField& f) {
                return f.Written != Sent::No && f.Start < block + 16 && f.Start + f.Width > block;
            });
            if (sent) {
                b.push_back(InfoImageBase + block);
            }
        }
        return b;
    }();
    return blocks;
}

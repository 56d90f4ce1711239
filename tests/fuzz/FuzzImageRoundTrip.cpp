// Any 256 bytes of radio memory, unpacked, shown, collected and packed again:
// every byte comes back, but the fill after a written field's text; a second
// round changes nothing; versions come back as the radio holds them.
#include "FuzzInput.h"
#include "record/FormFields.h"
#include "record/ModVersion.h"

#include <algorithm>

namespace {
struct Field {
    std::size_t offset;
    std::size_t width;
};
constexpr Field Written[] = {{0x18, 4}, {0x60, 16}, {0x70, 16}, {0x80, 16}, {0x90, 16}};

// The field's text bytes (up to 0x00 or 0xFF), blanks at the end kept or not,
// then 0x00.
bool FillOnly(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after) {
    std::size_t end = 0;
    while (end < before.size() && before[end] != 0x00 && before[end] != 0xFF) {
        ++end;
    }
    std::size_t trimmed = end;
    while (trimmed > 0 && before[trimmed - 1] == 0x20) {
        --trimmed;
    }
    for (const std::size_t text : {end, trimmed}) {
        const bool same =
            std::equal(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(text),
                       after.begin()) &&
            std::all_of(after.begin() + static_cast<std::ptrdiff_t>(text), after.end(),
                        [](std::uint8_t b) { return b == 0; });
        if (same) {
            return true;
        }
    }
    return false;
}

void RoundTrip(ModData& data) {
    data.UnpackImage();
    FormFields shown = ShowFields(data.Record);
    TakeFields(shown, data.Record);
    TakeBand(shown.Combo1_1, data.Record.BandCode, [] { return true; });
    data.PackImage();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzInput in(bytes, size);
    ModData data;
    data.InitData({2026, 12, 7});
    const auto memory = in.Take(256);
    std::copy(memory.begin(), memory.end(), data.Image.begin());
    const InfoImage before = data.Image;

    RoundTrip(data);
    const InfoImage once = data.Image;
    for (std::size_t i = 0; i < 256; ++i) {
        const bool inField =
            std::any_of(std::begin(Written), std::end(Written),
                        [&](const Field& f) { return i >= f.offset && i < f.offset + f.width; });
        Require(inField || once[i] == before[i], "a byte outside the written fields changed");
    }
    for (const Field& f : Written) {
        Require(FillOnly(std::span(before).subspan(f.offset, f.width),
                         std::span(once).subspan(f.offset, f.width)),
                "a field changed beyond its fill");
    }
    Require(data.Record.RfVersion == BytesToVersion(before[0x0B], before[0x0C]) &&
                data.Record.LcdVersion == BytesToVersion(before[0x0D], before[0x0E]),
            "a version did not come back as the radio holds it");
    RoundTrip(data);
    Require(data.Image == once, "a second round trip changed the image");
    return 0;
}

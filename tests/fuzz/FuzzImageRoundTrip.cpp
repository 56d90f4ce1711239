// Any 256 bytes of radio memory, unpacked, shown, collected and packed again
// as a Write does when the dealer edited nothing: every byte comes back as it
// was, fill and bytes after a text's end included; versions come back as the
// radio holds them.
#include "FuzzInput.h"
#include "doubles/AreaMap.h"
#include "record/FormFields.h"
#include "record/ModData.h"

#include <algorithm>

namespace {
void RoundTrip(ModData& data) {
    data.UnpackImage();
    FormFields shown = ShowFields(data.Record);
    TakeFields(shown, data.Record);
    TakeBand(shown.Combo1_1, data.Record.BandCode, [] { return true; });
    data.PackImage(PackRule::KeepUnedited);
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
    for (std::size_t i = 0; i < 256; ++i) {
        Require(data.Image[i] == before[i], "an unedited round trip changed a byte");
    }
    // The versions as the tests' map reads the radio's bytes.
    const auto shown = [&](const char* name) { return area::ShownText(before, area::Named(name)); };
    Require(data.Record.RfVersion == shown("RfVersion") &&
                data.Record.LcdVersion == shown("LcdVersion"),
            "a version did not come back as the radio holds it");
    return 0;
}

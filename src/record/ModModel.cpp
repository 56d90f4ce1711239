#include "ModModel.h"

#include "ModFun.h"
#include "RadioModel.h"

#include <array>
#include <utility>

namespace {
// Model code as the radio reports it, name as the "Radio Type" list shows it.
constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 1> ModelTable{{
    {TheModel.ModelText, TheModel.RadioType},
}};
} // namespace

std::u16string GetModelName(std::u16string_view code) {
    const std::u16string trimmed = TrimText(code);
    for (const auto& [modelCode, name] : ModelTable) {
        if (trimmed == modelCode) {
            return std::u16string(name);
        }
    }
    return trimmed;
}

#include "ModModel.h"

#include "InfoArea.h"
#include "ModFun.h"

#include <algorithm>
#include <array>

namespace {
// The models the tool knows, by their rules: the code a radio reports and
// the name the Radio Type list shows come from each row.
constexpr std::array<const RadioModelRules*, 1> ModelTable{&TheModel};

constexpr const AreaField& AreaRow(FieldKind kind) {
    return *std::ranges::find(InfoArea, kind, &AreaField::Kind);
}

// A text compared byte for byte with the radio's must fill its field with
// characters a radio's text can hold: printable, no blank. A shorter or empty
// text would accept whatever ends the field (an erased radio's 0xFF), and a
// blank or a 0x00 or 0xFF inside it would read differently in the error box
// than it compares.
constexpr bool FillsItsField(std::u16string_view text, FieldKind kind) {
    return std::ssize(text) == AreaRow(kind).Width &&
           std::ranges::all_of(text, [](char16_t c) { return c > u' ' && c < 0x7F; });
}

constexpr bool FillsTheArea(const RadioModelRules* model) {
    return FillsItsField(model->ModelText, FieldKind::ModelText) && !model->Versions.empty() &&
           std::ranges::all_of(model->Versions, [](std::u16string_view version) {
               return FillsItsField(version, FieldKind::ModelVersion);
           });
}
static_assert(std::ranges::all_of(ModelTable, FillsTheArea),
              "a model's text and each of its versions fill their fields of the area");

bool Holds(const InfoImage& image, FieldKind kind, std::u16string_view text) {
    const AreaField& field = AreaRow(kind);
    const auto first = image.begin() + field.Start;
    return std::equal(first, first + field.Width, text.begin(), text.end());
}

bool IsAreaOf(const InfoImage& image, const RadioModelRules& model) {
    return Holds(image, FieldKind::ModelText, model.ModelText) &&
           std::ranges::any_of(model.Versions, [&](std::u16string_view version) {
               return Holds(image, FieldKind::ModelVersion, version);
           });
}
} // namespace

const RadioModelRules* ModelOfArea(const InfoImage& image) {
    const auto found = std::ranges::find_if(
        ModelTable, [&](const RadioModelRules* model) { return IsAreaOf(image, *model); });
    return found != ModelTable.end() ? *found : nullptr;
}

std::u16string GetModelName(std::u16string_view code) {
    const std::u16string trimmed = TrimText(code);
    for (const RadioModelRules* model : ModelTable) {
        if (trimmed == model->ModelText) {
            return std::u16string(model->RadioType);
        }
    }
    return trimmed;
}

const std::vector<std::u16string>& ModelNames() {
    static const std::vector<std::u16string> names = [] {
        std::vector<std::u16string> n;
        for (const RadioModelRules* model : ModelTable) {
            n.emplace_back(model->RadioType);
        }
        return n;
    }();
    return names;
}

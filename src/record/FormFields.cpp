#include "FormFields.h"

#include "ModFun.h"
#include "ModModel.h"
#include "ModVersion.h"

namespace {
// A version as a radio reported it stays as it is, hexadecimal digits and
// all; anything else the window may hold is tidied up.
std::u16string CollectVersion(std::u16string_view text) {
    std::u16string version = TrimTrailingBlanks(text);
    return IsByteVersion(version) ? version : FormatVersion(version, u"V1.00");
}
} // namespace

const std::vector<std::u16string>& ModelListEntries() {
    return ModelNames();
}

std::int16_t& CheckBox(FormFields& f, int n) {
    switch (n) {
    case 1:
        return f.Check1;
    case 2:
        return f.Check2;
    case 3:
        return f.Check3;
    default:
        return f.Check8;
    }
}

FormFields ShowFields(const RadioInfo& r) {
    FormFields f;
    for (const AreaField& a : InfoArea) {
        if (a.Check != 0) {
            CheckBox(f, a.Check) = r.*a.Record.Number;
        }
        if (a.Text1 >= 0) {
            const std::u16string text = a.Record.Text(r);
            f.Text1[static_cast<std::size_t>(a.Text1)] =
                a.Record.FixedWidth ? TrimText(text) : text;
        }
    }
    f.Combo1_0 = SelectListText(ModelListEntries(), GetModelName(r.RadioModel));
    f.Combo1_1 = r.BandCode >= 0 && r.BandCode < BandListCount ? r.BandCode : -1;
    return f;
}

void TakeFields(const FormFields& f, RadioInfo& r) {
    FormFields shown = f;
    for (const AreaField& a : InfoArea) {
        if (a.Check != 0) {
            r.*a.Record.Number = CheckBox(shown, a.Check);
        }
        if (a.Text1 >= 0) {
            const std::u16string& text = f.Text1[static_cast<std::size_t>(a.Text1)];
            a.Record.SetText(r, a.Kind == FieldKind::Version ? CollectVersion(text)
                                                             : TrimTrailingBlanks(text));
        }
    }
}

void TakeBand(int& listPosition, std::int16_t& band, const std::function<bool()>& askOverwrite) {
    if (listPosition < 0 || listPosition == band) {
        return;
    }
    if (askOverwrite()) {
        band = static_cast<std::int16_t>(listPosition);
        return;
    }
    listPosition = band >= 0 && band < BandListCount ? band : -1;
}

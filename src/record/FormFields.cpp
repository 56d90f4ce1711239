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
    static const std::vector<std::u16string> entries{u"KVT4610"};
    return entries;
}

FormFields ShowFields(const RadioInfo& r) {
    FormFields f;
    f.Check1 = r.FactoryMode;
    f.Check2 = r.Stun;
    f.Check3 = r.Kill;
    f.Check8 = r.FreqSet;
    f.Combo1_0 = SelectListText(ModelListEntries(), GetModelName(r.RadioModel));
    f.Combo1_1 = r.BandCode >= 0 && r.BandCode < BandListCount ? r.BandCode : -1;
    f.Text1[0] = r.AreaCode;
    f.Text1[1] = TrimText(r.SerialNo.Str());
    f.Text1[2] = TrimText(r.ProductDate.Str());
    f.Text1[3] = TrimText(r.MaintainDate.Str());
    f.Text1[4] = TrimText(r.MaintainDesc.Str());
    f.Text1[5] = r.RfVersion;
    f.Text1[13] = r.LcdVersion;
    f.Text1[6] = TrimText(r.ManufactureCode.Str());
    f.Text1[7] = TrimText(r.UserCode.Str());
    f.Text1[8] = TrimText(r.DealerCode.Str());
    f.Text1[9] = TrimText(r.StockDate.Str());
    f.Text1[10] = TrimText(r.SellDate.Str());
    f.Text1[11] = TrimText(r.Seller.Str());
    f.Text1[12] = TrimText(r.ProgPassWord.Str());
    return f;
}

void TakeFields(const FormFields& f, RadioInfo& r) {
    r.FactoryMode = f.Check1;
    r.Stun = f.Check2;
    r.Kill = f.Check3;
    r.FreqSet = f.Check8;
    r.AreaCode = TrimTrailingBlanks(f.Text1[0]);
    r.SerialNo = TrimTrailingBlanks(f.Text1[1]);
    r.ProductDate = TrimTrailingBlanks(f.Text1[2]);
    r.MaintainDate = TrimTrailingBlanks(f.Text1[3]);
    r.MaintainDesc = TrimTrailingBlanks(f.Text1[4]);
    r.ManufactureCode = TrimTrailingBlanks(f.Text1[6]);
    r.UserCode = TrimTrailingBlanks(f.Text1[7]);
    r.DealerCode = TrimTrailingBlanks(f.Text1[8]);
    r.StockDate = TrimTrailingBlanks(f.Text1[9]);
    r.SellDate = TrimTrailingBlanks(f.Text1[10]);
    r.Seller = TrimTrailingBlanks(f.Text1[11]);
    r.ProgPassWord = TrimTrailingBlanks(f.Text1[12]);
    r.RfVersion = CollectVersion(f.Text1[5]);
    r.LcdVersion = CollectVersion(f.Text1[13]);
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

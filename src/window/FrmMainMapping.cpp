// The record shown in the window and collected from it.
#include "FrmMain.h"

#include "system/QtText.h"

void FrmMain::ShowByData() {
    const FormFields f = ShowFields(Data.Record);
    Check1->setChecked(f.Check1 != 0);
    Check2->setChecked(f.Check2 != 0);
    Check3->setChecked(f.Check3 != 0);
    Check8->setChecked(f.Check8 != 0);
    Combo1[0]->setCurrentIndex(Combo1[0]->findText(ToQString(f.Combo1_0)));
    Combo1[1]->setCurrentIndex(f.Combo1_1);
    for (std::size_t i = 0; i < f.Text1.size(); ++i) {
        SetText1Text(static_cast<int>(i), ToQString(f.Text1[i]));
    }
}

void FrmMain::GetDataByShow() {
    FormFields f;
    f.Check1 = Check1->isChecked() ? 1 : 0;
    f.Check2 = Check2->isChecked() ? 1 : 0;
    f.Check3 = Check3->isChecked() ? 1 : 0;
    f.Check8 = Check8->isChecked() ? 1 : 0;
    for (std::size_t i = 0; i < f.Text1.size(); ++i) {
        f.Text1[i] = ToU16(Text1Text(static_cast<int>(i)));
    }
    RadioInfo& record = Data.Record;
    TakeFields(f, record);

    int position = Combo1[1]->currentIndex();
    TakeBand(position, record.BandCode, [this] {
        return ShowMessage(MsgFreqDiff[static_cast<std::size_t>(LangTypeValue)],
                           MessageButtons::OkCancel, MessageIcon::Exclamation) == MessageResult::Ok;
    });
    Combo1[1]->setCurrentIndex(position);
}

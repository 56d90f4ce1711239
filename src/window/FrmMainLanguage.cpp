// The English and the Chinese face of the window, chosen by the system locale.
#include "FrmMain.h"

#include "WindowTexts.h"
#include "protocol/Messages.h"
#include "system/SystemLocale.h"

#include <QAbstractButton>

#include <algorithm>
#include <map>

// A label's caption is also its field's accessible name: Qt would name a
// field in a frame by the frame's title, and a list by its entry.
void FrmMain::SetCaption(QWidget* control, const QString& caption) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(caption);
        AutoSizeLabel(label);
        if (label->buddy() != nullptr) {
            label->buddy()->setAccessibleName(caption);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(caption);
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
        frame->setTitle(caption);
    }
}

// Moves a label so that its right edge stands gap twips left of its field.
void FrmMain::AlignLabel(QLabel* label, float fieldLeft, float gap) {
    TwipsRect rect = Geometry(label);
    rect.Left = fieldLeft - gap - rect.Width;
    Place(label, rect);
}

// The control showing a field of the information area: its Text1 field, its
// check box, or the Radio Type or Frequency list.
QWidget* FrmMain::FieldControl(const AreaField& field) const {
    if (field.Text1 >= 0) {
        return Text1[static_cast<std::size_t>(field.Text1)];
    }
    if (field.Check != 0) {
        const std::map<int, QCheckBox*> boxes{{1, Check1}, {2, Check2}, {3, Check3}, {8, Check8}};
        return boxes.at(field.Check);
    }
    if (field.Kind == FieldKind::ModelText) {
        return Combo1[0];
    }
    return field.Kind == FieldKind::Number ? Combo1[1] : nullptr;
}

void FrmMain::ShowLanguage() {
    LangTypeValue = static_cast<std::int16_t>(LangTypeForLocaleId(platform_.systemLocaleId()));
    serial_->SetLangType(LangTypeValue); // why a port does not open, in the same language
    const std::pair<QWidget*, WindowText> captions[] = {
        {Frame1, WindowTexts::Frame1},  {Frame2, WindowTexts::Frame2},
        {Command1, WindowTexts::Read},  {Command2, WindowTexts::Write},
        {Command3, WindowTexts::Exit},  {Command4, WindowTexts::MulWrite},
        {Label3, WindowTexts::ComPort}, {Label4, WindowTexts::RadioCount},
        {Label5, WindowTexts::RadioNo},
    };
    for (const auto& [control, text] : captions) {
        SetCaption(control, QString::fromStdU16String(std::u16string(text.In(LangTypeValue))));
    }
    // A field's caption goes to its check box, or to the label captioning it.
    for (const AreaField& field : InfoArea) {
        QWidget* control = FieldControl(field);
        if (control == nullptr) {
            continue;
        }
        const std::u16string caption(LangTypeValue == 2 ? field.Chinese : field.English);
        const auto labels = findChildren<QLabel*>();
        const auto label = std::ranges::find(labels, control, &QLabel::buddy);
        SetCaption(label != labels.end() ? *label : control, QString::fromStdU16String(caption));
    }

    AlignLabel(Label4, Geometry(Text2[0]).Left, 20);
    AlignLabel(Label5, Geometry(Text2[1]).Left, 20);
    for (const FieldRows::FieldRow& row : FieldRows::Rows) {
        AlignLabel(RowLabel(row), FieldRows::ColumnLeft(row.In), FieldRows::LabelGap);
    }

    MsgFreqDiff[1] = Msg::FreqDiff[0];
    MsgFreqDiff[2] = Msg::FreqDiff[1];
}

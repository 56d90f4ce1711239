// The window's controls, their places in twips, initial states and focus order.
#include "FrmMain.h"

#include "CommandButton.h"
#include "ElidedComboBox.h"

#include <QFontMetrics>
#include <QPalette>

namespace {
const char* const BandTexts[] = {
    "UHF{Rx(400 - 490 MHz) Tx(420 - 450 MHz)} VHF{Rx(136 - 174 MHz) Tx(144 - 148 MHz)}",
    "UHF{Rx(400 - 490 MHz) Tx(400 - 490 MHz)} VHF{Rx(136 - 174 MHz) Tx(136 - 174 MHz)}",
};

} // namespace

void FrmMain::Place(QWidget* control, TwipsRect rect) {
    geometry_[control] = rect;
    control->setGeometry(ToPixels(rect, dpi_));
}

TwipsRect FrmMain::Geometry(const QWidget* control) const {
    const auto found = geometry_.find(control);
    return found != geometry_.end() ? found->second : TwipsRect{};
}

// Captions come from ShowLanguage, once, in the window's language: a caption
// given here would be laid out for nothing, and a Chinese one would load the
// Chinese fonts on an English system.
QLabel* FrmMain::NewLabel(QWidget* parent, TwipsRect rect) {
    auto* label = new QLabel(parent);
    Place(label, rect);
    return label;
}

// A label is as wide as its caption and one text line high.
void FrmMain::AutoSizeLabel(QLabel* label) {
    TwipsRect rect = Geometry(label);
    const QFontMetrics metrics(label->font());
    rect.Width = PixelsToTwips(metrics.horizontalAdvance(label->text()) + 1, dpi_);
    rect.Height = std::max(225.0f, PixelsToTwips(metrics.height(), dpi_));
    Place(label, rect);
}

EntryLineEdit* FrmMain::NewLineEdit(QWidget* parent, TwipsRect rect, int maxLength) {
    auto* edit = new EntryLineEdit(parent);
    edit->setMaxLength(maxLength);
    Place(edit, rect);
    return edit;
}

// A Text1 field takes as many characters as its field of the area has bytes;
// a version box takes 16, like the boxes around it.
EntryLineEdit* FrmMain::NewText1Field(QWidget* parent, TwipsRect rect, int index) {
    const AreaField* field = FieldInText1(index);
    auto* edit = NewLineEdit(parent, rect, field->Kind == FieldKind::Version ? 16 : field->Width);
    Text1[static_cast<std::size_t>(index)] = edit;
    return edit;
}

void FrmMain::CreateControls() {
    Frame1 = new QGroupBox(this);
    Place(Frame1, {0, 120, 9615, 8295});
    CreateFrame1Controls();
    CreateFrame2Controls();
    CreateFrame4Controls();
    SetBuddies();
    EnableDealerFields();
    SetTabOrder();
}

// A dealer changes only the fields a write sends; the others, and their
// labels, only show what was read.
void FrmMain::EnableDealerFields() {
    const auto labels = findChildren<QLabel*>();
    for (const AreaField& field : InfoArea) {
        QWidget* control = FieldControl(field);
        if (control == nullptr || field.Check != 0) {
            continue;
        }
        const bool dealer = field.Written == Sent::Dealer;
        control->setEnabled(dealer);
        const auto label = std::ranges::find(labels, control, &QLabel::buddy);
        if (label != labels.end()) {
            (*label)->setEnabled(dealer);
        }
    }
}

// Each label captions one field: a screen reader names the field by it.
void FrmMain::SetBuddies() {
    const std::pair<QLabel*, QWidget*> captions[] = {
        {Label2, Text1[0]},      {Label3, Combo2},        {Label4, Text2[0]},
        {Label5, Text2[1]},      {Label1[0], Combo1[0]},  {Label1[1], Combo1[1]},
        {Label1[2], Text1[1]},   {Label1[3], Text1[2]},   {Label1[4], Text1[3]},
        {Label1[5], Text1[4]},   {Label1[6], Text1[5]},   {Label1[7], Text1[6]},
        {Label1[8], Text1[7]},   {Label1[9], Text1[8]},   {Label1[10], Text1[9]},
        {Label1[11], Text1[10]}, {Label1[12], Text1[11]}, {Label1[13], Text1[12]},
        {Label1[14], Text1[13]},
    };
    for (const auto& [label, field] : captions) {
        label->setBuddy(field);
    }
}

void FrmMain::CreateFrame1Controls() {
    QWidget* f = Frame1;
    const auto check = [&](QCheckBox*& box, float left, float top) {
        box = new QCheckBox(f);
        Place(box, {left, top, 1095, 255});
    };
    check(Check1, 7200, 360);
    Check1->setVisible(false);
    check(Check8, 480, 480);
    check(Check2, 2400, 480);
    check(Check3, 4200, 480);

    Label3 = NewLabel(f, {7080, 840, 900, 225});
    Combo2 = new QComboBox(f);
    Place(Combo2, {7080, 1080, 1455, 345});

    const auto field = [&](int index, float top) {
        NewText1Field(f, {2040, top, 4695, 330}, index);
    };
    const auto label = [&](int index, float left, float top, float width) {
        Label1[static_cast<std::size_t>(index)] = NewLabel(f, {left, top, width, 225});
    };
    const auto button = [&](QPushButton*& command, float top) {
        command = new CommandButton(f);
        Place(command, {7200, top, 1455, 375});
    };

    Label2 = NewLabel(f, {1200, 1245, 720, 225});
    field(0, 1200);
    label(7, 1200, 1605, 720);
    field(6, 1560);
    button(Command1, 1680);
    label(8, 1200, 1965, 720);
    field(7, 1920);
    Label1[8]->setVisible(false);
    Text1[7]->setVisible(false);
    button(Command2, 2160);
    label(0, 1560, 2325, 360);
    Combo1[0] = new QComboBox(f);
    Place(Combo1[0], {2040, 2280, 4695, 345});
    for (const std::u16string& entry : ModelListEntries()) {
        Combo1[0]->addItem(QString::fromStdU16String(entry));
    }
    label(1, 1560, 2685, 360);
    Combo1[1] = new ElidedComboBox(f);
    Place(Combo1[1], {2040, 2640, 7455, 345});
    label(13, 1320, 3045, 720);
    field(12, 3000);
    label(2, 1380, 3405, 540);
    field(1, 3360);
    label(3, 1200, 3765, 720);
    field(2, 3720);
    label(4, 1200, 4125, 720);
    field(3, 4080);
    label(6, 1200, 4485, 720);
    field(5, 4440);
    label(14, 1200, 4845, 720);
    field(13, 4800);
    label(5, 1200, 5325, 720);
    auto* description = new QPlainTextEdit(f);
    description->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Place(description, {2040, 5280, 4695, 1005});
    Text1[4] = description;
    button(Command3, 5640);
}

void FrmMain::CreateFrame2Controls() {
    Frame2 = new QGroupBox(Frame1);
    Place(Frame2, {120, 6360, 8535, 1815});
    QWidget* f = Frame2;
    const struct {
        int label;
        float labelLeft, labelTop, labelWidth;
        float fieldLeft, fieldTop;
    } rows[] = {
        {9, 840, 285, 900, 1920, 240},
        {10, 1080, 645, 720, 1905, 600},
        {11, 1080, 1005, 720, 1905, 960},
        {12, 1200, 1365, 540, 1905, 1320},
    };
    for (const auto& row : rows) {
        const auto index = static_cast<std::size_t>(row.label);
        Label1[index] = NewLabel(f, {row.labelLeft, row.labelTop, row.labelWidth, 225});
        NewText1Field(f, {row.fieldLeft, row.fieldTop, 4695, 330}, row.label - 1);
    }
}

void FrmMain::CreateFrame4Controls() {
    Frame4 = new QGroupBox(Frame1);
    Place(Frame4, {6960, 3480, 1935, 1815});
    Frame4->setVisible(false);
    QWidget* f = Frame4;
    Command4 = new CommandButton(f);
    Place(Command4, {120, 240, 1695, 375});
    Label4 = NewLabel(f, {360, 720, 900, 225});
    Text2[0] = NewLineEdit(f, {1200, 720, 615, 240}, 3);
    Text2[0]->setText(QStringLiteral("10"));
    Label5 = NewLabel(f, {360, 960, 900, 225});
    Text2[1] = NewLineEdit(f, {1200, 960, 615, 240}, 3);
    Text2[1]->setText(QStringLiteral("0"));
    Text2[1]->setEnabled(false);
    Label6 = NewLabel(f, {120, 1320, 1395, 225});
    QPalette red = Label6->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label6->setPalette(red);
}

// Tab moves through the controls in this order; Qt skips the disabled and
// hidden ones and wraps.
void FrmMain::SetTabOrder() {
    const std::vector<QWidget*> order{
        Check1,   Combo1[0], Combo1[1], Text1[0],  Text1[1],  Text1[2], Text1[3],
        Text1[4], Command1,  Command2,  Command3,  Combo2,    Text1[5], Text1[6],
        Text1[7], Text1[8],  Text1[9],  Text1[10], Text1[11], Command4, Text2[0],
        Text2[1], Text1[12], Check8,    Text1[13], Check2,    Check3,
    };
    for (QWidget* control : order) {
        control->setFocusPolicy(Qt::StrongFocus);
    }
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget::setTabOrder(order[i], order[i + 1]);
    }
}

void FrmMain::FillBandList() {
    Combo1[1]->clear();
    for (const char* text : BandTexts) {
        Combo1[1]->addItem(QString::fromLatin1(text));
    }
}

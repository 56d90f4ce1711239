// The window's controls, their places in twips, initial states and focus order.
#include "FrmMain.h"

#include "CommandButton.h"
#include "ElidedComboBox.h"

#include <QFontMetrics>
#include <QPalette>

#include <limits>

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
    CreateFrame1Controls();
    Frame2 = new QGroupBox(Frame1);
    for (const FieldRows::FieldRow& row : FieldRows::Rows) {
        if (row.In == FieldRows::Frame2) {
            CreateFieldRow(row, Frame2);
        }
    }
    PlaceFrames();
    FillModelList();
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

// Each label captions one field: a screen reader names the field by it. The
// labels of the field rows get theirs with their rows.
void FrmMain::SetBuddies() {
    Label3->setBuddy(Combo2);
    Label4->setBuddy(Text2[0]);
    Label5->setBuddy(Text2[1]);
}

QLabel*& FrmMain::RowLabel(const FieldRows::FieldRow& row) {
    if (row.Label.Array == FieldRows::LabelArray::Label2) {
        return Label2;
    }
    return Label1[static_cast<std::size_t>(row.Label.Index)];
}

QWidget* FrmMain::RowField(const FieldRows::FieldRow& row) const {
    const auto index = static_cast<std::size_t>(row.Field.Index);
    return row.Field.InCombo1() ? static_cast<QWidget*>(Combo1[index]) : Text1[index];
}

QWidget* FrmMain::NewRowField(QWidget* parent, const FieldRows::FieldRow& row) {
    const auto index = static_cast<std::size_t>(row.Field.Index);
    switch (row.Field.Kind) {
    case FieldRows::Box::Line:
        return NewText1Field(parent, row.Place, row.Field.Index);
    case FieldRows::Box::Lines: {
        auto* box = new QPlainTextEdit(parent);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        Text1[index] = box;
        break;
    }
    case FieldRows::Box::List:
        Combo1[index] = new QComboBox(parent);
        break;
    case FieldRows::Box::ElidedList:
        Combo1[index] = new ElidedComboBox(parent);
        break;
    }
    QWidget* field = RowField(row);
    Place(field, row.Place);
    return field;
}

void FrmMain::CreateFieldRow(const FieldRows::FieldRow& row, QWidget* parent) {
    QLabel* label = NewLabel(parent, {row.LabelLeft, row.Place.Top + FieldRows::LabelDrop,
                                      row.LabelWidth, FieldRows::LabelHeight});
    RowLabel(row) = label;
    QWidget* field = NewRowField(parent, row);
    label->setBuddy(field);
    if (row.Hidden) {
        label->setVisible(false);
        field->setVisible(false);
    }
}

// Each frame ends a margin below its lowest field, and the dealer frame stands
// below the radio frame's fields: a new row makes room for itself.
void FrmMain::PlaceFrames() {
    const float dealerTop = FieldRows::FieldsBottom(FieldRows::Frame1) + 75;
    const float dealerHeight = FieldRows::FieldsBottom(FieldRows::Frame2) + 165;
    Place(Frame2, {120, dealerTop, 8535, dealerHeight});
    Place(Frame1, {0, 120, 9615, dealerTop + dealerHeight + 120});
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

    // The rows and the right-hand column of buttons from top to bottom, the
    // order in which a screen reader walks them.
    const std::pair<QPushButton**, float> buttons[] = {
        {&Command1, 1680}, {&Command2, 2160}, {&Command3, 5640}};
    auto button = std::begin(buttons);
    const auto createButtonsAbove = [&](float top) {
        for (; button != std::end(buttons) && button->second < top; ++button) {
            *button->first = new CommandButton(f);
            Place(*button->first, {7200, button->second, 1455, 375});
        }
    };
    for (const FieldRows::FieldRow& row : FieldRows::Rows) {
        if (row.In == FieldRows::Frame1) {
            createButtonsAbove(row.Place.Top);
            CreateFieldRow(row, f);
        }
    }
    createButtonsAbove(std::numeric_limits<float>::infinity());
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
// hidden ones and wraps. The field rows take their places among the others.
void FrmMain::SetTabOrder() {
    struct Stop {
        int place;
        QWidget* control;
    };
    std::vector<Stop> order{
        {1, Check1},  {9, Command1},  {10, Command2}, {11, Command3},
        {12, Combo2}, {20, Command4}, {21, Text2[0]}, {22, Text2[1]},
        {24, Check8}, {26, Check2},   {27, Check3},
    };
    for (const FieldRows::FieldRow& row : FieldRows::Rows) {
        order.push_back({row.TabPlace, RowField(row)});
    }
    std::ranges::stable_sort(order, {}, &Stop::place);
    for (const Stop& stop : order) {
        stop.control->setFocusPolicy(Qt::StrongFocus);
    }
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget::setTabOrder(order[i].control, order[i + 1].control);
    }
}

void FrmMain::FillModelList() {
    for (const std::u16string& entry : ModelListEntries()) {
        Combo1[0]->addItem(QString::fromStdU16String(entry));
    }
}

void FrmMain::FillBandList() {
    Combo1[1]->clear();
    for (const char* text : BandTexts) {
        Combo1[1]->addItem(QString::fromLatin1(text));
    }
}

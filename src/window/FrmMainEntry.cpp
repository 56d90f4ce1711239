// The rules for typing into the Text1 fields.
#include "FrmMain.h"

#include "FieldValidators.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace {
constexpr std::int16_t KeyCtrlC = 3;
constexpr std::int16_t KeyCtrlV = 22;
constexpr std::int16_t KeyCtrlX = 24;
constexpr std::int16_t KeyEnter = 13;

bool IsAsciiAlphanumeric(std::int16_t code) {
    return (code >= '0' && code <= '9') || (code >= 'a' && code <= 'z') ||
           (code >= 'A' && code <= 'Z');
}

// The character code a key gives, as a 16-bit signed number; none for keys
// that type no character (arrows, Delete, ...).
std::optional<std::int16_t> CharacterCode(const QKeyEvent* event) {
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        switch (event->key()) {
        case Qt::Key_C:
            return KeyCtrlC;
        case Qt::Key_V:
            return KeyCtrlV;
        case Qt::Key_X:
            return KeyCtrlX;
        default:
            break;
        }
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return KeyEnter;
    }
    if (event->text().isEmpty()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(event->text().front().unicode());
}

// The dealer enters a field with Tab or Shift+Tab (the Enter of the code
// fields sends a Tab as well), a click or an access key. The focus that comes
// back with the window, after a message box or after a menu finds the field
// as it was left, so that a paste lands at the caret.
bool EntersField(const QFocusEvent* event) {
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    default:
        return false;
    }
}
} // namespace

int FrmMain::Text1Index(const QObject* object) const {
    for (std::size_t i = 0; i < Text1.size(); ++i) {
        if (Text1[i] == object) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QString FrmMain::Text1Text(int index) const {
    const QWidget* field = Text1[static_cast<std::size_t>(index)];
    if (const auto* edit = qobject_cast<const QLineEdit*>(field)) {
        return edit->text();
    }
    return static_cast<const QPlainTextEdit*>(field)->toPlainText();
}

void FrmMain::SetText1Text(int index, const QString& text) {
    QWidget* field = Text1[static_cast<std::size_t>(index)];
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        // What the program shows is what the radio holds, 7-bit or not.
        if (auto* sevenBit = dynamic_cast<SevenBitValidator*>(edit->findChild<QValidator*>())) {
            sevenBit->SetHeld(text);
        }
        edit->setText(text);
        return;
    }
    // The description box holds at most as many characters as its field has bytes.
    static_cast<QPlainTextEdit*>(field)->setPlainText(text.left(FieldInText1(index)->Width));
}

namespace {
// The Serial Number's field, which takes only letters and digits.
int SerialNoField() {
    return AreaFieldNamed(u"SerialNo").Text1;
}
} // namespace

// Keeps out by every route what the key rules keep out of the code fields,
// and holds the dealer fields to what fits the radio.
void FrmMain::InstallFieldRules() {
    for (std::size_t i = 0; i < Text1.size(); ++i) {
        Text1[i]->installEventFilter(this);
    }
    for (const AreaField& field : InfoArea) {
        if (field.Text1 < 0) {
            continue;
        }
        auto* edit = dynamic_cast<EntryLineEdit*>(Text1[static_cast<std::size_t>(field.Text1)]);
        if (edit == nullptr) {
            continue; // the description box: more lines, no rule
        }
        if (field.Kind == FieldKind::ByteText) {
            edit->setValidator(new SevenBitValidator(edit));
            edit->SetPasteBlocked(true);
        } else if (field.Text1 == SerialNoField()) {
            edit->setValidator(new AlphanumericValidator(edit));
            edit->SetPasteBlocked(true);
        } else if (field.Kind == FieldKind::AnsiText && field.Written == Sent::Dealer) {
            edit->setValidator(new Cp936FieldValidator(field.Width, edit));
        }
    }
}

void FrmMain::Text1_GotFocus(int index) {
    if (index == AreaFieldNamed(u"MaintainDate").Text1 && Text1Text(index).isEmpty()) {
        const std::u16string today = ShortDateText(platform_.today());
        SetText1Text(index, QString::fromStdU16String(today));
    }
    // Queued, so that the click that gave the focus does not undo it.
    QMetaObject::invokeMethod(Text1[static_cast<std::size_t>(index)], "selectAll",
                              Qt::QueuedConnection);
}

void FrmMain::Text1_KeyPress(int index, std::int16_t& keyAscii) {
    const AreaField* field = FieldInText1(index);
    const bool codeField = field != nullptr && field->Kind == FieldKind::ByteText;
    const bool serialField = index == SerialNoField();
    if (!codeField && !serialField) {
        return;
    }
    if (keyAscii == KeyCtrlC || keyAscii == KeyCtrlV || keyAscii == KeyCtrlX) {
        keyAscii = 0;
        return;
    }
    if (keyAscii == KeyEnter) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        QCoreApplication::sendEvent(Text1[static_cast<std::size_t>(index)], &tab);
        keyAscii = 0;
        return;
    }
    if (keyAscii < 0 || keyAscii > 127) {
        keyAscii = 0;
        return;
    }
    if (serialField && keyAscii >= 32 && keyAscii <= 126 && !IsAsciiAlphanumeric(keyAscii)) {
        keyAscii = 0;
    }
}

// True when the key is taken away from the field.
bool FrmMain::FilterText1Key(int index, QKeyEvent* event) {
    const std::optional<std::int16_t> code = CharacterCode(event);
    if (!code) {
        return false;
    }
    std::int16_t keyAscii = *code;
    Text1_KeyPress(index, keyAscii);
    return keyAscii == 0;
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    const int index = Text1Index(watched);
    if (index >= 0 && event->type() == QEvent::FocusIn &&
        EntersField(static_cast<QFocusEvent*>(event))) {
        Text1_GotFocus(index);
    } else if (index >= 0 && event->type() == QEvent::KeyPress) {
        return FilterText1Key(index, static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

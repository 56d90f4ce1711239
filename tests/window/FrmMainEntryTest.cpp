// The typing rules of the Text1 fields.
#include "WindowFixture.h"
#include "doubles/AreaMap.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Types each character as a key that carries it as its text, as an input
// method's commit through the keyboard would; QTest types ASCII only.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QLineEdit* Edit(FrmMain& w, std::size_t index) {
    return static_cast<QLineEdit*>(w.Text1[index]);
}
} // namespace

TEST(FrmMainEntry, KeyRulesByFieldIndex) {
    struct Case {
        int index;
        std::int16_t in;
        std::int16_t out;
    };
    const Case cases[] = {
        {1, 'A', 'A'},  {1, 'z', 'z'},  {1, '7', '7'},  {1, '-', 0},    {1, '/', 0},
        {1, ' ', 0},    {1, 8, 8},      {1, 127, 127},  {1, 1, 1},      {1, 3, 0},
        {1, 22, 0},     {1, 24, 0},     {1, 13, 0},     {1, 200, 0},    {1, -20000, 0},
        {12, '-', '-'}, {12, ' ', ' '}, {12, '~', '~'}, {12, 22, 0},    {12, 128, 0},
        {12, -1, 0},    {0, '#', '#'},  {7, 3, 0},      {7, 0x4E2D, 0}, {8, 22, 22},
        {8, 200, 200},  {8, 13, 13},    {11, -5, -5},   {3, '-', '-'},  {4, 13, 13},
    };
    WindowFixture f;
    for (const Case& c : cases) {
        std::int16_t key = c.in;
        f.Window().Text1_KeyPress(c.index, key);
        EXPECT_EQ(key, c.out) << "field " << c.index << " key " << c.in;
    }
}

TEST(FrmMainEntry, PasswordFieldTakesFourSevenBitCharacters) {
    WindowFixture f;
    FrmMain& w = f.Window();
    f.ShowActive();
    QLineEdit* password = Edit(w, 12);
    password->setFocus();
    QTest::keyClicks(password, "abcde");
    EXPECT_EQ(password->text(), "abcd");

    password->clear();
    TypeText(password, Q("中a"));
    EXPECT_EQ(password->text(), "a");

    QGuiApplication::clipboard()->setText("12");
    QTest::keyClick(password, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(password, Qt::Key_Insert, Qt::ShiftModifier);
    password->paste();
    EXPECT_EQ(password->text(), "a12") << "only the program's own paste, through the validator";
    QGuiApplication::clipboard()->setText(Q("中"));
    password->paste();
    EXPECT_EQ(password->text(), "a12");
    EXPECT_FALSE(password->acceptDrops());

    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_EQ(password->text(), "a12");
    EXPECT_EQ(QApplication::focusWidget(), w.Check8);
}

TEST(FrmMainEntry, SellerPastesAndRefusesWhatTheRadioCannotHold) {
    WindowFixture f;
    FrmMain& w = f.Window();
    f.ShowActive();
    QLineEdit* seller = Edit(w, 11);
    seller->setFocus();
    QGuiApplication::clipboard()->setText("xy");
    QTest::keyClick(seller, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(seller->text(), "xy");

    seller->clear();
    TypeText(seller, Q("中文中文中文中文中A"));
    EXPECT_EQ(seller->text(), Q("中文中文中文中文")) << "16 bytes of code page 936";

    seller->clear();
    TypeText(seller, Q("Aש1"));
    EXPECT_EQ(seller->text(), "A1");

    QTest::keyClick(seller, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), seller) << "Enter is no Tab in the dealer fields";
}

TEST(FrmMainEntry, EnteringAFieldSelectsItsText) {
    WindowFixture f;
    FrmMain& w = f.Window();
    f.ShowActive();
    Edit(w, 8)->setText("D-01");
    w.Text1[11]->setFocus();
    QTest::keyClick(w.Text1[11], Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(w.Text1[10], Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(w.Text1[9], Qt::Key_Tab, Qt::ShiftModifier);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), w.Text1[8]);
    EXPECT_EQ(Edit(w, 8)->selectedText(), "D-01");
}

// The field as the dealer left it: a text with the caret inside and nothing
// selected; the "Maintained Date" field enabled and empty.
TEST(FrmMainEntry, OnlyEnteringAFieldSelectsItsTextAndFillsTheDate) {
    struct Case {
        Qt::FocusReason reason;
        bool enters;
    };
    const Case cases[] = {
        {Qt::TabFocusReason, true},           {Qt::BacktabFocusReason, true},
        {Qt::MouseFocusReason, true},         {Qt::ShortcutFocusReason, true},
        {Qt::ActiveWindowFocusReason, false}, {Qt::PopupFocusReason, false},
        {Qt::OtherFocusReason, false},
    };
    for (const Case& c : cases) {
        WindowFixture f;
        FrmMain& w = f.Window();
        f.ShowActive();
        Edit(w, 8)->setText("D-01");
        Edit(w, 8)->setCursorPosition(2);
        w.Text1[3]->setEnabled(true);
        w.SetText1Text(3, "");

        w.Text1[8]->setFocus(c.reason);
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), w.Text1[8]);
        EXPECT_EQ(Edit(w, 8)->selectedText(), c.enters ? "D-01" : "") << "reason " << c.reason;
        EXPECT_EQ(Edit(w, 8)->cursorPosition(), c.enters ? 4 : 2) << "reason " << c.reason;

        w.Text1[3]->setFocus(c.reason);
        QApplication::processEvents();
        const QString date = c.enters ? "2026-12-07" : "";
        EXPECT_EQ(w.Text1Text(3), date) << "reason " << c.reason;
        EXPECT_EQ(Edit(w, 3)->selectedText(), date) << "reason " << c.reason;
    }
}

// The dealer copies something in another program, comes back and pastes.
TEST(FrmMainEntry, ComingBackToTheWindowPastesAtTheCaret) {
    WindowFixture f;
    FrmMain& w = f.Window();
    f.ShowActive();
    QLineEdit* dealer = Edit(w, 8);
    dealer->setText("D-01");
    dealer->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    dealer->setCursorPosition(2);

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QGuiApplication::clipboard()->setText("xy");
    other.close();
    f.ShowActive();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), dealer);
    QTest::keyClick(dealer, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dealer->text(), "D-xy01");
}

// Enter in a code field moves on like Tab: the field it reaches is entered,
// a button it reaches is not pressed.
TEST(FrmMainEntry, EnterFromACodeFieldEntersTheNextFieldAndPressesNoButton) {
    WindowFixture f;
    FrmMain& w = f.Window();
    f.ShowActive();
    w.Text1[0]->setEnabled(true);
    w.Text1[1]->setEnabled(true);
    w.SetText1Text(1, "SN0042");
    int clicks = 0;
    QObject::connect(w.Command1, &QPushButton::clicked, [&clicks] { ++clicks; });
    w.Text1[0]->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(w.Text1[0], Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), w.Text1[1]);
    EXPECT_EQ(Edit(w, 1)->selectedText(), "SN0042");

    QTest::keyPress(w.Text1[1], Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), w.Command1);
    QTest::keyRelease(w.Command1, Qt::Key_Return);
    EXPECT_EQ(clicks, 0);
}

TEST(FrmMainEntry, MaintainedDateGetsTodayWhenEmpty) {
    WindowFixture f;
    FrmMain& w = f.Window();
    w.SetText1Text(3, "");
    w.Text1_GotFocus(3);
    EXPECT_EQ(w.Text1Text(3), "2026-12-07");
    w.SetText1Text(3, "2025-01-01");
    w.Text1_GotFocus(3);
    EXPECT_EQ(w.Text1Text(3), "2025-01-01");
    w.SetText1Text(5, "");
    w.Text1_GotFocus(5);
    EXPECT_EQ(w.Text1Text(5), "");
}

namespace {
// What an input method sends: a preedit shown under the caret, or a commit
// (with the preedit gone); both empty is a preedit abandoned.
struct InputMethodStep {
    QString preedit;
    QString commit;
};

void Send(QWidget* field, const InputMethodStep& step) {
    QInputMethodEvent event(step.preedit, {});
    event.setCommitString(step.commit);
    QApplication::sendEvent(field, &event);
}

// Whether the radio's field takes text, by this test's own map: a byte text
// only 7-bit characters, a code page 936 text the characters the code page
// has; either no more bytes than the field is wide.
bool FieldHolds(const area::Field& field, const QString& text) {
    std::size_t bytes = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const qsizetype units = text[at].isHighSurrogate() ? 2 : 1;
        const std::u16string character = text.mid(at, units).toStdU16String();
        at += units - 1;
        if (field.Type == area::Kind::ByteText) {
            if (units != 1 || character[0] >= 0x80) {
                return false;
            }
            ++bytes;
            continue;
        }
        const auto encoded = area::EncodeGbk(character);
        if (!encoded) {
            return false;
        }
        bytes += encoded->size();
    }
    return bytes <= field.Width;
}
} // namespace

// Text an input method commits never passes the key handler; the fields'
// own rules hold it to what the keys may type: the field's length cuts a
// commit as it cuts keys, what is left is refused whole when the radio's
// field could not hold it, and a preedit changes nothing.
TEST(FrmMainEntry, InputMethodTextKeepsTheKeyRules) {
    if (!area::KnowsGbk()) {
        GTEST_SKIP() << "this build cannot encode code page 936";
    }
    const QString fourteenBytes = Q("经销商经销商经");
    const struct {
        const char* tries;
        std::vector<InputMethodStep> steps;
    } cases[] = {
        {"ASCII", {{{}, "D-17"}}},
        {"Chinese", {{{}, Q("经销商A")}}},
        {"up to the byte limit", {{{}, fourteenBytes}, {{}, Q("中")}}},
        {"over the byte limit", {{{}, fourteenBytes}, {{}, Q("中文")}}},
        {"ASCII over the byte limit", {{{}, "ABCDEFGHIJKLMN"}, {{}, Q("中文")}}},
        {"outside code page 936, beyond the BMP", {{{}, "A"}, {{}, Q("😀")}}},
        {"outside code page 936, Hebrew", {{{}, "A"}, {{}, Q("经ש")}}},
        {"a preedit abandoned", {{{}, "AB"}, {"zhong", {}}, {"zhongwen", {}}, {{}, {}}}},
        {"a preedit committed", {{{}, "AB"}, {"jing", {}}, {{}, Q("经")}}},
    };
    ASSERT_FALSE(area::EncodeGbk(Q("😀").toStdU16String()));
    ASSERT_FALSE(area::EncodeGbk(Q("ש").toStdU16String()));

    WindowFixture f;
    FrmMain& w = f.Window();
    f.ShowActive();
    for (const area::Field& field : area::Fields) {
        if (!field.Written || field.Text1 < 0) {
            continue; // the dealer types only into the fields a write sends
        }
        QLineEdit* edit = Edit(w, static_cast<std::size_t>(field.Text1));
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(field.Name) + ": " + c.tries);
            edit->clear();
            edit->setFocus(Qt::MouseFocusReason);
            QString expected;
            for (const InputMethodStep& step : c.steps) {
                Send(edit, step);
                // The field's maximum length, as many characters as its
                // bytes, cuts what it is given first, as it cuts keys.
                const QString given =
                    step.commit.left(static_cast<qsizetype>(field.Width) - expected.size());
                if (FieldHolds(field, expected + given)) {
                    expected += given;
                }
                EXPECT_EQ(edit->text(), expected)
                    << "after " << step.preedit.toStdString() << "|" << step.commit.toStdString();
            }
        }
    }
}

// Geometry, captions and initial states of the window in both languages.
#include "WindowFixture.h"

#include "window/ElidedComboBox.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {
struct Edge {
    const char* name;
    QWidget* label;
    float right;
};

std::vector<Edge> LabelEdges(FrmMain& w) {
    std::vector<Edge> edges{
        {"Label2", w.Label2, 1990}, {"Label4", w.Label4, 1180}, {"Label5", w.Label5, 1180}};
    for (std::size_t i = 0; i <= 14; ++i) {
        edges.push_back({"Label1", w.Label1[i], i >= 9 && i <= 12 ? 1870.0f : 1990.0f});
    }
    return edges;
}
} // namespace

TEST(FrmMainLayout, LabelsEndJustLeftOfTheirFieldsInBothLanguages) {
    for (const std::uint32_t locale : {0x0409u, 0x0804u}) {
        WindowFixture f(locale);
        for (const Edge& edge : LabelEdges(f.Window())) {
            const TwipsRect r = f.Window().Geometry(edge.label);
            EXPECT_FLOAT_EQ(r.Right(), edge.right) << edge.name << " " << locale;
            EXPECT_GT(r.Width, 0) << edge.name;
        }
    }
}

TEST(FrmMainLayout, LocaleChoosesTheLanguage) {
    struct Case {
        std::uint32_t locale;
        int langType;
        const char* read;
        const char* frame;
        const char* question;
    };
    const Case cases[] = {
        {0x0804, 2, "读出(&R)", "机器设置", "频段类型不同。是否覆盖？"},
        {0x0409, 1, "&Read", "Radio Setting", "Frequencys is different. Overwrite?"},
        {0x0404, 1, "&Read", "Radio Setting", "Frequencys is different. Overwrite?"},
        {0x0C04, 1, "&Read", "Radio Setting", "Frequencys is different. Overwrite?"},
    };
    for (const Case& c : cases) {
        WindowFixture f(c.locale);
        FrmMain& w = f.Window();
        EXPECT_EQ(w.LangType(), c.langType);
        EXPECT_EQ(w.Command1->text(), Q(c.read));
        EXPECT_EQ(w.Frame1->title(), Q(c.frame));
        EXPECT_EQ(w.MsgFreqDiff[static_cast<std::size_t>(c.langType)],
                  Q(c.question).toStdU16String());
    }
}

TEST(FrmMainLayout, CaptionsDifferFromTheInitialChineseOnes) {
    WindowFixture f(0x0804);
    FrmMain& w = f.Window();
    EXPECT_EQ(w.Label1[6]->text(), Q("主板固件"));
    EXPECT_EQ(w.Label1[14]->text(), Q("LCD固件"));
    EXPECT_EQ(w.Label1[10]->text(), Q("入库时间"));
    EXPECT_EQ(w.Label1[13]->text(), Q("编程密码"));
    EXPECT_EQ(w.Label3->text(), Q("串口选择:"));
    EXPECT_EQ(w.Command4->text(), Q("写入多台(&M)"));
    EXPECT_EQ(w.Label6->text(), QString());

    WindowFixture english(0x0409);
    EXPECT_EQ(english.Window().Label1[8]->text(), "User Code");
    EXPECT_EQ(english.Window().Check1->text(), "Factory");
    EXPECT_EQ(english.Window().Label4->text(), "Radio Count:");
}

TEST(FrmMainLayout, ControlsStandWhereTheLayoutPutsThem) {
    WindowFixture f;
    FrmMain& w = f.Window();
    struct Place {
        QWidget* control;
        TwipsRect rect;
    };
    const Place places[] = {
        {w.Frame1, {0, 120, 9615, 8295}},       {w.Combo1[1], {2040, 2640, 7455, 345}},
        {w.Text1[12], {2040, 3000, 4695, 330}}, {w.Text1[4], {2040, 5280, 4695, 1005}},
        {w.Text1[9], {1905, 600, 4695, 330}},   {w.Command3, {7200, 5640, 1455, 375}},
        {w.Frame4, {6960, 3480, 1935, 1815}},   {w.Text2[1], {1200, 960, 615, 240}},
    };
    for (const Place& p : places) {
        const TwipsRect r = w.Geometry(p.control);
        EXPECT_EQ(r.Left, p.rect.Left);
        EXPECT_EQ(r.Top, p.rect.Top);
        EXPECT_EQ(r.Width, p.rect.Width);
        EXPECT_EQ(r.Height, p.rect.Height);
        EXPECT_EQ(p.control->geometry(), ToPixels(p.rect, w.Dpi()));
    }
    EXPECT_EQ(w.size(), QSize(TwipsToPixels(9630, w.Dpi()), TwipsToPixels(8505, w.Dpi())));
    EXPECT_EQ(w.windowTitle(), "Radio Information Tool");
    EXPECT_EQ(w.Label6->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(w.windowIcon().isNull());
}

TEST(FrmMainLayout, OnlyTheDealerSettingsAcceptInput) {
    WindowFixture f;
    FrmMain& w = f.Window();
    f.ShowActive();
    std::vector<QWidget*> input{w.Combo1[1], w.Text1[8], w.Text1[9], w.Text1[10], w.Text1[11],
                                w.Text1[12], w.Check8,   w.Check2,   w.Check3,    w.Combo2,
                                w.Command1,  w.Command2, w.Command3};
    std::vector<QWidget*> others{w.Combo1[0], w.Text1[0], w.Text1[1], w.Text1[2], w.Text1[3],
                                 w.Text1[4],  w.Text1[5], w.Text1[6], w.Text1[7], w.Text1[13],
                                 w.Check1,    w.Command4, w.Text2[0], w.Text2[1]};
    for (QWidget* control : input) {
        EXPECT_TRUE(control->isEnabled() && control->isVisible())
            << control->metaObject()->className();
    }
    for (QWidget* control : others) {
        EXPECT_FALSE(control->isEnabled() && control->isVisible())
            << control->metaObject()->className();
    }
    // The labels of the fields that only show what was read are greyed out
    // with them; the labels of what a dealer changes are not.
    const std::pair<QLabel*, bool> labels[] = {
        {w.Label1[1], true},   {w.Label1[13], true}, {w.Label1[9], true},  {w.Label1[10], true},
        {w.Label1[11], true},  {w.Label1[12], true}, {w.Label3, true},     {w.Label2, false},
        {w.Label1[0], false},  {w.Label1[2], false}, {w.Label1[3], false}, {w.Label1[4], false},
        {w.Label1[5], false},  {w.Label1[6], false}, {w.Label1[7], false}, {w.Label1[8], false},
        {w.Label1[14], false},
    };
    for (const auto& [label, enabled] : labels) {
        EXPECT_EQ(label->isEnabled(), enabled) << label->text().toStdString();
    }
    const std::pair<int, int> lengths[] = {{0, 4},  {1, 16}, {6, 8},  {7, 4},
                                           {8, 16}, {12, 4}, {13, 16}};
    for (const auto& [index, length] : lengths) {
        EXPECT_EQ(static_cast<QLineEdit*>(w.Text1[static_cast<std::size_t>(index)])->maxLength(),
                  length);
    }
    EXPECT_EQ(w.Text2[0]->maxLength(), 3);
    EXPECT_EQ(w.Text2[0]->text(), "10");
}

// The closed Frequency list shows as much of its entry as fits, ending in
// "…"; the tooltip and the open list have the whole text, and the list keeps
// its place (ControlsStandWhereTheLayoutPutsThem).
TEST(FrmMainLayout, TheClosedFrequencyListElidesWhatDoesNotFit) {
    WindowFixture f;
    FrmMain& w = f.Window();
    f.ShowActive();
    auto* list = dynamic_cast<ElidedComboBox*>(w.Combo1[1]);
    ASSERT_NE(list, nullptr);
    w.Command1->setFocus(); // no focus frame in either picture
    ASSERT_EQ(list->count(), 2);
    for (int i = 0; i < list->count(); ++i) {
        list->setCurrentIndex(i);
        const QString whole = list->itemText(i);
        const QString shown = list->ClosedText();
        ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
        EXPECT_TRUE(whole.startsWith(shown.chopped(1))) << shown.toStdString();
        EXPECT_GT(shown.size(), 20) << "as much as fits";
        EXPECT_LT(list->fontMetrics().horizontalAdvance(shown), list->width());
        EXPECT_EQ(list->toolTip(), whole);
        EXPECT_EQ(list->currentText(), whole);

        // What is painted is that text, as a list holding it paints it.
        QComboBox plain(list->parentWidget());
        plain.setGeometry(list->geometry());
        plain.addItem(shown);
        plain.show();
        EXPECT_EQ(list->grab().toImage(), plain.grab().toImage());
    }
}

TEST(FrmMainLayout, TabVisitsTheControlsInOrderAndWraps) {
    WindowFixture f;
    FrmMain& w = f.Window();
    f.ShowActive();
    const std::vector<QWidget*> expected{
        w.Combo1[1], w.Command1,  w.Command2,  w.Command3, w.Combo2, w.Text1[8], w.Text1[9],
        w.Text1[10], w.Text1[11], w.Text1[12], w.Check8,   w.Check2, w.Check3,   w.Combo1[1]};
    ASSERT_EQ(QApplication::focusWidget(), w.Combo1[1]);
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected[i]) << "step " << i;
    }
}

// Enter presses a button as Space does, once per keystroke, and only an
// enabled one.
TEST(FrmMainLayout, EnterPressesTheFocusedButton) {
    struct Case {
        QPushButton* FrmMain::*button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool autoRepeat;
        bool enabled;
        int clicks;
    };
    const Case cases[] = {
        {&FrmMain::Command1, Qt::Key_Return, Qt::NoModifier, false, true, 1},
        {&FrmMain::Command2, Qt::Key_Enter, Qt::KeypadModifier, false, true, 1},
        {&FrmMain::Command3, Qt::Key_Return, Qt::NoModifier, false, true, 1},
        {&FrmMain::Command4, Qt::Key_Return, Qt::NoModifier, false, true, 1},
        {&FrmMain::Command1, Qt::Key_Space, Qt::NoModifier, false, true, 1},
        {&FrmMain::Command2, Qt::Key_Return, Qt::NoModifier, true, true, 0},
        {&FrmMain::Command1, Qt::Key_Return, Qt::NoModifier, false, false, 0},
        {&FrmMain::Command2, Qt::Key_Enter, Qt::KeypadModifier, false, false, 0},
    };
    for (const Case& c : cases) {
        WindowFixture f;
        FrmMain& w = f.Window();
        f.ShowActive();
        QPushButton* button = w.*c.button;
        button->setEnabled(c.enabled);
        button->setFocus(Qt::TabFocusReason);
        int clicks = 0;
        QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
        const QString text = c.key == Qt::Key_Space ? " " : "\r";
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, text, c.autoRepeat);
        QApplication::sendEvent(button, &press);
        QKeyEvent release(QEvent::KeyRelease, c.key, c.modifiers, text, c.autoRepeat);
        QApplication::sendEvent(button, &release);
        EXPECT_EQ(clicks, c.clicks) << button->text().toStdString() << " key " << c.key;
    }
}

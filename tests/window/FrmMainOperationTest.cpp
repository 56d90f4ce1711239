// The window while an operation runs and after it ends, against radio-sim.
#include "Processes.h"
#include "WindowFixture.h"
#include "window/QtTranslations.h"

#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Names a case by the Name of its row.
struct CaseName {
    template <class Row> std::string operator()(const testing::TestParamInfo<Row>& row) const {
        return row.param.Name;
    }
};

QByteArray Radio(const char* version = "V100") {
    QByteArray m(256, '\0');
    m.replace(0, 7, "KVT4610");
    m.replace(7, 4, version);
    m[0x0F] = 1; // the band of the defaults: no band question
    m.replace(0x20, 16, "2026113000000041");
    m.replace(0x60, 4, "OLD1");
    return m;
}

bool Busy(FrmMain& w) {
    return w.cursor().shape() == Qt::WaitCursor;
}

bool Idle(FrmMain& w) {
    return !Busy(w) && w.Command1->isEnabled() && w.Command2->isEnabled() &&
           w.Command4->isEnabled();
}

enum class Op { Read, Write };

struct SecondClick {
    const char* Name;
    Op first;
    Op second;
    const char16_t* done;
};

class FrmMainSecondClick : public testing::TestWithParam<SecondClick> {};
} // namespace

// A Read or Write click during an operation neither restarts nor disturbs it.
TEST_P(FrmMainSecondClick, IsIgnoredUntilTheOperationEnds) {
    const SecondClick& row = GetParam();
    QTemporaryDir dir;
    const QString saved = dir.filePath("saved.bin");
    SimulatedRadio radio(
        {"--image", WriteImage(dir, "radio.bin", Radio()), "--save", saved, "--latency", "30"});
    ASSERT_FALSE(radio.Device().isEmpty());
    WindowFixture f(0x0409, radio.Device());
    FrmMain& w = f.Window();
    w.Comm().ComPortNo = 1;
    static_cast<QLineEdit*>(w.Text1[8])->setText("NEW1");

    (row.first == Op::Read ? w.Command1 : w.Command2)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return row.first == Op::Read ? w.Comm().ReadStep == StepReadBlocks
                                     : w.Comm().WriteStep == StepWriteBlock;
    }));
    EXPECT_TRUE(Busy(w));
    EXPECT_FALSE(w.Command1->isEnabled() || w.Command2->isEnabled() || w.Command4->isEnabled());
    EXPECT_TRUE(w.Text1[8]->isEnabled()) << "the fields stay editable";
    // The handler itself refuses too, as for a click that arrives by a shortcut.
    row.second == Op::Read ? w.Command1_Click() : w.Command2_Click();
    w.Command4_Click();

    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Messages.empty(); }, 10000));
    ASSERT_EQ(f.Messages.size(), 1u);
    EXPECT_EQ(f.Messages[0].text, row.done);
    EXPECT_TRUE(f.Messages[0].readEnabled) << "the window is given back before the box";
    EXPECT_TRUE(Idle(w));

    const QStringList commands = radio.StopAndTranscript();
    EXPECT_EQ(commands.count("PROGRAM"), 1);
    EXPECT_EQ(commands.count("END"), 1);
    QByteArray expected = Radio();
    expected.replace(0x60, 16, QByteArray("NEW1").leftJustified(16, '\0'));
    if (row.first == Op::Write) {
        EXPECT_EQ(ReadFile(saved).mid(0x60, 16).toHex(' '), expected.mid(0x60, 16).toHex(' '));
    } else {
        EXPECT_EQ(ReadFile(saved).toHex(' '), Radio().toHex(' '));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FrmMainSecondClick,
    testing::Values(SecondClick{"ReadThenRead", Op::Read, Op::Read, u"Read Complete!"},
                    SecondClick{"ReadThenWrite", Op::Read, Op::Write, u"Read Complete!"},
                    SecondClick{"WriteThenWrite", Op::Write, Op::Write, u"Write Complete!"},
                    SecondClick{"WriteThenRead", Op::Write, Op::Read, u"Write Complete!"}),
    CaseName());

namespace {
struct Ending {
    const char* Name;
    QStringList simArguments; // empty: no radio, the port does not open
    bool exitMidway;
    const char16_t* firstLine; // nullptr: no box
};

class FrmMainOperationEnd : public testing::TestWithParam<Ending> {};
} // namespace

// Every way a Write ends gives the window back: buttons, cursor, port.
TEST_P(FrmMainOperationEnd, GivesTheWindowBack) {
    const Ending& row = GetParam();
    QTemporaryDir dir;
    std::unique_ptr<SimulatedRadio> radio;
    QString device = "/nonexistent/tty";
    if (!row.simArguments.isEmpty()) {
        radio = std::make_unique<SimulatedRadio>(row.simArguments);
        device = radio->Device();
    }
    WindowFixture f(0x0409, device);
    FrmMain& w = f.Window();
    w.Comm().ComPortNo = 1;

    w.Command2->click();
    if (row.exitMidway) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.Comm().WriteStep == StepWriteBlock; }));
        w.Command3->click();
        // The radio being written is finished first, quietly; then the window closes.
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.Comm().OperationMode == ModeIdle; }, 10000));
        EXPECT_EQ(radio->StopAndTranscript(), WriteCommands) << "every block and END";
    } else {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Messages.empty(); }, 10000));
    }
    if (row.firstLine != nullptr) {
        ASSERT_EQ(f.Messages.size(), 1u);
        EXPECT_TRUE(f.Messages[0].text.starts_with(row.firstLine));
        EXPECT_TRUE(f.Messages[0].readEnabled);
    } else {
        EXPECT_TRUE(f.Messages.empty());
    }
    EXPECT_TRUE(Idle(w));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FrmMainOperationEnd,
    testing::Values(
        Ending{"Complete", {"--latency", "20"}, false, u"Write Complete!"},
        Ending{"Silence", {"--silent-from", InWrite("W 3B00")}, false, u"Communication Error!"},
        Ending{"ModelError", {"--version", "V120"}, false, u"Model Type or Version"},
        Ending{"NoPort", {}, false, u"Cannot Open Communication Port."},
        Ending{"Exit", {"--latency", "30"}, true, nullptr}),
    CaseName());

// The window shows the protocol's second line in its own language.
TEST(FrmMainFailureLine, NamesThePortAndDeviceInChinese) {
    SimulatedRadio radio({"--silent-from", InWrite("W 3B00")});
    WindowFixture f(0x0804, radio.Device());
    FrmMain& w = f.Window();
    w.Comm().ComPortNo = 1;
    w.Command2->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Messages.empty(); }, 10000));
    const QString expected = Q("Communication Error!\r\nCOM1 (%1) 上的对讲机对 W 3B00 没有应答。"
                               "没有数据块被确认。对讲机可能只写入了一部分，请重新写入。"
                               "请检查对讲机是否开机、数据线是否插好、端口是否选对。")
                                 .arg(radio.Device());
    EXPECT_EQ(QString::fromStdU16String(f.Messages.back().text), expected);
}

namespace {
struct ButtonTexts {
    const char* Name;
    int langType;
    const char* ok;
    const char* cancel;
};

class FrmMainBoxButtons : public testing::TestWithParam<ButtonTexts> {};
} // namespace

TEST_P(FrmMainBoxButtons, SpeakTheWindowsLanguage) {
    const ButtonTexts& row = GetParam();
    const auto translator = InstallQtTranslations(row.langType);
    QMessageBox box(QMessageBox::NoIcon, FrmMain::Title(), "?",
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), Q(row.ok));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), Q(row.cancel));
}

INSTANTIATE_TEST_SUITE_P(Rows, FrmMainBoxButtons,
                         testing::Values(ButtonTexts{"English", 1, "OK", "Cancel"},
                                         ButtonTexts{"Chinese", 2, "确定", "取消"}),
                         CaseName());

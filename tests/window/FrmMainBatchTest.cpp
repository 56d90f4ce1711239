// The batch behind the hidden panel, driven through Command4_Click against
// radio-sim's batch bench.
#include "Processes.h"
#include "WindowFixture.h"
#include "doubles/AreaMap.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Radio i of the bench: the sample radio with its own serial number.
QByteArray BenchRadio(int i) {
    QByteArray m(256, '\0');
    m.replace(0, 11, "KVT4610V110");
    m.replace(0x0B, 6, QByteArray("\x01\x00\x01\x00\x00\x90", 6));
    m.replace(0x20, 16, QString("SN%1").arg(i, 14, 10, QChar('0')).toLatin1());
    m.replace(0xF0, 4, "keep");
    return m;
}

// What a batch radio must hold afterwards: its own bytes, the window's
// dealer settings (its Dealer Code, every other dealer text empty) and the
// defaults' band and flags.
QByteArray Written(const QByteArray& before, const QByteArray& dealer) {
    QByteArray m = before;
    m[static_cast<qsizetype>(area::Named("BandCode").Offset)] = 1;
    char& flags = m[static_cast<qsizetype>(area::Named("Flags").Offset)];
    flags = static_cast<char>(flags & ~area::DealerFlagBits);
    for (const area::Field& f : area::Fields) {
        if (f.Written && area::IsText(f)) {
            const auto width = static_cast<qsizetype>(f.Width);
            const QByteArray text =
                std::string_view(f.Name) == "DealerCode" ? dealer : QByteArray();
            m.replace(static_cast<qsizetype>(f.Offset), width, text.leftJustified(width, '\0'));
        }
    }
    return m;
}

struct Bench {
    QTemporaryDir dir;
    QString saved = dir.filePath("saved.bin");
    std::unique_ptr<SimulatedRadio> sim;

    Bench(int radios, const QString& timing, QStringList extra = {}) {
        QStringList images;
        for (int i = 1; i <= radios; ++i) {
            images << WriteImage(dir, QString("radio%1.bin").arg(i), BenchRadio(i));
        }
        sim = std::make_unique<SimulatedRadio>(
            QStringList{"--bench", timing, "--radios", QString::number(radios), "--bench-images",
                        images.join(','), "--save", saved} +
            extra);
    }
    QByteArray Saved(int i) const { return ReadFile(saved + "." + QString::number(i)); }
};

bool WaitFor(const std::function<bool()>& condition, int ms = 15000) {
    return QTest::qWaitFor(condition, ms);
}

void Start(WindowFixture& f, const char* count) {
    f.Window().Comm().ComPortNo = 1;
    f.Window().Text2[0]->setText(count);
    f.Window().Command4_Click();
}
} // namespace

TEST(FrmMainBatch, ThreeRadiosWithTheirFacesNumbersAndHints) {
    Bench bench(3, "0.2,1.2");
    WindowFixture f(0x0409, bench.sim->Device());
    FrmMain& w = f.Window();
    static_cast<QLineEdit*>(w.Text1[8])->setText("D1");
    Start(f, "3");
    EXPECT_EQ(w.Command4->text(), "Stop &MulWrite");
    EXPECT_FALSE(w.Command1->isEnabled() || w.Command2->isEnabled());
    EXPECT_EQ(w.Text2[1]->text(), "1");
    EXPECT_EQ(w.Label6->text(), "Writting Data...");

    ASSERT_TRUE(WaitFor([&] { return w.Text2[1]->text() == "2"; }));
    EXPECT_EQ(w.Label6->text(), "Waitting next...");
    // A radio count typed now is for the next batch; a dealer code reaches the next radio.
    w.Text2[0]->setText("1");
    static_cast<QLineEdit*>(w.Text1[8])->setText("D2");
    ASSERT_TRUE(WaitFor([&] { return w.Text2[1]->text() == "3"; }));
    ASSERT_TRUE(WaitFor([&] { return !f.Messages.empty(); }));

    const ShownMessage& done = f.Messages.front();
    EXPECT_EQ(done.text, u"MulWrite Complete!");
    EXPECT_EQ(done.command4, "&MulWrite") << "idle face before the box";
    EXPECT_EQ(done.text2_1, "");
    EXPECT_EQ(done.label6, "");
    EXPECT_TRUE(done.readEnabled);
    EXPECT_EQ(w.Comm().OperationMode, ModeIdle);
    EXPECT_EQ(f.Messages.size(), 1u);

    bench.sim->StopAndTranscript();
    EXPECT_EQ(bench.Saved(1).toHex(' '), Written(BenchRadio(1), "D1").toHex(' '));
    EXPECT_EQ(bench.Saved(2).toHex(' '), Written(BenchRadio(2), "D2").toHex(' '));
    EXPECT_EQ(bench.Saved(3).toHex(' '), Written(BenchRadio(3), "D2").toHex(' '));
    EXPECT_EQ(w.Text1Text(1), "2026120700000004") << "the serial number advanced three times";
}

TEST(FrmMainBatch, CountsOfZeroAndOneWriteOneRadio) {
    for (const char* count : {"0", "1", "-4"}) {
        Bench bench(2, "5,1");
        WindowFixture f(0x0409, bench.sim->Device());
        Start(f, count);
        ASSERT_TRUE(WaitFor([&] { return !f.Messages.empty(); })) << count;
        EXPECT_EQ(f.Messages[0].text, u"MulWrite Complete!");
        const QStringList commands = bench.sim->StopAndTranscript();
        EXPECT_EQ(commands.count("END"), 1) << count;
    }
}

TEST(FrmMainBatch, ChineseTexts) {
    Bench bench(2, "0.2,1.2");
    WindowFixture f(0x0804, bench.sim->Device());
    FrmMain& w = f.Window();
    Start(f, "2");
    EXPECT_EQ(w.Command4->text(), Q("停止写入多台(&M)"));
    EXPECT_EQ(w.Label6->text(), Q("正在写设置数据..."));
    ASSERT_TRUE(WaitFor([&] { return w.Text2[1]->text() == "2"; }));
    EXPECT_EQ(w.Label6->text(), Q("请换下一台机器..."));
    ASSERT_TRUE(WaitFor([&] { return !f.Messages.empty(); }));
    EXPECT_EQ(f.Messages[0].command4, Q("写入多台(&M)"));
}

TEST(FrmMainBatch, StopWhileTheNextRadioIsAwaited) {
    Bench bench(2, "0.2,30");
    WindowFixture f(0x0409, bench.sim->Device());
    FrmMain& w = f.Window();
    Start(f, "3");
    ASSERT_TRUE(WaitFor([&] { return w.Text2[1]->text() == "2"; }));
    w.Command4_Click();
    EXPECT_EQ(w.Comm().OperationMode, ModeIdle);
    EXPECT_EQ(w.Command4->text(), "&MulWrite");
    EXPECT_TRUE(w.Command1->isEnabled() && w.Command2->isEnabled());
    EXPECT_EQ(w.Text2[1]->text(), "");
    EXPECT_TRUE(f.Messages.empty());
    QTest::qWait(600);
    EXPECT_TRUE(f.Messages.empty()) << "no time-out after a stop";
    const QStringList commands = bench.sim->StopAndTranscript();
    EXPECT_EQ(commands.count("END"), 1);
}

TEST(FrmMainBatch, StopDuringATransferFinishesThatRadio) {
    Bench bench(2, "0.2,1.2", {"--latency", "40"});
    WindowFixture f(0x0409, bench.sim->Device());
    FrmMain& w = f.Window();
    Start(f, "3");
    ASSERT_TRUE(WaitFor([&] { return w.Comm().WriteStep == StepWriteBlock; }));
    w.Command4_Click();
    EXPECT_EQ(w.Comm().OperationMode, ModeMulWrite) << "the radio on the cable is finished first";
    EXPECT_FALSE(w.Command1->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return w.Comm().OperationMode == ModeIdle; }));
    EXPECT_EQ(w.Command4->text(), "&MulWrite");
    EXPECT_TRUE(f.Messages.empty());
    bench.sim->StopAndTranscript();
    EXPECT_EQ(bench.Saved(1).toHex(' '), Written(BenchRadio(1), "").toHex(' '));
    EXPECT_TRUE(bench.Saved(2).isEmpty());
}

TEST(FrmMainBatch, FailuresReturnToTheIdleFace) {
    struct Case {
        const char* name;
        QStringList sim; // empty: no simulator, the port cannot open
        std::u16string message;
        bool halted; // the running face stays until Stop
    };
    const Case cases[] = {
        {"port", {}, u"Cannot Open Communication Port.", false},
        {"silent", {"--silent-from", InWrite("PROGRAM")}, u"Communication Error!", false},
        {"model", {"--model", "KVT4611"}, u"Model Type or Version Error!", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<SimulatedRadio> sim;
        if (!c.sim.isEmpty()) {
            sim = std::make_unique<SimulatedRadio>(c.sim);
        }
        WindowFixture f(0x0409, sim ? sim->Device() : "/nonexistent/tty");
        FrmMain& w = f.Window();
        Start(f, "3");
        ASSERT_TRUE(WaitFor([&] { return !f.Messages.empty(); }));
        EXPECT_TRUE(f.Messages[0].text.starts_with(c.message));
        if (c.halted) {
            EXPECT_EQ(w.Comm().OperationMode, ModeMulWrite);
            EXPECT_EQ(w.Command4->text(), "Stop &MulWrite");
            w.Command4_Click();
        }
        EXPECT_EQ(w.Comm().OperationMode, ModeIdle);
        EXPECT_EQ(w.Command4->text(), "&MulWrite");
        EXPECT_TRUE(w.Command1->isEnabled() && w.Command2->isEnabled());
        EXPECT_EQ(w.Text2[1]->text(), "");
        w.Command4_Click(); // a following click starts a batch, it does not stop one
        EXPECT_EQ(w.Command4->text(), c.sim.isEmpty() ? "&MulWrite" : "Stop &MulWrite");
        w.Command4_Click();
    }
}

TEST(FrmMainBatch, ACountThatIsNoWholeNumberStartsNothing) {
    for (const char* count : {"", "abc", "1.5", "1e3", "-"}) {
        for (const std::uint32_t locale : {0x0409u, 0x0804u}) {
            WindowFixture f(locale, "/nonexistent/tty");
            Start(f, count);
            ASSERT_EQ(f.Messages.size(), 1u) << count;
            EXPECT_EQ(f.Messages[0].text, locale == 0x0409
                                              ? u"The radio count must be a whole number."
                                              : u"写入台数必须是整数。");
            EXPECT_EQ(f.Window().Comm().OperationMode, ModeIdle);
            EXPECT_EQ(f.Window().Command4->text(),
                      locale == 0x0409 ? "&MulWrite" : Q("写入多台(&M)"));
            EXPECT_TRUE(f.Window().Command1->isEnabled());
        }
    }
}

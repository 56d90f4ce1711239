// Start-up with the saved port, the port list refresh and the settings file.
#include "Processes.h"
#include "WindowFixture.h"

#include <QFile>
#include <QListView>
#include <QTest>
#include <gtest/gtest.h>

namespace {
void WriteSettings(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray ReadSettings(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

QStringList Entries(const QComboBox* combo) {
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}
} // namespace

TEST(FrmMainPorts, StartUpSelectsTheSavedOrTheFirstListedPort) {
    struct Case {
        const char* name;
        std::optional<QByteArray> settings; // none: no file
        std::vector<SystemPort> listed;
        const char* selected; // "" for none
        QByteArray afterwards;
    };
    const Case cases[] = {
        // Start-up moves the selection but saves nothing: only the dealer's pick does.
        {"no file", std::nullopt, Listed({"COM3", "COM4"}), "COM3", "<no file>"},
        {"7 listed", "[language]\ncomPort=7\n", Listed({"COM1", "COM7"}), "COM7",
         "[language]\ncomPort=7\n"},
        {"7 not listed", "[language]\ncomPort=7\n", Listed({"COM5", "COM1"}), "COM5",
         "[language]\ncomPort=7\n"},
        {"0", "[language]\ncomPort=0\n", Listed({"COM2"}), "COM2", "[language]\ncomPort=0\n"},
        {"empty", "[language]\ncomPort=\n", Listed({"COM2"}), "COM2", "[language]\ncomPort=\n"},
        {"letters", "[language]\ncomPort=abc\n", Listed({"COM2"}), "COM2",
         "[language]\ncomPort=abc\n"},
        {"no ports", "; mine\n[language]\ncomPort=9\n", {}, "", "; mine\n[language]\ncomPort=9\n"},
        {"no ports, no file", std::nullopt, {}, "", "<no file>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
        if (c.settings) {
            WriteSettings(f.SettingsPath(), *c.settings);
        }
        f.Ports->Listed = c.listed;
        f.FormLoad();
        FrmMain& w = f.Window();
        EXPECT_EQ(w.Combo2->currentText(), QString::fromLatin1(c.selected));
        EXPECT_EQ(w.Comm().ComPortNo, QString::fromLatin1(c.selected).mid(3).toInt());
        EXPECT_EQ(ReadSettings(f.SettingsPath()), c.afterwards);
        EXPECT_TRUE(w.ReShowComPortTimer.isActive());
        EXPECT_TRUE(f.Messages.empty());
    }
}

TEST(FrmMainPorts, FixedListHoldsCom1ToCom256) {
    for (const auto& [saved, selected] :
         {std::pair{5, "COM5"}, std::pair{300, ""}, std::pair{0, ""}}) {
        WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
        WriteSettings(f.SettingsPath(), "[language]\ncomPort=" + QByteArray::number(saved) + "\n");
        f.FixedList = true;
        f.Ports->Listed = Listed({"COM9"});
        f.FormLoad();
        FrmMain& w = f.Window();
        ASSERT_EQ(w.Combo2->count(), 256);
        EXPECT_EQ(w.Combo2->itemText(0), "COM1");
        EXPECT_EQ(w.Combo2->itemText(255), "COM256");
        EXPECT_EQ(w.Combo2->currentText(), QString::fromLatin1(selected));
        EXPECT_FALSE(w.ReShowComPortTimer.isActive());
    }
}

TEST(FrmMainPorts, UnknownSystemIsSaidInChineseAndUsesTheSystemList) {
    WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
    f.OsQueryFails = true;
    f.Ports->Listed = Listed({"COM2"});
    f.FormLoad();
    ASSERT_EQ(f.Messages.size(), 1u);
    EXPECT_EQ(f.Messages[0].text, u"未知操作系统");
    EXPECT_EQ(f.Messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(f.Window().Combo2->currentText(), "COM2");
}

TEST(FrmMainPorts, RefreshFollowsThePortsAndWinsTheRememberedOneBack) {
    struct Tick {
        std::vector<SystemPort> listed;
        const char* selected; // "" for none
    };
    struct Case {
        const char* name;
        QByteArray settings;
        std::vector<Tick> ticks; // the first is start-up
    };
    const Case cases[] = {
        {"vanishes and returns",
         "[language]\ncomPort=4\n",
         {{Listed({"COM4", "COM1"}), "COM4"},
          {Listed({"COM1", "COM2"}), "COM1"},
          {Listed({"COM1", "COM2", "COM4"}), "COM4"}}},
        {"cable plugged in after start-up",
         "[language]\ncomPort=7\n",
         {{Listed({"COM1"}), "COM1"}, {Listed({"COM1", "COM7"}), "COM7"}}},
        {"all gone, then another",
         "[language]\ncomPort=1\n",
         {{Listed({"COM1"}), "COM1"}, {{}, ""}, {Listed({"COM7"}), "COM7"}}},
        {"kept while still listed",
         "[language]\ncomPort=9\n",
         {{Listed({"COM2", "COM3"}), "COM2"}, {Listed({"COM1", "COM2"}), "COM2"}}},
        // COM5 names no entry, so start-up selects none; the unchanged list's
        // first tick still selects its first port.
        {"leading zero",
         "[language]\ncomPort=5\n",
         {{Listed({"COM05", "COM1"}), ""},
          {Listed({"COM05", "COM1"}), "COM05"},
          {Listed({"COM05", "COM1"}), "COM05"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
        WriteSettings(f.SettingsPath(), c.settings);
        FrmMain& w = f.Window();
        for (std::size_t i = 0; i < c.ticks.size(); ++i) {
            SCOPED_TRACE(i);
            const Tick& tick = c.ticks[i];
            f.Ports->Listed = tick.listed;
            i == 0 ? f.FormLoad() : w.ReShowComPortTimer_Timer();
            const QString selected = QString::fromLatin1(tick.selected);
            EXPECT_EQ(w.Combo2->currentText(), selected);
            EXPECT_EQ(w.Comm().ComPortNo, selected.mid(3).toInt());
            EXPECT_EQ(w.Combo2->toolTip(),
                      selected.isEmpty() ? QString() : QStringLiteral("/dev/fake-") + selected);
        }
        EXPECT_EQ(ReadSettings(f.SettingsPath()), c.settings);
    }
}

TEST(FrmMainPorts, TheDealersPickIsSavedAndRemembered) {
    WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
    WriteSettings(f.SettingsPath(), "[language]\ncomPort=1\n");
    f.Ports->Listed = Listed({"COM1", "COM2"});
    f.FormLoad();
    FrmMain& w = f.Window();
    QTest::keyClick(w.Combo2, Qt::Key_Down);
    EXPECT_EQ(w.Combo2->currentText(), "COM2");
    EXPECT_EQ(ReadSettings(f.SettingsPath()), "[language]\ncomPort=2\n");

    f.Ports->Listed = Listed({"COM1"});
    w.ReShowComPortTimer_Timer();
    f.Ports->Listed = Listed({"COM1", "COM2"});
    w.ReShowComPortTimer_Timer();
    EXPECT_EQ(w.Combo2->currentText(), "COM2");
    EXPECT_EQ(ReadSettings(f.SettingsPath()), "[language]\ncomPort=2\n");
}

TEST(FrmMainPorts, AnUnchangedStampLeavesTheListUnscannedAndUntouched) {
    WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
    f.Ports->Stamp = PortStamp{1};
    f.Ports->Listed = Listed({"COM1", "COM2"});
    f.FormLoad();
    FrmMain& w = f.Window();
    w.Combo2->setCurrentIndex(1);
    const int scans = f.Ports->Scans;

    f.Ports->Listed = Listed({"COM3"}); // not seen while the stamp stands
    w.ReShowComPortTimer_Timer();
    EXPECT_EQ(f.Ports->Scans, scans);
    EXPECT_EQ(Entries(w.Combo2), QStringList({"COM1", "COM2"}));
    EXPECT_EQ(w.Combo2->currentText(), "COM2");

    f.Ports->Stamp = PortStamp{2};
    w.ReShowComPortTimer_Timer();
    EXPECT_EQ(f.Ports->Scans, scans + 1);
    EXPECT_EQ(Entries(w.Combo2), QStringList({"COM3"}));
    EXPECT_EQ(w.Combo2->currentText(), "COM3");
}

TEST(FrmMainPorts, AnOpenDropDownIsRebuiltOnlyWhenItCloses) {
    WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
    f.Ports->Listed = Listed({"COM1", "COM2"});
    f.FormLoad();
    FrmMain& w = f.Window();
    f.ShowActive();
    w.Combo2->showPopup();
    ASSERT_TRUE(w.Combo2->view()->isVisible());

    w.ReShowComPortTimer_Timer(); // unchanged
    f.Ports->Listed = Listed({"COM1", "COM2", "COM3"});
    w.ReShowComPortTimer_Timer(); // changed, but the list is open
    EXPECT_TRUE(w.Combo2->view()->isVisible()) << "an open drop-down stays open";
    EXPECT_EQ(Entries(w.Combo2), QStringList({"COM1", "COM2"}));

    // The dealer picks COM2 in the open list; the pick stands after the rebuild.
    QTest::keyClick(w.Combo2->view(), Qt::Key_Down);
    QTest::keyClick(w.Combo2->view(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(Entries(w.Combo2), QStringList({"COM1", "COM2", "COM3"}), 5000);
    EXPECT_EQ(w.Combo2->currentText(), "COM2");
    EXPECT_EQ(ReadSettings(f.SettingsPath()), "[language]\ncomPort=2\n");
}

TEST(FrmMainPorts, ExitClosesThePortWithoutAQuestion) {
    SimulatedRadio radio({"--silent-from", InRead("PROGRAM")});
    WindowFixture f(0x0409, radio.Device());
    FrmMain& w = f.Window();
    w.Comm().ComPortNo = 1;
    w.Command1->click(); // a read is running on a port that never answers
    ASSERT_EQ(w.Comm().OperationMode, ModeRead);
    w.Command3->click();
    EXPECT_FALSE(w.ReShowComPortTimer.isActive());
    EXPECT_TRUE(f.Messages.empty());
    EXPECT_FALSE(w.isVisible());
}

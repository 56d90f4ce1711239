// Every Read of the window keeps the radio's bytes; keeping them never
// changes what the dealer sees.
#include "Processes.h"
#include "WindowFixture.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// A radio with serial number 2026120900000077 and a different byte at every
// other address, so a copy that lost or moved one would show.
QByteArray Radio() {
    QByteArray m(256, '\0');
    for (int i = 0; i < m.size(); ++i) {
        m[i] = static_cast<char>(i * 7 + 3);
    }
    m.replace(0, 11, "KVT4610V110");
    m.replace(0x20, 16, "2026120900000077");
    return m;
}

// The names of the kept files, as readable text.
std::string KeptFiles(const WindowFixture& f) {
    return QDir(f.ReadsFolder()).entryList(QDir::Files).join(' ').toStdString();
}
} // namespace

// A copy that cannot be kept is told under "Read Complete!", in the window's
// language: the dealer must not count on an undo that is not there.
TEST(FrmMainKeptReads, AReadKeepsTheRadiosBytesOrSaysWhyItCouldNot) {
    const struct {
        const char* what;
        std::uint32_t locale;
        std::optional<QString> saveFailure;
        QStringList kept;
        std::u16string message;
    } cases[] = {
        {"kept",
         0x0409,
         std::nullopt,
         {"2026120900000077-20261207T142530Z-r1.bin"},
         u"Read Complete!"},
        {"the disk is full",
         0x0409,
         "No space left on device",
         {},
         u"Read Complete!\r\nThis read could not be kept for undoing a write: No space left on "
         u"device"},
        {"the disk is full, in Chinese",
         0x0804,
         "设备上没有空间",
         {},
         u"Read Complete!\r\n无法保留这次读出的副本，写入后将无法撤销：设备上没有空间"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        SimulatedRadio radio({"--image", WriteImage(dir, "radio.bin", Radio())});
        ASSERT_FALSE(radio.Device().isEmpty());
        WindowFixture f(c.locale, radio.Device());
        f.SaveFailure = c.saveFailure;
        f.Window().Comm().ComPortNo = 1;

        f.Window().Command1->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Messages.empty(); }, 10000));
        QTest::qWait(100);
        ASSERT_EQ(f.Messages.size(), 1u);
        EXPECT_EQ(f.Messages[0].text, c.message);
        EXPECT_EQ(f.Window().Text1Text(1), "2026120900000077");
        EXPECT_EQ(KeptFiles(f), c.kept.join(' ').toStdString());
        for (const QString& name : c.kept) {
            EXPECT_EQ(ReadFile(QDir(f.ReadsFolder()).filePath(name)).toHex(' ').toStdString(),
                      Radio().toHex(' ').toStdString());
        }
    }
}

// The window's Read keeps the radio; a wrong Write with the window is then
// undone by radioinfo-cli, to the last of the radio's 256 bytes.
TEST(FrmMainKeptReads, RestoreLatestUndoesAWrongWindowWrite) {
    QTemporaryDir dir;
    const QString memory = dir.filePath("memory.bin"); // the radio after each END
    SimulatedRadio radio({"--image", WriteImage(dir, "radio.bin", Radio()), "--save", memory});
    ASSERT_FALSE(radio.Device().isEmpty());
    WindowFixture f(0x0409, radio.Device());
    FrmMain& w = f.Window();
    w.Comm().ComPortNo = 1;
    const auto shown = [&f](std::size_t count) {
        return QTest::qWaitFor([&] { return f.Messages.size() >= count; }, 10000);
    };

    w.Command1->click();
    ASSERT_TRUE(shown(1));
    for (const auto& [index, text] : {std::pair{8u, "WRONG"}, {11u, "X"}, {12u, "0000"}}) {
        static_cast<QLineEdit*>(w.Text1[index])->setText(text);
    }
    for (QCheckBox* flag : {w.Check2, w.Check3, w.Check8}) {
        flag->setChecked(!flag->isChecked());
    }
    w.Combo1[1]->setCurrentIndex(1); // the radio's band byte has no entry: asked, answered OK
    w.Command2->click();
    ASSERT_TRUE(shown(3));
    ASSERT_EQ(f.Messages[2].text, u"Write Complete!");
    ASSERT_NE(ReadFile(memory).toHex(' '), Radio().toHex(' ')) << "wrongly written";

    const CliRun run = RunCli({"--port", radio.Device(), "restore", "--latest"}, "C", 20000,
                              {"XDG_DATA_HOME=" + f.Config.path()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    radio.StopAndTranscript();
    EXPECT_EQ(ReadFile(memory).toHex(' ').toStdString(), Radio().toHex(' ').toStdString());
}

TEST(FrmMainKeptReads, StartUpPrunesCopiesOlderThanAYearBeyondTheLastTen) {
    WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
    QDir().mkpath(f.ReadsFolder());
    QStringList old;
    for (int month = 1; month <= 12; ++month) {
        const QDateTime read(QDate(2024, month, 15), QTime(12, 0), Qt::UTC);
        old << "2026120900000077-" + read.toString("yyyyMMdd'T'HHmmss'Z'") + "-r" +
                   QString::number(month) + ".bin";
        QFile file(QDir(f.ReadsFolder()).filePath(old.back()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Radio());
    }
    f.FormLoad();
    EXPECT_EQ(KeptFiles(f), old.mid(2).join(' ').toStdString()) << "the two oldest go";
}

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

TEST(FrmMainKeptReads, AReadKeepsTheRadiosBytesAndSaysNothingOfIt) {
    const struct {
        const char* what;
        std::optional<QString> saveFailure;
        QStringList kept;
    } cases[] = {
        {"kept", std::nullopt, {"2026120900000077-20261207T142530Z.bin"}},
        {"the disk is full", "No space left on device", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        SimulatedRadio radio({"--image", WriteImage(dir, "radio.bin", Radio())});
        ASSERT_FALSE(radio.Device().isEmpty());
        WindowFixture f(0x0409, radio.Device());
        f.SaveFailure = c.saveFailure;
        f.Window().Comm().ComPortNo = 1;

        f.Window().Command1->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Messages.empty(); }, 10000));
        QTest::qWait(100);
        ASSERT_EQ(f.Messages.size(), 1u);
        EXPECT_EQ(f.Messages[0].text, u"Read Complete!");
        EXPECT_EQ(f.Window().Text1Text(1), "2026120900000077");
        EXPECT_EQ(KeptFiles(f), c.kept.join(' ').toStdString());
        for (const QString& name : c.kept) {
            EXPECT_EQ(ReadFile(QDir(f.ReadsFolder()).filePath(name)).toHex(' ').toStdString(),
                      Radio().toHex(' ').toStdString());
        }
    }
}

TEST(FrmMainKeptReads, StartUpPrunesCopiesOlderThanAYearBeyondTheLastTen) {
    WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
    QDir().mkpath(f.ReadsFolder());
    QStringList old;
    for (int month = 1; month <= 12; ++month) {
        const QDateTime read(QDate(2024, month, 15), QTime(12, 0), Qt::UTC);
        old << "2026120900000077-" + read.toString("yyyyMMdd'T'HHmmss'Z'") + ".bin";
        QFile file(QDir(f.ReadsFolder()).filePath(old.back()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    f.FormLoad();
    EXPECT_EQ(KeptFiles(f), old.mid(2).join(' ').toStdString()) << "the two oldest go";
}

// The kept reads: their names, one radio's copies newest first, and the
// pruning rules in virtual time.
#include "system/KeptReads.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <set>

namespace {
const QDateTime Now(QDate(2026, 12, 7), QTime(14, 25, 30), Qt::UTC);

// An information area of 0x5A bytes with serial (ASCII) in its serial number
// field, 16 bytes at 0x20.
InfoImage Image(const std::string& serial) {
    InfoImage image{};
    image.fill(0x5A);
    std::fill_n(image.begin() + 0x20, 16, std::uint8_t{0});
    std::copy(serial.begin(), serial.end(), image.begin() + 0x20);
    return image;
}

// The store in a fresh folder, on a clock the test sets; its save writes
// plainly, or fails with failure.
struct Store {
    TempDir temp;
    QString folder = QString::fromStdString((temp.Path() / "reads").string());
    QDateTime now = Now;
    std::optional<QString> failure;
    KeptReads reads{folder,
                    [this](const QString& path, const QByteArray& bytes) -> std::optional<QString> {
                        QFile file(path);
                        if (failure || !file.open(QIODevice::WriteOnly)) {
                            return failure.value_or(file.errorString());
                        }
                        file.write(bytes);
                        return std::nullopt;
                    },
                    [this] { return now; }};

    std::set<QString> Files() const {
        const QStringList names = QDir(folder).entryList(QDir::Files);
        return {names.begin(), names.end()};
    }
};

QString Name(const QString& serial, const QDateTime& utc, const QString& suffix = {}) {
    return serial + u'-' + utc.toString("yyyyMMdd'T'HHmmss'Z'") + suffix + ".bin";
}

// Names of serial's copies read first..last days ago, plus extra names.
std::set<QString> Copies(const QString& serial, int first, int last,
                         std::initializer_list<QString> extra = {}) {
    std::set<QString> names(extra);
    for (int days = first; days <= last; ++days) {
        names.insert(Name(serial, Now.addDays(-days)));
    }
    return names;
}

std::set<QString> operator+(std::set<QString> a, const std::set<QString>& b) {
    a.insert(b.begin(), b.end());
    return a;
}
} // namespace

TEST(KeptReads, AReadIsKeptUnderItsSerialNumberAndTime) {
    const std::pair<std::string, const char*> cases[] = {
        {"2026120100000005", "2026120100000005-20261207T142530Z.bin"},
        {"A/B 1", "A_B_1-20261207T142530Z.bin"},
        {"../x", "___x-20261207T142530Z.bin"},
        {"", "no-serial-20261207T142530Z.bin"},
    };
    for (const auto& [serial, name] : cases) {
        Store store;
        const KeptReads::Result kept = store.reads.Keep(Image(serial));
        EXPECT_EQ(kept.path, QDir(store.folder).filePath(name)) << serial;
        QFile file(kept.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray(0x20, 0x5A) +
                                      QByteArray::fromStdString(serial).leftJustified(16, 0) +
                                      QByteArray(0xD0, 0x5A));
        EXPECT_EQ(store.Files(), std::set<QString>{name});
    }
}

TEST(KeptReads, OneRadiosCopiesAreListedNewestFirst) {
    Store store;
    const std::pair<std::string, int> reads[] = {
        {"A1", 3}, {"B2", 2}, {"A1", 1}, {"A1", 0}, {"A1", 0}};
    for (const auto& [serial, daysAgo] : reads) {
        store.now = Now.addDays(-daysAgo);
        ASSERT_EQ(store.reads.Keep(Image(serial)).failure, QString());
    }
    QStringList listed;
    for (const KeptRead& read : store.reads.List("A1")) {
        listed << QFileInfo(read.path).fileName();
    }
    EXPECT_EQ(listed, QStringList({Name("A1", Now, "-2"), Name("A1", Now),
                                   Name("A1", Now.addDays(-1)), Name("A1", Now.addDays(-3))}));
    EXPECT_EQ(QFileInfo(store.reads.Newest("B2")->path).fileName(), Name("B2", Now.addDays(-2)));
    EXPECT_FALSE(store.reads.Newest("C3").has_value());
}

TEST(KeptReads, ASaveThatFailsOrNoSaveKeepsNothing) {
    Store store;
    store.failure = "No space left on device";
    EXPECT_EQ(store.reads.Keep(Image("A1")).failure, "No space left on device");
    const KeptReads noSave(store.folder, nullptr, [] { return Now; });
    const KeptReads::Result kept = noSave.Keep(Image("A1"));
    EXPECT_TRUE(kept.path.isEmpty() && !kept.failure.isEmpty());
    EXPECT_TRUE(store.Files().empty());
}

// Each row starts with its files in the folder, then keeps a read of radio Z.
TEST(KeptReads, KeepingPrunesToAYearAndTheLastTenOfEachRadio) {
    const QDateTime yearAgo = Now.addYears(-1);
    const std::set<QString> others{"notes.txt", "x.bin", "A-20200101T000000Z.bin.tmp",
                                   "A-20201307T000000Z.bin", "A-20200101T000000Z-1.bin"};
    const struct {
        const char* what;
        std::set<QString> before;
        std::set<QString> after;
    } cases[] = {
        {"eleven copies older than a year: the oldest goes", Copies("A", 400, 410),
         Copies("A", 400, 409)},
        {"twenty copies within a year all stay", Copies("A", 0, 19), Copies("A", 0, 19)},
        {"a copy a year old stays, one a second older goes",
         Copies("A", 1, 10, {Name("A", yearAgo), Name("A", yearAgo.addSecs(-1))}),
         Copies("A", 1, 10, {Name("A", yearAgo)})},
        {"the ten are counted for each radio", Copies("A", 1, 10) + Copies("B", 500, 502),
         Copies("A", 1, 10) + Copies("B", 500, 502)},
        {"copies within the year count toward the ten", Copies("A", 1, 4) + Copies("A", 400, 407),
         Copies("A", 1, 4) + Copies("A", 400, 405)},
        {"the new copy counts toward its radio's ten", Copies("Z", 400, 409),
         Copies("Z", 400, 408)},
        {"files of other names stay", Copies("A", 400, 411) + others,
         Copies("A", 400, 409) + others},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Store store;
        QDir().mkpath(store.folder);
        for (const QString& name : c.before) {
            ASSERT_TRUE(QFile(QDir(store.folder).filePath(name)).open(QIODevice::WriteOnly));
        }
        store.reads.Keep(Image("Z"));
        EXPECT_EQ(store.Files(), c.after + std::set<QString>{Name("Z", Now)});
    }
}

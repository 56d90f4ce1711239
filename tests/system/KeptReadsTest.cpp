// The kept reads: their names, the copies of one radio newest first, and the
// pruning rules in virtual time.
#include "system/KeptReads.h"
#include "TempDir.h"
#include "system/RadioImageName.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <set>

namespace {
const QDateTime Now(QDate(2026, 12, 7), QTime(14, 25, 30), Qt::UTC);

// An information area with serial (ASCII) in its serial number field at 0x20
// and fill in every byte outside that field.
InfoImage Image(const std::string& serial, std::uint8_t fill = 0x5A) {
    InfoImage image{};
    image.fill(fill);
    std::fill_n(image.begin() + 0x20, 16, std::uint8_t{0});
    std::copy(serial.begin(), serial.end(), image.begin() + 0x20);
    return image;
}

QByteArray Bytes(const InfoImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), 256);
}

// The store in a fresh folder on a clock the test moves; the save writes
// plainly, or fails with Failure.
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
    void Touch(const QString& name) const {
        QDir().mkpath(folder);
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
};

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The name of serial's copy read at the given time.
QString Name(const QString& serial, const QDateTime& utc, const QString& suffix = {}) {
    return serial + u'-' + utc.toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")) + suffix +
           QStringLiteral(".bin");
}

QDateTime DaysAgo(int days) {
    return Now.addSecs(-86400LL * days);
}

// Copies of serial read first..last days ago.
std::vector<QString> Copies(const QString& serial, int first, int last) {
    std::vector<QString> names;
    for (int days = first; days <= last; ++days) {
        names.push_back(Name(serial, DaysAgo(days)));
    }
    return names;
}

std::set<QString> Union(std::initializer_list<std::vector<QString>> groups) {
    std::set<QString> all;
    for (const auto& group : groups) {
        all.insert(group.begin(), group.end());
    }
    return all;
}
} // namespace

TEST(KeptReads, AReadIsKeptUnderItsSerialNumberAndTime) {
    struct Case {
        std::string serial;
        const char* name;
    };
    const Case cases[] = {
        {"2026120100000005", "2026120100000005-20261207T142530Z.bin"},
        {"A/B 1", "A_B_1-20261207T142530Z.bin"},
        {"../x", "___x-20261207T142530Z.bin"},
        {"", "no-serial-20261207T142530Z.bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.serial);
        Store store;
        const InfoImage image = Image(c.serial);
        const KeptReads::Result kept = store.reads.Keep(image);
        EXPECT_EQ(kept.failure, QString());
        EXPECT_EQ(kept.path, QDir(store.folder).filePath(c.name));
        EXPECT_EQ(FileBytes(kept.path), Bytes(image));
        EXPECT_EQ(store.Files(), std::set<QString>{c.name});
    }
}

TEST(KeptReads, TheCopiesOfOneRadioAreListedNewestFirst) {
    Store store;
    const std::pair<std::string, QDateTime> reads[] = {
        {"A1", DaysAgo(3)}, {"B2", DaysAgo(2)}, {"A1", DaysAgo(1)}, {"A1", Now}, {"A1", Now}};
    for (const auto& [serial, utc] : reads) {
        store.now = utc;
        ASSERT_FALSE(store.reads.Keep(Image(serial)).path.isEmpty());
    }
    QStringList listed;
    for (const KeptRead& read : store.reads.List("A1")) {
        listed << QFileInfo(read.path).fileName();
    }
    EXPECT_EQ(listed, QStringList({Name("A1", Now, "-2"), Name("A1", Now), Name("A1", DaysAgo(1)),
                                   Name("A1", DaysAgo(3))}));
    EXPECT_EQ(QFileInfo(store.reads.Newest("B2")->path).fileName(), Name("B2", DaysAgo(2)));
    EXPECT_FALSE(store.reads.Newest("C3").has_value());
}

TEST(KeptReads, ASaveThatFailsKeepsNothing) {
    Store store;
    store.failure = QStringLiteral("No space left on device");
    const KeptReads::Result kept = store.reads.Keep(Image("A1"));
    EXPECT_EQ(kept.failure, "No space left on device");
    EXPECT_EQ(kept.path, QString());
    EXPECT_TRUE(store.Files().empty());

    KeptReads noSave(store.folder, nullptr, [] { return Now; });
    EXPECT_FALSE(noSave.Keep(Image("A1")).failure.isEmpty());
    EXPECT_TRUE(store.Files().empty());
}

TEST(KeptReads, PruningKeepsAYearAndTheLastTenOfEachRadio) {
    const QDateTime yearAgo = Now.addYears(-1);
    struct Case {
        const char* what;
        std::set<QString> before;
        std::set<QString> after;
    };
    const Case cases[] = {
        {"eleven copies older than a year: the oldest goes", Union({Copies("A", 400, 410)}),
         Union({Copies("A", 400, 409)})},
        {"twenty copies within a year all stay", Union({Copies("A", 0, 19)}),
         Union({Copies("A", 0, 19)})},
        {"a copy a year old stays, one a second older goes",
         Union({Copies("A", 1, 10), {Name("A", yearAgo), Name("A", yearAgo.addSecs(-1))}}),
         Union({Copies("A", 1, 10), {Name("A", yearAgo)}})},
        {"the ten are counted for each radio", Union({Copies("A", 1, 10), Copies("B", 500, 502)}),
         Union({Copies("A", 1, 10), Copies("B", 500, 502)})},
        {"copies within the year count toward the ten",
         Union({Copies("A", 1, 4), Copies("A", 400, 407)}),
         Union({Copies("A", 1, 4), Copies("A", 400, 405)})},
        {"files of other names stay",
         Union({Copies("A", 400, 411), {"notes.txt", "A-20200101T000000Z.bin.tmp", "x.bin"}}),
         Union({Copies("A", 400, 409), {"notes.txt", "A-20200101T000000Z.bin.tmp", "x.bin"}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Store store;
        for (const QString& name : c.before) {
            store.Touch(name);
        }
        store.reads.Prune();
        EXPECT_EQ(store.Files(), c.after);
    }
}

TEST(KeptReads, KeepingPrunesAsWell) {
    Store store;
    for (const QString& name : Copies("A1", 400, 409)) {
        store.Touch(name);
    }
    store.reads.Keep(Image("A1"));
    EXPECT_EQ(store.Files(), Union({{Name("A1", Now)}, Copies("A1", 400, 408)}));
}

TEST(RadioImageName, OnlyNamesTheRuleMakesAreRead) {
    struct Case {
        const char* name;
        std::optional<RadioImageName> parsed;
    };
    const QDateTime t = Now;
    const Case cases[] = {
        {"2026120100000005-20261207T142530Z.bin", RadioImageName{"2026120100000005", t, 1}},
        {"A-B-20261207T142530Z-12.bin", RadioImageName{"A-B", t, 12}},
        {"X-20200101T000000Z-20261207T142530Z.bin", RadioImageName{"X-20200101T000000Z", t, 1}},
        {"no-serial-20261207T142530Z.bin", RadioImageName{"no-serial", t, 1}},
        {"A-20261207T142530Z-1.bin", std::nullopt},
        {"A-20261307T142530Z.bin", std::nullopt},
        {"A-20261207T142530.bin", std::nullopt},
        {"A-20261207T142530Z.bin.tmp", std::nullopt},
        {"A 1-20261207T142530Z.bin", std::nullopt},
        {"-20261207T142530Z.bin", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = ParseRadioImageName(c.name);
        ASSERT_EQ(parsed.has_value(), c.parsed.has_value());
        if (parsed) {
            EXPECT_EQ(parsed->serial, c.parsed->serial);
            EXPECT_EQ(parsed->utc, c.parsed->utc);
            EXPECT_EQ(parsed->sequence, c.parsed->sequence);
        }
    }
}

// The kept reads: their names, which copies are one radio's and in what
// order, the pruning rules in virtual time, and the folder's privacy.
#include "system/KeptReads.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <set>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {
const QDateTime Now(QDate(2026, 12, 7), QTime(14, 25, 30), Qt::UTC);

// An information area of 0x5A bytes with serial (its bytes as they stand) in
// the serial number field, 16 bytes at 0x20, then 0x00.
InfoImage Image(const std::string& serial, std::uint8_t fill = 0x5A) {
    InfoImage image{};
    image.fill(fill);
    std::fill_n(image.begin() + 0x20, 16, std::uint8_t{0});
    std::copy(serial.begin(), serial.end(), image.begin() + 0x20);
    return image;
}

QByteArray Bytes(const InfoImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), InfoImageSize);
}

// The store in a fresh folder, on a clock the test sets; its save is the
// programs' own, or fails with failure.
struct Store {
    TempDir temp;
    QString folder = QString::fromStdString((temp.Path() / "reads").string());
    QDateTime now = Now;
    std::optional<QString> failure;
    KeptReads reads{
        folder,
        [this](const std::function<QString(int)>& nameFor, const QByteArray& bytes) {
            return failure ? SavedFile{{}, failure} : KeptReads::DiskSave()(nameFor, bytes);
        },
        [this] { return now; }};

    std::set<QString> Files() const {
        const QStringList names = QDir(folder).entryList(QDir::Files);
        return {names.begin(), names.end()};
    }
    void Put(const QString& name, const InfoImage& image) const {
        QDir().mkpath(folder);
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Bytes(image));
    }
};

QString Stamp(const QDateTime& utc) {
    return utc.toString("yyyyMMdd'T'HHmmss'Z'");
}

// Names of serial's copies read first..last days ago, counted in that order
// of keeping (the oldest has the lowest number).
std::set<QString> Copies(const QString& serial, int first, int last) {
    std::set<QString> names;
    for (int days = first; days <= last; ++days) {
        names.insert(serial + u'-' + Stamp(Now.addDays(-days)) + "-r" +
                     QString::number(900 - days) + ".bin");
    }
    return names;
}

std::set<QString> operator+(std::set<QString> a, const std::set<QString>& b) {
    a.insert(b.begin(), b.end());
    return a;
}
} // namespace

TEST(KeptReads, AReadIsKeptUnderItsSerialNumberTimeAndNumber) {
    const std::pair<std::string, const char*> cases[] = {
        {"2026120100000005", "2026120100000005-20261207T142530Z-r1.bin"},
        {"A/B 1", "A_B_1-20261207T142530Z-r1.bin"},
        {"../x", "___x-20261207T142530Z-r1.bin"},
        {"", "no-serial-20261207T142530Z-r1.bin"},
    };
    for (const auto& [serial, name] : cases) {
        Store store;
        const KeptReads::Result kept = store.reads.Keep(Image(serial));
        EXPECT_EQ(kept.path, QDir(store.folder).filePath(name)) << serial;
        QFile file(kept.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), Bytes(Image(serial)));
        EXPECT_EQ(store.Files(), std::set<QString>{name});
    }
}

// Which copies are a radio's is told by the bytes in each file; which is
// newer by the order of keeping, however the clock went.
TEST(KeptReads, ARadiosCopiesAreItsBytesInTheOrderOfKeeping) {
    Store store;
    const std::string a = "\xBC\xD7"
                          "0001",
                      b = "\xD2\xD2"
                          "0001";                            // one label: _0001
    store.Put("A1-20300101T000000Z.bin", Image("A1", 0x01)); // named before numbers
    store.Put("A1-20300101T000000Z-2.bin", Image("A1", 0x02));
    store.Put(QString("A1-%1-r7.bin").arg(Stamp(Now)), Image("B2", 0x03)); // a label that lies
    store.Put("notes.bin", Image("A1"));
    const struct {
        std::string serial;
        int hoursLater;
        std::uint8_t fill;
        KeptReads::Kind kind = KeptReads::Kind::Read;
    } keeps[] = {
        {"A1", 0, 0x10},       {"A1", -48, 0x11}, {"A1", -48, 0x12},
        {a, 0, 0x13},          {b, 0, 0x14},      {"A1", 5, 0x15, KeptReads::Kind::BeforeRestore},
        {"\xFF\xFF", 0, 0x16},
    };
    for (const auto& keep : keeps) {
        store.now = Now.addSecs(3600 * keep.hoursLater);
        ASSERT_EQ(store.reads.Keep(Image(keep.serial, keep.fill), keep.kind).failure, QString());
    }
    const auto fills = [&](const std::string& serial) {
        std::vector<int> found;
        for (const KeptRead& read : store.reads.Of(Image(serial))) {
            found.push_back(read.image[0] + (read.beforeRestore ? 0x100 : 0));
        }
        return found;
    };
    EXPECT_EQ(fills("A1"), (std::vector<int>{0x115, 0x12, 0x11, 0x10, 0x02, 0x01}));
    EXPECT_EQ(fills("B2"), (std::vector<int>{0x03}));
    EXPECT_EQ(fills(a), (std::vector<int>{0x13}));
    EXPECT_EQ(fills(b), (std::vector<int>{0x14}));
    EXPECT_TRUE(fills("\xFF\xFF").empty()) << "an erased serial number proves nothing";
    EXPECT_TRUE(fills("   ").empty()) << "blanks prove nothing";
    EXPECT_EQ(store.reads.Latest(Image("A1"))->image[0], 0x12) << "never a restore's found copy";
    EXPECT_FALSE(store.reads.Latest(Image("C3")).has_value());
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

// Each row starts with its files in the folder, then keeps a read of radio Z
// as number 1000 (radio Y's copy took 999).
TEST(KeptReads, KeepingPrunesToAYearAndTheLastTenOfEachRadio) {
    const QDateTime yearAgo = Now.addYears(-1);
    const QString aYearOld = "A-" + Stamp(yearAgo) + "-r2.bin";
    const QString older = "A-" + Stamp(yearAgo.addSecs(-1)) + "-r1.bin";
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
         Copies("A", 1, 10) + std::set{aYearOld, older}, Copies("A", 1, 10) + std::set{aYearOld}},
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
        for (const QString& name : c.before) {
            store.Put(name, Image(name.section('-', 0, 0).toStdString()));
        }
        const QString y = "Y-" + Stamp(Now) + "-r999.bin";
        store.Put(y, Image("Y"));
        store.reads.Keep(Image("Z"));
        const std::set<QString> added{y, "Z-" + Stamp(Now) + "-r1000.bin"};
        EXPECT_EQ(store.Files(), c.after + added);
    }
}

// Two radios whose serial numbers give one label keep ten copies each.
TEST(KeptReads, TheLastTenAreCountedByTheRadiosBytesNotItsName) {
    Store store;
    for (int days = 400; days < 420; ++days) {
        const std::string serial = days % 2 == 0 ? "\xBC\xD7"
                                                   "0001"
                                                 : "\xD2\xD2"
                                                   "0001";
        store.Put("_0001-" + Stamp(Now.addDays(-days)) + "-r" + QString::number(500 - days) +
                      ".bin",
                  Image(serial));
    }
    store.reads.Keep(Image("Z"));
    EXPECT_EQ(store.reads
                  .Of(Image("\xBC\xD7"
                            "0001"))
                  .size(),
              10u);
    EXPECT_EQ(store.reads
                  .Of(Image("\xD2\xD2"
                            "0001"))
                  .size(),
              10u);
}

#ifndef _WIN32
// The copies hold the programming password: the tool's own folder is closed
// to others, also where it was open before.
TEST(KeptReads, TheFolderAndItsCopiesAreTheUsersAlone) {
    for (const bool existed : {false, true}) {
        Store store;
        if (existed) {
            QDir().mkpath(store.folder);
            QFile::setPermissions(store.folder, QFile::Permissions(0x7755));
        }
        const KeptReads::Result kept = store.reads.Keep(Image("A1"));
        ASSERT_EQ(kept.failure, QString());
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        EXPECT_EQ(QFile::permissions(store.folder) & others, QFile::Permissions()) << existed;
        EXPECT_EQ(QFile::permissions(kept.path) & others, QFile::Permissions()) << existed;
        EXPECT_TRUE(QFile::permissions(kept.path) & QFile::ReadOwner) << existed;
    }
}
#endif

#ifndef _WIN32
// What lies in the folder by hand: a link to a pipe is passed over unopened
// (opening it would wait for ever), a number past nine digits still counts,
// and a copy the caller cannot use is passed over for the next.
TEST(KeptReads, FilesPutThereByHandNeitherHangNorHideNewerCopies) {
    Store store;
    store.Put("A1-20261207T000000Z-r999999999.bin", Image("A1", 0x01));
    const QString pipe = QString::fromStdString((store.temp.Path() / "pipe").string());
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(pipe, QDir(store.folder).filePath("A1-20261207T000000Z-r5.bin")));
    ASSERT_EQ(store.reads.Keep(Image("A1", 0x02)).failure, QString());
    ASSERT_EQ(store.reads.Keep(Image("A1", 0x03)).failure, QString());
    std::vector<int> fills;
    for (const KeptRead& read : store.reads.Of(Image("A1"))) {
        fills.push_back(read.image[0]);
    }
    EXPECT_EQ(fills, (std::vector<int>{0x03, 0x02, 0x01}));
    const auto notThree = [](const InfoImage& image) { return image[0] != 0x03; };
    EXPECT_EQ(store.reads.Latest(Image("A1"), notThree)->image[0], 0x02);
}
#endif

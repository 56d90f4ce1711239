#include "KeptReads.h"

#include "DurableFile.h"
#include "RadioImageName.h"
#include "SystemError.h"
#include "record/SerialProof.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <tuple>

#ifdef _WIN32
#include <QStandardPaths>
#else
#include "ConfigDir.h"
#endif

namespace {
// The 256 bytes of a kept copy; nullopt for a file that cannot be read or is
// no information area.
std::optional<InfoImage> LoadCopy(const QString& path) {
    // Anything but a file of 256 bytes is passed over unopened: opening a
    // pipe (or a link to one) would wait for a writer for ever.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != InfoImageSize) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.read(InfoImageSize + 1);
    if (bytes.size() != InfoImageSize) {
        return std::nullopt;
    }
    InfoImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return image;
}

QString Reason(int code) {
    return QString::fromStdU16String(SystemErrorText(code));
}

// Last kept first. Copies named before names counted the keeping (number 0)
// are older than every counted one, and among themselves go by their time.
bool Newer(const KeptRead& a, const KeptRead& b) {
    return std::tie(a.number, a.utc, a.sequence, a.path) >
           std::tie(b.number, b.utc, b.sequence, b.path);
}
} // namespace

KeptReads::KeptReads(QString folder, DurableSave save, std::function<QDateTime()> nowUtc)
    : folder_(std::move(folder)), save_(std::move(save)), nowUtc_(std::move(nowUtc)) {}

QString KeptReads::DefaultFolder() {
#ifdef _WIN32
    // The first writable generic data folder on Windows is %LOCALAPPDATA%.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/radioinfo/reads");
#else
    return QFile::decodeName((RadioinfoDataDir() / "reads").c_str());
#endif
}

DurableSave KeptReads::DiskSave() {
    return [](const std::function<QString(int)>& nameFor, const QByteArray& bytes) {
        const auto pathFor = [&nameFor](int attempt) { return FilePath(nameFor(attempt)); };
        if (const auto error = MakeFoldersDurably(pathFor(1).parent_path())) {
            return SavedFile{{}, Reason(*error)};
        }
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        const NewFile saved =
            WriteNewFileDurably(pathFor, {data, static_cast<std::size_t>(bytes.size())});
        if (saved.error) {
            return SavedFile{{}, Reason(*saved.error)};
        }
        return SavedFile{QString::fromStdU16String(saved.path.u16string()), std::nullopt};
    };
}

// The copies hold the radio's programming password. The folder is the tool's
// own: one that a user or an older version left open to others is closed.
void KeptReads::KeepFolderPrivate() const {
#ifndef _WIN32
    constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner |
                                             QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser |
                                             QFile::ExeUser;
    if (QDir(folder_).exists() && (QFile::permissions(folder_) & ~OwnerOnly) != 0) {
        QFile::setPermissions(folder_, OwnerOnly);
    }
#endif
}

KeptReads::Result KeptReads::Keep(const InfoImage& image, Kind kind) const {
    Result result;
    if (!save_) {
        result.failure = QStringLiteral("no durable save is available");
        return result;
    }
    KeepFolderPrivate();
    const QString serial = SerialNoOf(image);
    const QDateTime now = nowUtc_();
    const std::int64_t first = NextNumber();
    const QDir dir(folder_);
    // Another program keeping a copy at the same moment takes a number too:
    // the next free one is this copy's.
    const auto nameFor = [&](int attempt) {
        return dir.filePath(
            KeptReadName(serial, now, first + attempt - 1, kind == Kind::BeforeRestore));
    };
    const QByteArray bytes(reinterpret_cast<const char*>(image.data()), InfoImageSize);
    const SavedFile saved = save_(nameFor, bytes);
    if (saved.failure) {
        result.failure = *saved.failure;
    } else {
        result.path = saved.path;
    }
    Prune();
    return result;
}

std::vector<KeptReads::Named> KeptReads::All() const {
    std::vector<Named> all;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList({QStringLiteral("*.bin")}, QDir::Files)) {
        if (const auto parsed = ParseRadioImageName(name)) {
            all.push_back({parsed->serial,
                           {dir.filePath(name), parsed->utc, parsed->number, parsed->sequence,
                            parsed->beforeRestore}});
        }
    }
    std::sort(all.begin(), all.end(),
              [](const Named& a, const Named& b) { return Newer(a.read, b.read); });
    return all;
}

std::int64_t KeptReads::NextNumber() const {
    std::int64_t last = 0;
    for (const Named& named : All()) {
        last = std::max(last, named.read.number);
    }
    return last + 1;
}

// Every file is read: a name can make two radios look alike.
std::vector<KeptRead> KeptReads::Of(const InfoImage& radio) const {
    std::vector<KeptRead> reads;
    const std::optional<std::string> serial = SerialField(radio);
    if (!serial) {
        return reads;
    }
    for (Named& named : All()) {
        const std::optional<InfoImage> image = LoadCopy(named.read.path);
        if (image && SerialField(*image) == serial) {
            named.read.image = *image;
            reads.push_back(std::move(named.read));
        }
    }
    return reads;
}

std::optional<KeptRead>
KeptReads::Latest(const InfoImage& radio,
                  const std::function<bool(const InfoImage&)>& usable) const {
    for (KeptRead& read : Of(radio)) {
        if (!read.beforeRestore && (!usable || usable(read.image))) {
            return std::move(read);
        }
    }
    return std::nullopt;
}

// Names tell which copies may be old enough to go; only those of a name
// with more than ten copies are read, to count each radio's last ten by
// its serial number's bytes. A copy that cannot be read or removed stays.
void KeptReads::Prune() const {
    const QDateTime yearAgo = nowUtc_().toUTC().addYears(-1);
    std::map<QString, std::vector<KeptRead>> byName;
    for (Named& named : All()) {
        byName[named.serial].push_back(std::move(named.read));
    }
    for (const auto& [serial, copies] : byName) {
        const bool someMayGo =
            copies.size() > static_cast<std::size_t>(LastKeptPerRadio) &&
            std::any_of(copies.begin() + LastKeptPerRadio, copies.end(),
                        [&](const KeptRead& copy) { return copy.utc < yearAgo; });
        if (!someMayGo) {
            continue;
        }
        std::map<std::optional<std::string>, int> newer;
        for (const KeptRead& copy : copies) {
            const std::optional<InfoImage> image = LoadCopy(copy.path);
            if (!image) {
                continue;
            }
            const int place = newer[SerialField(*image)]++;
            if (place >= LastKeptPerRadio && copy.utc < yearAgo) {
                QFile::remove(copy.path);
            }
        }
    }
}

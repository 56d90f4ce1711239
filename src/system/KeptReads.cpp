#include "KeptReads.h"

#include "DurableFile.h"
#include "RadioImageName.h"
#include "SystemError.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <map>
#include <tuple>

#ifdef _WIN32
#include <QStandardPaths>
#else
#include "ConfigDir.h"
#endif

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
    return [](const QString& path, const QByteArray& bytes) -> std::optional<QString> {
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        const auto error = WriteFileDurably(std::filesystem::path(path.toStdU16String()),
                                            {data, static_cast<std::size_t>(bytes.size())});
        if (!error) {
            return std::nullopt;
        }
        return QString::fromStdU16String(SystemErrorText(*error));
    };
}

// The copies hold the radio's programming password: a folder made here is
// the user's alone. One that cannot be made fails the save, which says why.
void KeptReads::MakeFolder() const {
    if (QDir(folder_).exists()) {
        return;
    }
    QDir().mkpath(folder_);
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

KeptReads::Result KeptReads::Keep(const InfoImage& image) const {
    Result result;
    if (!save_) {
        result.failure = QStringLiteral("no durable save is available");
        return result;
    }
    MakeFolder();
    const QString path = RadioImagePath(folder_, SerialNoOf(image), nowUtc_());
    const QByteArray bytes(reinterpret_cast<const char*>(image.data()), InfoImageSize);
    if (const auto failure = save_(path, bytes)) {
        result.failure = *failure;
    } else {
        result.path = path;
    }
    Prune();
    return result;
}

std::vector<KeptReads::Named> KeptReads::All() const {
    std::vector<Named> all;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList({QStringLiteral("*.bin")}, QDir::Files)) {
        if (const auto parsed = ParseRadioImageName(name)) {
            all.push_back({parsed->serial, {dir.filePath(name), parsed->utc, parsed->sequence}});
        }
    }
    std::sort(all.begin(), all.end(), [](const Named& a, const Named& b) {
        return std::tie(a.read.utc, a.read.sequence) > std::tie(b.read.utc, b.read.sequence);
    });
    return all;
}

std::vector<KeptRead> KeptReads::List(const QString& serialNo) const {
    const QString serial = FileNameSerial(serialNo);
    std::vector<KeptRead> reads;
    for (const Named& named : All()) {
        if (named.serial == serial) {
            reads.push_back(named.read);
        }
    }
    return reads;
}

std::optional<KeptRead> KeptReads::Newest(const QString& serialNo) const {
    std::vector<KeptRead> reads = List(serialNo);
    return reads.empty() ? std::nullopt : std::optional<KeptRead>(reads.front());
}

// A copy that cannot be removed stays; the next prune tries again.
void KeptReads::Prune() const {
    const QDateTime yearAgo = nowUtc_().toUTC().addYears(-1);
    std::map<QString, int> newer;
    for (const Named& named : All()) {
        const int place = newer[named.serial]++;
        if (place >= LastKeptPerRadio && named.read.utc < yearAgo) {
            QFile::remove(named.read.path);
        }
    }
}

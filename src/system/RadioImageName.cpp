#include "RadioImageName.h"

#include "record/FormFields.h"

#include <QDir>
#include <QRegularExpression>

namespace {
const QString TimeFormat = QStringLiteral("yyyyMMdd'T'HHmmss'Z'");
const QString BeforeRestore = QStringLiteral("-before-restore");

QString Stem(const QString& serialNo, const QDateTime& utc) {
    return FileNameSerial(serialNo) + u'-' + utc.toUTC().toString(TimeFormat);
}
} // namespace

QString SerialNoOf(const InfoImage& image) {
    ModData read;
    read.Image = image;
    read.UnpackImage();
    return QString::fromStdU16String(ShowFields(read.Record).Text1[1]);
}

QString FileNameSerial(const QString& serialNo) {
    QString safe;
    for (const QChar c : serialNo) {
        const bool kept = c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'-' || c == u'_');
        safe += kept ? c : QChar(u'_');
    }
    return safe.isEmpty() ? QStringLiteral("no-serial") : safe;
}

std::function<std::filesystem::path(int attempt)>
BackupNames(const QString& folder, const QString& serialNo, const QDateTime& utc) {
    return [folder = QDir(folder), stem = Stem(serialNo, utc)](int attempt) {
        const QString suffix = attempt > 1 ? u'-' + QString::number(attempt) : QString();
        return FilePath(folder.filePath(stem + suffix + QStringLiteral(".bin")));
    };
}

QString KeptReadName(const QString& serialNo, const QDateTime& utc, std::int64_t number,
                     bool beforeRestore) {
    return Stem(serialNo, utc) + QStringLiteral("-r") + QString::number(number) +
           (beforeRestore ? BeforeRestore : QString()) + QStringLiteral(".bin");
}

// The time is the last one in the name: a serial number may hold one too.
std::optional<RadioImageName> ParseRadioImageName(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^([A-Za-z0-9_-]+)-(\d{8}T\d{6}Z)(?:-([2-9]|[1-9]\d{1,8})|-r([1-9]\d{0,17})(-before-restore)?)?\.bin$)"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    // Read as UTC from the start: a local clock may skip the named hour.
    const QString stamp = match.captured(2);
    const QDateTime utc(QDate::fromString(stamp.left(8), QStringLiteral("yyyyMMdd")),
                        QTime::fromString(stamp.mid(9, 6), QStringLiteral("HHmmss")), Qt::UTC);
    if (!utc.isValid()) {
        return std::nullopt;
    }
    RadioImageName name{match.captured(1), utc};
    name.sequence = match.hasCaptured(3) ? match.captured(3).toInt() : 1;
    name.number = match.hasCaptured(4) ? match.captured(4).toLongLong() : 0;
    name.beforeRestore = match.hasCaptured(5);
    return name;
}

std::filesystem::path FilePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

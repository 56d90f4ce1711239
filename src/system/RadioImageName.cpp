#include "RadioImageName.h"

#include "record/FormFields.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString TimeFormat = QStringLiteral("yyyyMMdd'T'HHmmss'Z'");
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

QString RadioImagePath(const QString& folder, const QString& serialNo, const QDateTime& utc) {
    const QString stem = FileNameSerial(serialNo) + u'-' + utc.toUTC().toString(TimeFormat);
    const QDir dir(folder);
    QString path = dir.filePath(stem + QStringLiteral(".bin"));
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = dir.filePath(stem + u'-' + QString::number(n) + QStringLiteral(".bin"));
    }
    return path;
}

// The time is the last one in the name: a serial number may hold one too.
std::optional<RadioImageName> ParseRadioImageName(const QString& fileName) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^([A-Za-z0-9_-]+)-(\d{8}T\d{6}Z)(?:-([2-9]|[1-9]\d{1,8}))?\.bin$)"));
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
    const int sequence = match.hasCaptured(3) ? match.captured(3).toInt() : 1;
    return RadioImageName{match.captured(1), utc, sequence};
}

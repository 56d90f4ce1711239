#include "ImageFile.h"

#include "record/FormFields.h"
#include "system/DurableFile.h"
#include "system/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// Not QSaveFile: Qt 6.4's commit renames a file whose buffered write failed.
std::optional<QString> SaveImageFile(const QString& path, const InfoImage& image) {
    if (const auto error = WriteFileDurably(path.toStdU16String(), image)) {
        return QString::fromStdU16String(SystemErrorText(*error));
    }
    return std::nullopt;
}

ImageLoad LoadImageFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {std::nullopt, false, file.errorString()};
    }
    // One byte more than an image tells a longer file without reading it all.
    const QByteArray bytes = file.read(InfoImageSize + 1);
    if (bytes.size() != InfoImageSize) {
        return {std::nullopt, true, {}};
    }
    InfoImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return {image, false, {}};
}

QString SerialNoOf(const InfoImage& image) {
    ModData read;
    read.Image = image;
    read.UnpackImage();
    return QString::fromStdU16String(ShowFields(read.Record).Text1[1]);
}

namespace {
QString SafeSerial(const QString& serialNo) {
    QString safe;
    for (const QChar c : serialNo) {
        const bool kept = c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'-' || c == u'_');
        safe += kept ? c : QChar(u'_');
    }
    return safe.isEmpty() ? QStringLiteral("no-serial") : safe;
}
} // namespace

QString BackupPath(const QString& folder, const QString& serialNo, const QDateTime& utc) {
    const QString stem =
        SafeSerial(serialNo) + u'-' + utc.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QDir dir(folder);
    QString path = dir.filePath(stem + QStringLiteral(".bin"));
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = dir.filePath(stem + u'-' + QString::number(n) + QStringLiteral(".bin"));
    }
    return path;
}

#include "ImageFile.h"

#include "system/DurableFile.h"
#include "system/SystemError.h"

#include <QFile>

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

#include "ImageFile.h"

#include <QFile>
#include <QSaveFile>

std::optional<QString> SaveImageFile(const QString& path, const InfoImage& image) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    const auto size = static_cast<qint64>(image.size());
    if (file.write(reinterpret_cast<const char*>(image.data()), size) != size || !file.commit()) {
        return file.errorString();
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

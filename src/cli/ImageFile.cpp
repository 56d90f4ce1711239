#include "ImageFile.h"

#include "system/DurableFile.h"
#include "system/SystemError.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {
QString Reason(int code) {
    return QString::fromStdU16String(SystemErrorText(code));
}
} // namespace

// Not QSaveFile: Qt 6.4's commit renames a file whose buffered write failed.
std::optional<QString> SaveImageFile(const QString& path, const InfoImage& image) {
    if (const auto error = WriteFileDurably(path.toStdU16String(), image)) {
        return Reason(*error);
    }
    return std::nullopt;
}

SavedImage SaveNewImageFile(const std::function<std::filesystem::path(int attempt)>& nameFor,
                            const InfoImage& image) {
    if (const auto error = MakeFoldersDurably(nameFor(1).parent_path())) {
        return {{}, Reason(*error)};
    }
    const NewFile saved = WriteNewFileDurably(nameFor, image);
    if (saved.error) {
        return {{}, Reason(*saved.error)};
    }
    return {QString::fromStdU16String(saved.path.u16string()), std::nullopt};
}

// Read with the C library, whose errno is the system's reason: a missing
// file, a folder, a file not to be read.
ImageLoad LoadImageFile(const QString& path) {
    // A pipe or a socket is no saved area, and opening a pipe would wait for
    // a writer that may never come, deaf to Ctrl+C.
    std::error_code error;
    const auto type = std::filesystem::status(QFile::encodeName(path).toStdString(), error).type();
    if (type == std::filesystem::file_type::fifo || type == std::filesystem::file_type::socket) {
        return {std::nullopt, true, {}};
    }
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (file == nullptr) {
        return {std::nullopt, false, Reason(errno)};
    }
    // One byte more than an image tells a longer file without reading it all.
    std::array<std::uint8_t, InfoImageSize + 1> bytes{};
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    const int readError = std::ferror(file) != 0 ? errno : 0;
    std::fclose(file);
    if (readError != 0) {
        return {std::nullopt, false, Reason(readError)};
    }
    if (got != static_cast<std::size_t>(InfoImageSize)) {
        return {std::nullopt, true, {}};
    }
    InfoImage image{};
    std::copy_n(bytes.begin(), image.size(), image.begin());
    return {image, false, {}};
}

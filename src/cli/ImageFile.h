#pragma once

#include "record/ModData.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

// A radio's information area as a file: its 256 bytes and nothing else, the
// raw form radio-sim --image loads.

// Writes the image durably (WriteFileDurably): the file is whole and on the
// disk, or the call returns the system's reason and the file is as it was.
std::optional<QString> SaveImageFile(const QString& path, const InfoImage& image);

// Saves the image durably as a new file in a folder made where missing (each
// new folder synced into its parent), under the first of nameFor(1),
// nameFor(2), ... that no file has: never over another file. The path taken,
// or the system's reason.
struct SavedImage {
    QString path;
    std::optional<QString> failure;
};
SavedImage SaveNewImageFile(const std::function<std::filesystem::path(int attempt)>& nameFor,
                            const InfoImage& image);

// Reads an image file; sizeMismatch tells a file of another size from one
// that could not be read at all (reason then says why).
struct ImageLoad {
    std::optional<InfoImage> image;
    bool sizeMismatch = false;
    QString reason;
};
ImageLoad LoadImageFile(const QString& path);

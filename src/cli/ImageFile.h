#pragma once

#include "record/ModData.h"

#include <QString>

#include <optional>

// A radio's information area as a file: its 256 bytes and nothing else, the
// raw form radio-sim --image loads.

// Writes the image durably (WriteFileDurably): the file is whole and on the
// disk, or the call returns the system's reason and the file is as it was.
std::optional<QString> SaveImageFile(const QString& path, const InfoImage& image);

// Reads an image file; sizeMismatch tells a file of another size from one
// that could not be read at all (reason then says why).
struct ImageLoad {
    std::optional<InfoImage> image;
    bool sizeMismatch = false;
    QString reason;
};
ImageLoad LoadImageFile(const QString& path);

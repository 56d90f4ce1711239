#pragma once

#include "record/ModData.h"

#include <QDateTime>
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

// The serial number of the radio whose area image holds, as the window would
// show it after reading that radio.
QString SerialNoOf(const InfoImage& image);

// A file in folder for a radio's backup, named by its serial number and the
// time in UTC: <serial>-<yyyyMMddTHHmmssZ>.bin. The serial keeps letters,
// digits, '-' and '_'; anything else becomes '_', so no text read from a
// radio can reach outside the folder. A name already taken gets -2, -3, ...
QString BackupPath(const QString& folder, const QString& serialNo, const QDateTime& utc);

#pragma once

#include "record/ModData.h"

#include <QDateTime>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

// Files that hold a radio's information area are named by the radio's serial
// number and the time in UTC: radioinfo-cli's backups
// <serial>-<yyyyMMddTHHmmssZ>.bin, and <serial>-<time>-2.bin, -3, ... when
// that name is taken. A kept read also carries its place in the order of
// keeping in its folder, <serial>-<time>-r<n>.bin, since the clock that named
// it may have been wrong; the copy a restore keeps of the radio as it found
// it ends in -before-restore.bin. The serial number in a name is a label for
// people: which radio a file holds is told by its bytes alone.

// The serial number the window shows for the radio whose area image holds.
QString SerialNoOf(const InfoImage& image);

// The serial number as it stands in a file name: ASCII letters, digits, '-'
// and '_' stay, anything else becomes '_', so no text read from a radio can
// reach outside the folder; "no-serial" for an empty one.
QString FileNameSerial(const QString& serialNo);

// The names a backup of that radio at that time tries in turn: attempt 1 is
// <serial>-<time>.bin, attempt n <serial>-<time>-n.bin.
std::function<std::filesystem::path(int attempt)>
BackupNames(const QString& folder, const QString& serialNo, const QDateTime& utc);

// The name of kept read number n of that radio at that time.
QString KeptReadName(const QString& serialNo, const QDateTime& utc, std::int64_t number,
                     bool beforeRestore);

// What a file name made by these rules tells.
struct RadioImageName {
    QString serial; // as it stands in the name (FileNameSerial)
    QDateTime utc;
    int sequence = 1;        // n of a backup's -n before .bin
    std::int64_t number = 0; // a kept read's place in the order of keeping; 0 for none
    bool beforeRestore = false;
};
// nullopt for a name the rules do not make.
std::optional<RadioImageName> ParseRadioImageName(const QString& fileName);

// A path as the file functions take it.
std::filesystem::path FilePath(const QString& path);

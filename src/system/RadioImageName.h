#pragma once

#include "record/ModData.h"

#include <QDateTime>
#include <QString>

#include <optional>

// Files that hold a radio's information area are named by the radio's serial
// number and the time in UTC: <serial>-<yyyyMMddTHHmmssZ>.bin, and
// <serial>-<time>-2.bin, -3, ... when that name is taken. radioinfo-cli's
// backups and the kept reads follow this one rule.

// The serial number the window shows for the radio whose area image holds.
QString SerialNoOf(const InfoImage& image);

// The serial number as it stands in a file name: ASCII letters, digits, '-'
// and '_' stay, anything else becomes '_', so no text read from a radio can
// reach outside the folder; "no-serial" for an empty one.
QString FileNameSerial(const QString& serialNo);

// A path in folder for the image of that radio at that time, not yet taken.
QString RadioImagePath(const QString& folder, const QString& serialNo, const QDateTime& utc);

// What a file name made by RadioImagePath tells.
struct RadioImageName {
    QString serial; // as it stands in the name (FileNameSerial)
    QDateTime utc;
    int sequence = 1; // n of a -n before .bin
};
// nullopt for a name the rule does not make.
std::optional<RadioImageName> ParseRadioImageName(const QString& fileName);

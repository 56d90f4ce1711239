#pragma once

#include "record/ModData.h"
#include "record/SerialProof.h"

#include <QString>
#include <QStringList>

// What restore reads in a saved information area, from its bytes as the radio
// stores them.

// The model text "KVT4610" at offset 0 and an accepted version, "V100" or
// "V110", at offset 7: the area of a radio this tool writes.
bool IsImageOfThisModel(const InfoImage& image);
// The model and version texts, up to their first 0x00 or 0xFF, for messages.
QString ModelTextOf(const InfoImage& image);
QString VersionTextOf(const InfoImage& image);

// The dealer settings in which radio differs from file: every bit of
// DealerBits() is compared, and none differs when the list is empty.
QStringList DealerDifferences(const InfoImage& file, const InfoImage& radio);

#pragma once

#include "record/ModData.h"
#include "record/SerialProof.h"

#include <QString>
#include <QStringList>

// What restore reads in a saved information area, from its bytes as the radio
// stores them.

// The area of a radio this tool writes: a known model's text at offset 0 and
// one of its accepted versions at offset 7, each filling its field.
bool IsImageOfThisModel(const InfoImage& image);
// The model and version texts, up to their first 0x00 or 0xFF, for messages.
QString ModelTextOf(const InfoImage& image);
QString VersionTextOf(const InfoImage& image);

// The dealer settings in which radio differs from file: every bit of
// DealerBits() is compared, and none differs when the list is empty.
QStringList DealerDifferences(const InfoImage& file, const InfoImage& radio);

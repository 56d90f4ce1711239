#pragma once

#include "ModData.h"

#include <optional>
#include <string>

// Whether two information areas are one radio's: by the serial number's bytes
// as the radio stores them, never by a text made from them (a file name, a
// window field), which can make two radios look alike.

// The serial number's bytes (up to the first 0x00 or 0xFF, trailing blanks
// dropped) when they can name a radio: one that is empty, erased or holds no
// character that shows proves nothing and gives none.
std::optional<std::string> SerialProof(const InfoImage& image);
// Both areas name one radio by a serial number that proves it.
bool SameRadio(const InfoImage& file, const InfoImage& radio);
// The serial number's whole field, all 16 bytes (those after its end and its
// trailing blanks too), when the serial number proves a radio: the key by
// which the tool picks a radio's kept copies by itself, stricter than
// SameRadio, so two radios whose serial numbers were partly erased to the
// same text stay apart. nullopt when the serial number proves nothing.
std::optional<std::string> SerialField(const InfoImage& image);

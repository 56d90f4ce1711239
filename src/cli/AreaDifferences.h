#pragma once

#include "RecordPrinter.h"

#include "record/ModData.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// A differing field's value: as read prints it, or, where that cannot tell
// the two apart (bytes behind equal texts, a field read does not print), the
// field's bytes.
using ComparedValue = std::variant<int, std::u16string, std::vector<std::uint8_t>>;

struct FieldDifference {
    // The row's name; bytes no named row holds go by their address (0x3b11).
    std::u16string name;
    ComparedValue radio;
    ComparedValue file;
};

// Every field of the information area in which radio differs from file, in
// the area's row order, and last any bit no row holds: the whole 256 bytes
// are compared. Empty when they are equal.
std::vector<FieldDifference> AreaDifferences(const InfoImage& radio, const InfoImage& file);

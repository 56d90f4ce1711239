#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace radiosim {

// The information area the tool reads and writes: addresses 0x3B00..0x3BFF.
inline constexpr std::uint16_t kAreaStart = 0x3B00;
inline constexpr std::size_t kAreaSize = 256;
using Memory = std::array<std::uint8_t, kAreaSize>;

// Fields the command line can set (offsets into Memory).
struct Field {
    std::size_t offset;
    std::size_t length;
};
inline constexpr Field kModelField{0x00, 7};
inline constexpr Field kVersionField{0x07, 4};
inline constexpr std::size_t kBandOffset = 0x0F;
inline constexpr Field kSerialField{0x20, 16};

// Writes text into a field, padding with 0x00; throws std::invalid_argument when the text
// does not fit, because silently cutting it would hide a mistake in a test setup.
void putText(Memory& memory, Field field, std::string_view text);

// The memory of a plausible radio. Radios on the bench differ in their serial number:
// radio 1 has ...0005, radio 2 ...0006 and so on.
Memory sampleMemory(int radioNumber = 1);

} // namespace radiosim

#include "Memory.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace radiosim {

void putText(Memory& memory, Field field, std::string_view text) {
    if (text.size() > field.length) {
        throw std::invalid_argument("text '" + std::string(text) + "' is longer than " +
                                    std::to_string(field.length) + " bytes");
    }
    const auto begin = memory.begin() + static_cast<std::ptrdiff_t>(field.offset);
    std::fill_n(begin, field.length, std::uint8_t{0});
    std::copy(text.begin(), text.end(), begin);
}

Memory sampleMemory(int radioNumber) {
    Memory memory{};
    putText(memory, kModelField, "KVT4610");
    putText(memory, kVersionField, "V100");
    memory[0x0B] = 1; // RF firmware 1.00
    memory[0x0C] = 0;
    memory[0x0D] = 1; // LCD firmware 1.10
    memory[0x0E] = 10;
    memory[kBandOffset] = 1;
    memory[0x10] = 0x02; // frequency set
    // Bytes the tool does not interpret are deliberately non-zero, so that a tool which
    // wipes them while writing other fields gets caught.
    memory[0x11] = 0x5A;
    memory[0x12] = 0xA5;
    memory[0x13] = 0x3C;
    putText(memory, {0x14, 4}, "KZWP");
    putText(memory, {0x1C, 4}, "0001");
    char serial[24];
    std::snprintf(serial, sizeof serial, "20261201%08d", 4 + std::clamp(radioNumber, 1, 9999));
    putText(memory, kSerialField, serial);
    putText(memory, {0x30, 16}, "2026-12-01");
    putText(memory, {0x40, 8}, "12-1-E-1");
    for (std::size_t i = 0x48; i < 0x50; ++i) {
        memory[i] = static_cast<std::uint8_t>(0x80 + i);
    }
    for (std::size_t i = 0xF0; i < kAreaSize; ++i) {
        memory[i] = static_cast<std::uint8_t>(i);
    }
    return memory;
}

} // namespace radiosim

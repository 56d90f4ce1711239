#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Byte sequences as the tool puts them on the line, built here from the protocol's rules
// so that the tests do not trust the simulator's own frame code.
namespace simtest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes text(std::string_view s) {
    return {s.begin(), s.end()};
}

inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

inline Bytes programCommand() {
    return text("PROGRAM");
}
inline Bytes handshakeAnswer() {
    return {0x48, 0x56, 0x06};
}
inline Bytes endCommand() {
    return text("END");
}
inline Bytes ack() {
    return {0x06};
}
inline Bytes repeat() {
    return {0x0A};
}

inline Bytes readCommand(std::uint16_t address) {
    return {0x52, static_cast<std::uint8_t>(address >> 8),
            static_cast<std::uint8_t>(address & 0xFF), 0x10};
}

inline std::uint8_t checksum(const Bytes& frame) {
    unsigned sum = 0;
    for (std::size_t i = 1; i <= 19; ++i) {
        sum += frame.at(i);
    }
    return static_cast<std::uint8_t>(sum % 256);
}

// 57 AH AL 10 <16 data> <sum> 06: the tool's W command and the radio's answer to R alike.
// Data beyond 16 bytes is cut, short data padded with zeros. The frame is made
// at its full size and filled in: inserting the data into the four-byte head
// made GCC 12 at -O3 report -Warray-bounds inside std::vector's own copying, a
// false alarm (like GCC bug 107852).
inline Bytes dataFrame(std::uint16_t address, const Bytes& data) {
    Bytes frame(22, 0x00);
    frame[0] = 0x57;
    frame[1] = static_cast<std::uint8_t>(address >> 8);
    frame[2] = static_cast<std::uint8_t>(address & 0xFF);
    frame[3] = 0x10;
    std::copy_n(data.begin(), std::min<std::size_t>(data.size(), 16), frame.begin() + 4);
    frame[20] = checksum(frame);
    frame[21] = 0x06;
    return frame;
}

inline Bytes block(const Bytes& memory, std::size_t offset) {
    return {memory.begin() + static_cast<std::ptrdiff_t>(offset),
            memory.begin() + static_cast<std::ptrdiff_t>(offset + 16)};
}

inline Bytes counting(std::uint8_t first) {
    Bytes data;
    for (unsigned i = 0; i < 16; ++i) {
        data.push_back(static_cast<std::uint8_t>(first + i));
    }
    return data;
}

std::string hex(const Bytes& bytes);

} // namespace simtest

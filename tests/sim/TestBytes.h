#pragma once

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
inline Bytes dataFrame(std::uint16_t address, const Bytes& data) {
    Bytes frame{0x57, static_cast<std::uint8_t>(address >> 8),
                static_cast<std::uint8_t>(address & 0xFF), 0x10};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.resize(20, 0x00);
    frame.push_back(checksum(frame));
    frame.push_back(0x06);
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

#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace radiosim {

// Byte values and sizes of the radio's programming protocol.
inline constexpr std::string_view kProgramText = "PROGRAM";
inline constexpr std::string_view kEndText = "END";
inline constexpr std::uint8_t kReadStart = 0x52;  // 'R'
inline constexpr std::uint8_t kWriteStart = 0x57; // 'W'
inline constexpr std::uint8_t kBlockSize = 0x10;
inline constexpr std::size_t kReadCommandSize = 4;
inline constexpr std::size_t kDataFrameSize = 22; // W, address, count, 16 data, sum, ACK
inline constexpr std::size_t kDataOffset = 4;
inline constexpr std::size_t kChecksumOffset = 20;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kRepeat = 0x0A;

// Sum of the address, count and data bytes of a data frame, modulo 256.
inline std::uint8_t frameChecksum(std::span<const std::uint8_t> frame) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < kChecksumOffset && i < frame.size(); ++i) {
        sum += frame[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFFU);
}

} // namespace radiosim

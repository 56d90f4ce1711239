#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// "57 3B 10" for the bytes 0x57 0x3B 0x10.
std::string Hex(std::span<const std::uint8_t> bytes);
// The bytes of a text of hex pairs separated by blanks: "57 3B 10".
Bytes FromHex(std::string_view hex);
// The bytes of an ASCII text.
Bytes Ascii(std::string_view text);

// A command the tool sent, as a short text: "PROGRAM", "R 3B00", "W 3B60",
// "END"; anything else as "?? " followed by its bytes.
std::string DescribeCommand(std::span<const std::uint8_t> bytes);

// "R 3B00", "W 3B60": a verb and a block address as DescribeCommand gives them.
std::string CommandFor(std::string_view verb, int address);

// Sum of the bytes modulo 256, worked out by the test world itself.
std::uint8_t ByteSum(std::span<const std::uint8_t> bytes);

// A data frame (W, address, 0x10, 16 data bytes, sum, 0x06) built by the test
// world itself: the W the radio stores, or the radio's answer to an R.
Bytes DataFrame(int address, std::span<const std::uint8_t> data);

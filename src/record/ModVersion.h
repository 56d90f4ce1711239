#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Two uppercase hexadecimal digits.
std::u16string Hex2(std::uint8_t value);

// "V", major in hex without leading zero, ".", minor as two hex digits.
std::u16string BytesToVersion(std::uint8_t major, std::uint8_t minor);

// True when the text is one BytesToVersion gives for some pair of bytes:
// what reading a radio can show, hexadecimal digits included (V1.0A).
bool IsByteVersion(std::u16string_view text);

// A well-formed version text from what the window holds, or the default.
std::u16string FormatVersion(std::u16string_view text, std::u16string_view defaultVersion);

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Two uppercase hexadecimal digits.
std::u16string Hex2(std::uint8_t value);

// "V", major in hex without leading zero, ".", minor as two hex digits.
std::u16string BytesToVersion(std::uint8_t major, std::uint8_t minor);

// A well-formed version text from what the window holds, or the default.
std::u16string FormatVersion(std::u16string_view text, std::u16string_view defaultVersion);

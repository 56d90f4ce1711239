#pragma once

#include <cstdint>
#include <span>

// Sum of bytes[first..last] modulo 256. A last of 0 stands for two before the
// final index, the last data byte of a data frame. A range outside the bytes gives 0.
std::uint8_t CheckSum(std::span<const std::uint8_t> bytes, int first, int last);

// True when the same sum equals bytes[position]; a position of 0 stands for one
// before the final index, the checksum byte of a data frame.
bool VerifyCheckSum(std::span<const std::uint8_t> bytes, int first, int last, int position);

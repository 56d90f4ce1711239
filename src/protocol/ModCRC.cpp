#include "ModCRC.h"

namespace {
bool SumRange(std::span<const std::uint8_t> bytes, int first, int last, std::uint8_t& sum) {
    if (last == 0) {
        last = static_cast<int>(bytes.size()) - 3;
    }
    if (first < 0 || last >= static_cast<int>(bytes.size())) {
        return false;
    }
    unsigned total = 0;
    for (int i = first; i <= last; ++i) {
        total += bytes[static_cast<std::size_t>(i)];
    }
    sum = static_cast<std::uint8_t>(total % 256);
    return true;
}
} // namespace

std::uint8_t CheckSum(std::span<const std::uint8_t> bytes, int first, int last) {
    std::uint8_t sum = 0;
    return SumRange(bytes, first, last, sum) ? sum : std::uint8_t{0};
}

bool VerifyCheckSum(std::span<const std::uint8_t> bytes, int first, int last, int position) {
    if (position == 0) {
        position = static_cast<int>(bytes.size()) - 2;
    }
    std::uint8_t sum = 0;
    if (position < 0 || position >= static_cast<int>(bytes.size()) ||
        !SumRange(bytes, first, last, sum)) {
        return false;
    }
    return sum == bytes[static_cast<std::size_t>(position)];
}

#include "doubles/CommandText.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Hex4(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value) & 0xFFFFu);
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool Equals(std::span<const std::uint8_t> bytes, std::string_view text) {
    if (bytes.size() != text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != static_cast<std::uint8_t>(text[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (const std::uint8_t b : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned>(b));
        if (!text.empty()) {
            text += ' ';
        }
        text += pair;
    }
    return text;
}

Bytes FromHex(std::string_view hex) {
    Bytes bytes;
    int high = -1;
    for (const char c : hex) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            continue;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    return bytes;
}

Bytes Ascii(std::string_view text) {
    Bytes bytes;
    for (const char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    return bytes;
}

std::string DescribeCommand(std::span<const std::uint8_t> bytes) {
    if (Equals(bytes, "PROGRAM")) {
        return "PROGRAM";
    }
    if (Equals(bytes, "END")) {
        return "END";
    }
    if (bytes.size() == 4 && bytes[0] == 0x52) {
        std::string text = "R " + Hex4(bytes[1] * 256 + bytes[2]);
        if (bytes[3] != 0x10) {
            text += " count " + Hex(bytes.subspan(3, 1));
        }
        return text;
    }
    if (bytes.size() == 22 && bytes[0] == 0x57) {
        return "W " + Hex4(bytes[1] * 256 + bytes[2]);
    }
    return "?? " + Hex(bytes);
}

std::string CommandFor(std::string_view verb, int address) {
    return std::string(verb) + " " + Hex4(address);
}

std::uint8_t ByteSum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (const std::uint8_t b : bytes) {
        sum += b;
    }
    return static_cast<std::uint8_t>(sum % 256u);
}

// The frame is made at its full size and filled in: inserting the data into
// the four-byte head made GCC 12 at -O3 report -Warray-bounds inside
// std::vector's own copying, a false alarm (like GCC bug 107852).
Bytes DataFrame(int address, std::span<const std::uint8_t> data) {
    Bytes frame(4 + data.size() + 2);
    frame[0] = 0x57;
    frame[1] = static_cast<std::uint8_t>(address / 256);
    frame[2] = static_cast<std::uint8_t>(address % 256);
    frame[3] = 0x10;
    std::copy(data.begin(), data.end(), frame.begin() + 4);
    frame[frame.size() - 2] = ByteSum(std::span(frame).subspan(1, 19));
    frame.back() = 0x06;
    return frame;
}

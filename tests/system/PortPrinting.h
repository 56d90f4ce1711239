#pragma once

#include "system/ModSetComm2.h"

#include <ostream>
#include <string>

// Readable failure messages for port lists (ASCII is all they hold).
inline std::string Ascii(const std::u16string& text) {
    std::string ascii;
    for (const char16_t c : text) {
        ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return ascii;
}

inline void PrintTo(const SystemPort& port, std::ostream* out) {
    *out << Ascii(port.data) << "=" << Ascii(port.devicePath);
}

inline void PrintTo(const PortEntry& entry, std::ostream* out) {
    *out << Ascii(entry.text) << "=" << Ascii(entry.devicePath);
}

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace radiosim {

enum class CommandKind { Program, Read, Write, End };

// One complete command as the tool sent it; raw keeps the exact bytes because the cable
// echoes them unchanged.
struct Command {
    CommandKind kind;
    std::uint16_t address = 0;
    std::vector<std::uint8_t> raw;
};

// The transcript's name for a command: PROGRAM, R 3B00, W 3B60, END.
std::string describe(const Command& command);

} // namespace radiosim

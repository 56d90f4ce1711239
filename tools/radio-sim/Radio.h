#pragma once

#include "Command.h"
#include "Memory.h"

#include <cstdint>
#include <vector>

namespace radiosim {

struct Reply {
    std::vector<std::uint8_t> bytes; // empty: the radio stays quiet
    bool sessionEnded = false;       // END was acknowledged
};

// What the radio itself does with a command: no timing, no cable, no faults beyond being
// told to ask for a command again.
class Radio {
  public:
    explicit Radio(const Memory& memory) : memory_(memory) {}

    // askRepeat: answer 0x0A to a W or END instead of acting on it.
    Reply handle(const Command& command, bool askRepeat);

    const Memory& memory() const { return memory_; }

  private:
    std::vector<std::uint8_t> readBlock(std::uint16_t address) const;
    std::uint8_t writeBlock(const Command& command);

    Memory memory_;
    bool inSession_ = false;
};

} // namespace radiosim

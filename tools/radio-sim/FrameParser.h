#pragma once

#include "Command.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace radiosim {

// A run of received bytes: either one whole command, or bytes that form no command
// (they are still echoed by the cable, but the radio ignores them).
struct ParsedItem {
    std::vector<std::uint8_t> bytes;
    std::optional<Command> command;
};

// Cuts the byte stream from the tool into commands. A candidate that turns out not to be
// a command gives up only its first byte; the rest is searched again for a start byte, so
// the parser falls back into step right after any noise.
class FrameParser {
  public:
    // Items finished by this byte, in the order the bytes arrived.
    std::vector<ParsedItem> feed(std::uint8_t byte);

    // Abandons an unfinished command (the tool stopped mid-way). Its bytes come back as
    // non-command bytes, except for any whole command found inside them.
    std::vector<ParsedItem> abandonPartial();

    bool hasPartial() const { return !pending_.empty(); }

  private:
    enum class Verdict { Incomplete, Complete, NotACommand };
    static Verdict judge(const std::vector<std::uint8_t>& bytes);

    void settle(std::vector<ParsedItem>& out);
    void dropFirst(std::vector<ParsedItem>& out);

    std::vector<std::uint8_t> pending_;
};

} // namespace radiosim

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the command line asks for.
struct CliOptions {
    enum class Command { Read, Write, Batch };

    Command command = Command::Read;
    std::optional<std::u16string> port;
    bool json = false;
    std::int32_t count = 0;
    // Fields a write or batch changes.
    std::optional<std::u16string> dealerCode, stockDate, sellDate, seller, password;
    std::optional<std::int16_t> band, freqSet, stun, kill;
};

struct CliParseResult {
    std::optional<CliOptions> options;
    std::u16string error; // why the arguments are refused
};

// Parses the arguments after the program name.
CliParseResult ParseCliOptions(const std::vector<std::u16string>& args);

std::u16string CliUsage();

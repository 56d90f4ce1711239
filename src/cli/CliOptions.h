#pragma once

#include "CliTexts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the command line asks for.
struct CliOptions {
    enum class Command { Read, Write, Batch, Help, Version };

    Command command = Command::Read;
    std::optional<std::u16string> port;
    bool json = false;
    std::int32_t count = 0;
    // Fields a write or batch changes.
    std::optional<std::u16string> dealerCode, stockDate, sellDate, seller, password;
    std::optional<std::int16_t> band, freqSet, stun, kill;
};

// Why the arguments are refused: a text of CliTexts about subject.
struct CliError {
    CliText text;
    std::u16string subject;
};

struct CliParseResult {
    std::optional<CliOptions> options;
    CliError error{CliText::Usage, {}};
};

// Parses the arguments after the program name.
CliParseResult ParseCliOptions(const std::vector<std::u16string>& args);

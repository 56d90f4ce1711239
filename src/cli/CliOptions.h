#pragma once

#include "CliTexts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the command line asks for.
struct CliOptions {
    enum class Command { Read, Write, Batch, Restore, Help, Version };

    Command command = Command::Read;
    std::optional<std::u16string> port;
    bool json = false;
    std::int32_t count = 0;
    // Every frame on the line to stderr.
    bool trace = false;
    // read: the information area into this file, as read.
    std::optional<std::u16string> saveFile;
    // write and batch: each radio's information area into this folder first.
    std::optional<std::u16string> backupDir;
    // batch: one CSV row per radio appended to this file.
    std::optional<std::u16string> logFile;
    // restore: the saved information area to write back, and whether a file
    // of another radio is accepted.
    std::optional<std::u16string> restoreFile;
    bool force = false;
    // restore --latest: from the newest kept read of the attached radio;
    // restore --list: the kept reads of the attached radio, nothing written.
    bool restoreLatest = false;
    bool restoreList = false;
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

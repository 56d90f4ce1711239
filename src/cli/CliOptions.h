#pragma once

#include "CliTexts.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A value given for a field of the information area: a text, or a number
// for the flags and the band.
using FieldValue = std::variant<std::u16string, std::int16_t>;

// What the command line asks for.
struct CliOptions {
    enum class Command { Read, Write, Batch, Restore, Verify, Ports, Help, Version };

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
    // restore: the saved information area to write back (verify: to compare
    // with), and whether a file of another radio is accepted.
    std::optional<std::u16string> restoreFile;
    bool force = false;
    // restore --latest, verify --latest: from the newest kept read of the
    // attached radio;
    // restore --list: the kept reads of the attached radio, nothing written.
    bool restoreLatest = false;
    bool restoreList = false;
    // Fields a write or batch changes, by the name of their row of the
    // information area (InfoArea), each set by the row's option.
    std::map<std::u16string_view, FieldValue> fields;

    friend bool operator==(const CliOptions&, const CliOptions&) = default;
};

// Why the arguments are refused: a text of CliTexts about subject (and second).
struct CliError {
    CliText text;
    std::u16string subject;
    std::u16string second = {};

    friend bool operator==(const CliError&, const CliError&) = default;
};

struct CliParseResult {
    std::optional<CliOptions> options;
    CliError error{CliText::Usage, {}};
};

// Parses the arguments after the program name, as GNU tools do: an option's
// value as the next argument or after "=", options before or after the
// command, "--" ending the options.
CliParseResult ParseCliOptions(const std::vector<std::u16string>& args);

// What a refused argument vector prints on stderr, in the language of
// langType: the refusal with its option and limit, then where the usage is.
std::u16string UsageErrorText(const CliError& error, int langType);

// The number n of a port given as COMn (any case, n from 1 to 999); nullopt
// for anything else, a device path among them.
std::optional<std::int16_t> ComPortNumberOf(std::u16string_view port);

// The options that set fields, as --help lists them: each with textWord, or
// 0|1 for the flags and the band, wrapped into lines of at most width
// characters, each indented by indent spaces but the first.
std::u16string FieldOptionsText(std::u16string_view textWord, std::size_t width,
                                std::size_t indent);

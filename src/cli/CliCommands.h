#pragma once

#include "CliOptions.h"

#include <cstdint>
#include <string>
#include <string_view>

// radioinfo-cli's commands, one row each: the parser, the misplaced-option
// rule, the usage, --help and the run all take them from here. The manual
// page's synopsis and the bash completion list the same (data/), and a test
// holds them to it. --help and --version answer wherever they stand and are
// no command.

// What a command line may hold beside the command word, one bit each, in the
// order a misplaced one is refused.
enum Part : std::uint16_t {
    PartPort = 1U << 0U,   // --port
    PartFields = 1U << 1U, // the options that set fields (FIELDS)
    PartFile = 1U << 2U,   // the operand FILE
    PartLatest = 1U << 3U,
    PartList = 1U << 4U,
    PartCount = 1U << 5U,
    PartJson = 1U << 6U,
    PartSave = 1U << 7U,
    PartBackup = 1U << 8U,
    PartLog = 1U << 9U,
    PartForce = 1U << 10U,
    PartTrace = 1U << 11U,
};

// The command's work, one function each; the session does it.
class CommandHandlers {
  public:
    virtual int Read(const CliOptions& options) = 0;
    virtual int Write(const CliOptions& options) = 0;
    virtual int Batch(const CliOptions& options) = 0;
    virtual int Restore(const CliOptions& options) = 0;
    virtual int Verify(const CliOptions& options) = 0;
    virtual int Ports(const CliOptions& options) = 0;

  protected:
    CommandHandlers() = default;
    ~CommandHandlers() = default;
    CommandHandlers(const CommandHandlers&) = default;
    CommandHandlers& operator=(const CommandHandlers&) = default;
};

// A text in English and Chinese.
struct BothLanguages {
    std::u16string_view english;
    std::u16string_view chinese;
};

struct CommandRow {
    CliOptions::Command command;
    std::u16string_view word;
    // The operands and options it takes (Part bits).
    std::uint16_t takes;
    // Of these exactly one must be given, or missing is said.
    std::uint16_t exactlyOne;
    CliText missing;
    // Said when FIELDS are given to a command that takes none.
    CliText noFields;
    // Whether it opens the radio's port, and whether it may write into the
    // radio (restore --list does not): without --port, a command that writes
    // takes no port but the saved one.
    bool opensPort;
    bool writesRadio;
    int (CommandHandlers::*run)(const CliOptions&);
    // After "radioinfo-cli ", a line break where the line goes on indented.
    BothLanguages usage;
    // Its lines of --help, each indented.
    BothLanguages help;
};

// The row of a command word; nullptr for none.
const CommandRow* CommandNamed(std::u16string_view word);
// The row of a command; nullptr for --help and --version.
const CommandRow* CommandRowOf(CliOptions::Command command);

// What is refused of the options given to their command, in Part order:
// an operand missing, a count below 1, an option the command does not take.
std::optional<CliText> MisplacedPart(const CliOptions& options, bool hasCount);

// The usage lines, in the language of langType.
std::u16string UsageText(int langType);
// Every command's lines of --help, in table order.
std::u16string CommandsHelpText(int langType);
// The command words as a list: "read, write, ... or ports".
std::u16string CommandWordsText(int langType);

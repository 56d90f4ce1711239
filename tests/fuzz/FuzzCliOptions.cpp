// radioinfo-cli's options, any words at all: parsing never fails unsafely,
// and what it accepts fits the radio.
#include "FuzzInput.h"
#include "cli/CliOptions.h"
#include "record/Cp936.h"

#include <algorithm>

namespace {
// Words separated by 0x00; each byte one character, 0xC0 and up stand for
// characters beyond Latin-1, Chinese among them.
std::vector<std::u16string> Words(std::span<const std::uint8_t> bytes) {
    std::vector<std::u16string> words(1);
    for (const std::uint8_t b : bytes) {
        if (b == 0) {
            words.emplace_back();
        } else {
            words.back() +=
                b >= 0xC0 ? static_cast<char16_t>(0x4E00 + b) : static_cast<char16_t>(b);
        }
    }
    return words;
}

bool Fits(const std::optional<std::u16string>& text, std::size_t bytes) {
    if (!text) {
        return true;
    }
    const auto encoded = EncodeCp936(*text);
    return encoded && encoded->size() <= bytes;
}
// A command that talks to the radio (not --help or --version, which end the
// parse wherever they stand).
bool IsRun(CliOptions::Command command) {
    return command != CliOptions::Command::Help && command != CliOptions::Command::Version;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CliParseResult parsed = ParseCliOptions(Words(std::span(data, size)));
    if (!parsed.options) {
        return 0;
    }
    const CliOptions& o = *parsed.options;
    Require(!o.password ||
                (o.password->size() <= 4 && std::all_of(o.password->begin(), o.password->end(),
                                                        [](char16_t c) { return c < 0x80; })),
            "a password the radio cannot hold was accepted");
    for (const auto* text : {&o.dealerCode, &o.stockDate, &o.sellDate, &o.seller}) {
        Require(Fits(*text, 16), "a dealer field the radio cannot hold was accepted");
    }
    for (const auto* flag : {&o.band, &o.freqSet, &o.stun, &o.kill}) {
        Require(!*flag || **flag == 0 || **flag == 1, "a flag other than 0 or 1 was accepted");
    }
    using Command = CliOptions::Command;
    Require((o.command == Command::Restore) == o.restoreFile.has_value() || !IsRun(o.command),
            "restore without its file, or a file for another command, was accepted");
    Require(!o.saveFile || o.command == Command::Read, "--save was accepted beside no read");
    Require(!o.logFile || o.command == Command::Batch, "--log was accepted beside no batch");
    Require(!o.backupDir || o.command == Command::Write || o.command == Command::Batch ||
                o.command == Command::Restore,
            "--backup was accepted beside no write, batch or restore");
    Require(o.command != Command::Batch || o.count >= 1, "a batch of no radio was accepted");
    for (const auto* path : {&o.saveFile, &o.logFile, &o.backupDir}) {
        Require(!*path || !(*path)->empty(), "an empty path was accepted");
    }
    return 0;
}

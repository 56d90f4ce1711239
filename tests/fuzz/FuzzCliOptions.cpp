// radioinfo-cli's options, any words at all (--opt=value and -- among them):
// parsing never fails unsafely, and what it accepts fits the radio.
#include "FuzzInput.h"
#include "cli/CliOptions.h"
#include "record/Cp936.h"

#include <algorithm>
#include <map>

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

// The fields a write may set, by name, and what the radio holds of each: a
// code page 936 text or a 7-bit text of so many bytes, without control
// characters, or 0 and 1. The fuzzer's own list, so a field or limit the
// parser's table gets wrong shows.
enum class Holds { Cp936, Ascii, ZeroOrOne };
struct FieldLimit {
    Holds holds;
    std::size_t bytes;
};
const std::map<std::u16string_view, FieldLimit> Limits{
    {u"DealerCode", {Holds::Cp936, 16}},  {u"StockDate", {Holds::Cp936, 16}},
    {u"SellDate", {Holds::Cp936, 16}},    {u"Seller", {Holds::Cp936, 16}},
    {u"ProgPassWord", {Holds::Ascii, 4}}, {u"BandCode", {Holds::ZeroOrOne, 0}},
    {u"FreqSet", {Holds::ZeroOrOne, 0}},  {u"Stun", {Holds::ZeroOrOne, 0}},
    {u"Kill", {Holds::ZeroOrOne, 0}},
};

bool Fits(const FieldValue& value, const FieldLimit& limit) {
    if (limit.holds == Holds::ZeroOrOne) {
        const auto* number = std::get_if<std::int16_t>(&value);
        return number != nullptr && (*number == 0 || *number == 1);
    }
    const auto* text = std::get_if<std::u16string>(&value);
    // No field shows a line break, a tab, ESC or a C1 control: none is written.
    const auto control = [](char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); };
    if (text == nullptr || std::any_of(text->begin(), text->end(), control)) {
        return false;
    }
    if (limit.holds == Holds::Ascii) {
        return text->size() <= limit.bytes &&
               std::all_of(text->begin(), text->end(), [](char16_t c) { return c < 0x80; });
    }
    const auto encoded = EncodeCp936(*text);
    return encoded && encoded->size() <= limit.bytes;
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
    for (const auto& [name, value] : o.fields) {
        const auto limit = Limits.find(name);
        Require(limit != Limits.end(), "a field no option sets was accepted");
        Require(Fits(value, limit->second), "a value the radio cannot hold was accepted");
    }
    using Command = CliOptions::Command;
    const bool restoreSource = o.restoreFile || o.restoreLatest || o.restoreList;
    const bool takesSource = o.command == Command::Restore || o.command == Command::Verify;
    Require(takesSource == restoreSource || !IsRun(o.command),
            "restore or verify without its file, or a file for another command, was accepted");
    Require(!o.restoreList || o.command == Command::Restore || !IsRun(o.command),
            "--list was accepted beside no restore");
    Require(!o.saveFile || o.command == Command::Read, "--save was accepted beside no read");
    Require(!o.logFile || o.command == Command::Batch, "--log was accepted beside no batch");
    Require(!o.backupDir || o.command == Command::Write || o.command == Command::Batch ||
                o.command == Command::Restore,
            "--backup was accepted beside no write, batch or restore");
    Require(o.command != Command::Batch || o.count >= 1, "a batch of no radio was accepted");
    Require(o.command != Command::Ports || (!o.port && o.fields.empty()),
            "ports was accepted with a port or a field");
    for (const auto* path : {&o.saveFile, &o.logFile, &o.backupDir}) {
        Require(!*path || !(*path)->empty(), "an empty path was accepted");
    }
    return 0;
}

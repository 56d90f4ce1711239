// radioinfo-cli's options, any words at all (--opt=value and -- among them):
// parsing never fails unsafely, and what it accepts fits the radio.
#include "FuzzInput.h"
#include "cli/CliOptions.h"
#include "doubles/AreaMap.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>

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

// The fields a write may set, by name, and what the radio holds of each, from
// the tests' own map of the area: a code page 936 text or a 7-bit text of its
// width in bytes, without control characters, or 0 and 1 (the band and each
// flag). The tests' map, not the parser's table, so a field or limit the
// parser gets wrong shows.
using Limits = std::map<std::u16string, const area::Field*, std::less<>>;
const Limits& WrittenFields() {
    static const Limits limits = [] {
        Limits l;
        const auto name = [](std::string_view n) { return std::u16string(n.begin(), n.end()); };
        for (const area::Field& f : area::Fields) {
            if (f.Written && f.Type == area::Kind::Flags) {
                for (const area::FlagBit& flag : area::FlagBits) {
                    if (flag.Written) {
                        l.emplace(name(flag.Name), &f);
                    }
                }
            } else if (f.Written) {
                l.emplace(name(f.Name), &f);
            }
        }
        return l;
    }();
    return limits;
}

// The text's bytes in the field, by the tests' own reading of the code page;
// nullopt when a character has none there.
std::optional<std::size_t> StoredSize(std::u16string_view text, const area::Field& field) {
    std::size_t size = 0;
    for (const char16_t c : text) {
        if (field.Type == area::Kind::ByteText) {
            if (c >= 0x80) {
                return std::nullopt;
            }
            size += 1;
            continue;
        }
        const std::optional<Bytes> bytes = area::EncodeGbk(std::u16string_view(&c, 1));
        if (!bytes) {
            return std::nullopt;
        }
        size += bytes->size();
    }
    return size;
}

bool Fits(const FieldValue& value, const area::Field& field) {
    if (!area::IsText(field)) {
        const auto* number = std::get_if<std::int16_t>(&value);
        return number != nullptr && (*number == 0 || *number == 1);
    }
    const auto* text = std::get_if<std::u16string>(&value);
    // No field shows a line break, a tab, ESC or a C1 control: none is written.
    const auto control = [](char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); };
    if (text == nullptr || std::any_of(text->begin(), text->end(), control)) {
        return false;
    }
    const auto size = StoredSize(*text, field);
    return size && *size <= field.Width;
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
        const auto field = WrittenFields().find(name);
        Require(field != WrittenFields().end(), "a field no option sets was accepted");
        Require(Fits(value, *field->second), "a value the radio cannot hold was accepted");
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

// The settings file's reader and writer on any file: setting a key keeps
// every other line byte for byte, reads back what was set, and setting it
// again changes nothing.
#include "FuzzInput.h"
#include "system/IniFile.h"

#include <algorithm>
#include <string>

namespace {
std::string Text(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A name or value the file can hold as it is: none of the forbidden
// characters, no blanks at either end (blanks there are not part of it).
bool Plain(const std::string& text, std::string_view forbidden) {
    constexpr std::string_view blanks = " \t\v\f\r";
    return !text.empty() && text.find_first_of(forbidden) == std::string::npos &&
           blanks.find(text.front()) == std::string_view::npos &&
           blanks.find(text.back()) == std::string_view::npos;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::string section = Text(in.Take(in.Byte() % 12));
    const std::string key = Text(in.Take(in.Byte() % 12));
    const std::string value = Text(in.Take(in.Byte() % 12));
    const std::string content = Text(in.Rest());

    (void)FindIniValue(content, section, key);
    const std::string written = SetIniValue(content, section, key, value);

    // What is not the key's line is kept: the bytes that differ lie within one line.
    const auto prefix = static_cast<std::size_t>(
        std::mismatch(content.begin(), content.end(), written.begin(), written.end()).first -
        content.begin());
    std::size_t suffix = 0;
    while (suffix < content.size() - prefix && suffix < written.size() - prefix &&
           content[content.size() - 1 - suffix] == written[written.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string removed = content.substr(prefix, content.size() - prefix - suffix);
    Require(removed.find('\n') == std::string::npos, "a write changed another line");

    const bool wellFormed = Plain(section, "[]\r\n;") && Plain(key, "=[]\r\n;") &&
                            (value.empty() || Plain(value, "\r\n"));
    if (wellFormed && content.find('\0') == std::string::npos &&
        section.find('\0') == std::string::npos && key.find('\0') == std::string::npos) {
        Require(FindIniValue(written, section, key) == value, "the value set does not read back");
        Require(SetIniValue(written, section, key, value) == written,
                "setting it again changed the file");
    }
    return 0;
}

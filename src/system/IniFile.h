#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A small private-profile (INI) reader and writer for systems without
// GetPrivateProfileString and WritePrivateProfileString, behaving like them
// where the tool can tell: "[section]" lines, "key=value" lines, section and
// key names matched without regard to ASCII case, blanks around names and
// values ignored, the first matching section and key used. Files are bytes;
// nothing is decoded.
//
// Writing changes only the one key's line and keeps every other byte of the
// file: its line endings, comments, blank lines, other sections and keys, a
// last line without a line ending.

// The value of the key, blanks around it removed; nullopt when the section or
// the key is missing. A line in the section with no "=" whose text is the key
// counts as the key with an empty value.
std::optional<std::string> FindIniValue(std::string_view content, std::string_view section,
                                        std::string_view key);

// The content with the key set to the value:
// - key present: the text after "=" and the blanks following it is replaced;
//   the line keeps its ending, and when the value is already the same the
//   content comes back unchanged;
// - section present, key missing: "key=value" goes after the section's last
//   non-blank line;
// - section missing: "[section]" and "key=value" go at the end.
// New lines end as the file's first line ending does ("\n" when it has none);
// a last line without an ending gets one before anything is added after it.
std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value);

// Reads like GetPrivateProfileString: the value, or the fallback when the
// file, section or key is missing or the file cannot be read, cut to
// bufferChars - 1 characters as a buffer of that size would hold it.
std::string ReadIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view fallback, std::size_t bufferChars);

// Writes like WritePrivateProfileString, creating the folder and the file
// where missing. A file that already holds the value is not written at all
// (its modification time stays). False when the file cannot be read or
// written; never throws.
bool WriteIniString(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view value);

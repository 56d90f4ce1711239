#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// Windows: the private-profile file functions, and the program's folder.

// GetPrivateProfileStringA into a buffer of bufferChars characters.
std::string ReadProfileValue(const std::filesystem::path& file, std::string_view section,
                             std::string_view key, std::string_view fallback,
                             std::size_t bufferChars);

// WritePrivateProfileStringA, skipped when the file already holds the value
// so that the file is not touched; false when the write fails.
bool WriteProfileValue(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view value);

// The folder that holds the program file, followed by "\mysetup.ini" as the
// tool has always named it: joined as they are.
std::filesystem::path ProgramFolderSettingsPath();

#include "SettingsFile.h"

#include <string>

#ifdef _WIN32
#include "PrivateProfile.h"
#else
#include "ConfigDir.h"
#include "IniFile.h"
#endif

namespace {
constexpr std::string_view Section = "language";
constexpr std::string_view Key = "comPort";
// The buffer the value is read into: at most 511 characters of it are seen.
constexpr std::size_t ValueBuffer = 512;

std::string ReadSetting(const std::filesystem::path& file) {
#ifdef _WIN32
    return ReadProfileValue(file, Section, Key, "", ValueBuffer);
#else
    return ReadIniString(file, Section, Key, "", ValueBuffer);
#endif
}

bool WriteSetting(const std::filesystem::path& file, std::string_view value) {
#ifdef _WIN32
    return WriteProfileValue(file, Section, Key, value);
#else
    return WriteIniString(file, Section, Key, value);
#endif
}
} // namespace

std::filesystem::path DefaultSettingsPath() {
#ifdef _WIN32
    return ProgramFolderSettingsPath();
#else
    return RadioinfoConfigDir() / "mysetup.ini";
#endif
}

std::int16_t ComPortFromText(std::string_view text) {
    constexpr std::string_view Blanks = " \t";
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return 0;
    }
    text = text.substr(first, text.find_last_not_of(Blanks) - first + 1);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return 0;
    }
    long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + (c - '0');
        if (value > INT16_MAX + 1) {
            return 0; // stop before long overflows on a long digit string
        }
    }
    value = negative ? -value : value;
    return value >= INT16_MIN && value <= INT16_MAX ? static_cast<std::int16_t>(value) : 0;
}

SettingsFile::SettingsFile() : path_(DefaultSettingsPath()) {}

SettingsFile::SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

std::int16_t SettingsFile::ReadComPort() const {
    return ComPortFromText(ReadSetting(path_));
}

bool SettingsFile::WriteComPort(std::int16_t portNo) const {
    return WriteSetting(path_, std::to_string(portNo));
}

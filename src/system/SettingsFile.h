#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

// The settings file mysetup.ini: section "language", key "comPort", the
// selected port number. On Windows it sits beside the program and goes
// through the private-profile functions; elsewhere it is
// <config>/radioinfo/mysetup.ini, read and written by IniFile.
class SettingsFile {
  public:
    SettingsFile();                                    // this platform's file
    explicit SettingsFile(std::filesystem::path path); // another file, for tests

    // The saved port number; 0 when the file, section or key is missing or
    // the value is not a whole number in the 16-bit signed range.
    std::int16_t ReadComPort() const;

    // Saves the port number. False when the file could not be written, which
    // the tool ignores: it keeps the selected port for this run.
    bool WriteComPort(std::int16_t portNo) const;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The platform's settings file path.
std::filesystem::path DefaultSettingsPath();

// A saved value as a port number: blanks around it ignored, an optional sign
// and digits only, within -32768..32767; anything else gives 0.
std::int16_t ComPortFromText(std::string_view text);

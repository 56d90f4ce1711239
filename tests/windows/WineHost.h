#pragma once

#include "UnderWine.h"

#include <optional>
#include <string>
#include <string_view>

// What the Windows tests need from the system they run on, whether that is
// Windows or Wine.

// Runs this program again with the arguments and returns what it printed on
// standard output once it has ended; nullopt when it could not be started or
// did not end within a minute. Meant for children that print a line or two.
std::optional<std::string> RunThisProgram(std::string_view arguments);

// Sets what Wine's version query reports to the programs started from now on,
// as `winecfg -v NAME` does (HKCU\Software\Wine, value Version), and restores
// the previous setting at the end. Windows itself ignores the value.
class ScopedWineVersion {
  public:
    explicit ScopedWineVersion(const std::string& name);
    ~ScopedWineVersion();
    ScopedWineVersion(const ScopedWineVersion&) = delete;
    ScopedWineVersion& operator=(const ScopedWineVersion&) = delete;

  private:
    std::optional<std::string> previous_;
};

#pragma once

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

// A pseudo-terminal held open for a test: its terminal side stands in for a
// serial port as radio-sim's does.
class PseudoTerminal {
  public:
    PseudoTerminal() : master_(::posix_openpt(O_RDWR | O_NOCTTY)) {
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) {
            const char* name = ::ptsname(master_);
            path_ = name != nullptr ? name : "";
        }
    }
    ~PseudoTerminal() {
        if (master_ >= 0) {
            ::close(master_);
        }
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // /dev/pts/N; empty when none could be made.
    const std::filesystem::path& Path() const { return path_; }

  private:
    int master_;
    std::filesystem::path path_;
};

#pragma once

#include <filesystem>
#include <string>

namespace radiosim {

// A pseudo-terminal pair in raw mode. The simulator keeps its own descriptor of the slave
// open, so that the pty does not hang up whenever the tool closes its port between runs.
class Pty {
  public:
    Pty(); // throws std::system_error
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// A symlink to the pty under a stable name, removed again when it goes out of scope
// (unless somebody has pointed it elsewhere meanwhile).
class PtyLink {
  public:
    PtyLink(std::filesystem::path link, std::string target); // throws
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

  private:
    std::filesystem::path link_;
    std::string target_;
};

} // namespace radiosim

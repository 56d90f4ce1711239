#pragma once

#include "Clock.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

namespace radiosim {

// A log of commands and events, one line each: "<ms since start> <text>". Each line is
// flushed at once so that a test can read the file while the simulator runs.
class Transcript {
  public:
    // Without a file every line is dropped. Throws std::runtime_error if the file cannot
    // be opened for appending.
    Transcript(const std::optional<std::filesystem::path>& file, TimePoint start);
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    void line(TimePoint now, std::string_view text);

  private:
    std::FILE* file_ = nullptr;
    TimePoint start_;
};

} // namespace radiosim

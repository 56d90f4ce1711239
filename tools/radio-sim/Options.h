#pragma once

#include "Bench.h"
#include "FaultPlan.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace radiosim {

struct BenchOptions {
    BenchTiming timing;
    std::optional<int> radios;
    std::vector<std::filesystem::path> images;
};

struct Options {
    bool help = false;
    bool showVersion = false; // --version without a text: the program's version
    std::optional<std::filesystem::path> link;
    std::optional<std::filesystem::path> image;
    std::optional<std::filesystem::path> save;
    std::optional<std::filesystem::path> transcript;
    std::optional<std::string> model;
    std::optional<std::string> version;
    std::optional<std::uint8_t> band;
    std::chrono::milliseconds latency{0};
    bool pace = false;
    FaultOptions faults;
    std::optional<BenchOptions> bench;

    int radioCount() const;
};

class OptionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Arguments without the program name. Throws OptionError on anything it cannot use.
Options parseOptions(std::span<const char* const> arguments);

std::string_view usageText();

} // namespace radiosim

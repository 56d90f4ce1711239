#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace radiosim {

// Faults are tied to command numbers: the first command of the run is 1.
struct FaultOptions {
    std::optional<int> silentFrom;
    std::optional<int> hangupAt;
    std::set<int> badChecksum;
    std::set<int> noise;
    std::set<int> split;
    std::set<int> repeat;
    int repeatTimes = 1;
};

class FaultPlan {
  public:
    explicit FaultPlan(FaultOptions options) : options_(std::move(options)) {}

    bool hangsUpAt(int n) const { return options_.hangupAt == n; }
    bool silentAt(int n) const { return options_.silentFrom && n >= *options_.silentFrom; }
    bool badChecksumAt(int n) const { return options_.badChecksum.contains(n); }
    bool noiseAt(int n) const { return options_.noise.contains(n); }
    bool splitAt(int n) const { return options_.split.contains(n); }

    // Whether W or END number n gets 0x0A. A listed command starts a run of repeatTimes
    // such answers; the run continues only while the tool sends the very same bytes again.
    bool asksRepeat(int n, const std::vector<std::uint8_t>& raw);

  private:
    FaultOptions options_;
    int repeatsLeft_ = 0;
    std::vector<std::uint8_t> repeatedCommand_;
};

} // namespace radiosim

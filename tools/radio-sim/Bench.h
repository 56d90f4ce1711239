#pragma once

#include "Clock.h"
#include "Radio.h"

#include <optional>
#include <string>
#include <vector>

namespace radiosim {

struct BenchTiming {
    Duration stay; // attached after its END, still answering
    Duration gap;  // nobody attached before the next radio
};

// The radios in turn on the cable. Without timing there is one radio, attached for good.
// With timing, a radio's first acknowledged END starts its stay; later ENDs do not extend
// it. After the stay and the gap the next radio is attached; after the last, nobody.
class Bench {
  public:
    Bench(std::vector<Memory> memories, std::optional<BenchTiming> timing);

    Radio* attached() { return attached_ ? &radios_[index_] : nullptr; }
    int attachedNumber() const { return static_cast<int>(index_) + 1; }

    void onSessionEnded(TimePoint now);

    // Moves the timeline on; returns what happened, for the transcript.
    std::vector<std::string> advance(TimePoint now);

    std::optional<TimePoint> nextChange() const { return nextChange_; }

  private:
    std::vector<Radio> radios_;
    std::optional<BenchTiming> timing_;
    std::size_t index_ = 0;
    bool attached_ = true;
    std::optional<TimePoint> nextChange_;
};

} // namespace radiosim

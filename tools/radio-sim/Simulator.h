#pragma once

#include "Bench.h"
#include "FaultPlan.h"
#include "FrameParser.h"
#include "Options.h"
#include "OutputLine.h"
#include "Transcript.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace radiosim {

// The cable and whatever radio is on it: turns the tool's bytes into echo and answers
// on the output line, with the configured timing and faults. Does no I/O of its own
// apart from saving images and the transcript.
class Simulator {
  public:
    Simulator(const Options& options, std::vector<Memory> memories, OutputLine& output,
              Transcript& transcript);

    void receive(std::span<const std::uint8_t> bytes, TimePoint now);

    // Runs what is due by now: dropping a stale partial command, the bench timeline.
    void tick(TimePoint now);

    std::optional<TimePoint> nextDeadline() const;

    // The cable was pulled (--hangup): the caller closes the pty and stops.
    bool hungUp() const { return hungUp_; }

    static constexpr Duration kPartialTimeout = std::chrono::milliseconds(500);
    static constexpr Duration kSplitPause = std::chrono::milliseconds(50);

  private:
    void take(std::vector<ParsedItem> items, TimePoint now);
    void handle(const Command& command, TimePoint now);
    void saveAfterEnd();
    void send(std::vector<std::uint8_t> lead, std::vector<std::uint8_t> answer, bool split,
              TimePoint now);

    OutputLine& output_;
    Transcript& transcript_;
    FaultPlan faults_;
    Bench bench_;
    FrameParser parser_;
    Duration latency_;
    bool paced_;
    std::optional<std::filesystem::path> save_;
    bool numberedSaves_;
    int commandCount_ = 0;
    TimePoint lastByteAt_{};
    bool hungUp_ = false;
};

} // namespace radiosim

#pragma once

#include "Clock.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace radiosim {

// The radio's transmit line: chunks of bytes, each not to be sent before its time, sent
// strictly in order. When paced, bytes leave no faster than a 9600-baud 8N1 line would
// deliver them.
class OutputLine {
  public:
    static constexpr Duration kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 9600);

    explicit OutputLine(bool paced) : paced_(paced) {}

    void push(std::vector<std::uint8_t> bytes, TimePoint notBefore);
    void clear() { chunks_.clear(); }
    std::size_t backlog() const;

    struct Wait {
        std::optional<TimePoint> until; // write more at this time
        bool forWritable = false;       // the descriptor is full
    };
    // Writes what is due to fd (non-blocking). Throws std::system_error on write errors.
    Wait flush(int fd, TimePoint now);

  private:
    struct Chunk {
        std::vector<std::uint8_t> bytes;
        std::size_t sent = 0;
        TimePoint notBefore;
    };
    bool paced_;
    std::deque<Chunk> chunks_;
    TimePoint lineFreeAt_{};
};

} // namespace radiosim

#include "Bench.h"

namespace radiosim {

Bench::Bench(std::vector<Memory> memories, std::optional<BenchTiming> timing) : timing_(timing) {
    for (const Memory& memory : memories) {
        radios_.emplace_back(memory);
    }
    attached_ = !radios_.empty();
}

void Bench::onSessionEnded(TimePoint now) {
    if (timing_ && attached_ && !nextChange_) {
        nextChange_ = now + timing_->stay;
    }
}

std::vector<std::string> Bench::advance(TimePoint now) {
    std::vector<std::string> events;
    while (nextChange_ && *nextChange_ <= now) {
        const TimePoint due = *nextChange_;
        nextChange_.reset();
        if (attached_) {
            events.push_back("DETACH " + std::to_string(attachedNumber()));
            attached_ = false;
            if (index_ + 1 < radios_.size()) {
                nextChange_ = due + timing_->gap;
            }
        } else {
            ++index_;
            attached_ = true;
            events.push_back("ATTACH " + std::to_string(attachedNumber()));
        }
    }
    return events;
}

} // namespace radiosim

#include "Simulator.h"

#include "Frames.h"
#include "MemoryImage.h"

#include <algorithm>
#include <iostream>

namespace radiosim {

namespace {

const std::vector<std::uint8_t> kNoise{0x00, 0xFF, 0x13};

} // namespace

Simulator::Simulator(const Options& options, std::vector<Memory> memories, OutputLine& output,
                     Transcript& transcript)
    : output_(output), transcript_(transcript), faults_(options.faults),
      bench_(std::move(memories),
             options.bench ? std::optional(options.bench->timing) : std::nullopt),
      latency_(options.latency), paced_(options.pace), save_(options.save),
      numberedSaves_(options.bench.has_value()) {}

void Simulator::receive(std::span<const std::uint8_t> bytes, TimePoint now) {
    tick(now);
    for (const std::uint8_t byte : bytes) {
        if (hungUp_) {
            return;
        }
        take(parser_.feed(byte), now);
    }
    lastByteAt_ = now;
}

void Simulator::tick(TimePoint now) {
    for (const std::string& event : bench_.advance(now)) {
        transcript_.line(now, event);
    }
    if (parser_.hasPartial() && now >= lastByteAt_ + kPartialTimeout) {
        take(parser_.abandonPartial(), now);
    }
}

std::optional<TimePoint> Simulator::nextDeadline() const {
    std::optional<TimePoint> deadline = bench_.nextChange();
    if (parser_.hasPartial()) {
        const TimePoint stale = lastByteAt_ + kPartialTimeout;
        deadline = deadline ? std::min(*deadline, stale) : stale;
    }
    return deadline;
}

void Simulator::take(std::vector<ParsedItem> items, TimePoint now) {
    for (ParsedItem& item : items) {
        if (hungUp_) {
            return;
        }
        if (item.command) {
            handle(*item.command, now);
        } else {
            output_.push(std::move(item.bytes), now);
        }
    }
}

void Simulator::handle(const Command& command, TimePoint now) {
    const int n = ++commandCount_;
    transcript_.line(now, describe(command));
    if (faults_.hangsUpAt(n)) {
        transcript_.line(now, "HANGUP");
        hungUp_ = true;
        return;
    }
    std::vector<std::uint8_t> lead;
    if (faults_.noiseAt(n)) {
        transcript_.line(now, "NOISE 00 FF 13");
        lead = kNoise;
    }
    lead.insert(lead.end(), command.raw.begin(), command.raw.end());

    Reply reply;
    Radio* radio = bench_.attached();
    if (radio != nullptr && !faults_.silentAt(n)) {
        const bool acknowledges =
            command.kind == CommandKind::Write || command.kind == CommandKind::End;
        reply = radio->handle(command, acknowledges && faults_.asksRepeat(n, command.raw));
        if (faults_.badChecksumAt(n) && reply.bytes.size() == kDataFrameSize) {
            ++reply.bytes[kChecksumOffset];
        }
        if (reply.sessionEnded) {
            saveAfterEnd();
            bench_.onSessionEnded(now);
        }
    }
    send(std::move(lead), std::move(reply.bytes), faults_.splitAt(n), now);
}

void Simulator::saveAfterEnd() {
    if (!save_) {
        return;
    }
    std::filesystem::path file = *save_;
    if (numberedSaves_) {
        file += "." + std::to_string(bench_.attachedNumber());
    }
    try {
        saveImage(file, bench_.attached()->memory());
    } catch (const std::exception& error) {
        // A failed save must not end the session the tool is in the middle of.
        std::cerr << "radio-sim: " << error.what() << '\n';
    }
}

void Simulator::send(std::vector<std::uint8_t> lead, std::vector<std::uint8_t> answer, bool split,
                     TimePoint now) {
    // On a real line the radio has the whole command only when its echo has
    // come back through the cable; its latency starts from there.
    const Duration echoTime =
        paced_ ? OutputLine::kByteTime * static_cast<long>(lead.size()) : Duration{};
    const TimePoint answerAt = now + echoTime + latency_;
    if (!split) {
        output_.push(std::move(lead), now);
        output_.push(std::move(answer), answerAt);
        return;
    }
    // Cut everything in the middle; a part goes out no earlier than its last byte would.
    const std::size_t leadSize = lead.size();
    const bool answered = !answer.empty();
    std::vector<std::uint8_t> all = std::move(lead);
    all.insert(all.end(), answer.begin(), answer.end());
    const auto middle = all.begin() + static_cast<std::ptrdiff_t>(all.size() / 2);
    const TimePoint firstAt = all.size() / 2 > leadSize ? answerAt : now;
    const TimePoint secondAt = std::max(firstAt + kSplitPause, answered ? answerAt : now);
    output_.push({all.begin(), middle}, firstAt);
    output_.push({middle, all.end()}, secondAt);
}

} // namespace radiosim

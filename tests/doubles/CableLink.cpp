#include "doubles/CableLink.h"

#include <algorithm>

CableLink::CableLink(VirtualClock& clock, FakeSerial& serial) : clock_(clock), serial_(serial) {
    serial_.SetOnOutput([this](std::span<const std::uint8_t> sent) { OnOutput(sent); });
}

void CableLink::OnOutput(std::span<const std::uint8_t> sent) {
    if (!plugged_) {
        return;
    }
    Bytes reply;
    TestRadio::Reply answer;
    if (radio_ != nullptr) {
        answer = radio_->Receive(sent);
    }
    reply.insert(reply.end(), answer.BeforeEcho.begin(), answer.BeforeEcho.end());
    reply.insert(reply.end(), sent.begin(), sent.end());
    reply.insert(reply.end(), answer.Answer.begin(), answer.Answer.end());

    Chunking plan = default_;
    if (chooser_) {
        if (auto chosen = chooser_(sent)) {
            plan = *chosen;
        }
    }
    if (plan.Drop) {
        return;
    }
    std::vector<std::size_t> cuts;
    for (const std::size_t at : plan.SplitAt) {
        if (at > 0 && at < reply.size()) {
            cuts.push_back(at);
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    cuts.push_back(reply.size());

    VirtualClock::Time when = plan.Latency;
    std::size_t from = 0;
    for (const std::size_t to : cuts) {
        Bytes chunk(reply.begin() + static_cast<std::ptrdiff_t>(from),
                    reply.begin() + static_cast<std::ptrdiff_t>(to));
        clock_.After(when, [this, chunk] { serial_.Deliver(chunk); });
        when += plan.Gap;
        from = to;
    }
}

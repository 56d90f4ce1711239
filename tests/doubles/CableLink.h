#pragma once

#include "doubles/CommandText.h"
#include "doubles/FakeSerial.h"
#include "doubles/TestRadio.h"
#include "doubles/VirtualClock.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

// The programming cable between the fake serial control and a test radio.
// It echoes every byte the tool sends (while plugged in), puts the radio's
// answer after the echo and delivers the whole reply after a latency on the
// virtual clock, in one chunk or split at chosen positions with a gap between.
class CableLink {
  public:
    struct Chunking {
        VirtualClock::Time Latency = 5;   // from the command to the first chunk
        std::vector<std::size_t> SplitAt; // positions in the reply where a new chunk starts
        VirtualClock::Time Gap = 1;       // between chunks
        bool Drop = false;                // nothing of this reply arrives
    };
    // Chooses the chunking of the reply to one command; nullopt = the default.
    using Chooser = std::function<std::optional<Chunking>(std::span<const std::uint8_t> sent)>;

    CableLink(VirtualClock& clock, FakeSerial& serial);

    // A radio on the cable (nullptr: none). The cable still echoes.
    void Attach(TestRadio& radio) { radio_ = &radio; }
    void Detach() { radio_ = nullptr; }
    TestRadio* Attached() const { return radio_; }
    // A plugged cable echoes every byte; unplugged, nothing comes back at all.
    void SetPlugged(bool plugged) { plugged_ = plugged; }

    void SetLatency(VirtualClock::Time ms) { default_.Latency = ms; }
    void SetChunking(Chunking chunking) { default_ = std::move(chunking); }
    void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }

  private:
    void OnOutput(std::span<const std::uint8_t> sent);

    VirtualClock& clock_;
    FakeSerial& serial_;
    TestRadio* radio_ = nullptr;
    bool plugged_ = true;
    Chunking default_;
    Chooser chooser_;
};

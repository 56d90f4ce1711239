#pragma once

#include "doubles/CommandText.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// An in-process radio with its own information area 0x3B00..0x3BFF. It reads
// the commands out of the bytes the tool sends and answers them from its own
// memory, building every answer byte by byte with its own sum:
//   PROGRAM            -> 48 56 06 (and the radio is in programming mode)
//   R AH AL 10         -> 57 AH AL 10, 16 bytes, sum of offsets 1..19, 06
//   W frame (22 bytes) -> stores the 16 bytes, 06
//   END                -> 06 (programming mode ends)
// The cable adds the echo; the radio only gives its answer (and optional
// noise that the cable puts before the echo). Faults are set per command text
// ("PROGRAM", "R 3B20", "W 3B60", "END") and count down per occurrence.
class TestRadio {
  public:
    static constexpr int Base = 0x3B00;
    using Memory = std::array<std::uint8_t, 256>;

    struct Reply {
        Bytes BeforeEcho; // line noise ahead of the echo
        Bytes Answer;     // the radio's answer after the echo
    };

    // A radio of the right model (KVT4610, V100) with its fields filled and
    // every byte the tool does not interpret set to a pattern drawn from seed.
    static Memory FactoryMemory(int seed = 1);

    TestRadio() : TestRadio(FactoryMemory()) {}
    explicit TestRadio(const Memory& memory) : memory_(memory) {}

    // Memory access by radio address.
    const Memory& Mem() const { return memory_; }
    void SetMemory(const Memory& memory) { memory_ = memory; }
    std::uint8_t At(int address) const;
    Bytes Block(int address) const;
    void Poke(int address, std::span<const std::uint8_t> bytes);
    void PokeText(int address, std::string_view text);
    // Raw bytes 0x3B00..0x3B06 (7 bytes) and 0x3B07..0x3B0A (4 bytes).
    void SetModelBytes(std::span<const std::uint8_t> seven);
    void SetVersionBytes(std::span<const std::uint8_t> four);
    void SetBand(std::uint8_t band) { memory_[0x0F] = band; }

    // The cable hands every byte the tool sent.
    Reply Receive(std::span<const std::uint8_t> bytes);

    // Faults
    // From the n-th command received (1 = the first) on, no answer at all.
    void SilentFrom(int commandNo) { silentFrom_ = commandNo; }
    void SilentOn(const std::string& command, int times = 1 << 30);
    // Answers 0x0A instead (and does not carry the command out).
    void RefuseNext(const std::string& command, int times = 1);
    // The data frame answer to an R carries a checksum one too high.
    void BadChecksumNext(const std::string& command, int times = 1);
    // Lets a test change the answer bytes.
    void MutateNext(const std::string& command, std::function<void(Bytes&)> change, int times = 1);
    // Noise bytes that arrive ahead of the echo.
    void NoiseNext(const std::string& command, Bytes noise, int times = 1);
    // Forgets every fault still to come.
    void ClearFaults() {
        faults_.clear();
        silentFrom_ = 0;
    }

    // What the radio heard, as command texts, in order.
    const std::vector<std::string>& Log() const { return log_; }
    int CountOf(std::string_view command) const;
    int CommandsReceived() const { return commandCount_; }
    // Commands the radio could not accept (a bad W frame, an R outside the
    // area, a command outside programming mode, stray bytes).
    const std::vector<std::string>& Violations() const { return violations_; }
    bool InProgramMode() const { return programMode_; }

  private:
    enum class FaultKind { Silent, Refuse, BadChecksum, Mutate, Noise };
    struct Fault {
        std::string Command;
        FaultKind Kind;
        int Remaining;
        std::function<void(Bytes&)> Change;
        Bytes Noise;
    };

    void Handle(const Bytes& command, Reply& reply);
    bool Take(const std::string& command, FaultKind kind, Fault** taken = nullptr);
    Bytes AnswerRead(const Bytes& command, const std::string& text);
    Bytes AnswerWrite(const Bytes& command, const std::string& text);

    Memory memory_;
    Bytes input_;
    std::vector<Fault> faults_;
    int silentFrom_ = 0;
    int commandCount_ = 0;
    bool programMode_ = false;
    std::vector<std::string> log_;
    std::vector<std::string> violations_;
};

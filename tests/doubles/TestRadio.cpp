#include "doubles/TestRadio.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::uint8_t Ack = 0x06;
constexpr std::uint8_t Repeat = 0x0A;

std::size_t Offset(int address) {
    return static_cast<std::size_t>(address - TestRadio::Base);
}

std::size_t CommandLength(std::uint8_t first) {
    switch (first) {
    case 0x50: // P
        return 7;
    case 0x52: // R
        return 4;
    case 0x57: // W
        return 22;
    case 0x45: // E
        return 3;
    default:
        return 0;
    }
}

} // namespace

TestRadio::Memory TestRadio::FactoryMemory(int seed) {
    Memory m{};
    // Bytes the tool does not interpret get a pattern that differs per seed.
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>((static_cast<std::size_t>(seed) * 37u + i * 11u + 5u) &
                                         0xFFu);
    }
    TestRadio r(m);
    r.PokeText(0x3B00, "KVT4610");
    r.PokeText(0x3B07, "V100");
    r.Poke(0x3B0B, FromHex("01 10 02 05")); // RF V1.10, LCD V2.05
    r.SetBand(1);
    r.Poke(0x3B10, FromHex("F1")); // factory bit and the four upper bits set
    r.PokeText(0x3B14, "KZWP");
    r.PokeText(0x3B18, "8888");
    r.PokeText(0x3B1C, "CN01");
    r.PokeText(0x3B20, "2026120600000005");
    r.Poke(0x3B30, FromHex("32 30 32 36 2D 31 32 2D 30 36 00 FF FF FF FF FF")); // 2026-12-06
    r.PokeText(0x3B40, "12-1-E-1");
    r.Poke(0x3B50, Bytes(16, 0xFF)); // never maintained: erased
    r.Poke(0x3B60, FromHex("4F 4C 44 2D 44 45 41 4C 45 52 00 00 00 00 00 00")); // OLD-DEALER
    r.Poke(0x3B70, FromHex("32 30 32 35 2D 30 31 2D 30 31 00 00 00 00 00 00")); // 2025-01-01
    r.Poke(0x3B80, Bytes(16, 0x00));
    r.Poke(0x3B90,
           FromHex("D6 D0 CE C4 00 00 00 00 00 00 00 00 00 00 00 00")); // Chinese "zhongwen"
    r.PokeText(0x3BA0, "Checked at the shop");
    r.Poke(0x3BB3, Bytes(61, 0x00));
    return r.Mem();
}

std::uint8_t TestRadio::At(int address) const {
    return memory_.at(Offset(address));
}

Bytes TestRadio::Block(int address) const {
    const std::size_t first = Offset(address);
    return Bytes(memory_.begin() + static_cast<std::ptrdiff_t>(first),
                 memory_.begin() + static_cast<std::ptrdiff_t>(first + 16));
}

void TestRadio::Poke(int address, std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        memory_.at(Offset(address) + i) = bytes[i];
    }
}

void TestRadio::PokeText(int address, std::string_view text) {
    Poke(address, Ascii(text));
}

void TestRadio::SetModelBytes(std::span<const std::uint8_t> seven) {
    Poke(0x3B00, seven.first(std::min<std::size_t>(seven.size(), 7)));
}

void TestRadio::SetVersionBytes(std::span<const std::uint8_t> four) {
    Poke(0x3B07, four.first(std::min<std::size_t>(four.size(), 4)));
}

void TestRadio::SilentOn(const std::string& command, int times) {
    faults_.push_back({command, FaultKind::Silent, times, {}, {}});
}

void TestRadio::RefuseNext(const std::string& command, int times) {
    faults_.push_back({command, FaultKind::Refuse, times, {}, {}});
}

void TestRadio::BadChecksumNext(const std::string& command, int times) {
    faults_.push_back({command, FaultKind::BadChecksum, times, {}, {}});
}

void TestRadio::MutateNext(const std::string& command, std::function<void(Bytes&)> change,
                           int times) {
    faults_.push_back({command, FaultKind::Mutate, times, std::move(change), {}});
}

void TestRadio::NoiseNext(const std::string& command, Bytes noise, int times) {
    faults_.push_back({command, FaultKind::Noise, times, {}, std::move(noise)});
}

int TestRadio::CountOf(std::string_view command) const {
    return static_cast<int>(std::count(log_.begin(), log_.end(), command));
}

bool TestRadio::Take(const std::string& command, FaultKind kind, Fault** taken) {
    for (Fault& fault : faults_) {
        if (fault.Kind == kind && fault.Remaining > 0 && fault.Command == command) {
            --fault.Remaining;
            if (taken != nullptr) {
                *taken = &fault;
            }
            return true;
        }
    }
    return false;
}

TestRadio::Reply TestRadio::Receive(std::span<const std::uint8_t> bytes) {
    Reply reply;
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    while (!input_.empty()) {
        const std::size_t length = CommandLength(input_.front());
        if (length == 0) {
            violations_.push_back("stray byte " + Hex(std::span(input_).first(1)));
            input_.erase(input_.begin());
            continue;
        }
        if (input_.size() < length) {
            break; // the rest of the command is still to come
        }
        const Bytes command(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(length));
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(length));
        Handle(command, reply);
    }
    return reply;
}

void TestRadio::Handle(const Bytes& command, Reply& reply) {
    ++commandCount_;
    const std::string text = DescribeCommand(command);
    log_.push_back(text);

    Fault* noise = nullptr;
    if (Take(text, FaultKind::Noise, &noise)) {
        reply.BeforeEcho.insert(reply.BeforeEcho.end(), noise->Noise.begin(), noise->Noise.end());
    }
    if (silentFrom_ > 0 && commandCount_ >= silentFrom_) {
        return;
    }
    if (Take(text, FaultKind::Silent)) {
        return;
    }

    Bytes answer;
    if (Take(text, FaultKind::Refuse)) {
        answer = {Repeat};
    } else if (text == "PROGRAM") {
        programMode_ = true;
        answer = {0x48, 0x56, Ack};
    } else if (text.rfind("??", 0) == 0) {
        violations_.push_back("unknown command " + text);
        return;
    } else if (!programMode_) {
        violations_.push_back(text + " outside programming mode");
        return;
    } else if (text == "END") {
        programMode_ = false;
        answer = {Ack};
    } else if (command[0] == 0x52) {
        answer = AnswerRead(command, text);
    } else {
        answer = AnswerWrite(command, text);
    }
    if (answer.empty()) {
        return;
    }
    Fault* mutate = nullptr;
    if (Take(text, FaultKind::Mutate, &mutate)) {
        mutate->Change(answer);
    }
    reply.Answer.insert(reply.Answer.end(), answer.begin(), answer.end());
}

Bytes TestRadio::AnswerRead(const Bytes& command, const std::string& text) {
    const int address = command[1] * 256 + command[2];
    if (command[3] != 0x10 || address < Base || address > Base + 0xF0 || address % 16 != 0) {
        violations_.push_back("cannot read: " + text);
        return {};
    }
    Bytes frame = {0x57, command[1], command[2], 0x10};
    const Bytes data = Block(address);
    frame.insert(frame.end(), data.begin(), data.end());
    std::uint8_t sum = ByteSum(std::span(frame).subspan(1, 19));
    if (Take(text, FaultKind::BadChecksum)) {
        sum = static_cast<std::uint8_t>(sum + 1);
    }
    frame.push_back(sum);
    frame.push_back(Ack);
    return frame;
}

Bytes TestRadio::AnswerWrite(const Bytes& command, const std::string& text) {
    const int address = command[1] * 256 + command[2];
    const std::uint8_t sum = ByteSum(std::span(command).subspan(1, 19));
    if (command[3] != 0x10 || command[21] != Ack) {
        violations_.push_back("malformed frame: " + text + ": " + Hex(command));
        return {};
    }
    if (command[20] != sum) {
        violations_.push_back("checksum wrong: " + text + ": " + Hex(command));
        return {};
    }
    if (address < Base || address > Base + 0xF0 || address % 16 != 0) {
        violations_.push_back("cannot write: " + text);
        return {};
    }
    Poke(address, std::span(command).subspan(4, 16));
    return {Ack};
}

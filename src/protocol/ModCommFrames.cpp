// Commands, answer recognisers and the storing of received blocks.
#include "ModComm.h"

#include "ModCRC.h"

#include <algorithm>

namespace {
constexpr std::uint8_t Ack = 0x06;
constexpr std::uint8_t Repeat = 0x0A;
constexpr std::uint8_t FrameMark = 0x57; // "W"
constexpr std::uint8_t ReadMark = 0x52;  // "R"
constexpr int FrameLength = 22;
constexpr std::array<std::uint8_t, 7> Program{'P', 'R', 'O', 'G', 'R', 'A', 'M'};
constexpr std::array<std::uint8_t, 3> End{'E', 'N', 'D'};
// The echoed "PROGRAM" followed by the radio's "HV" and 0x06.
constexpr std::array<std::uint8_t, 10> ProgramAnswer{'P', 'R', 'O', 'G', 'R',
                                                     'A', 'M', 'H', 'V', Ack};

std::uint8_t High(int address) {
    return static_cast<std::uint8_t>((address >> 8) & 0xFF);
}
std::uint8_t Low(int address) {
    return static_cast<std::uint8_t>(address & 0xFF);
}

std::size_t EchoLength(std::int32_t sentLength) {
    return static_cast<std::size_t>(std::max(sentLength, 0));
}
} // namespace

void ModComm::SendProgram() {
    SendFrame(Program, static_cast<int>(ProgramAnswer.size()));
}

void ModComm::ReadBlock(int address, int count) {
    const std::array<std::uint8_t, 4> command{ReadMark, High(address), Low(address),
                                              static_cast<std::uint8_t>(count)};
    SendFrame(command, static_cast<int>(command.size()) + 6 + count);
}

std::optional<int> ModComm::NextReadBlock() const {
    const int next = BlockAddress + BlockLength;
    return next <= LastBlock ? std::optional(next) : std::nullopt;
}

// Only the blocks a dealer's settings live in (and the last) go back to the radio.
std::optional<int> ModComm::NextWriteBlock() const {
    const std::span<const int> blocks = BlocksWritten();
    const auto next = std::ranges::upper_bound(blocks, int{BlockAddress});
    return next != blocks.end() ? std::optional(*next) : std::nullopt;
}

void ModComm::ReadNextBlock() {
    BlockAddress = static_cast<std::int16_t>(NextReadBlock().value_or(LastBlock));
    ReadBlock(BlockAddress, BlockLength);
}

void ModComm::WriteNextBlock() {
    BlockAddress = static_cast<std::int16_t>(NextWriteBlock().value_or(LastBlock));
    std::array<std::uint8_t, FrameLength> frame{FrameMark, High(BlockAddress), Low(BlockAddress),
                                                static_cast<std::uint8_t>(BlockLength)};
    const auto data = data_.Image.begin() + (BlockAddress - FirstBlock);
    std::copy(data, data + BlockLength, frame.begin() + 4);
    frame[20] = CheckSum(frame, 1, 0);
    frame[21] = Ack;
    SendFrame(frame, FrameLength + 1);
}

void ModComm::SendEnd() {
    SendFrame(End, static_cast<int>(End.size()) + 1);
}

bool ModComm::CheckProgramAnswer() const {
    const auto gathered = std::span(RxBuffer).first(static_cast<std::size_t>(RxLength));
    return std::ranges::search(gathered, ProgramAnswer).begin() != gathered.end();
}

bool ModComm::CheckOneByteAnswer(std::span<const std::uint8_t> chunk, std::uint8_t answer) const {
    const std::size_t n = EchoLength(SentLength);
    return serial_.RThreshold() == static_cast<int>(n) + 1 && chunk.size() == n + 1 &&
           chunk[n] == answer;
}

bool ModComm::CheckAckAnswer(std::span<const std::uint8_t> chunk) const {
    return CheckOneByteAnswer(chunk, Ack);
}

bool ModComm::CheckRepeatAnswer(std::span<const std::uint8_t> chunk) const {
    return CheckOneByteAnswer(chunk, Repeat);
}

// A data frame answers only the R command just sent, and only for the block
// it asked for: another block would be stored where the radio says and the
// one asked for would keep stale bytes, to be written back later.
bool ModComm::CheckDataFrame(std::span<const std::uint8_t> chunk) const {
    const std::size_t n = EchoLength(SentLength);
    const bool answersRead = lastCommand_.size() == 4 && lastCommand_[0] == ReadMark;
    if (!answersRead || chunk.size() != n + FrameLength) {
        return false;
    }
    return chunk[n] == FrameMark && chunk[n + 1] == lastCommand_[1] &&
           chunk[n + 2] == lastCommand_[2] && chunk[n + 3] == BlockLength && chunk[n + 21] == Ack &&
           VerifyCheckSum(chunk, static_cast<int>(n) + 1, 0, 0);
}

// The block the last R command asked for.
int ModComm::LastReadAddress() const {
    return lastCommand_.size() == 4 && lastCommand_[0] == ReadMark
               ? lastCommand_[1] * 256 + lastCommand_[2]
               : LastBlock;
}

void ModComm::StoreBlockByFrame(std::span<const std::uint8_t> chunk) {
    const std::size_t n = EchoLength(SentLength);
    if (chunk.size() < n + 4 + static_cast<std::size_t>(BlockLength)) {
        return;
    }
    const int address = chunk[n + 1] * 256 + chunk[n + 2];
    if (address < FirstBlock || address > LastBlock) {
        return;
    }
    std::copy_n(chunk.begin() + static_cast<std::ptrdiff_t>(n + 4), BlockLength,
                data_.Image.begin() + (address - FirstBlock));
}

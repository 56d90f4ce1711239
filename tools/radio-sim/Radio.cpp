#include "Radio.h"

#include "Frames.h"

namespace radiosim {

namespace {

const std::vector<std::uint8_t> kHandshakeAnswer{0x48, 0x56, kAck}; // "HV", ACK

bool inArea(unsigned address) {
    return address >= kAreaStart && address < kAreaStart + kAreaSize;
}

} // namespace

Reply Radio::handle(const Command& command, bool askRepeat) {
    if (command.kind == CommandKind::Program) {
        inSession_ = true;
        return {kHandshakeAnswer};
    }
    // Outside programming mode the radio does not listen to anything but PROGRAM.
    if (!inSession_) {
        return {};
    }
    switch (command.kind) {
    case CommandKind::Read:
        return {readBlock(command.address)};
    case CommandKind::Write:
        return {{askRepeat ? kRepeat : writeBlock(command)}};
    case CommandKind::End:
        if (askRepeat) {
            return {{kRepeat}};
        }
        inSession_ = false;
        return {{kAck}, true};
    case CommandKind::Program:
        break;
    }
    return {};
}

std::vector<std::uint8_t> Radio::readBlock(std::uint16_t address) const {
    std::vector<std::uint8_t> frame{kWriteStart, static_cast<std::uint8_t>(address >> 8),
                                    static_cast<std::uint8_t>(address & 0xFF), kBlockSize};
    // Bytes beyond the information area read as erased flash.
    for (unsigned i = 0; i < kBlockSize; ++i) {
        const unsigned at = address + i;
        frame.push_back(inArea(at) ? memory_[at - kAreaStart] : std::uint8_t{0xFF});
    }
    frame.push_back(frameChecksum(frame));
    frame.push_back(kAck);
    return frame;
}

std::uint8_t Radio::writeBlock(const Command& command) {
    const auto& frame = command.raw;
    if (frame[kChecksumOffset] != frameChecksum(frame) || frame[kDataFrameSize - 1] != kAck) {
        return kRepeat; // garbled on the line: the radio asks for the frame again
    }
    // Misplaced blocks are acknowledged like any other but change nothing.
    const unsigned address = command.address;
    if (inArea(address) && (address - kAreaStart) % kBlockSize == 0) {
        for (unsigned i = 0; i < kBlockSize; ++i) {
            memory_[address - kAreaStart + i] = frame[kDataOffset + i];
        }
    }
    return kAck;
}

} // namespace radiosim

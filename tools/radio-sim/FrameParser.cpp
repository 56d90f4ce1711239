#include "FrameParser.h"

#include "Frames.h"

#include <algorithm>

namespace radiosim {

namespace {

std::uint16_t addressOf(const std::vector<std::uint8_t>& bytes) {
    return static_cast<std::uint16_t>((bytes[1] << 8) | bytes[2]);
}

std::size_t lengthOf(std::uint8_t start) {
    switch (start) {
    case 'P':
        return kProgramText.size();
    case 'E':
        return kEndText.size();
    case kReadStart:
        return kReadCommandSize;
    default:
        return kDataFrameSize;
    }
}

CommandKind kindOf(std::uint8_t start) {
    switch (start) {
    case 'P':
        return CommandKind::Program;
    case 'E':
        return CommandKind::End;
    case kReadStart:
        return CommandKind::Read;
    default:
        return CommandKind::Write;
    }
}

} // namespace

FrameParser::Verdict FrameParser::judge(const std::vector<std::uint8_t>& bytes) {
    const auto matchText = [&bytes](std::string_view text) {
        const std::size_t n = std::min(bytes.size(), text.size());
        if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n),
                        text.begin())) {
            return Verdict::NotACommand;
        }
        return n == text.size() ? Verdict::Complete : Verdict::Incomplete;
    };
    switch (bytes.front()) {
    case 'P':
        return matchText(kProgramText);
    case 'E':
        return matchText(kEndText);
    case kReadStart:
    case kWriteStart:
        if (bytes.size() < kReadCommandSize) {
            return Verdict::Incomplete;
        }
        if (bytes[3] != kBlockSize) {
            return Verdict::NotACommand;
        }
        if (bytes.front() == kWriteStart && bytes.size() < kDataFrameSize) {
            return Verdict::Incomplete;
        }
        return Verdict::Complete;
    default:
        return Verdict::NotACommand;
    }
}

void FrameParser::dropFirst(std::vector<ParsedItem>& out) {
    if (out.empty() || out.back().command) {
        out.push_back({});
    }
    out.back().bytes.push_back(pending_.front());
    pending_.erase(pending_.begin());
}

void FrameParser::settle(std::vector<ParsedItem>& out) {
    while (!pending_.empty()) {
        switch (judge(pending_)) {
        case Verdict::Incomplete:
            return;
        case Verdict::NotACommand:
            dropFirst(out);
            break;
        case Verdict::Complete: {
            // Only after an abandoned command can bytes follow a complete one here.
            const auto end = pending_.begin() + static_cast<std::ptrdiff_t>(lengthOf(pending_[0]));
            std::vector<std::uint8_t> bytes(pending_.begin(), end);
            pending_.erase(pending_.begin(), end);
            Command command{kindOf(bytes.front()), 0, bytes};
            if (command.kind == CommandKind::Read || command.kind == CommandKind::Write) {
                command.address = addressOf(bytes);
            }
            out.push_back({std::move(bytes), std::move(command)});
            break;
        }
        }
    }
}

std::vector<ParsedItem> FrameParser::feed(std::uint8_t byte) {
    std::vector<ParsedItem> out;
    pending_.push_back(byte);
    settle(out);
    return out;
}

std::vector<ParsedItem> FrameParser::abandonPartial() {
    std::vector<ParsedItem> out;
    while (!pending_.empty()) {
        dropFirst(out);
        settle(out);
    }
    return out;
}

} // namespace radiosim

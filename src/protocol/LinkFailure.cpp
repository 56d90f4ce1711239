#include "LinkFailure.h"

#include "Messages.h"

#include <cstdio>

namespace {
std::u16string Ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string BlockName(int address) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(address) & 0xFFFFu);
    return Ascii(digits);
}

// The template with %1..%4 replaced by the values given.
std::u16string Fill(std::u16string_view pattern, std::span<const std::u16string> values) {
    std::u16string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t next = i + 1 < pattern.size() ? pattern[i + 1] : u'\0';
        const auto index = static_cast<std::size_t>(next - u'1');
        if (pattern[i] == u'%' && next >= u'1' && index < values.size()) {
            text += values[index];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

bool IsWrite(std::span<const std::uint8_t> command) {
    return !command.empty() && command[0] == 'W';
}
} // namespace

std::u16string PortName(int portNo, std::u16string_view device) {
    const std::u16string com = portNo > 0 ? u"COM" + Ascii(std::to_string(portNo)) : u"";
    if (device.empty() || com.empty()) {
        return com.empty() ? std::u16string(device) : com;
    }
    return com + u" (" + std::u16string(device) + u")";
}

std::u16string CommandName(std::span<const std::uint8_t> command) {
    if (command.empty()) {
        return {};
    }
    switch (command[0]) {
    case 'P':
        return u"PROGRAM";
    case 'E':
        return u"END";
    case 'R':
    case 'W':
        if (command.size() >= 3) {
            return std::u16string(1, command[0]) + u" " + BlockName(command[1] * 256 + command[2]);
        }
        break;
    }
    return {};
}

namespace {
// What the radio holds after the blocks: partly written when any W block went
// out; empty when the command was no W and none was acknowledged.
std::u16string WrittenPart(std::span<const std::uint8_t> command,
                           std::span<const int> acknowledgedBlocks, std::size_t lang,
                           std::span<const std::u16string> values) {
    if (!acknowledgedBlocks.empty()) {
        return std::u16string(Msg::SentenceGap[lang]) + Fill(Msg::PartlyWritten[lang], values);
    }
    if (IsWrite(command)) {
        return std::u16string(Msg::SentenceGap[lang]) +
               Fill(Msg::NothingAcknowledged[lang], values);
    }
    return {};
}

std::u16string BlockList(std::span<const int> acknowledgedBlocks, std::size_t lang) {
    std::u16string blocks;
    for (const int address : acknowledgedBlocks) {
        blocks += (blocks.empty() ? u"" : std::u16string(Msg::ListGap[lang])) + BlockName(address);
    }
    return blocks;
}
} // namespace

std::u16string LinkFailureLine(const LinkFailure& failure, int langType) {
    const std::size_t lang = langType == 2 ? 1 : 0;
    const std::u16string values[] = {
        PortName(failure.portNo, failure.device), CommandName(failure.command),
        Ascii(std::to_string(failure.refusals)), BlockList(failure.acknowledgedBlocks, lang)};
    const std::u16string line =
        Fill(failure.refusals > 0 ? Msg::Refused[lang] : Msg::NoAnswer[lang], values) +
        WrittenPart(failure.command, failure.acknowledgedBlocks, lang, values);
    return line + std::u16string(Msg::SentenceGap[lang]) + std::u16string(Msg::LinkHint[lang]);
}

std::u16string StoppedWriteLine(std::span<const std::uint8_t> command,
                                std::span<const int> acknowledgedBlocks, int langType) {
    const std::size_t lang = langType == 2 ? 1 : 0;
    const std::u16string values[] = {u"", CommandName(command), u"",
                                     BlockList(acknowledgedBlocks, lang)};
    return Fill(Msg::StoppedWriting[lang], values) +
           WrittenPart(command, acknowledgedBlocks, lang, values);
}

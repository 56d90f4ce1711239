#include "ModSetComm2.h"

#include <algorithm>

namespace {
constexpr std::size_t PrefixLength = 3; // "COM"
constexpr std::size_t MaxNumberLength = 3;
constexpr int FixedPortCount = 256;

std::u16string_view TrimSpaces(std::u16string_view text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

std::u16string NumberText(std::u16string_view data) {
    // The data ends at its first NUL, as it would in the fetch buffer.
    data = data.substr(0, data.find(u'\0'));
    if (data.size() <= PrefixLength) {
        return {};
    }
    return std::u16string(TrimSpaces(data.substr(PrefixLength, MaxNumberLength)));
}

std::optional<std::int16_t> DigitsValue(std::u16string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
        if (value > INT16_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<std::int16_t>(value);
}
} // namespace

std::int16_t ListComPorts(std::vector<PortEntry>& list, PortSource& source) {
    list.clear();
    std::int16_t first = 0;
    for (const SystemPort& port : source.Ports()) {
        std::u16string number = NumberText(port.data);
        if (first == 0) {
            first = DigitsValue(number).value_or(0);
        }
        list.push_back({u"COM" + number, port.devicePath});
    }
    return first;
}

std::int16_t ListComPorts(std::vector<std::u16string>& list, PortSource& source) {
    std::vector<PortEntry> entries;
    const std::int16_t first = ListComPorts(entries, source);
    list = EntryTexts(entries);
    return first;
}

std::vector<std::u16string> EntryTexts(const std::vector<PortEntry>& list) {
    std::vector<std::u16string> texts;
    texts.reserve(list.size());
    for (const PortEntry& entry : list) {
        texts.push_back(entry.text);
    }
    return texts;
}

bool InComPorts(const std::vector<std::u16string>& list, int portNo) {
    return std::find(list.begin(), list.end(), ComPortText(portNo)) != list.end();
}

std::optional<std::int16_t> PortNumberOfEntry(std::u16string_view entry) {
    if (entry.size() <= PrefixLength) {
        return std::nullopt;
    }
    return DigitsValue(entry.substr(PrefixLength));
}

std::vector<std::u16string> FixedComPortList() {
    std::vector<std::u16string> list;
    list.reserve(FixedPortCount);
    for (int portNo = 1; portNo <= FixedPortCount; ++portNo) {
        list.push_back(ComPortText(portNo));
    }
    return list;
}

std::u16string ComPortText(int portNo) {
    const std::string digits = std::to_string(portNo);
    return u"COM" + std::u16string(digits.begin(), digits.end());
}

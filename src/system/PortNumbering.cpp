#include "PortNumbering.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace {
constexpr int BlockSize = 32;
constexpr int FirstOtherNumber = 97;
constexpr int MaxPortNumber = 999;

struct Block {
    std::u16string_view prefix;
    int firstNumber;
};

// Longer prefixes are not needed first: "ttyS" is no prefix of the others.
constexpr Block Blocks[] = {
    {u"ttyS", 1},
    {u"ttyUSB", 33},
    {u"ttyACM", 65},
};

// The value of an all-digit text below the block size, else -1.
int IndexInBlock(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 2) {
        return -1;
    }
    int value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9') {
            return -1;
        }
        value = value * 10 + (c - u'0');
    }
    return value < BlockSize ? value : -1;
}
} // namespace

int FixedDeviceNumber(std::u16string_view kernelName) {
    for (const Block& block : Blocks) {
        if (kernelName.starts_with(block.prefix)) {
            const int index = IndexInBlock(kernelName.substr(block.prefix.size()));
            return index < 0 ? 0 : block.firstNumber + index;
        }
    }
    return 0;
}

std::vector<SystemPort> NumberPorts(const std::vector<PortAlias>& aliases,
                                    std::vector<SerialDevice> devices) {
    std::map<int, std::u16string> byNumber;
    for (const PortAlias& alias : aliases) {
        if (alias.number >= 1 && alias.number <= MaxPortNumber) {
            byNumber.try_emplace(alias.number, alias.devicePath);
        }
    }
    // Sorted by kernel name so that the numbers of the other kinds do not
    // depend on the order in which the system happens to report them.
    std::sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) {
        return a.kernelName < b.kernelName;
    });
    std::vector<const SerialDevice*> others;
    for (const SerialDevice& device : devices) {
        const int number = FixedDeviceNumber(device.kernelName);
        if (number == 0) {
            others.push_back(&device);
        } else {
            byNumber.try_emplace(number, device.path);
        }
    }
    int next = FirstOtherNumber;
    for (const SerialDevice* device : others) {
        while (byNumber.contains(next)) {
            ++next;
        }
        if (next > MaxPortNumber) {
            break;
        }
        byNumber.emplace(next, device->path);
    }
    std::vector<SystemPort> ports;
    ports.reserve(byNumber.size());
    for (const auto& [number, path] : byNumber) {
        ports.push_back({ComPortText(number), path});
    }
    return ports;
}

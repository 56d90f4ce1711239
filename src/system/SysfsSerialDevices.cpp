#include "SysfsSerialDevices.h"

#include <fstream>
#include <string_view>

namespace fs = std::filesystem;

namespace {
bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsDevicelessSerialPort(std::string_view name) {
    return StartsWith(name, "rfcomm") || StartsWith(name, "tnt") || StartsWith(name, "ttyGS");
}

// An 8250 driver registers every port it might have; type 0 means none is there.
bool IsEmpty8250Port(const fs::path& entry) {
    std::error_code error;
    if (fs::read_symlink(entry / "device" / "driver", error).filename() != "serial8250") {
        return false;
    }
    std::ifstream type(entry / "type");
    int value = -1;
    return type >> value && value == 0;
}

bool IsSerialPort(const fs::path& entry) {
    std::error_code error;
    if (!fs::exists(entry / "device", error)) {
        return IsDevicelessSerialPort(entry.filename().string());
    }
    return !IsEmpty8250Port(entry);
}
} // namespace

std::optional<std::vector<SerialDevice>> SysfsSerialDevices(const fs::path& classFolder) {
    std::error_code error;
    fs::directory_iterator it(classFolder, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<SerialDevice> devices;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error) {
            return std::nullopt;
        }
        if (!IsSerialPort(it->path())) {
            continue;
        }
        try {
            const std::u16string name = it->path().filename().u16string();
            devices.push_back({name, u"/dev/" + name});
        } catch (const std::exception&) {
            // A name that is not valid UTF-8 cannot be shown; the kernel gives none.
        }
    }
    return devices;
}

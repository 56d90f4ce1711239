#include "TerminalDevice.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {
// Minors are 20 bits wide.
constexpr unsigned AllMinors = (1U << 20) - 1;

bool Number(std::string_view text, unsigned& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// "64" or "0-1048575".
bool MinorRange(std::string_view text, TtyDriverRange& range) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        return Number(text, range.firstMinor) && Number(text, range.lastMinor);
    }
    return Number(text.substr(0, dash), range.firstMinor) &&
           Number(text.substr(dash + 1), range.lastMinor) && range.firstMinor <= range.lastMinor;
}

// The kinds of tty a cable can be on: a serial port or the terminal side of a
// pseudo-terminal. Not the system's own (/dev/tty, which is whoever runs the
// program's terminal, /dev/console, /dev/ptmx), nor the virtual consoles.
bool CableKind(std::string_view type) {
    return type == "serial" || type == "pty:slave";
}

// For a system whose table cannot be read.
const std::vector<TtyDriverRange>& FixedTtyRanges() {
    static const std::vector<TtyDriverRange> ranges{
        {3, 0, 255},         // BSD pseudo-terminals, the terminal side
        {4, 64, 255},        // ttyS
        {136, 0, AllMinors}, // Unix98 pseudo-terminals (/dev/pts)
        {166, 0, 255},       // ttyACM
        {188, 0, 511},       // ttyUSB
        {204, 0, 255},       // low-density serial ports
    };
    return ranges;
}

bool InRange(const std::vector<TtyDriverRange>& ranges, unsigned major, unsigned minor) {
    return std::ranges::any_of(ranges, [major, minor](const TtyDriverRange& r) {
        return r.major == major && minor >= r.firstMinor && minor <= r.lastMinor;
    });
}
} // namespace

std::vector<TtyDriverRange> ParseTtyDrivers(std::string_view table) {
    std::vector<TtyDriverRange> ranges;
    std::istringstream lines{std::string(table)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string name;
        std::string node;
        std::string major;
        std::string minors;
        std::string type;
        TtyDriverRange range;
        if (words >> name >> node >> major >> minors >> type && CableKind(type) &&
            Number(major, range.major) && MinorRange(minors, range)) {
            ranges.push_back(range);
        }
    }
    return ranges;
}

bool IsTerminalDeviceByTable(const std::filesystem::path& device,
                             const std::filesystem::path& driverTable) {
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0 || !S_ISCHR(status.st_mode)) {
        return false;
    }
    std::ifstream file(driverTable);
    std::ostringstream table;
    table << file.rdbuf();
    const std::vector<TtyDriverRange> listed =
        file ? ParseTtyDrivers(table.str()) : std::vector<TtyDriverRange>{};
    return InRange(listed.empty() ? FixedTtyRanges() : listed, major(status.st_rdev),
                   minor(status.st_rdev));
}

bool IsTerminalDevice(const std::filesystem::path& device) {
    return IsTerminalDeviceByTable(device, "/proc/tty/drivers");
}

#pragma once

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

// Whether a path names a terminal device, the only kind a radio's cable can
// be: /dev/null or a disk is a character device too, and opening one as a
// port fails with "Inappropriate ioctl for device". Decided without opening
// the device: opening a serial port can toggle its lines, and the port may be
// another program's.
using TerminalCheck = std::function<bool(const std::filesystem::path& device)>;

// The device numbers one tty driver serves: a major and a range of minors.
struct TtyDriverRange {
    unsigned major = 0;
    unsigned firstMinor = 0;
    unsigned lastMinor = 0;

    bool operator==(const TtyDriverRange&) const = default;
};

// The ranges of the kernel's tty driver table (/proc/tty/drivers), one driver
// a line: name, device node, major, minors (one number or first-last), type.
// Only serial ports and the terminal side of pseudo-terminals count; lines of
// other types or another shape are passed over.
std::vector<TtyDriverRange> ParseTtyDrivers(std::string_view table);

// True when the character device at path (links followed) has numbers within
// one of the ranges of the table at driverTable or, where that cannot be
// read, of the drivers Linux numbers for good: 8250 serial ports,
// pseudo-terminals, USB modems (ttyACM), USB serial adapters (ttyUSB) and the
// low-density serial ports of boards (ttyAMA and others); a driver numbered
// at run time is missing from those. Anything else, /dev/tty, the console,
// /dev/ptmx and a missing path among them, is none.
bool IsTerminalDeviceByTable(const std::filesystem::path& device,
                             const std::filesystem::path& driverTable);

// The same by the kernel's table, /proc/tty/drivers.
bool IsTerminalDevice(const std::filesystem::path& device);

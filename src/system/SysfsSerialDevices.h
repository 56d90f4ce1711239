#pragma once

#include "PortNumbering.h"

#include <filesystem>
#include <optional>
#include <vector>

// The serial devices the kernel reports in its tty class folder
// (/sys/class/tty), found by reading a few links and attributes per entry,
// where QSerialPortInfo opens and inspects every terminal of the system.
// Listed, as QSerialPortInfo does: every tty backed by a device, except an
// 8250 port without hardware behind it (its type 0); and of the ttys without a
// device, Bluetooth serial links (rfcomm*), tty0tty null modems (tnt*) and USB
// gadget serial ports (ttyGS*). Each with its path /dev/NAME.
// nullopt when the folder cannot be read.
std::optional<std::vector<SerialDevice>>
SysfsSerialDevices(const std::filesystem::path& classFolder = "/sys/class/tty");

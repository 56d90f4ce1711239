#pragma once

#include "ModSetComm2.h"

#include <string>
#include <vector>

// Linux port numbers: every serial device gets a COM number that stays the
// same across runs and plug-ins, so a saved port keeps meaning the same cable.

// A serial device as the system reports it: its kernel name (ttyUSB0) and
// its path (/dev/ttyUSB0).
struct SerialDevice {
    std::u16string kernelName;
    std::u16string path;
};

// A port alias: the user's name COMn for a device.
struct PortAlias {
    int number = 0;
    std::u16string devicePath;
};

// The fixed number of a device from its kernel name, in blocks of 32:
// ttyS<k> is COM(k+1), ttyUSB<k> COM(k+33), ttyACM<k> COM(k+65). 0 for any
// other kind, and for a k beyond its block, which would collide with the next.
int FixedDeviceNumber(std::u16string_view kernelName);

// The ports in ascending number order, each as "COMn" with its device path.
// An alias claims its number first and hides a device with the same number;
// devices of other kinds take the free numbers from 97 on, in the order of
// their kernel names. Numbers above 999 do not fit the three-digit port
// list, so such devices are left out.
std::vector<SystemPort> NumberPorts(const std::vector<PortAlias>& aliases,
                                    std::vector<SerialDevice> devices);

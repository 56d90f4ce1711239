#pragma once

#include "PortNumbering.h"

#include <vector>

// The serial devices Qt finds on this system (QSerialPortInfo).
std::vector<SerialDevice> QtSerialDevices();

#pragma once

#include <QString>

#include <functional>

// The resolver QtSerialControl opens ports through: COMn to the device of
// this platform (SystemPortDevice), looked up when the port is opened.
std::function<QString(int portNo)> SystemPortResolver();

#pragma once

#include "ModSetComm2.h"

#include <memory>
#include <string>

// The port source of this platform: the registry on Windows; elsewhere the
// user's aliases and the serial devices Qt reports.
std::unique_ptr<PortSource> MakeSystemPortSource();

// What to open for COMn: on Windows the name COMn itself (any number, as the
// fixed list needs); elsewhere the device of the alias or serial device with
// that number, empty when there is none.
std::u16string SystemPortDevice(int portNo);

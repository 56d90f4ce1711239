#pragma once

#include "ModSetComm2.h"

#include <memory>
#include <string>

#ifndef _WIN32
#include "PortAliases.h"
#include "PortNumbering.h"

#include <vector>

// The serial devices of this system: from the kernel's tty class folder, or
// from QSerialPortInfo where that folder cannot be read.
std::vector<SerialDevice> SystemSerialDevices();

// Every entry of the user's alias folder, broken ones too.
std::vector<AliasEntry> SystemPortAliases();
#endif

// The port source of this platform: the registry on Windows; elsewhere the
// user's aliases and the serial devices the kernel reports.
std::unique_ptr<PortSource> MakeSystemPortSource();

// What to open for COMn: on Windows the name COMn itself (any number, as the
// fixed list needs); elsewhere the device of the alias or serial device with
// that number, empty when there is none.
std::u16string SystemPortDevice(int portNo);

#include "SystemPorts.h"

#ifdef _WIN32
#include "RegistryPortSource.h"
#else
#include "LinuxPortSource.h"
#include "PortAliases.h"
#include "QtSerialDevices.h"
#include "SysfsSerialDevices.h"
#endif

#ifndef _WIN32
std::vector<SerialDevice> SystemSerialDevices() {
    if (std::optional<std::vector<SerialDevice>> devices = SysfsSerialDevices()) {
        return *std::move(devices);
    }
    return QtSerialDevices();
}

std::vector<AliasEntry> SystemPortAliases() {
    return ListAliasEntries(DefaultAliasFolder());
}
#endif

std::unique_ptr<PortSource> MakeSystemPortSource() {
#ifdef _WIN32
    return std::make_unique<RegistryPortSource>();
#else
    return std::make_unique<LinuxPortSource>(DefaultAliasFolder(), SystemSerialDevices);
#endif
}

std::u16string SystemPortDevice(int portNo) {
#ifdef _WIN32
    return ComPortText(portNo);
#else
    return LinuxPortSource(DefaultAliasFolder(), SystemSerialDevices).DevicePathOf(portNo);
#endif
}

#include "SystemPorts.h"

#ifdef _WIN32
#include "RegistryPortSource.h"
#else
#include "LinuxPortSource.h"
#include "QtSerialDevices.h"
#endif

std::unique_ptr<PortSource> MakeSystemPortSource() {
#ifdef _WIN32
    return std::make_unique<RegistryPortSource>();
#else
    return std::make_unique<LinuxPortSource>(DefaultAliasFolder(), QtSerialDevices);
#endif
}

std::u16string SystemPortDevice(int portNo) {
#ifdef _WIN32
    return ComPortText(portNo);
#else
    return LinuxPortSource(DefaultAliasFolder(), QtSerialDevices).DevicePathOf(portNo);
#endif
}

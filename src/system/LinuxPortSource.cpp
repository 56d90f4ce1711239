#include "LinuxPortSource.h"

#include "ConfigDir.h"
#include "PortAliases.h"

LinuxPortSource::LinuxPortSource(std::filesystem::path aliasFolder, DeviceLister listDevices)
    : aliasFolder_(std::move(aliasFolder)), listDevices_(std::move(listDevices)) {}

std::vector<SystemPort> LinuxPortSource::Ports() {
    return NumberPorts(ReadPortAliases(aliasFolder_),
                       listDevices_ ? listDevices_() : std::vector<SerialDevice>{});
}

std::u16string LinuxPortSource::DevicePathOf(int portNo) {
    const std::u16string wanted = ComPortText(portNo);
    for (const SystemPort& port : Ports()) {
        if (port.data == wanted) {
            return port.devicePath;
        }
    }
    return {};
}

std::filesystem::path DefaultAliasFolder() {
    return RadioinfoConfigDir() / "ports";
}

#include "QtSerialDevices.h"

#include <QSerialPortInfo>

namespace {
std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}
} // namespace

std::vector<SerialDevice> QtSerialDevices() {
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        devices.push_back({ToU16(info.portName()), ToU16(info.systemLocation())});
    }
    return devices;
}

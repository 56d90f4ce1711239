#include "QtSerialDevices.h"

#include "QtText.h"

#include <QSerialPortInfo>

std::vector<SerialDevice> QtSerialDevices() {
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        devices.push_back({ToU16(info.portName()), ToU16(info.systemLocation())});
    }
    return devices;
}

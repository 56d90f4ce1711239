#include "QtPortResolver.h"

#include "SystemPorts.h"

std::function<QString(int portNo)> SystemPortResolver() {
    return [](int portNo) {
        const std::u16string device = SystemPortDevice(portNo);
        return QString(reinterpret_cast<const QChar*>(device.data()),
                       static_cast<qsizetype>(device.size()));
    };
}

#include "QtSerialControl.h"

#include "OpenFailure.h"
#include "QtText.h"

#include <QStringList>

#include <map>

namespace {
// The line settings "baud,parity,data bits,stop bits" the radio speaks, as
// "9600,N,8,1"; false for a text that is no such settings.
bool ApplySettings(QSerialPort& port, std::string_view settings) {
    const QStringList parts =
        QString::fromLatin1(settings.data(), static_cast<qsizetype>(settings.size())).split(u',');
    bool baudOk = false;
    const int baud = parts.value(0).toInt(&baudOk);
    const std::map<QString, QSerialPort::Parity> parities{
        {QStringLiteral("N"), QSerialPort::NoParity},
        {QStringLiteral("E"), QSerialPort::EvenParity},
        {QStringLiteral("O"), QSerialPort::OddParity},
    };
    const auto parity = parities.find(parts.value(1));
    const int dataBits = parts.value(2).toInt();
    const int stopBits = parts.value(3).toInt();
    if (parts.size() != 4 || !baudOk || parity == parities.end() || dataBits < 5 || dataBits > 8 ||
        (stopBits != 1 && stopBits != 2)) {
        return false;
    }
    return port.setBaudRate(baud) && port.setParity(parity->second) &&
           port.setDataBits(static_cast<QSerialPort::DataBits>(dataBits)) &&
           port.setStopBits(stopBits == 1 ? QSerialPort::OneStop : QSerialPort::TwoStop) &&
           port.setFlowControl(QSerialPort::NoFlowControl);
}
} // namespace

QtSerialControl::QtSerialControl(PortResolver resolver, ReceiveHandler onReceive)
    : resolver_(std::move(resolver)), onReceive_(std::move(onReceive)) {
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialControl::OnReadyRead);
}

bool QtSerialControl::PortOpen() const {
    return port_.isOpen();
}

bool QtSerialControl::Open(int portNo, std::string_view settings, std::u16string& reason) {
    const QString device = resolver_ ? resolver_(portNo) : QString();
    device_ = device;
    if (device.isEmpty()) {
        reason = ToU16(UnknownPortReason(portNo, langType_));
        return false;
    }
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) {
        reason = ToU16(OpenFailureReason(device, port_.error(), port_.errorString(), langType_));
        return false;
    }
    if (!ApplySettings(port_, settings)) {
        reason = ToU16(OpenFailureReason(device, port_.error(), port_.errorString(), langType_));
        port_.close();
        return false;
    }
    threshold_ = 1;
    return true;
}

void QtSerialControl::Close() {
    port_.close();
}

std::u16string QtSerialControl::DeviceName() const {
    return ToU16(device_);
}

void QtSerialControl::ClearBuffers() {
    port_.clear(QSerialPort::AllDirections);
    port_.readAll(); // bytes Qt had already taken from the driver
}

void QtSerialControl::SetRThreshold(int bytes) {
    threshold_ = bytes;
}

int QtSerialControl::RThreshold() const {
    return threshold_;
}

void QtSerialControl::Output(std::span<const std::uint8_t> bytes) {
    port_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

std::vector<std::uint8_t> QtSerialControl::Input() {
    const QByteArray bytes = port_.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void QtSerialControl::OnReadyRead() {
    if (threshold_ > 0 && port_.bytesAvailable() >= threshold_ && onReceive_) {
        onReceive_(CommEventReceive);
    }
}

#include "QtSerialControl.h"

#include "OpenFailure.h"
#include "QtText.h"

#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <map>
#ifdef __linux__
#include <sys/ioctl.h>
#include <termios.h>
#endif

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

// Qt names its lock file after the port's name. The device's own path gives
// one lock whatever the port was opened by (an alias, a link, the path).
QString LockName(const QString& device) {
#ifdef _WIN32
    return device;
#else
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
#endif
}
} // namespace

QtSerialControl::QtSerialControl(PortResolver resolver, ReceiveHandler onReceive)
    : resolver_(std::move(resolver)), onReceive_(std::move(onReceive)) {
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialControl::OnReadyRead);
    // Queued: the core hears of a lost port between its own calls, never
    // inside one of them.
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialControl::OnError,
            Qt::QueuedConnection);
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
    node_ = LockName(device);
    port_.setPortName(node_);
    if (!port_.open(QIODevice::ReadWrite)) {
        reason = ToU16(WhyNotOpened(portNo, errno));
        return false;
    }
#ifdef __linux__
    // Nobody else opens the port while the radio is spoken to; only root may
    // still, and the lock file stops a radioinfo of root's.
    ::ioctl(static_cast<int>(port_.handle()), TIOCEXCL);
#endif
    errno = 0;
    if (!ApplySettings(port_, settings)) {
        const int code = errno != 0 ? errno : EINVAL;
        reason = ToU16(OpenFailureReason(device, code, false, langType_));
        port_.close();
        return false;
    }
    threshold_ = 1;
    return true;
}

// A device that opens alone, when Qt could not open it, is held by another
// program through Qt's lock file (a Windows port that refuses access is held
// by another program too). Another failure gives the system's own reason.
QString QtSerialControl::WhyNotOpened(int portNo, int errnoAfterOpen) const {
    const int code = DeviceOpenError(device_);
    const bool held = code == EBUSY || (code == 0 && port_.error() == QSerialPort::PermissionError);
    if (held) {
        return PortInUseReason(portNo, device_, langType_);
    }
#ifdef _WIN32
    const int reason = port_.error() == QSerialPort::DeviceNotFoundError ? ENOENT : EIO;
    static_cast<void>(errnoAfterOpen);
#else
    const int reason = code != 0 ? code : errnoAfterOpen != 0 ? errnoAfterOpen : EIO;
#endif
    return OpenFailureReason(device_, reason, DialoutWouldHelp(reason, device_), langType_);
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
#ifndef _WIN32
    // An adapter unplugged takes its device node with it; a batch polling for
    // its next radio finds out here. The node is the device itself: an alias
    // removed meanwhile leaves the port as it was.
    if (!QFileInfo::exists(node_)) {
        QMetaObject::invokeMethod(this, &QtSerialControl::RaisePortLost, Qt::QueuedConnection);
        return;
    }
#endif
    port_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

std::vector<std::uint8_t> QtSerialControl::Input() {
    const QByteArray bytes = port_.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

// A read or write that fails with EIO or ENXIO (Qt's resource error), or any
// failure once the device node is gone: the device will not come back under
// this open port.
void QtSerialControl::OnError(QSerialPort::SerialPortError error) {
    const bool failed = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                        error == QSerialPort::WriteError;
#ifdef _WIN32
    const bool gone = error == QSerialPort::ResourceError;
#else
    const bool gone = error == QSerialPort::ResourceError || !QFileInfo::exists(node_);
#endif
    if (failed && gone) {
        RaisePortLost();
    }
}

void QtSerialControl::RaisePortLost() {
    if (port_.isOpen() && onReceive_) {
        onReceive_(CommEventPortLost);
    }
}

void QtSerialControl::OnReadyRead() {
    if (threshold_ > 0 && port_.bytesAvailable() >= threshold_ && onReceive_) {
        onReceive_(CommEventReceive);
    }
}

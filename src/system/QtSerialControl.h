#pragma once

#include "protocol/SerialControl.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

#include <functional>

// The serial control over QSerialPort. A port number is turned into a device
// by the resolver handed in; the receive event goes to onReceive, raised only
// once at least the threshold of bytes is waiting.
class QtSerialControl : public QObject, public SerialControl {
    Q_OBJECT
  public:
    using PortResolver = std::function<QString(int portNo)>;
    using ReceiveHandler = std::function<void(int commEvent)>;

    QtSerialControl(PortResolver resolver, ReceiveHandler onReceive);
    void SetLangType(int langType) override { langType_ = langType; }

    bool PortOpen() const override;
    bool Open(int portNo, std::string_view settings, std::u16string& reason) override;
    void Close() override;
    std::u16string DeviceName() const override;
    void ClearBuffers() override;
    void SetRThreshold(int bytes) override;
    int RThreshold() const override;
    void Output(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> Input() override;

  private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void RaisePortLost();
    // Why the device did not open: errnoAfterOpen is errno as Qt left it.
    QString WhyNotOpened(int portNo, int errnoAfterOpen) const;

    QSerialPort port_;
    PortResolver resolver_;
    QString device_;
    // The device node opened, an alias resolved.
    QString node_;
    ReceiveHandler onReceive_;
    int threshold_ = 1;
    int langType_ = 1;
};

#pragma once

#include <QSerialPort>
#include <QString>

// Why a port did not open, for the second line of the "Cannot Open
// Communication Port." box: the device and the system's reason, and on Linux
// the way to the serial devices for a user who may not open them.
QString OpenFailureReason(const QString& device, QSerialPort::SerialPortError error,
                          const QString& systemReason);

#pragma once

#include <QSerialPort>
#include <QString>

// Why a port did not open, for the second line of the "Cannot Open
// Communication Port." box, in the language of langType (2 Chinese, else
// English) as the window and radioinfo-cli show it.

// A COMn that neither the system nor an alias knows.
QString UnknownPortReason(int portNo, int langType = 1);

// The device and the system's reason, and on Linux the way to the serial
// devices for a user who may not open them.
QString OpenFailureReason(const QString& device, QSerialPort::SerialPortError error,
                          const QString& systemReason, int langType = 1);

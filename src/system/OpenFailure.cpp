#include "OpenFailure.h"

QString OpenFailureReason(const QString& device, QSerialPort::SerialPortError error,
                          const QString& systemReason) {
    QString reason = device + QStringLiteral(": ") + systemReason;
#ifndef _WIN32
    if (error == QSerialPort::PermissionError) {
        reason += QStringLiteral("\r\nSerial ports belong to the dialout group: "
                                 "sudo usermod -aG dialout $USER, then log in again.");
    }
#endif
    return reason;
}

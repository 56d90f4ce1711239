#include "OpenFailure.h"

namespace {
struct ReasonText {
    const char* english;
    const char* chinese;
};

constexpr ReasonText UnknownPort{"COM%1 is not a known port.", "COM%1 不是已知的串口。"};
constexpr ReasonText DialoutHint{
    "Serial ports belong to the dialout group: sudo usermod -aG dialout $USER, then log in again.",
    "串口属于 dialout 组：执行 sudo usermod -aG dialout $USER，然后重新登录。"};

QString InLanguage(const ReasonText& text, int langType) {
    return QString::fromUtf8(langType == 2 ? text.chinese : text.english);
}
} // namespace

QString UnknownPortReason(int portNo, int langType) {
    return InLanguage(UnknownPort, langType).arg(portNo);
}

QString OpenFailureReason(const QString& device, QSerialPort::SerialPortError error,
                          const QString& systemReason, int langType) {
    QString reason = device + QStringLiteral(": ") + systemReason;
#ifndef _WIN32
    if (error == QSerialPort::PermissionError) {
        reason += QStringLiteral("\r\n") + InLanguage(DialoutHint, langType);
    }
#else
    static_cast<void>(error);
    static_cast<void>(langType);
#endif
    return reason;
}

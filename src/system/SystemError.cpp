#include "SystemError.h"

#include <QString>

#include <cstring>

std::u16string SystemErrorText(int code) {
    // strerror speaks the language of LC_MESSAGES, which QCoreApplication has
    // taken from the environment; its bytes are in the locale's encoding.
    return QString::fromLocal8Bit(std::strerror(code)).toStdU16String();
}

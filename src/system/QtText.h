#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The core's UTF-16 texts as Qt's, and back.
inline QString ToQString(std::u16string_view text) {
    return QStringView(text).toString();
}

inline std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

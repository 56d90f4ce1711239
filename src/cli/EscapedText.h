#pragma once

#include <QString>

#include <string>
#include <string_view>

// Text read from a radio, made safe to print: a control character (U+0000 to
// U+001F, U+007F, U+0080 to U+009F) can neither start a new line nor steer
// the terminal. Each is written as an escape: \n, \r, \t, \xHH below U+0080
// and \uHHHH above. Other characters, the backslash too, stay as they are.
std::u16string EscapeControls(std::u16string_view text);
QString EscapeControls(const QString& text);

#include "CalendarDate.h"

#include <cstdio>

std::u16string ShortDateText(const CalendarDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

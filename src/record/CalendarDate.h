#pragma once

#include <string>

// A day of the calendar. The core has no clock of its own: whoever drives it
// reads the date from its clock and hands it in.
struct CalendarDate {
    int Year = 2000;
    int Month = 1;
    int Day = 1;
};

// The short date text the tool writes into date fields: YYYY-MM-DD.
std::u16string ShortDateText(const CalendarDate& date);

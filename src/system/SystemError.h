#pragma once

#include <string>

// The system's own words for an errno value (strerror), in the locale's
// language where the system has it. Every message that gives the system's
// reason for a failure takes its text from here, so that language is settled
// in one place.
std::u16string SystemErrorText(int code);

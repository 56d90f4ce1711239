#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The port selected at start-up from the saved number: in fixed-list mode the
// saved number as it is; otherwise the saved port when the system lists it,
// else the first listed port, 0 when none is listed.
std::int16_t StartPortNumber(bool fixedPortList, std::int16_t saved,
                             const std::vector<std::u16string>& listed, std::int16_t firstListed);

#pragma once

#include "Memory.h"
#include "Options.h"

#include <vector>

namespace radiosim {

// The starting memory of every radio the run will attach, command-line overrides
// applied. Throws on unreadable images and overrides that do not fit, so that mistakes
// show before the pty appears.
std::vector<Memory> radioMemories(const Options& options);

} // namespace radiosim

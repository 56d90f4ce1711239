#pragma once

#include "Memory.h"

#include <filesystem>

namespace radiosim {

// A memory image file holds exactly the 256 bytes of the area, nothing else.
// Both functions throw std::runtime_error with a message naming the file.
Memory loadImage(const std::filesystem::path& file);

// Replaces the file in one step (temporary file + rename), so a reader never sees half an
// image even while the simulator is saving.
void saveImage(const std::filesystem::path& file, const Memory& memory);

} // namespace radiosim

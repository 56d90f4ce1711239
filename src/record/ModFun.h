#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text without its trailing blanks (spaces only).
std::u16string TrimTrailingBlanks(std::u16string_view text);

// Trailing blanks removed, then cut before the first NUL.
std::u16string TrimText(std::u16string_view text);

// The entry equal to the wanted text, else the first entry, else the empty text.
std::u16string SelectListText(const std::vector<std::u16string>& entries,
                              std::u16string_view wanted);

#pragma once

#include <string>
#include <string_view>

// The name the "Radio Type" list shows for a model code.
std::u16string GetModelName(std::u16string_view code);

#pragma once

#include "RadioInfo.h"
#include "RadioModel.h"

#include <string>
#include <string_view>
#include <vector>

// The model whose information area this is: its model text fills 0x3B00 to
// 0x3B06 and one of its accepted versions fills 0x3B07 to 0x3B0A, byte for
// byte; nullptr for any other area, a blank or erased version included. The
// protocol's check before a transfer, the unpacking of a read, the Radio Type
// list and restore's check of a file all ask this one question.
const RadioModelRules* ModelOfArea(const InfoImage& image);

// The name the "Radio Type" list shows for a model code.
std::u16string GetModelName(std::u16string_view code);

// The Radio Type list's entries, one per model.
const std::vector<std::u16string>& ModelNames();

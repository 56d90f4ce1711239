#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversion between text and code page 936 (GBK), the code page in which the
// radio keeps its ANSI texts. The one place in the core that needs a codec.

// The GBK bytes of the text; nullopt when a character has no GBK form.
std::optional<std::string> EncodeCp936(std::u16string_view text);

// The text of GBK bytes; a byte sequence without a character decodes to U+FFFD.
std::u16string DecodeCp936(std::string_view bytes);

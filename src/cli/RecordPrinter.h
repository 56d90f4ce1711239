#pragma once

#include "record/ModData.h"

#include <string>

// Every field of the record, texts as the window shows them: one "Name: value"
// line each, control characters escaped (EscapeControls), or one JSON object
// keyed by the field names, every control character (U+0000 to U+001F,
// U+007F to U+009F) a JSON escape.
std::string RecordText(const RadioInfo& record);
std::string RecordJson(const RadioInfo& record);

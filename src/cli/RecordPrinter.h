#pragma once

#include "record/FormFields.h"
#include "record/ModData.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

struct FieldDifference;

// Every field of the record, texts as the window shows them: one "Name: value"
// line each, control characters escaped (EscapeControls), or one JSON object
// keyed by the field names, every control character (U+0000 to U+001F,
// U+007F to U+009F) a JSON escape.
std::string RecordText(const RadioInfo& record);
std::string RecordJson(const RadioInfo& record);

// A field as read prints it: the flags and the band as numbers, texts as
// their Text1 fields, the model as the Radio Type list's text. nullopt for the
// rows read does not print: the version the model check reads and the bytes
// carried as they are.
using PrintedValue = std::variant<int, std::u16string>;
std::optional<PrintedValue> PrintedValueOf(const AreaField& row, const RadioInfo& record,
                                           const FormFields& shown);

// verify's differences: one line each, "Name: radio VALUE, file VALUE", texts
// quoted and escaped as read escapes them, numbers as they are, bytes in hex;
// or one JSON object keyed by the field names, each an object of "radio" and
// "file" (texts, numbers, or arrays of byte values).
std::string DifferencesText(const std::vector<FieldDifference>& differences);
std::string DifferencesJson(const std::vector<FieldDifference>& differences);

#pragma once

#include "InfoArea.h"
#include "RadioInfo.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// How many Text1 fields the window has: one past the highest of the area's rows.
inline constexpr std::size_t Text1Count = [] {
    int last = -1;
    for (const AreaField& f : InfoArea) {
        last = f.Text1 > last ? f.Text1 : last;
    }
    return static_cast<std::size_t>(last + 1);
}();

// What the window's controls hold of the record: the check boxes, the model
// list's text, the band list's selected position and the Text1 fields.
struct FormFields {
    std::int16_t Check1 = 0; // Factory
    std::int16_t Check2 = 0; // Stun
    std::int16_t Check3 = 0; // Kill
    std::int16_t Check8 = 0; // Freq. Set
    std::u16string Combo1_0; // Radio Type
    int Combo1_1 = -1;       // Frequency: selected position, -1 for none
    std::array<std::u16string, Text1Count> Text1;

    friend bool operator==(const FormFields&, const FormFields&) = default;
};

// The check box CheckN of the form (N as the area's rows name it: 1, 2, 3, 8).
std::int16_t& CheckBox(FormFields& fields, int n);

// The entries of the Radio Type list.
const std::vector<std::u16string>& ModelListEntries();

// The record as the window shows it.
FormFields ShowFields(const RadioInfo& record);

// The window's fields back into the record, all but the band (whose rule asks
// the user and belongs to the caller).
void TakeFields(const FormFields& fields, RadioInfo& record);

// The band rule of collecting the window. A Frequency list position that
// differs from the record's band asks the band question (askOverwrite is true
// for OK): OK takes the position into the record, Cancel puts the list back on
// the record's band. A list without a selection keeps the record's band and
// asks nothing.
void TakeBand(int& listPosition, std::int16_t& band, const std::function<bool()>& askOverwrite);

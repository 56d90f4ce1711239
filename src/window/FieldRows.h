#pragma once

#include "Twips.h"
#include "record/FormFields.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

// The window's field rows, one per field of the radio frame (Frame1) and the
// dealer frame (Frame2): the label captioning the field, the field and where
// it stands, where the label stands until the language routine sizes it to
// its caption, and the field's place in the focus order. The Label1 count,
// the labels' buddies, the focus order, the labels' alignment and the frames'
// and window's heights all follow from these rows, so a new field of the
// information area is its row of InfoArea, its member of RadioInfo and one
// row here.
namespace FieldRows {

enum class LabelArray : std::uint8_t { Label1, Label2 };
// Line and Lines are Text1 members, List and ElidedList Combo1 members.
enum class Box : std::uint8_t { Line, Lines, List, ElidedList };
enum class Frame : std::uint8_t { Frame1 = 1, Frame2 = 2 };

struct LabelName {
    LabelArray Array;
    int Index;
};

struct FieldName {
    Box Kind;
    int Index;

    constexpr bool InCombo1() const { return Kind == Box::List || Kind == Box::ElidedList; }
};

constexpr LabelName Label1(int index) {
    return {LabelArray::Label1, index};
}
inline constexpr LabelName Label2{LabelArray::Label2, 0};
constexpr FieldName Text1(int index) {
    return {Box::Line, index};
}
// A box of more lines that wraps its text at its width.
constexpr FieldName Text1Lines(int index) {
    return {Box::Lines, index};
}
constexpr FieldName Combo1(int index) {
    return {Box::List, index};
}
// A list whose closed face elides an entry too long for it.
constexpr FieldName Combo1Elided(int index) {
    return {Box::ElidedList, index};
}
using enum Frame;

struct FieldRow {
    LabelName Label;
    FieldName Field;
    Frame In;
    TwipsRect Place; // the field's, in its frame
    // The label's, until the language routine sizes it to its caption and
    // aligns it.
    float LabelLeft;
    float LabelWidth;
    int TabPlace;        // in the focus order, among the other controls (SetTabOrder)
    bool Hidden = false; // the field and its label, for the whole run
};

// A label stands this far below the top of its field, one text line high.
inline constexpr float LabelDrop = 45;
inline constexpr float LabelHeight = 225;
// The language routine puts a label's right edge this far left of its column.
inline constexpr float LabelGap = 50;

// clang-format off
// Top to bottom in each frame: the window creates them in this order, with
// the buttons of the right-hand column among them.
inline constexpr FieldRow Rows[] = {
    // label     field            frame   field: left  top   width height  label: left width  tab
    {Label2,     Text1(0),        Frame1, {2040, 1200, 4695, 330},         1200, 720,  4},
    {Label1(7),  Text1(6),        Frame1, {2040, 1560, 4695, 330},         1200, 720, 14},
    {Label1(8),  Text1(7),        Frame1, {2040, 1920, 4695, 330},         1200, 720, 15, true},
    {Label1(0),  Combo1(0),       Frame1, {2040, 2280, 4695, 345},         1560, 360,  2},
    {Label1(1),  Combo1Elided(1), Frame1, {2040, 2640, 7455, 345},         1560, 360,  3},
    {Label1(13), Text1(12),       Frame1, {2040, 3000, 4695, 330},         1320, 720, 23},
    {Label1(2),  Text1(1),        Frame1, {2040, 3360, 4695, 330},         1380, 540,  5},
    {Label1(3),  Text1(2),        Frame1, {2040, 3720, 4695, 330},         1200, 720,  6},
    {Label1(4),  Text1(3),        Frame1, {2040, 4080, 4695, 330},         1200, 720,  7},
    {Label1(6),  Text1(5),        Frame1, {2040, 4440, 4695, 330},         1200, 720, 13},
    {Label1(14), Text1(13),       Frame1, {2040, 4800, 4695, 330},         1200, 720, 25},
    {Label1(5),  Text1Lines(4),   Frame1, {2040, 5280, 4695, 1005},        1200, 720,  8},
    {Label1(9),  Text1(8),        Frame2, {1920,  240, 4695, 330},          840, 900, 16},
    {Label1(10), Text1(9),        Frame2, {1905,  600, 4695, 330},         1080, 720, 17},
    {Label1(11), Text1(10),       Frame2, {1905,  960, 4695, 330},         1080, 720, 18},
    {Label1(12), Text1(11),       Frame2, {1905, 1320, 4695, 330},         1200, 540, 19},
};
// clang-format on

inline constexpr std::size_t Label1Count = [] {
    int last = -1;
    for (const FieldRow& row : Rows) {
        last = row.Label.Array == LabelArray::Label1 ? std::max(last, row.Label.Index) : last;
    }
    return static_cast<std::size_t>(last + 1);
}();

// True when each index below count has one row, and no row has another:
// indexOf gives a row's index in the array, -1 for a row of another array.
constexpr bool OneRowEach(auto indexOf, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (std::ranges::count(Rows, static_cast<int>(i), indexOf) != 1) {
            return false;
        }
    }
    const auto inArray = [&](const FieldRow& row) { return indexOf(row) >= 0; };
    return static_cast<std::size_t>(std::ranges::count_if(Rows, inArray)) == count;
}
static_assert(OneRowEach(
                  [](const FieldRow& row) {
                      return row.Label.Array == LabelArray::Label1 ? row.Label.Index : -1;
                  },
                  Label1Count),
              "each Label1 has one row");
static_assert(
    OneRowEach([](const FieldRow& row) { return row.Field.InCombo1() ? -1 : row.Field.Index; },
               Text1Count),
    "each Text1 field of the information area has one row");

// The lowest edge of a frame's fields.
constexpr float FieldsBottom(Frame frame) {
    float bottom = 0;
    for (const FieldRow& row : Rows) {
        bottom = row.In == frame ? std::max(bottom, row.Place.Bottom()) : bottom;
    }
    return bottom;
}

// A frame's labels end left of its topmost field, whose left edge is the
// column's: a field further down may stand a little further left.
constexpr float ColumnLeft(Frame frame) {
    const FieldRow* top = nullptr;
    for (const FieldRow& row : Rows) {
        top = row.In == frame && (top == nullptr || row.Place.Top < top->Place.Top) ? &row : top;
    }
    return top != nullptr ? top->Place.Left : 0;
}

} // namespace FieldRows

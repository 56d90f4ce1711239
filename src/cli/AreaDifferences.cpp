#include "AreaDifferences.h"

#include "record/FormFields.h"
#include "record/InfoArea.h"

#include <cstdio>

namespace {
// The bits of byte i that row holds.
std::uint8_t RowMask(const AreaField& row, std::size_t i) {
    const bool inside =
        static_cast<int>(i) >= row.Start && static_cast<int>(i) < row.Start + row.Width;
    if (!inside) {
        return 0;
    }
    return row.Kind == FieldKind::FlagBit ? row.Bit : std::uint8_t{0xFF};
}

bool Differ(const InfoImage& a, const InfoImage& b, const AreaField& row) {
    for (int i = row.Start; i < row.Start + row.Width; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (((a[at] ^ b[at]) & RowMask(row, at)) != 0) {
            return true;
        }
    }
    return false;
}

std::vector<std::uint8_t> Bytes(const InfoImage& image, int start, int width) {
    return {image.begin() + start, image.begin() + start + width};
}

// The record of an area, as a Read would unpack it.
struct Unpacked {
    RadioInfo record;
    FormFields shown;
};
Unpacked Unpack(const InfoImage& image) {
    ModData data;
    data.Image = image;
    data.UnpackImage();
    return {data.Record, ShowFields(data.Record)};
}

ComparedValue AsCompared(const PrintedValue& value) {
    if (const auto* number = std::get_if<int>(&value)) {
        return *number;
    }
    return std::get<std::u16string>(value);
}

// A text prints between quotes, escaped as read escapes it: a quote or a
// backslash of its own could make two texts, or the line, read alike.
bool PrintsPlainly(const PrintedValue& value) {
    const auto* text = std::get_if<std::u16string>(&value);
    return text == nullptr || text->find_first_of(u"\"\\") == std::u16string::npos;
}

std::u16string Address(std::size_t offset) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x",
                  static_cast<unsigned>(InfoImageBase + static_cast<int>(offset)));
    return {text, text + std::char_traits<char>::length(text)};
}
} // namespace

std::vector<FieldDifference> AreaDifferences(const InfoImage& radio, const InfoImage& file) {
    const Unpacked r = Unpack(radio);
    const Unpacked f = Unpack(file);
    std::vector<FieldDifference> differences;
    InfoImage held{};
    for (const AreaField& row : InfoArea) {
        for (std::size_t i = 0; i < held.size(); ++i) {
            held[i] = static_cast<std::uint8_t>(held[i] | RowMask(row, i));
        }
        if (!Differ(radio, file, row)) {
            continue;
        }
        const auto radioPrinted = PrintedValueOf(row, r.record, r.shown);
        const auto filePrinted = PrintedValueOf(row, f.record, f.shown);
        const std::u16string name = row.Name.empty() ? Address(static_cast<std::size_t>(row.Start))
                                                     : std::u16string(row.Name);
        if (radioPrinted && filePrinted && *radioPrinted != *filePrinted &&
            PrintsPlainly(*radioPrinted) && PrintsPlainly(*filePrinted)) {
            differences.push_back({name, AsCompared(*radioPrinted), AsCompared(*filePrinted)});
        } else {
            differences.push_back(
                {name, Bytes(radio, row.Start, row.Width), Bytes(file, row.Start, row.Width)});
        }
    }
    for (std::size_t i = 0; i < held.size(); ++i) {
        if (((radio[i] ^ file[i]) & ~held[i] & 0xFF) != 0) {
            const int at = static_cast<int>(i);
            differences.push_back({Address(i), Bytes(radio, at, 1), Bytes(file, at, 1)});
        }
    }
    return differences;
}

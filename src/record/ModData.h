#pragma once

#include "CalendarDate.h"
#include "InfoArea.h"
#include "RadioInfo.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How PackImage fills the dealer's text fields.
enum class PackRule {
    // Every field afresh from the record's text (a batch, which writes the
    // window's values into every radio).
    Fresh,
    // A field whose text is still the one the last Read showed goes back with
    // that Read's bytes, its whole width; only an edited field is written
    // afresh (a single Write).
    KeepUnedited,
};

// A byte text of the image: one character per byte (its code the byte), up
// to the first 0x00 or 0xFF or the end of the field.
std::u16string ByteText(const InfoImage& image, int offset, int width);

// The record and the image of one run, and the conversions between them.
class ModData {
  public:
    RadioInfo Record;
    InfoImage Image{};
    // The area as the last unpacking saw it: the bytes behind the record's
    // texts since the last Read. None before the first.
    std::optional<InfoImage> ReadImage;
    // A restore: PackImage takes every dealer bit from this saved area as it
    // is, not from the record.
    std::optional<InfoImage> RestoreImage;

    // Defaults for every field of the record; the image is left alone.
    void InitData(const CalendarDate& today);
    // The fields a dealer may change, from the record (or a restore's saved
    // area) into the image.
    void PackImage(PackRule rule);
    // Every field that has image bytes, from the image into the record; the
    // image is kept as the bytes behind the record's texts.
    void UnpackImage();

    // Stores text one byte per character into length bytes from a radio address.
    void PutAscText(std::int32_t start, std::u16string_view text, std::int32_t length);
    // Stores text in code page 936 into length bytes from a radio address.
    void PutAnsiText(std::int32_t start, std::u16string_view text, std::int32_t length);

  private:
    void PackField(const AreaField& field, PackRule rule);
    bool Unedited(PackRule rule, int offset, int width, bool ansi, std::u16string_view text) const;
};

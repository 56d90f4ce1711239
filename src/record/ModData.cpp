#include "ModData.h"

#include "Cp936.h"
#include "ModFun.h"
#include "ModModel.h"
#include "ModVersion.h"
#include "RadioModel.h"

#include <algorithm>

namespace {
std::u16string TwoDigits(int value) {
    return {static_cast<char16_t>(u'0' + value / 10 % 10),
            static_cast<char16_t>(u'0' + value % 10)};
}

std::u16string FourDigits(int value) {
    return TwoDigits(value / 100) + TwoDigits(value % 100);
}

// The bytes of a radio text: up to the first 0x00 or 0xFF, or the whole field.
std::string_view TextBytes(const InfoImage& image, int offset, int width, bool& terminated) {
    const auto first = image.begin() + offset;
    const auto last = first + width;
    const auto end =
        std::find_if(first, last, [](std::uint8_t b) { return b == 0x00 || b == 0xFF; });
    terminated = end != last;
    return std::string_view(reinterpret_cast<const char*>(image.data()) + offset,
                            static_cast<std::size_t>(end - first));
}

// An ANSI text field's value followed by a NUL, as the record keeps it.
std::u16string AnsiField(const InfoImage& image, int offset, int width) {
    bool terminated = false;
    std::u16string text = DecodeCp936(TextBytes(image, offset, width, terminated));
    if (!terminated) {
        text.erase(text.find_last_not_of(u' ') + 1);
    }
    return text + u'\0';
}

// One character of an ANSI text in code page 936, '?' where it has none.
std::string AnsiCharacter(std::u16string_view character) {
    return EncodeCp936(character).value_or("?");
}

std::size_t CharacterLength(std::u16string_view text, std::size_t at) {
    const bool pair = at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF &&
                      text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
    return pair ? 2 : 1;
}

// A character's single byte; '?' for one beyond a byte (a pair of UTF-16
// units among them: one character, one '?').
std::uint8_t ByteCode(std::u16string_view character) {
    return character.size() == 1 && character[0] <= 0xFF ? static_cast<std::uint8_t>(character[0])
                                                         : std::uint8_t{'?'};
}

// Stores bytes into a field of length bytes from a radio address, the rest of
// the field 0x00. Addresses outside the image are skipped.
void StoreField(InfoImage& image, std::int32_t start, std::string_view bytes, std::int32_t length) {
    for (std::int32_t i = 0; i < length; ++i) {
        const std::int64_t offset = std::int64_t{start} - InfoImageBase + i;
        if (offset < 0 || offset >= InfoImageSize) {
            continue;
        }
        const auto index = static_cast<std::size_t>(i);
        image[static_cast<std::size_t>(offset)] =
            index < bytes.size() ? static_cast<std::uint8_t>(bytes[index]) : 0;
    }
}

// A field's value as the window shows it: cut at its NUL, no trailing blanks.
std::u16string FieldValue(std::u16string_view text) {
    return TrimTrailingBlanks(TrimText(text));
}
} // namespace

std::u16string ByteText(const InfoImage& image, int offset, int width) {
    bool terminated = false;
    const std::string_view bytes = TextBytes(image, offset, width, terminated);
    std::u16string text;
    for (const char byte : bytes) {
        text += static_cast<char16_t>(static_cast<std::uint8_t>(byte));
    }
    return text;
}

void ModData::InitData(const CalendarDate& today) {
    RadioInfo& r = Record;
    r.FactoryMode = 0;
    r.FreqSet = 0;
    r.Stun = 0;
    r.Kill = 0;
    r.BandCode = 1;
    r.ProgPassWord = FixedText<4>();
    r.SerialNo =
        FourDigits(today.Year) + TwoDigits(today.Month) + TwoDigits(today.Day) + u"00000001";
    r.ProductDate = ShortDateText(today) + u'\0';
    r.ManufactureCode = TwoDigits(today.Month) + u"-1-E-1";
    r.UserCode = u"KZWP";
    r.MaintainDate = FixedText<16>();
    r.DealerCode = FixedText<16>();
    r.StockDate = FixedText<16>();
    r.SellDate = FixedText<16>();
    r.Seller = FixedText<16>();
    r.MaintainDesc = FixedText<80>();
    r.RfVersion = u"V1.00";
    r.LcdVersion = u"V1.00";
    r.AreaCode = u"";
    r.RadioModel = TheModel.ModelText;
}

// A field the dealer left as the last Read showed it: its text reads the same
// from that Read's bytes.
bool ModData::Unedited(PackRule rule, int offset, int width, bool ansi,
                       std::u16string_view text) const {
    if (rule != PackRule::KeepUnedited || !ReadImage) {
        return false;
    }
    const std::u16string shown =
        ansi ? AnsiField(*ReadImage, offset, width) : ByteText(*ReadImage, offset, width);
    return FieldValue(shown) == FieldValue(text);
}

void ModData::PackImage(PackRule rule) {
    if (RestoreImage) {
        const InfoImage& bits = DealerBits();
        for (std::size_t i = 0; i < Image.size(); ++i) {
            Image[i] =
                static_cast<std::uint8_t>((Image[i] & ~bits[i]) | ((*RestoreImage)[i] & bits[i]));
        }
        return;
    }
    for (const AreaField& f : InfoArea) {
        if (f.Written == Sent::Dealer) {
            PackField(f, rule);
        }
    }
}

void ModData::PackField(const AreaField& f, PackRule rule) {
    auto& byte = Image[static_cast<std::size_t>(f.Start)];
    switch (f.Kind) {
    case FieldKind::Number: {
        // Only a band the dealer can see chosen in the Frequency list is
        // written. Any other is a radio's own unlisted byte, perhaps of an
        // earlier radio: the radio being written keeps its byte.
        const std::int16_t value = Record.*f.Record.Number;
        if (value >= 0 && value < BandListCount) {
            byte = static_cast<std::uint8_t>(value);
        }
        return;
    }
    case FieldKind::FlagBit:
        byte =
            static_cast<std::uint8_t>((byte & ~f.Bit) | (Record.*f.Record.Number != 0 ? f.Bit : 0));
        return;
    case FieldKind::ByteText:
    case FieldKind::AnsiText: {
        const std::u16string text = f.Record.Text(Record);
        const bool ansi = f.Kind == FieldKind::AnsiText;
        if (Unedited(rule, f.Start, f.Width, ansi, text)) {
            std::copy_n(ReadImage->begin() + f.Start, f.Width, Image.begin() + f.Start);
        } else if (ansi) {
            PutAnsiText(InfoImageBase + f.Start, TrimText(text), f.Width);
        } else {
            PutAscText(InfoImageBase + f.Start, TrimText(text), f.Width);
        }
        return;
    }
    default:
        return; // the radio's own: never packed
    }
}

void ModData::UnpackImage() {
    ReadImage = Image;
    for (const AreaField& f : InfoArea) {
        const auto at = static_cast<std::size_t>(f.Start);
        switch (f.Kind) {
        case FieldKind::ByteText:
            f.Record.SetText(Record, ByteText(Image, f.Start, f.Width));
            break;
        case FieldKind::AnsiText:
            f.Record.SetText(Record, AnsiField(Image, f.Start, f.Width));
            break;
        case FieldKind::Version:
            f.Record.SetText(Record, BytesToVersion(Image[at], Image[at + 1]));
            break;
        case FieldKind::Number:
            Record.*f.Record.Number = Image[at];
            break;
        case FieldKind::FlagBit:
            Record.*f.Record.Number = (Image[at] & f.Bit) != 0 ? 1 : 0;
            break;
        case FieldKind::ModelText:
            // Only a model the tool knows names the Radio Type; any other
            // area leaves the record's as it was.
            if (const RadioModelRules* model = ModelOfArea(Image)) {
                f.Record.SetText(Record, model->ModelText);
            }
            break;
        default:
            break; // the radio's own
        }
    }
}

void ModData::PutAscText(std::int32_t start, std::u16string_view text, std::int32_t length) {
    std::string bytes;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t count = CharacterLength(text, at);
        bytes += static_cast<char>(ByteCode(text.substr(at, count)));
        at += count;
    }
    StoreField(Image, start, bytes, length);
}

void ModData::PutAnsiText(std::int32_t start, std::u16string_view text, std::int32_t length) {
    // Whole characters only: one that does not fit ends the text.
    std::string bytes;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t count = CharacterLength(text, at);
        const std::string character = AnsiCharacter(text.substr(at, count));
        if (std::ssize(bytes) + std::ssize(character) > length) {
            break;
        }
        bytes += character;
        at += count;
    }
    StoreField(Image, start, bytes, length);
}

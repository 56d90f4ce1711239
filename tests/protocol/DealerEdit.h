#pragma once

#include "doubles/AreaMap.h"
#include "doubles/CommandText.h"
#include "doubles/TestRadio.h"
#include "record/FormFields.h"
#include "record/ModData.h"

#include <cstdint>
#include <string>
#include <string_view>

// What an operator types into the window before a write, and the bytes the
// radio must hold afterwards. Every dealer's text field of the area's map is
// typed into: those named here get their text, any other is left empty.
struct DealerEdit {
    std::u16string PassWord = u"12";
    std::u16string DealerCode = u"D-0042";
    std::u16string StockDate = u"2026-01-02";
    std::u16string SellDate = u"2026-02-03";
    std::u16string Seller = u"\u4E2D\u6587";    // two Chinese characters
    Bytes SellerBytes = FromHex("D6 D0 CE C4"); // the same in code page 936
    std::int16_t FreqSet = 1;
    std::int16_t Stun = 0;
    std::int16_t Kill = 1;

    // Into the record, as the window's fields go when it is collected (no
    // NUL, blanks after).
    void ApplyTo(ModData& data) const {
        FormFields form = ShowFields(data.Record);
        for (const area::Field& f : area::Fields) {
            if (f.Written && area::IsText(f)) {
                form.Text1[static_cast<std::size_t>(f.Text1)] = Typed(f.Name);
            }
        }
        form.Check8 = FreqSet;
        form.Check2 = Stun;
        form.Check3 = Kill;
        TakeFields(form, data.Record);
    }

    // The radio's memory before, with the fields a write changes as they must be.
    TestRadio::Memory Written(TestRadio::Memory memory, std::int16_t band) const {
        memory[area::Named("BandCode").Offset] = static_cast<std::uint8_t>(band);
        const std::uint8_t flags = static_cast<std::uint8_t>((FreqSet != 0 ? area::FreqSetBit : 0) |
                                                             (Stun != 0 ? area::StunBit : 0) |
                                                             (Kill != 0 ? area::KillBit : 0));
        std::uint8_t& flagByte = memory[area::Named("Flags").Offset];
        flagByte = static_cast<std::uint8_t>((flagByte & ~area::DealerFlagBits) | flags);
        for (const area::Field& f : area::Fields) {
            if (f.Written && area::IsText(f)) {
                Put(memory, f.Offset, Stored(f.Name), f.Width);
            }
        }
        return memory;
    }

  private:
    // The text typed into a dealer's field; empty for one this edit leaves alone.
    std::u16string Typed(std::string_view name) const {
        const std::pair<std::string_view, const std::u16string*> typed[] = {
            {"ProgPassWord", &PassWord}, {"DealerCode", &DealerCode}, {"StockDate", &StockDate},
            {"SellDate", &SellDate},     {"Seller", &Seller},
        };
        for (const auto& [field, text] : typed) {
            if (field == name) {
                return *text;
            }
        }
        return {};
    }
    // Its bytes in the radio: the Seller's as given, the others' 7-bit texts.
    Bytes Stored(std::string_view name) const {
        return name == "Seller" ? SellerBytes : Narrow(Typed(name));
    }
    static Bytes Narrow(const std::u16string& ascii) {
        Bytes bytes;
        for (const char16_t c : ascii) {
            bytes.push_back(static_cast<std::uint8_t>(c));
        }
        return bytes;
    }
    static void Put(TestRadio::Memory& memory, std::size_t offset, const Bytes& bytes,
                    std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            memory[offset + i] = i < bytes.size() ? bytes[i] : std::uint8_t{0};
        }
    }
};

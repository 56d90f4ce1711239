#pragma once

#include "doubles/CommandText.h"
#include "doubles/TestRadio.h"
#include "record/ModData.h"

#include <cstdint>
#include <string>

// What an operator types into the window before a write, and the bytes the
// radio must hold afterwards.
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

    // Into the record, as the window's fields would go (no NUL, blanks after).
    void ApplyTo(ModData& data) const {
        data.Record.ProgPassWord = PassWord;
        data.Record.DealerCode = DealerCode;
        data.Record.StockDate = StockDate;
        data.Record.SellDate = SellDate;
        data.Record.Seller = Seller;
        data.Record.FreqSet = FreqSet;
        data.Record.Stun = Stun;
        data.Record.Kill = Kill;
    }

    // The radio's memory before, with the fields a write changes as they must be.
    TestRadio::Memory Written(TestRadio::Memory memory, std::int16_t band) const {
        memory[0x0F] = static_cast<std::uint8_t>(band);
        memory[0x10] =
            static_cast<std::uint8_t>((memory[0x10] & 0xF1) | FreqSet * 2 | Stun * 4 | Kill * 8);
        Put(memory, 0x18, Narrow(PassWord), 4);
        Put(memory, 0x60, Narrow(DealerCode), 16);
        Put(memory, 0x70, Narrow(StockDate), 16);
        Put(memory, 0x80, Narrow(SellDate), 16);
        Put(memory, 0x90, SellerBytes, 16);
        return memory;
    }

  private:
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

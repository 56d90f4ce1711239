// What restore reads in a saved area: the model, the serial number that
// proves a radio, and which dealer settings a radio read back differs in.
#include "cli/RestoreCheck.h"
#include "doubles/AreaMap.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {
InfoImage Area(const std::string& head, const std::string& serial) {
    InfoImage image{};
    std::copy(head.begin(), head.end(), image.begin());
    std::copy(serial.begin(), serial.end(),
              image.begin() + static_cast<std::ptrdiff_t>(area::Named("SerialNo").Offset));
    return image;
}

InfoImage Random(unsigned seed) {
    std::mt19937 random(seed);
    InfoImage image{};
    for (auto& b : image) {
        b = static_cast<std::uint8_t>(random());
    }
    return image;
}

// The dealer's bits as the tests' map of the area places them, and their names.
struct Bits {
    std::size_t first, last;
    std::uint8_t mask;
    const char* name;
};
std::vector<Bits> DealerMap() {
    std::vector<Bits> bits;
    for (const area::Field& f : area::Fields) {
        if (f.Written && f.Type == area::Kind::Flags) {
            for (const area::FlagBit& flag : area::FlagBits) {
                if (flag.Written) {
                    bits.push_back({f.Offset, f.Offset, flag.Bit, flag.Name});
                }
            }
        } else if (f.Written) {
            bits.push_back({f.Offset, f.Offset + f.Width - 1, 0xFF, f.Name});
        }
    }
    return bits;
}
} // namespace

TEST(RestoreCheck, OnlyAKvt4610OfAnAcceptedVersion) {
    const std::pair<std::string, bool> cases[] = {
        {"KVT4610V100", true},  {"KVT4610V110", true},
        {"KVT4610V120", false}, {"XYZ9999V999", false},
        {"KVT4611V100", false}, {"kvt4610V100", false},
        {"KVT461 V100", false}, {std::string("KVT4610\0V10", 11), false},
    };
    for (const auto& [head, accepted] : cases) {
        EXPECT_EQ(IsImageOfThisModel(Area(head, "SN1")), accepted) << head;
    }
    for (unsigned seed = 0; seed < 100; ++seed) {
        EXPECT_FALSE(IsImageOfThisModel(Random(seed))) << "256 random bytes, seed " << seed;
    }
}

TEST(RestoreCheck, ASerialNumberThatShowsNothingProvesNothing) {
    const std::string erased(16, '\xFF');
    const std::string zeros(16, '\0');
    const struct {
        std::string file, radio;
        bool same;
    } cases[] = {
        {"SN-A1", "SN-A1", true},
        {"SN-A1", "SN-A1   ", true},
        {"SN-A1", "SN-B2", false},
        {erased, erased, false},
        {zeros, zeros, false},
        {"   ", "   ", false},
        {"\x01\x02", "\x01\x02", false},
        {"\x81", "\x81", false}, // a lead byte alone is no character
        {"\xD5\xC5", "\xD5\xC5", true},
        {std::string("SN\0X", 4), std::string("SN\0Y", 4), true}, // the text ends at 0x00
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameRadio(Area("KVT4610V100", c.file), Area("KVT4610V100", c.radio)), c.same)
            << c.file << " / " << c.radio;
    }
}

// Each bit of the area flipped in turn: only a dealer's bit is a difference,
// named as the memory map names it.
TEST(RestoreCheck, EveryDealerBitAndNoOtherIsCompared) {
    const InfoImage file = Random(7);
    for (std::size_t i = 0; i < file.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            InfoImage radio = file;
            radio[i] = static_cast<std::uint8_t>(radio[i] ^ (1 << bit));
            QStringList expected;
            for (const Bits& b : DealerMap()) {
                if (i >= b.first && i <= b.last && (b.mask & (1 << bit)) != 0) {
                    expected << b.name;
                }
            }
            EXPECT_EQ(DealerDifferences(file, radio), expected) << i << " bit " << bit;
        }
    }
    EXPECT_TRUE(DealerDifferences(file, file).isEmpty());
}

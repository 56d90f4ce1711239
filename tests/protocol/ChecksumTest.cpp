#include "doubles/CommandText.h"
#include "protocol/ModCRC.h"

#include "protocol/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct SumCase {
    std::string Name;
    Bytes Data;
    int First;
    int Last;
    std::uint8_t Expected;
};

class CheckSumTable : public testing::TestWithParam<SumCase> {};

TEST_P(CheckSumTable, SumsTheRangeModulo256) {
    const SumCase& c = GetParam();
    EXPECT_EQ(CheckSum(c.Data, c.First, c.Last), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, CheckSumTable,
    testing::Values(
        SumCase{"WholeRange", {1, 2, 3, 4}, 0, 3, 10}, SumCase{"InnerRange", {1, 2, 3, 4}, 1, 2, 5},
        SumCase{"OneByte", {1, 2, 3, 4}, 2, 2, 3}, SumCase{"WrapsAt256", {200, 100}, 0, 1, 44},
        SumCase{"ManyFF", Bytes(20, 0xFF), 0, 19, static_cast<std::uint8_t>(20 * 255 % 256)},
        SumCase{"Block3B10With01To10",
                DataFrame(0x3B10, FromHex("01 02 03 04 05 06 07 08 09 0A "
                                          "0B 0C 0D 0E 0F 10")),
                1, 0, 0xE3},
        SumCase{"Block3B00Zeros", DataFrame(0x3B00, Bytes(16, 0x00)), 1, 0, 0x4B},
        SumCase{"Block3BF0AllFF", DataFrame(0x3BF0, Bytes(16, 0xFF)), 1, 0, 0x2B},
        // last 0: two before the final index (the last data byte of a frame)
        SumCase{"LastZeroMeansTwoBeforeTheEnd", {1, 2, 3, 4, 50, 60}, 0, 0, 10},
        SumCase{"LastZeroLeavesOutTheFinalTwo", {0, 7, 0xAA, 0xBB}, 1, 0, 7},
        SumCase{"RangeBeyondTheBytes", {1, 2, 3}, 0, 5, 0},
        SumCase{"NegativeFirst", {1, 2, 3}, -1, 2, 0}, SumCase{"EmptyBytes", {}, 0, 0, 0}),
    CaseName());

TEST(CheckSum, OfAFrameLeavesOutTheMarkerAndTheTrailingAck) {
    Bytes frame = DataFrame(0x3B40, FromHex("10 20 30 40 50 60 70 80 90 A0 B0 C0 D0 E0 F0 FF"));
    const std::uint8_t sum = CheckSum(frame, 1, 0);
    frame[0] = 0x00;  // the 0x57 is not covered
    frame[21] = 0x77; // nor the trailing 0x06
    frame[20] = 0x00; // nor the checksum byte itself
    EXPECT_EQ(CheckSum(frame, 1, 0), sum);
    EXPECT_EQ(sum, ByteSum(std::span(frame).subspan(1, 19)));
}

TEST(VerifyCheckSum, PositionZeroIsTheChecksumByteOfADataFrame) {
    const Bytes frame =
        DataFrame(0x3B10, FromHex("01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10"));
    ASSERT_EQ(Hex(frame), "57 3B 10 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 E3 06");
    EXPECT_TRUE(VerifyCheckSum(frame, 1, 0, 0));
    EXPECT_TRUE(VerifyCheckSum(frame, 1, 19, 20));
    EXPECT_TRUE(VerifyCheckSum(frame, 1, 0, 20));
    EXPECT_FALSE(VerifyCheckSum(frame, 1, 0, 21));
}

TEST(VerifyCheckSum, AChecksumOneOffFails) {
    for (const int delta : {1, -1, 0x80}) {
        SCOPED_TRACE(delta);
        Bytes frame = DataFrame(0x3B00, Bytes(16, 0x00));
        frame[20] = static_cast<std::uint8_t>(frame[20] + delta);
        EXPECT_FALSE(VerifyCheckSum(frame, 1, 0, 0));
    }
}

TEST(VerifyCheckSum, ExplicitRangeAndPosition) {
    const Bytes bytes = {5, 6, 7, 18, 99};
    EXPECT_TRUE(VerifyCheckSum(bytes, 0, 2, 3));
    EXPECT_FALSE(VerifyCheckSum(bytes, 0, 2, 4));
    // position 0: one before the final index, here the 18
    EXPECT_TRUE(VerifyCheckSum(bytes, 0, 2, 0));
    EXPECT_FALSE(VerifyCheckSum(bytes, 1, 1, 0));
}

} // namespace

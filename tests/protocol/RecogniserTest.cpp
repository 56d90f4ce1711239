// The answer recognisers and where an accepted data frame goes.
#include "doubles/ProtocolWorld.h"

#include "protocol/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const Bytes Pattern = Ascii("PROGRAMHV\x06");

Bytes Frame(int address, const Bytes& data) {
    return DataFrame(address, data);
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Data(std::uint8_t first) {
    Bytes data;
    for (int i = 0; i < 16; ++i) {
        data.push_back(static_cast<std::uint8_t>(first + i));
    }
    return data;
}

// A world whose last command was length bytes long and waited for waitFor;
// one of four bytes is R 0x3B00.
struct AfterCommand {
    ProtocolWorld w;
    AfterCommand(std::size_t length, int waitFor) {
        w.cable.SetPlugged(false);
        EXPECT_TRUE(w.comm.OpenPort());
        const Bytes command = length == 4 ? FromHex("52 3B 00 10") : Bytes(length, 0x55);
        w.comm.SendFrame(command, waitFor);
    }
};

struct OneByteCase {
    std::string Name;
    std::size_t SentLength;
    int WaitFor;
    Bytes Chunk;
    bool Ack;
    bool Repeat;
};

class OneByteAnswers : public testing::TestWithParam<OneByteCase> {};

TEST_P(OneByteAnswers, AreRecognisedByLengthsAndTheLastByte) {
    const OneByteCase& c = GetParam();
    AfterCommand a(c.SentLength, c.WaitFor);
    ASSERT_EQ(a.w.comm.SentLength, static_cast<std::int32_t>(c.SentLength));
    EXPECT_EQ(a.w.comm.CheckAckAnswer(c.Chunk), c.Ack);
    EXPECT_EQ(a.w.comm.CheckRepeatAnswer(c.Chunk), c.Repeat);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OneByteAnswers,
    testing::Values(
        OneByteCase{"EndAcknowledged", 3, 4, FromHex("45 4E 44 06"), true, false},
        OneByteCase{"EndRefused", 3, 4, FromHex("45 4E 44 0A"), false, true},
        OneByteCase{"WriteAcknowledged", 22, 23, Concat(Bytes(22, 0x57), {0x06}), true, false},
        OneByteCase{"WriteRefused", 22, 23, Concat(Bytes(22, 0x57), {0x0A}), false, true},
        OneByteCase{"LoneAckAfterARead", 4, 26, FromHex("52 3B 00 10 06"), false, false},
        OneByteCase{"LoneRepeatAfterARead", 4, 26, FromHex("52 3B 00 10 0A"), false, false},
        OneByteCase{"LoneAckAfterTheHandshake", 7, 10, Concat(Ascii("PROGRAM"), {0x06}), false,
                    false},
        OneByteCase{"ThresholdOneMoreThanTheCommand", 4, 5, FromHex("52 3B 00 10 06"), true, false},
        OneByteCase{"ChunkOneLonger", 3, 4, FromHex("45 4E 44 06 06"), false, false},
        OneByteCase{"ChunkOneShorter", 3, 4, FromHex("45 4E 06"), false, false},
        OneByteCase{"WriteChunkOneShorter", 22, 23, Bytes(22, 0x06), false, false},
        OneByteCase{"OtherByte", 3, 4, FromHex("45 4E 44 07"), false, false},
        OneByteCase{"EchoNotCompared", 3, 4, FromHex("00 00 00 06"), true, false},
        OneByteCase{"Empty", 3, 4, Bytes{}, false, false}),
    CaseName());

struct FrameCase {
    std::string Name;
    Bytes Chunk;
    bool Accepted;
};

Bytes GoodReadAnswer(int address = 0x3B00) {
    return Concat(FromHex("52 3B 00 10"), Frame(address, Data(0x30)));
}

Bytes Changed(Bytes chunk, std::size_t index, std::uint8_t value) {
    chunk.at(index) = value;
    return chunk;
}

Bytes WithoutLast(Bytes chunk) {
    chunk.pop_back();
    return chunk;
}

// Changes a byte covered by the checksum and puts the right checksum back.
Bytes ChangedResummed(Bytes chunk, std::size_t index, std::uint8_t value) {
    chunk.at(index) = value;
    chunk.at(24) = ByteSum(std::span(chunk).subspan(5, 19));
    return chunk;
}

class DataFrames : public testing::TestWithParam<FrameCase> {};

TEST_P(DataFrames, AfterAnR) {
    const FrameCase& c = GetParam();
    AfterCommand a(4, 26);
    EXPECT_EQ(a.w.comm.CheckDataFrame(c.Chunk), c.Accepted);
    EXPECT_FALSE(a.w.comm.CheckAckAnswer(c.Chunk));
    EXPECT_FALSE(a.w.comm.CheckRepeatAnswer(c.Chunk));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, DataFrames,
    testing::Values(FrameCase{"WellFormed", GoodReadAnswer(), true},
                    FrameCase{"OtherBlockIsRefused", GoodReadAnswer(0x3B10), false},
                    FrameCase{"OtherAreaIsRefused", GoodReadAnswer(0x3C00), false},
                    FrameCase{"EchoIsNotCompared", Changed(GoodReadAnswer(), 0, 0x00), true},
                    FrameCase{"OneByteShort", WithoutLast(GoodReadAnswer()), false},
                    FrameCase{"OneByteLong", Concat(GoodReadAnswer(), {0x06}), false},
                    FrameCase{"NoEcho", Frame(0x3B00, Data(0x30)), false},
                    FrameCase{"MarkerNotW", Changed(GoodReadAnswer(), 4, 0x58), false},
                    FrameCase{"CountNot10", ChangedResummed(GoodReadAnswer(), 7, 0x08), false},
                    FrameCase{"TrailerNot06", Changed(GoodReadAnswer(), 25, 0x07), false},
                    FrameCase{"ChecksumOneHigh",
                              Changed(GoodReadAnswer(), 24,
                                      static_cast<std::uint8_t>(GoodReadAnswer()[24] + 1)),
                              false},
                    FrameCase{"ChecksumOneLow",
                              Changed(GoodReadAnswer(), 24,
                                      static_cast<std::uint8_t>(GoodReadAnswer()[24] - 1)),
                              false},
                    FrameCase{"DataByteChanged", Changed(GoodReadAnswer(), 10, 0x99), false}),
    CaseName());

struct HandshakeCase {
    std::string Name;
    Bytes Buffer;
    int RxLength;
    bool Recognised;
};

Bytes At(std::size_t position, const Bytes& what, std::size_t size, std::uint8_t fill = 0x20) {
    Bytes bytes(size, fill);
    std::copy(what.begin(), what.end(), bytes.begin() + static_cast<std::ptrdiff_t>(position));
    return bytes;
}

class Handshake : public testing::TestWithParam<HandshakeCase> {};

TEST_P(Handshake, IsSearchedInTheGatheredBytes) {
    const HandshakeCase& c = GetParam();
    ProtocolWorld w;
    std::copy(c.Buffer.begin(), c.Buffer.end(), w.comm.RxBuffer.begin());
    w.comm.RxLength = static_cast<std::int16_t>(c.RxLength);
    EXPECT_EQ(w.comm.CheckProgramAnswer(), c.Recognised);
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, Handshake,
    testing::Values(
        HandshakeCase{"Exact", Pattern, 10, true},
        HandshakeCase{"ThreeNoiseBytesBefore", Concat(FromHex("00 FF 48"), Pattern), 13, true},
        HandshakeCase{"NoiseAfter", Concat(Pattern, FromHex("01 02 03 04 05")), 15, true},
        HandshakeCase{"AtTheVeryEndOfAFullBuffer", At(91, Pattern, 101), 101, true},
        HandshakeCase{"NineBytes", Bytes(Pattern.begin(), Pattern.end() - 1), 9, false},
        HandshakeCase{"PatternPresentButOnlyNineCounted", Pattern, 9, false},
        HandshakeCase{"BeyondRxLength", At(20, Pattern, 40), 25, false},
        HandshakeCase{"Empty", Pattern, 0, false},
        HandshakeCase{"RepeatByteInsteadOfAck", Ascii("PROGRAMHV\x0A"), 10, false},
        HandshakeCase{"EchoMissingItsFirstLetter", Ascii("xROGRAMHV\x06"), 10, false},
        HandshakeCase{"AnswerWithoutEcho", Concat(Bytes(7, 0x20), Ascii("HV\x06")), 10, false},
        HandshakeCase{"NineAcks", Bytes(9, 0x06), 9, false}),
    CaseName());

struct StoreCase {
    std::string Name;
    int FrameAddress;
    int FirstStored; // -1: nothing stored
};

class StoreByFrame : public testing::TestWithParam<StoreCase> {};

TEST_P(StoreByFrame, StoresAtTheAddressTheFrameCarriesInsideTheArea) {
    const StoreCase& c = GetParam();
    AfterCommand a(4, 26);
    a.w.data.Image.fill(0xEE);
    const std::int16_t band = a.w.data.Record.BandCode;
    const Bytes chunk = Concat(FromHex("52 3B 00 10"), Frame(c.FrameAddress, Data(0x40)));
    a.w.comm.StoreBlockByFrame(chunk);

    InfoImage expected;
    expected.fill(0xEE);
    if (c.FirstStored >= 0) {
        const Bytes data = Data(0x40);
        std::copy(data.begin(), data.end(), expected.begin() + (c.FirstStored - 0x3B00));
    }
    EXPECT_EQ(Hex(a.w.data.Image), Hex(expected));
    EXPECT_EQ(a.w.data.Record.BandCode, band);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, StoreByFrame,
    testing::Values(StoreCase{"First", 0x3B00, 0x3B00}, StoreCase{"Middle", 0x3B70, 0x3B70},
                    StoreCase{"Last", 0x3BF0, 0x3BF0}, StoreCase{"Unaligned3B05", 0x3B05, 0x3B05},
                    StoreCase{"Beyond3BF0", 0x3BF5, -1}, StoreCase{"NextArea3C00", 0x3C00, -1},
                    StoreCase{"Before3B00", 0x3AFF, -1}, StoreCase{"Top", 0xFFFF, -1},
                    StoreCase{"Zero", 0x0000, -1}),
    CaseName());

} // namespace

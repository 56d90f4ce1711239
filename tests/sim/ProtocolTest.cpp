// The radio's side of a programming session, checked byte for byte on the pty.
#include "SimProcess.h"

#include <gtest/gtest.h>

namespace simtest {
namespace {

constexpr std::size_t kEchoAndFrame = 4 + 22;

// An image where every byte differs from its neighbours, so a misplaced block shows.
Bytes patternImage() {
    Bytes image;
    for (unsigned i = 0; i < 256; ++i) {
        image.push_back(static_cast<std::uint8_t>(i * 7 + 3));
    }
    return image;
}

Bytes filled(std::size_t count, std::uint8_t value) {
    return Bytes(count, value);
}

TEST(Handshake, ProgramIsEchoedThenAnsweredHV06) {
    SimProcess sim({});
    EXPECT_EQ(hex(sim.exchange(programCommand(), 10)), "50 52 4F 47 52 41 4D 48 56 06");
}

TEST(SampleRadio, ReadsAsAKVT4610WithItsFieldsInPlace) {
    SimProcess sim({});
    ASSERT_TRUE(sim.handshake());
    Bytes memory;
    for (unsigned offset = 0; offset < 256; offset += 16) {
        const auto address = static_cast<std::uint16_t>(0x3B00 + offset);
        const Bytes got = sim.exchange(readCommand(address), kEchoAndFrame);
        ASSERT_EQ(got.size(), kEchoAndFrame) << "R " << std::hex << address;
        const Bytes frame(got.begin() + 4, got.end());
        ASSERT_EQ(frame, dataFrame(address, Bytes(frame.begin() + 4, frame.begin() + 20)));
        memory.insert(memory.end(), frame.begin() + 4, frame.begin() + 20);
    }
    EXPECT_EQ(block(memory, 0x00),
              join({text("KVT4610"), text("V100"), {0x01, 0x00, 0x01, 0x0A, 0x01}}));
    EXPECT_EQ(memory[0x10], 0x02);
    EXPECT_EQ(Bytes(memory.begin() + 0x14, memory.begin() + 0x20),
              join({text("KZWP"), filled(4, 0), text("0001")}));
    EXPECT_EQ(block(memory, 0x20), text("2026120100000005"));
    EXPECT_EQ(block(memory, 0x30), join({text("2026-12-01"), filled(6, 0)}));
    EXPECT_EQ(Bytes(memory.begin() + 0x40, memory.begin() + 0x48), text("12-1-E-1"));
    for (const std::size_t kept :
         std::initializer_list<std::size_t>{0x11, 0x12, 0x13, 0x48, 0x4F, 0xF0, 0xF8, 0xFF}) {
        EXPECT_NE(memory[kept], 0) << "offset " << kept;
    }
    for (std::size_t offset = 0x50; offset < 0xF0; ++offset) {
        EXPECT_EQ(memory[offset], 0) << "offset " << offset;
    }
}

struct ReadCase {
    const char* name;
    std::uint16_t address;
    Bytes data;
};

// Names the row in test listings.
std::ostream& operator<<(std::ostream& out, const ReadCase& row) {
    return out << row.name;
}

class ReadBlock : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadBlock, AnswersEchoThenDataFrameWithChecksum) {
    TempDir dir;
    writeFile(dir / "image", patternImage());
    SimProcess sim({"--image", (dir / "image").string()});
    ASSERT_TRUE(sim.handshake());
    const ReadCase& c = GetParam();
    EXPECT_EQ(hex(sim.exchange(readCommand(c.address), kEchoAndFrame)),
              hex(join({readCommand(c.address), dataFrame(c.address, c.data)})));
}

const Bytes kPattern = patternImage();
Bytes pattern(std::size_t from, std::size_t to) {
    return {kPattern.begin() + static_cast<std::ptrdiff_t>(from),
            kPattern.begin() + static_cast<std::ptrdiff_t>(to)};
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, ReadBlock,
    testing::Values(ReadCase{"first", 0x3B00, pattern(0x00, 0x10)},
                    ReadCase{"middle", 0x3B70, pattern(0x70, 0x80)},
                    ReadCase{"last", 0x3BF0, pattern(0xF0, 0x100)},
                    ReadCase{"unaligned", 0x3B08, pattern(0x08, 0x18)},
                    ReadCase{"runsPastEnd", 0x3BF8, join({pattern(0xF8, 0x100), filled(8, 0xFF)})},
                    ReadCase{"startsBefore", 0x3AF8, join({filled(8, 0xFF), pattern(0x00, 0x08)})},
                    ReadCase{"after", 0x3C00, filled(16, 0xFF)},
                    ReadCase{"zero", 0x0000, filled(16, 0xFF)},
                    ReadCase{"topOfAddressSpace", 0xFFF8, filled(16, 0xFF)}),
    [](const auto& row) { return std::string(row.param.name); });

struct ChecksumCase {
    const char* name;
    std::uint8_t fill;
    std::uint16_t address;
    std::uint8_t sum;
};

// Names the row in test listings.
std::ostream& operator<<(std::ostream& out, const ChecksumCase& row) {
    return out << row.name;
}

class KnownChecksum : public testing::TestWithParam<ChecksumCase> {};

TEST_P(KnownChecksum, MatchesTheWorkedExamples) {
    const ChecksumCase& c = GetParam();
    TempDir dir;
    writeFile(dir / "image", filled(256, c.fill));
    SimProcess sim({"--image", (dir / "image").string()});
    ASSERT_TRUE(sim.handshake());
    const Bytes got = sim.exchange(readCommand(c.address), kEchoAndFrame);
    ASSERT_EQ(got.size(), kEchoAndFrame);
    EXPECT_EQ(got[24], c.sum);
    EXPECT_EQ(got[25], 0x06);
}

INSTANTIATE_TEST_SUITE_P(Examples, KnownChecksum,
                         testing::Values(ChecksumCase{"zerosAt3B00", 0x00, 0x3B00, 0x4B},
                                         ChecksumCase{"onesAt3BF0", 0xFF, 0x3BF0, 0x2B}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(WriteBlock, IsAcknowledgedStoredReadBackAndSavedAfterEnd) {
    TempDir dir;
    writeFile(dir / "image", patternImage());
    SimProcess sim({"--image", (dir / "image").string(), "--save", (dir / "saved").string()});
    ASSERT_TRUE(sim.handshake());

    const Bytes frame{0x57, 0x3B, 0x10, 0x10, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                      0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0xE3, 0x06};
    ASSERT_EQ(frame, dataFrame(0x3B10, counting(1)));
    EXPECT_EQ(sim.exchange(frame, 23), join({frame, ack()}));
    EXPECT_EQ(sim.exchange(readCommand(0x3B10), kEchoAndFrame), join({readCommand(0x3B10), frame}));
    EXPECT_FALSE(std::filesystem::exists(dir / "saved")) << "saved before END";

    EXPECT_EQ(sim.exchange(endCommand(), 4), join({endCommand(), ack()}));
    Bytes expected = patternImage();
    std::copy_n(frame.begin() + 4, 16, expected.begin() + 0x10);
    EXPECT_EQ(hex(readFile(dir / "saved")), hex(expected));
}

struct WriteCase {
    const char* name;
    std::uint16_t address;
    bool stored;
};

// Names the row in test listings.
std::ostream& operator<<(std::ostream& out, const WriteCase& row) {
    return out << row.name;
}

class WriteAddress : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteAddress, IsAcknowledgedButStoredOnlyOnABlockOfTheArea) {
    const WriteCase& c = GetParam();
    TempDir dir;
    writeFile(dir / "image", patternImage());
    SimProcess sim({"--image", (dir / "image").string(), "--save", (dir / "saved").string()});
    ASSERT_TRUE(sim.handshake());
    const Bytes frame = dataFrame(c.address, counting(0xA0));
    EXPECT_EQ(sim.exchange(frame, 23), join({frame, ack()}));
    EXPECT_EQ(sim.exchange(endCommand(), 4), join({endCommand(), ack()}));

    Bytes expected = patternImage();
    if (c.stored) {
        const Bytes data = counting(0xA0);
        std::copy(data.begin(), data.end(), expected.begin() + (c.address - 0x3B00));
    }
    EXPECT_EQ(hex(readFile(dir / "saved")), hex(expected));
}

INSTANTIATE_TEST_SUITE_P(Addresses, WriteAddress,
                         testing::Values(WriteCase{"first", 0x3B00, true},
                                         WriteCase{"last", 0x3BF0, true},
                                         WriteCase{"unaligned", 0x3B08, false},
                                         WriteCase{"after", 0x3C00, false},
                                         WriteCase{"before", 0x3AF0, false}),
                         [](const auto& row) { return std::string(row.param.name); });

struct GarbledCase {
    const char* name;
    std::size_t index;
    std::uint8_t value;
};

// Names the row in test listings.
std::ostream& operator<<(std::ostream& out, const GarbledCase& row) {
    return out << row.name;
}

class GarbledWrite : public testing::TestWithParam<GarbledCase> {};

TEST_P(GarbledWrite, IsAnsweredRepeatAndNotStored) {
    SimProcess sim({});
    ASSERT_TRUE(sim.handshake());
    Bytes frame = dataFrame(0x3B60, counting(0x30));
    frame.at(GetParam().index) = GetParam().value;
    EXPECT_EQ(sim.exchange(frame, 23), join({frame, repeat()}));
    EXPECT_EQ(sim.exchange(readCommand(0x3B60), kEchoAndFrame),
              join({readCommand(0x3B60), dataFrame(0x3B60, filled(16, 0))}));
}

INSTANTIATE_TEST_SUITE_P(Frames, GarbledWrite,
                         testing::Values(GarbledCase{"checksum", 20, 0x00},
                                         GarbledCase{"data", 9, 0x99},
                                         GarbledCase{"lastByte", 21, 0x15}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Session, NothingButProgramIsAnsweredBeforeTheHandshake) {
    SimProcess sim({});
    for (const Bytes& command :
         {readCommand(0x3B00), dataFrame(0x3B60, counting(1)), endCommand()}) {
        sim.send(command);
        EXPECT_EQ(hex(sim.receiveUntilQuiet(150ms)), hex(command)) << "echo only";
    }
    EXPECT_TRUE(sim.handshake());
}

TEST(Session, EndsWithEndAndStartsAgainWithProgram) {
    SimProcess sim({});
    ASSERT_TRUE(sim.handshake());
    EXPECT_EQ(sim.exchange(endCommand(), 4), join({endCommand(), ack()}));
    sim.send(readCommand(0x3B00));
    EXPECT_EQ(hex(sim.receiveUntilQuiet(150ms)), hex(readCommand(0x3B00)));
    ASSERT_TRUE(sim.handshake());
    EXPECT_EQ(sim.exchange(readCommand(0x3B00), kEchoAndFrame).size(), kEchoAndFrame);
}

TEST(Session, AHandshakeInsideASessionIsAnsweredAgain) {
    SimProcess sim({});
    ASSERT_TRUE(sim.handshake());
    EXPECT_TRUE(sim.handshake());
}

TEST(Session, SurvivesTheToolClosingAndReopeningThePort) {
    SimProcess sim({});
    ASSERT_TRUE(sim.handshake());
    sim.reopen();
    EXPECT_EQ(sim.exchange(readCommand(0x3B00), kEchoAndFrame).size(), kEchoAndFrame);
    sim.reopen();
    EXPECT_EQ(sim.exchange(endCommand(), 4), join({endCommand(), ack()}));
}

} // namespace
} // namespace simtest

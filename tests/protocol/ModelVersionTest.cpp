// The model and version check: only a KVT4610 with version V100 or V110 is
// read or written; any other gets END and the error box. Unpacking a read and
// restore's check of a file take the same areas for a KVT4610's.
#include "doubles/ProtocolWorld.h"
#include "protocol/CaseName.h"
#include "protocol/OperationKind.h"
#include "record/ModModel.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The test's own reading of the radio's first 11 bytes: the model text and
// the version text, each the whole of its field.
bool IsKvt4610Head(std::span<const std::uint8_t> mem) {
    const std::string head(mem.begin(), mem.begin() + 11);
    return head == "KVT4610V100" || head == "KVT4610V110";
}

struct ModelCase {
    std::string Name;
    Bytes Model;   // 7 bytes at 0x3B00
    Bytes Version; // 4 bytes at 0x3B07
    bool Accepted;
    std::u16string ModelText;
    std::u16string VersionText;
};

class ModelVersion : public testing::TestWithParam<ModelCase> {};

std::u16string EnglishError(const std::u16string& model, const std::u16string& version) {
    return u"Model Type or Version Error!\r\nRadio Model:" + model + u"\r\nRadio Version:" +
           version;
}

std::u16string ChineseError(const std::u16string& model, const std::u16string& version) {
    return u"\u673A\u578B\u6216\u9891\u6BB5\u9519\u8BEF!\r\n\u5BF9\u8BB2\u673A\u673A\u578B:" +
           model + u"\r\n\u5BF9\u8BB2\u673A\u7248\u672C:" + version;
}

TEST_P(ModelVersion, DecidesWhetherTheRadioIsTouched) {
    const ModelCase& c = GetParam();
    for (const Operation op : {Operation::Read, Operation::Write, Operation::Batch}) {
        SCOPED_TRACE(Name(op));
        ProtocolWorld w;
        w.radio.SetModelBytes(c.Model);
        w.radio.SetVersionBytes(c.Version);
        const TestRadio::Memory before = w.radio.Mem();
        const RadioInfo record = w.data.Record;
        Start(w, op);
        ASSERT_TRUE(w.Settle());

        if (c.Accepted) {
            EXPECT_EQ(w.Wire(), FullCommands(op));
            EXPECT_EQ(w.Texts(), TextList{CompleteText(op)});
            EXPECT_EQ(w.comm.OperationMode, ModeIdle);
        } else {
            std::vector<std::string> expected = {"PROGRAM", "R 3B00"};
            if (op == Operation::Write) {
                expected.push_back("R 3B10");
            }
            expected.push_back("END");
            EXPECT_EQ(w.Wire(), expected);
            EXPECT_EQ(w.Texts(), TextList{EnglishError(c.ModelText, c.VersionText)});
            EXPECT_EQ(Hex(w.radio.Mem()), Hex(before));
            EXPECT_EQ(w.comm.OperationMode, ModeOf(op)); // left as it was
            EXPECT_FALSE(w.serial.PortOpen());
            EXPECT_FALSE(w.timer.IsRunning());
            EXPECT_EQ(w.window.GetDataCalls(), 0);
            EXPECT_TRUE(w.window.Shown().empty());
            EXPECT_EQ(w.data.Record, record);
            ASSERT_FALSE(w.window.Messages().empty());
            EXPECT_EQ(w.window.Messages().back().Buttons, MessageButtons::Ok);
            EXPECT_EQ(w.window.Messages().back().Icon, MessageIcon::None);
            EXPECT_FALSE(w.window.Messages().back().PortOpen);
        }
        EXPECT_EQ(w.comm.RadioModelText, c.ModelText);
        EXPECT_EQ(w.comm.RadioVersionText, c.VersionText);
        EXPECT_TRUE(w.radio.Violations().empty());
    }
}

// Radios whose first 11 bytes are a KVT4610's with a few bytes changed to
// what ends, pads or spoils a text. Each is read through the protocol, and
// its area asked of the model check that unpacking and restore use: all three
// agree with the test's reading, so a restore never takes a file that the
// radio's own check would refuse, nor the other way round.
TEST(ModelVersionAgreement, TheProtocolUnpackingAndRestoreTakeTheSameAreas) {
    std::mt19937 rng(4610);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    int accepted = 0;
    for (int round = 0; round < 300; ++round) {
        Bytes head = Ascii(pick(2) == 0 ? "KVT4610V100" : "KVT4610V110");
        for (int changes = pick(3); changes > 0; --changes) {
            std::uint8_t& byte = head[static_cast<std::size_t>(pick(11))];
            const std::uint8_t spoilers[] = {0x00, 0xFF, 0x20, static_cast<std::uint8_t>(rng()),
                                             static_cast<std::uint8_t>(byte | 0x20)};
            byte = spoilers[pick(5)];
        }
        SCOPED_TRACE(Hex(head));
        ProtocolWorld w;
        w.radio.SetModelBytes(std::span(head).first(7));
        w.radio.SetVersionBytes(std::span(head).subspan(7));
        const bool kvt4610 = IsKvt4610Head(w.radio.Mem());
        accepted += kvt4610 ? 1 : 0;
        w.comm.StartRead();
        ASSERT_TRUE(w.Settle());
        EXPECT_EQ(w.Texts() == TextList{CompleteText(Operation::Read)}, kvt4610);

        InfoImage area{};
        std::ranges::copy(w.radio.Mem(), area.begin());
        EXPECT_EQ(ModelOfArea(area) != nullptr, kvt4610);
        ModData unpacked;
        unpacked.Record.RadioModel = u"as before";
        unpacked.Image = area;
        unpacked.UnpackImage();
        EXPECT_EQ(unpacked.Record.RadioModel, kvt4610 ? u"KVT4610" : u"as before");
    }
    EXPECT_GT(accepted, 30); // both sides of the check were tried
    EXPECT_LT(accepted, 270);
}

INSTANTIATE_TEST_SUITE_P(
    Radios, ModelVersion,
    testing::Values(
        ModelCase{"V100", Ascii("KVT4610"), Ascii("V100"), true, u"KVT4610", u"V100"},
        ModelCase{"V110", Ascii("KVT4610"), Ascii("V110"), true, u"KVT4610", u"V110"},
        ModelCase{"V120", Ascii("KVT4610"), Ascii("V120"), false, u"KVT4610", u"V120"},
        ModelCase{"ModelCutByFF", FromHex("4B 56 54 34 36 FF FF"), Ascii("V100"), false, u"KVT46",
                  u"V100"},
        ModelCase{"ModelCutByNul", FromHex("4B 56 54 34 36 00 30"), Ascii("V100"), false, u"KVT46",
                  u"V100"},
        ModelCase{"ModelLowerCase", Ascii("kvt4610"), Ascii("V100"), false, u"kvt4610", u"V100"},
        ModelCase{"OtherModel", Ascii("KVT4611"), Ascii("V110"), false, u"KVT4611", u"V110"},
        ModelCase{"ModelWithTrailingBlank", Ascii("KVT461 "), Ascii("V100"), false, u"KVT461",
                  u"V100"},
        ModelCase{"ErasedModel", Bytes(7, 0xFF), Ascii("V100"), false, u"", u"V100"},
        ModelCase{"VersionLowerCase", Ascii("KVT4610"), Ascii("v100"), false, u"KVT4610", u"v100"},
        ModelCase{"VersionCutByNul", Ascii("KVT4610"), FromHex("56 31 00 00"), false, u"KVT4610",
                  u"V1"},
        ModelCase{"VersionWithTrailingBlank", Ascii("KVT4610"), Ascii("V10 "), false, u"KVT4610",
                  u"V10"},
        ModelCase{"VersionWithLeadingBlank", Ascii("KVT4610"), Ascii(" V10"), false, u"KVT4610",
                  u" V10"},
        ModelCase{"ErasedVersion", Ascii("KVT4610"), Bytes(4, 0xFF), false, u"KVT4610", u""},
        ModelCase{"BlankVersion", Ascii("KVT4610"), Ascii("    "), false, u"KVT4610", u""},
        ModelCase{"NulVersion", Ascii("KVT4610"), Bytes(4, 0x00), false, u"KVT4610", u""},
        ModelCase{"BlankModel", Ascii("       "), Ascii("V100"), false, u"", u"V100"}),
    CaseName());

TEST(ModelVersionError, EnglishBoxReadsExactly) {
    ProtocolWorld w;
    w.radio.SetVersionBytes(Ascii("V120"));
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(
        w.Texts(),
        TextList{u"Model Type or Version Error!\r\nRadio Model:KVT4610\r\nRadio Version:V120"});
}

TEST(ModelVersionError, ChineseBoxReadsExactly) {
    for (const Operation op : {Operation::Read, Operation::Write, Operation::Batch}) {
        SCOPED_TRACE(Name(op));
        ProtocolWorld w;
        w.window.SetLangType(2);
        w.radio.SetVersionBytes(Ascii("V120"));
        Start(w, op);
        w.Settle();
        EXPECT_EQ(w.Texts(), TextList{u"\u673A\u578B\u6216\u9891\u6BB5\u9519\u8BEF!\r\n"
                                      u"\u5BF9\u8BB2\u673A\u673A\u578B:KVT4610\r\n"
                                      u"\u5BF9\u8BB2\u673A\u7248\u672C:V120"});
        EXPECT_EQ(w.Texts().front(), ChineseError(u"KVT4610", u"V120"));
    }
}

TEST(ModelVersionError, TheWriteChecksBeforeReadingTheLastBlock) {
    ProtocolWorld w;
    w.radio.SetModelBytes(FromHex("4B 56 54 34 36 FF FF"));
    w.comm.StartWrite();
    w.Settle();
    EXPECT_EQ(w.radio.CountOf("R 3BF0"), 0);
    EXPECT_EQ(w.radio.CountOf("W 3B00"), 0);
}

TEST(ModelVersionError, ABatchStaysHaltedUntilStopped) {
    ProtocolWorld w;
    w.radio.SetVersionBytes(Ascii("V120"));
    w.ClickBatch(3);
    w.Settle();
    EXPECT_EQ(w.comm.OperationMode, ModeMulWrite);
    EXPECT_TRUE(w.window.RunningFace());
    EXPECT_FALSE(w.serial.PortOpen());
    const std::size_t sent = w.serial.Wire().size();
    w.clock.Advance(60000); // nothing more happens
    EXPECT_EQ(w.serial.Wire().size(), sent);

    w.ClickBatch(3); // the button now stops the batch
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.window.RunningFace());
    EXPECT_EQ(w.Texts().size(), 1u);
    EXPECT_EQ(w.serial.Wire().size(), sent);
}

TEST(ModelVersionError, ARadioThatFailsAfterOneThatPassedInTheSameRun) {
    ProtocolWorld w;
    w.comm.StartRead();
    w.Settle();
    w.radio.SetModelBytes(Ascii("KVT4620"));
    const std::size_t first = w.serial.Wire().size();
    w.comm.StartRead();
    w.Settle();
    EXPECT_EQ(w.serial.WireTextFrom(first), (std::vector<std::string>{"PROGRAM", "R 3B00", "END"}));
    EXPECT_EQ(w.Texts().back(),
              u"Model Type or Version Error!\r\nRadio Model:KVT4620\r\nRadio Version:V100");
    EXPECT_EQ(w.window.Shown().size(), 1u); // the first Read's record stays shown
}

} // namespace

// The batch write: radio after radio, each written once, polled while it
// stays attached, with the serial number advancing in the record.
#include "doubles/ProtocolWorld.h"
#include "protocol/CaseName.h"
#include "protocol/DealerEdit.h"
#include "record/ModFun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds ResponseTime = TheModel.ResponseTime;
// How long a batch waits for its next radio: the first time-out past it
// gives up.
constexpr std::chrono::milliseconds GiveUpAfter = 4h;

// A span of time on the virtual clock.
constexpr VirtualClock::Time Ms(std::chrono::milliseconds span) {
    return span.count();
}

const std::vector<std::string> RadioCore = [] {
    std::vector<std::string> core = {"R 3B00", "R 3B10", "R 3BF0"};
    core.insert(core.end(), WrittenBlocks.begin(), WrittenBlocks.end());
    core.push_back("END");
    return core;
}();

// The radio's log without the handshakes before and after its transfer.
std::vector<std::string> Transfer(const std::vector<std::string>& log) {
    std::size_t first = 0;
    while (first < log.size() && log[first] == "PROGRAM") {
        ++first;
    }
    std::size_t last = log.size();
    while (last > first && log[last - 1] == "PROGRAM") {
        --last;
    }
    return std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(first),
                                    log.begin() + static_cast<std::ptrdiff_t>(last));
}

std::size_t Count(const std::vector<std::string>& log, const std::string& command) {
    return static_cast<std::size_t>(std::count(log.begin(), log.end(), command));
}

// A batch world: the window's edits differ per radio (Seller S1, S2, ...),
// the window's band is 0, and the record's band agrees with it.
struct BatchWorld : ProtocolWorld {
    std::vector<DealerEdit> edits;
    std::vector<std::unique_ptr<TestRadio>> radios;

    BatchWorld() {
        data.Record.BandCode = 0;
        window.SetWindowBand(0);
        window.SetOnGetData([this](ModData& d) {
            DealerEdit e;
            const std::string seller = "S" + std::to_string(edits.size() + 1);
            e.Seller = std::u16string(seller.begin(), seller.end());
            e.SellerBytes = Ascii(seller);
            e.ApplyTo(d);
            edits.push_back(e);
        });
        cable.Detach();
    }

    ~BatchWorld() {
        for (const auto& r : radios) {
            for (const std::string& violation : r->Violations()) {
                ADD_FAILURE() << "a radio could not accept: " << violation;
            }
        }
    }
    BatchWorld(const BatchWorld&) = delete;
    BatchWorld& operator=(const BatchWorld&) = delete;

    // A new radio with its own bytes and band; not yet attached.
    TestRadio& NewRadio(int seed, std::uint8_t band) {
        radios.push_back(std::make_unique<TestRadio>(TestRadio::FactoryMemory(seed)));
        radios.back()->SetBand(band);
        return *radios.back();
    }
    void AttachAt(VirtualClock::Time t, TestRadio& r) {
        clock.At(t, [this, &r] { cable.Attach(r); });
    }
    void DetachAt(VirtualClock::Time t) {
        clock.At(t, [this] { cable.Detach(); });
    }
};

TEST(Batch, ThreeRadiosEachWrittenOnce) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(11, 1);
    TestRadio& r2 = w.NewRadio(12, 0);
    TestRadio& r3 = w.NewRadio(13, 1);
    const TestRadio::Memory before[] = {r1.Mem(), r2.Mem(), r3.Mem()};
    w.data.Record.SerialNo = u"AB12345600000041";
    w.cable.Attach(r1);
    w.DetachAt(1000);
    w.AttachAt(3000, r2);
    w.DetachAt(5000);
    w.AttachAt(7000, r3);

    w.ClickBatch(3);
    EXPECT_EQ(w.comm.OperationMode, ModeMulWrite);
    EXPECT_TRUE(w.window.RunningFace());
    ASSERT_TRUE(w.Settle());

    TestRadio* const all[] = {&r1, &r2, &r3};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i + 1);
        const TestRadio& r = *all[i];
        ASSERT_FALSE(r.Log().empty());
        EXPECT_EQ(r.Log().front(), "PROGRAM");
        EXPECT_EQ(Transfer(r.Log()), RadioCore);
        EXPECT_TRUE(r.Violations().empty());
        ASSERT_EQ(w.edits.size(), 3u);
        // the window's band, never the radio's; its own bytes elsewhere
        EXPECT_EQ(Hex(r.Mem()), Hex(w.edits[i].Written(before[i], 0)));
    }
    // the first radio stayed attached for a while and was polled, not rewritten
    EXPECT_GT(r1.CountOf("PROGRAM"), 10);
    EXPECT_EQ(w.window.BandQuestions(), 0u);
    EXPECT_EQ(w.window.GetDataCalls(), 3);

    EXPECT_EQ(w.Texts(), TextList{Box::MulWriteComplete});
    const FakeWindow::Message& done = w.window.Messages().back();
    EXPECT_EQ(done.Buttons, MessageButtons::Ok);
    EXPECT_EQ(done.Icon, MessageIcon::None);
    EXPECT_FALSE(done.PortOpen);
    EXPECT_FALSE(done.RunningFace);
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_FALSE(w.timer.IsRunning());
    EXPECT_FALSE(w.window.RunningFace());
    ASSERT_FALSE(w.window.FaceCalls().empty());
    EXPECT_EQ(w.window.FaceCalls().back().ModeAtCall, ModeMulWrite);

    ASSERT_EQ(w.window.Shown().size(), 3u);
    EXPECT_EQ(TrimText(w.window.Shown()[0].SerialNo.Str()), u"AB12345600000042");
    EXPECT_EQ(TrimText(w.window.Shown()[1].SerialNo.Str()), u"AB12345600000043");
    EXPECT_EQ(TrimText(w.window.Shown()[2].SerialNo.Str()), u"AB12345600000044");
    EXPECT_EQ(w.window.Text2History(), (TextList{u"1", u"2", u"3", u"4"}));
    EXPECT_EQ(w.window.Label6History(),
              (TextList{Box::WrittingData, Box::WaittingNext, Box::WaittingNext, u""}));
    EXPECT_EQ(w.window.Text2(), u"");
    EXPECT_EQ(w.window.Label6(), u"");
    EXPECT_EQ(w.comm.MulWriteNo, 4);
    EXPECT_TRUE(w.serial.Misuse().empty());
}

TEST(Batch, NeverTakesTheBandFromTheRadio) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(21, 1);
    const TestRadio::Memory before = r1.Mem();
    w.data.Record.BandCode = 0;
    w.window.SetWindowBand(std::nullopt); // nothing to ask: the record's band goes out
    w.cable.Attach(r1);
    w.ClickBatch(1);
    w.Settle();
    EXPECT_EQ(r1.At(0x3B0F), 0);
    EXPECT_EQ(w.data.Record.BandCode, 0);
    EXPECT_EQ(Hex(r1.Mem()), Hex(w.edits[0].Written(before, 0)));
}

TEST(Batch, AnUnlistedBandLeftByAReadReachesNoRadio) {
    BatchWorld w;
    TestRadio& erased = w.NewRadio(22, 0xFF);
    TestRadio& r1 = w.NewRadio(23, 0);
    w.cable.Attach(erased);
    w.comm.StartRead();
    w.Settle();
    ASSERT_EQ(w.data.Record.BandCode, 0xFF);
    w.window.SetWindowBand(std::nullopt); // the Frequency list shows no selection
    w.cable.Attach(r1);
    const TestRadio::Memory before = r1.Mem();
    w.ClickBatch(1);
    w.Settle();
    EXPECT_EQ(w.Texts().back(), Box::MulWriteComplete);
    EXPECT_EQ(Hex(r1.Mem()), Hex(w.edits[0].Written(before, 0)));
}

struct CountCase {
    std::string Name;
    int Count;
};

class BatchOfOne : public testing::TestWithParam<CountCase> {};

TEST_P(BatchOfOne, WritesExactlyOneRadio) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(31, 1);
    TestRadio& r2 = w.NewRadio(32, 1);
    w.cable.Attach(r1);
    w.DetachAt(1000);
    w.AttachAt(3000, r2);
    w.ClickBatch(GetParam().Count);
    w.Settle();
    EXPECT_EQ(w.Wire().front(), "PROGRAM");
    EXPECT_EQ(Transfer(r1.Log()), RadioCore);
    EXPECT_EQ(r1.Log().size(), RadioCore.size() + 1); // no poll after the last radio
    EXPECT_TRUE(r2.Log().empty());
    EXPECT_EQ(w.Texts(), TextList{Box::MulWriteComplete});
    EXPECT_EQ(w.window.Text2History(), (TextList{u"1", u"2"}));
    EXPECT_EQ(w.window.Label6History(), (TextList{Box::WrittingData, u""}));
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.window.RunningFace());
}

INSTANTIATE_TEST_SUITE_P(Counts, BatchOfOne,
                         testing::Values(CountCase{"Zero", 0}, CountCase{"One", 1},
                                         CountCase{"Negative", -5}),
                         CaseName());

TEST(Batch, ChineseHints) {
    BatchWorld w;
    w.window.SetLangType(2);
    TestRadio& r1 = w.NewRadio(41, 1);
    TestRadio& r2 = w.NewRadio(42, 1);
    w.cable.Attach(r1);
    w.DetachAt(1000);
    w.AttachAt(3000, r2);
    w.ClickBatch(2);
    w.Settle();
    EXPECT_EQ(w.window.Label6History(),
              (TextList{Box::WrittingDataChinese, Box::WaittingNextChinese, u""}));
    EXPECT_EQ(w.Texts(), TextList{Box::MulWriteComplete});
}

TEST(Batch, ANewBatchCanStartRightAfterOneCompleted) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(51, 1);
    w.cable.Attach(r1);
    w.ClickBatch(1);
    w.Settle();
    w.ClickBatch(1);
    EXPECT_EQ(w.comm.OperationMode, ModeMulWrite);
    w.Settle();
    EXPECT_EQ(r1.CountOf("W 3B00"), 2);
    EXPECT_EQ(w.Texts(), (TextList{Box::MulWriteComplete, Box::MulWriteComplete}));
    EXPECT_EQ(w.window.Text2History(), (TextList{u"1", u"2", u"1", u"2"}));
    EXPECT_FALSE(w.window.RunningFace());
}

TEST(Batch, ARadioSwappedInWithoutAPauseIsTakenForTheOldOne) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(61, 1);
    TestRadio& r2 = w.NewRadio(62, 1);
    w.cable.Attach(r1);
    w.AttachAt(1000, r2); // swapped at once
    w.ClickBatch(2);
    w.clock.RunUntilIdle(4000);
    ASSERT_EQ(Transfer(r1.Log()), RadioCore);
    EXPECT_EQ(r2.CountOf("W 3B00"), 0);
    EXPECT_GT(r2.CountOf("PROGRAM"), 10);
    EXPECT_TRUE(w.Texts().empty());

    // taken away for more than two time-outs, then back: now it is written
    w.DetachAt(4000);
    w.AttachAt(4000 + Ms(2 * ResponseTime + 200ms), r2);
    w.Settle();
    EXPECT_EQ(r2.CountOf("W 3B00"), 1);
    EXPECT_EQ(Transfer(r2.Log()), RadioCore);
    EXPECT_EQ(w.Texts(), TextList{Box::MulWriteComplete});
}

TEST(Batch, ARadioBackAfterOneTimeOutIsTakenForTheOldOne) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(71, 1);
    TestRadio& r2 = w.NewRadio(72, 1);
    w.cable.Attach(r1);
    w.DetachAt(1000);
    w.AttachAt(1000 + Ms(ResponseTime - 200ms), r2); // within one time-out
    w.ClickBatch(2);
    w.clock.RunUntilIdle(4000);
    ASSERT_EQ(Transfer(r1.Log()), RadioCore);
    EXPECT_EQ(r2.CountOf("W 3B00"), 0);
    EXPECT_GT(r2.CountOf("PROGRAM"), 10);
    w.DetachAt(4000);
    w.AttachAt(5200, r2);
    w.Settle();
    EXPECT_EQ(r2.CountOf("W 3B00"), 1);
    EXPECT_EQ(w.Texts(), TextList{Box::MulWriteComplete});
}

TEST(Batch, TwoSilentTimeOutsAreEnoughForTheNextRadio) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(81, 1);
    TestRadio& r2 = w.NewRadio(82, 1);
    r1.SilentFrom(13); // the first poll after its END goes unanswered
    w.cable.Attach(r1);
    w.ClickBatch(2);
    ASSERT_TRUE(w.clock.RunUntil([&] { return w.Wire().size() == 13; }, 10000));
    const VirtualClock::Time p0 = w.serial.Wire()[12].At;
    // attached just before the handshake that follows the second time-out
    w.AttachAt(p0 + Ms(2 * ResponseTime - 1ms), r2);
    w.Settle();
    EXPECT_EQ(r2.Log().front(), "PROGRAM");
    EXPECT_EQ(r2.Log().size(), RadioCore.size() + 1);
    EXPECT_EQ(w.serial.WireTextFrom(12).size(), 3 + RadioCore.size());
    EXPECT_EQ(w.Texts(), TextList{Box::MulWriteComplete});
}

TEST(Batch, TheNewRadioRule_OneTimeOutIsNotEnough) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(91, 1);
    TestRadio& r2 = w.NewRadio(92, 1);
    r1.SilentFrom(13);
    w.cable.Attach(r1);
    w.ClickBatch(2);
    ASSERT_TRUE(w.clock.RunUntil([&] { return w.Wire().size() == 13; }, 10000));
    const VirtualClock::Time p0 = w.serial.Wire()[12].At;
    // attached before the handshake that follows the first time-out
    w.AttachAt(p0 + Ms(ResponseTime - 1ms), r2);
    w.clock.RunUntilIdle(Ms(ResponseTime + 400ms));
    EXPECT_EQ(r2.CountOf("R 3B00"), 0);
    EXPECT_GE(r2.CountOf("PROGRAM"), 1);
}

// At the KVT4610's 500 ms, the 28801st time-out.
TEST(Batch, PollingGivesUpAtTheFirstTimeOutPastFourHours) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(101, 1);
    r1.SilentFrom(13);
    w.cable.Attach(r1);
    w.ClickBatch(2);
    ASSERT_TRUE(w.clock.RunUntil([&] { return w.Wire().size() == 13; }, 10000));
    const VirtualClock::Time p0 = w.serial.Wire()[12].At;
    ASSERT_TRUE(w.Settle(30'000'000));

    const auto timeOuts = GiveUpAfter / ResponseTime + 1;
    const std::vector<std::string> polls = w.serial.WireTextFrom(12);
    EXPECT_EQ(polls.size(), static_cast<std::size_t>(timeOuts));
    EXPECT_EQ(Count(polls, "PROGRAM"), static_cast<std::size_t>(timeOuts));
    EXPECT_TRUE(w.window.Messages().size() == 1);
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    const VirtualClock::Time gaveUp = w.window.Messages().back().At;
    EXPECT_EQ(gaveUp, p0 + Ms(timeOuts * ResponseTime));
    EXPECT_GT(gaveUp, p0 + Ms(GiveUpAfter));
    EXPECT_LE(gaveUp, p0 + Ms(GiveUpAfter + ResponseTime));
    EXPECT_FALSE(w.window.Messages().back().PortOpen);
    EXPECT_EQ(w.comm.PollCount, timeOuts);
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_FALSE(w.window.RunningFace());
    EXPECT_EQ(w.window.FaceCalls().back().ModeAtCall, ModeMulWrite);
    // every poll waited its full response time
    for (std::size_t i = 13; i < w.serial.Wire().size(); ++i) {
        ASSERT_EQ(w.serial.Wire()[i].At - w.serial.Wire()[i - 1].At, Ms(ResponseTime)) << i;
    }
}

// At the KVT4610's 500 ms, the 28800th time-out.
TEST(Batch, TheLastTimeOutWithinFourHoursStillPolls) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(111, 1);
    TestRadio& r2 = w.NewRadio(112, 1);
    r1.SilentFrom(13);
    w.cable.Attach(r1);
    w.ClickBatch(2);
    ASSERT_TRUE(w.clock.RunUntil([&] { return w.Wire().size() == 13; }, 10000));
    const VirtualClock::Time p0 = w.serial.Wire()[12].At;
    // attached just before the handshake that follows the last time-out
    // within the four hours
    const auto timeOuts = GiveUpAfter / ResponseTime;
    w.AttachAt(p0 + Ms(timeOuts * ResponseTime - 1ms), r2);
    ASSERT_TRUE(w.Settle(30'000'000));

    EXPECT_EQ(w.Texts(), TextList{Box::MulWriteComplete});
    EXPECT_EQ(r2.Log().size(), RadioCore.size() + 1);
    EXPECT_EQ(Transfer(r2.Log()), RadioCore);
    const std::vector<std::string> after = w.serial.WireTextFrom(12);
    EXPECT_EQ(Count(after, "PROGRAM"), static_cast<std::size_t>(timeOuts + 1));
}

TEST(Batch, NoAnswerFromTheFirstRadioEndsAtOnce) {
    BatchWorld w; // nothing attached
    w.ClickBatch(3);
    w.Settle();
    EXPECT_EQ(w.Wire(), std::vector<std::string>{"PROGRAM"});
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    EXPECT_EQ(w.window.Messages().back().At, Ms(ResponseTime));
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_FALSE(w.window.RunningFace());
    EXPECT_EQ(w.window.FaceCalls().back().ModeAtCall, ModeMulWrite);

    // the next click starts a batch, it does not stop one
    TestRadio& r1 = w.NewRadio(121, 1);
    w.cable.Attach(r1);
    w.ClickBatch(1);
    EXPECT_EQ(w.comm.OperationMode, ModeMulWrite);
    w.Settle();
    EXPECT_EQ(Transfer(r1.Log()), RadioCore);
    EXPECT_EQ(w.FirstLines(), (TextList{Box::CommunicationError, Box::MulWriteComplete}));
}

TEST(Batch, StopWhileWaitingForTheNextRadio) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(131, 1);
    TestRadio& r2 = w.NewRadio(132, 1);
    w.cable.Attach(r1);
    w.DetachAt(1000);
    w.ClickBatch(3);
    w.clock.Advance(2000);
    ASSERT_EQ(w.comm.OperationMode, ModeMulWrite);
    w.ClickBatch(3); // the stop button
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_FALSE(w.window.RunningFace());
    const std::size_t sent = w.serial.Wire().size();
    w.AttachAt(3000, r2);
    w.Settle();
    EXPECT_TRUE(w.Texts().empty());
    EXPECT_EQ(w.serial.Wire().size(), sent);
    EXPECT_TRUE(r2.Log().empty());
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
}

TEST(Batch, ARadioFallingSilentInItsBlocksEndsTheBatch) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(141, 1);
    TestRadio& r2 = w.NewRadio(142, 1);
    const TestRadio::Memory before1 = r1.Mem();
    r2.SilentOn("W 3B60");
    w.cable.Attach(r1);
    w.DetachAt(1000);
    w.AttachAt(3000, r2);
    w.ClickBatch(3);
    w.Settle();
    EXPECT_EQ(w.Wire().back(), "W 3B60");
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    EXPECT_EQ(w.window.Messages().back().At, w.serial.Wire().back().At + Ms(ResponseTime));
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.window.RunningFace());
    EXPECT_EQ(w.window.FaceCalls().back().ModeAtCall, ModeMulWrite);
    EXPECT_EQ(Hex(r1.Mem()), Hex(w.edits[0].Written(before1, 0))); // stays written
}

TEST(Batch, AWrongModelHaltsTheBatchOnTheSecondRadio) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(151, 1);
    TestRadio& r2 = w.NewRadio(152, 1);
    r2.SetVersionBytes(Ascii("V120"));
    const TestRadio::Memory before2 = r2.Mem();
    w.cable.Attach(r1);
    w.DetachAt(1000);
    w.AttachAt(3000, r2);
    w.ClickBatch(3);
    w.Settle();
    EXPECT_EQ(Transfer(r2.Log()), (std::vector<std::string>{"R 3B00", "END"}));
    EXPECT_EQ(Hex(r2.Mem()), Hex(before2));
    EXPECT_EQ(
        w.Texts(),
        TextList{u"Model Type or Version Error!\r\nRadio Model:KVT4610\r\nRadio Version:V120"});
    EXPECT_EQ(w.comm.OperationMode, ModeMulWrite);
    EXPECT_TRUE(w.window.RunningFace());
    EXPECT_FALSE(w.serial.PortOpen());
    w.ClickBatch(3);
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.window.RunningFace());
}

const std::vector<std::string> WholeRead = [] {
    std::vector<std::string> reads;
    for (int block = 0x3B00; block <= 0x3BF0; block += 0x10) {
        char text[8];
        std::snprintf(text, sizeof text, "R %04X", block);
        reads.push_back(text);
    }
    return reads;
}();

// Reading every block, the window side is asked with each radio's whole area
// before its first W; a refusal closes that radio with END and writes nothing.
TEST(Batch, ReadingAllBlocksAsksBeforeEachRadioIsWritten) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(161, 1);
    TestRadio& r2 = w.NewRadio(162, 1);
    const TestRadio::Memory before2 = r2.Mem();
    std::vector<InfoImage> asked;
    w.window.SetReadyToWrite([&](const InfoImage& image) {
        asked.push_back(image);
        return asked.size() < 2;
    });
    w.cable.Attach(r1);
    w.DetachAt(1000);
    w.AttachAt(3000, r2);
    w.comm.MulWriteReadsAll = true;
    w.ClickBatch(3);
    w.Settle();

    std::vector<std::string> written = WholeRead;
    written.insert(written.end(), WrittenBlocks.begin(), WrittenBlocks.end());
    written.push_back("END");
    EXPECT_EQ(Transfer(r1.Log()), written);
    std::vector<std::string> refused = WholeRead;
    refused.push_back("END");
    EXPECT_EQ(Transfer(r2.Log()), refused);
    EXPECT_EQ(Hex(r2.Mem()), Hex(before2));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(Hex(asked[1]), Hex(before2)) << "the second radio's own bytes, every one";
    EXPECT_EQ(w.window.GetDataCalls(), 1);
    EXPECT_TRUE(w.Texts().empty());
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.window.RunningFace());
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_FALSE(w.timer.IsRunning());
}

// Reading the serial number too, each radio's own block 0x3B20 is in the
// image when the window side is asked, and the radio is written as without.
TEST(Batch, ReadingTheSerialNumberAsksWithEachRadiosOwn) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(171, 1);
    TestRadio& r2 = w.NewRadio(172, 0);
    const TestRadio::Memory before[] = {r1.Mem(), r2.Mem()};
    std::vector<std::string> serials;
    w.window.SetReadyToWrite([&](const InfoImage& image) {
        serials.push_back(Hex(std::span(image).subspan(0x20, 16)));
        return true;
    });
    w.cable.Attach(r1);
    w.DetachAt(1000);
    w.AttachAt(3000, r2);
    w.comm.MulWriteReadsSerial = true;
    w.ClickBatch(2);
    ASSERT_TRUE(w.Settle());

    std::vector<std::string> transfer = {"R 3B00", "R 3B10", "R 3B20", "R 3BF0"};
    transfer.insert(transfer.end(), WrittenBlocks.begin(), WrittenBlocks.end());
    transfer.push_back("END");
    TestRadio* const all[] = {&r1, &r2};
    ASSERT_EQ(serials.size(), 2u);
    ASSERT_EQ(w.edits.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(Transfer(all[i]->Log()), transfer);
        EXPECT_EQ(serials[i], Hex(std::span(before[i]).subspan(0x20, 16)));
        EXPECT_EQ(Hex(all[i]->Mem()), Hex(w.edits[i].Written(before[i], 0)));
    }
    EXPECT_EQ(w.Texts(), TextList{Box::MulWriteComplete});
}

} // namespace

// A Stop while a radio's blocks go out lets that radio finish, then stops as
// a Stop between radios does: no message, idle face, port closed.
TEST(Batch, StopDuringATransferLetsTheRadioFinish) {
    for (const std::string stopAt : {"W 3B00", "W 3B70", "W 3BF0", "END"}) {
        SCOPED_TRACE(stopAt);
        BatchWorld w;
        TestRadio& r1 = w.NewRadio(151, 0);
        TestRadio& r2 = w.NewRadio(152, 0);
        const TestRadio::Memory before = r1.Mem();
        w.cable.Attach(r1);
        w.AttachAt(4000, r2);
        w.ClickBatch(3);
        for (int ms = 0; w.Wire().empty() || w.Wire().back() != stopAt; ++ms) {
            ASSERT_LT(ms, 5000) << "never sent";
            w.clock.Advance(1);
        }
        w.ClickBatch(3); // the stop button, mid-transfer
        EXPECT_EQ(w.comm.OperationMode, ModeMulWrite);
        EXPECT_TRUE(w.window.RunningFace())
            << "Read and Write stay disabled until the radio is done";
        w.Settle();
        EXPECT_EQ(Transfer(r1.Log()), RadioCore);
        EXPECT_EQ(Hex(r1.Mem()), Hex(w.edits[0].Written(before, 0)));
        EXPECT_TRUE(w.Texts().empty());
        EXPECT_EQ(w.comm.OperationMode, ModeIdle);
        EXPECT_FALSE(w.serial.PortOpen());
        EXPECT_FALSE(w.window.RunningFace());
        EXPECT_TRUE(r2.Log().empty());
        EXPECT_EQ(w.Wire().back(), "END");
    }
}

TEST(Batch, StopWhileReadingARadioStopsAtOnce) {
    BatchWorld w;
    TestRadio& r1 = w.NewRadio(161, 0);
    const TestRadio::Memory before = r1.Mem();
    w.cable.Attach(r1);
    w.ClickBatch(3);
    for (int ms = 0; w.Wire().empty() || w.Wire().back() != "R 3B10"; ++ms) {
        ASSERT_LT(ms, 5000) << "never sent";
        w.clock.Advance(1);
    }
    w.ClickBatch(3);
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    w.Settle();
    EXPECT_EQ(Hex(r1.Mem()), Hex(before)) << "nothing was written";
    EXPECT_TRUE(w.Texts().empty());
}

// The response time-out: the model's response time (500 ms) after each
// command without a recognised answer the operation ends with
// "Communication Error!".
#include "doubles/ProtocolWorld.h"
#include "protocol/CaseName.h"
#include "protocol/DealerEdit.h"
#include "protocol/OperationKind.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds ResponseTime = TheModel.ResponseTime;

// A span of time on the virtual clock.
constexpr VirtualClock::Time Ms(std::chrono::milliseconds span) {
    return span.count();
}

enum class Silence { EchoOnly, Nothing };

struct TimeoutCase {
    std::string Name;
    Operation Op;
    int SilentFrom; // the first command left unanswered, 1 = PROGRAM
    Silence Kind;
};

class Timeout : public testing::TestWithParam<TimeoutCase> {};

TEST_P(Timeout, EndsTheOperationOnceWithCommunicationError) {
    const TimeoutCase& c = GetParam();
    ProtocolWorld w;
    DealerEdit edit;
    w.window.SetOnGetData([&](ModData& d) { edit.ApplyTo(d); });
    const TestRadio::Memory before = w.radio.Mem();
    const RadioInfo record = w.data.Record;
    w.radio.SilentFrom(c.SilentFrom);
    int outputs = 0;
    if (c.Kind == Silence::Nothing) {
        w.cable.SetChooser([&, from = c.SilentFrom](std::span<const std::uint8_t>) {
            ++outputs;
            std::optional<CableLink::Chunking> plan;
            if (outputs >= from) {
                plan = CableLink::Chunking{};
                plan->Drop = true;
            }
            return plan;
        });
    }
    Start(w, c.Op, 3);
    ASSERT_TRUE(w.Settle());

    const std::vector<std::string> all = FullCommands(c.Op);
    const std::vector<std::string> expected(all.begin(), all.begin() + c.SilentFrom);
    EXPECT_EQ(w.Wire(), expected);
    ASSERT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    const FakeWindow::Message& m = w.window.Messages().back();
    EXPECT_EQ(m.Buttons, MessageButtons::Ok);
    EXPECT_EQ(m.Icon, MessageIcon::None);
    EXPECT_FALSE(m.PortOpen);
    EXPECT_EQ(m.At, w.serial.Wire().back().At + Ms(ResponseTime));
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_FALSE(w.timer.IsRunning());
    EXPECT_EQ(w.timer.TickCount(), 1);

    if (c.Op == Operation::Read) {
        EXPECT_TRUE(w.window.Shown().empty()); // the window is not changed
        EXPECT_EQ(w.data.Record, record);
    }
    if (c.Op == Operation::Batch) {
        ASSERT_FALSE(w.window.FaceCalls().empty());
        EXPECT_EQ(w.window.FaceCalls().back().ModeAtCall, ModeMulWrite);
        EXPECT_FALSE(w.window.RunningFace());
    }
    if (c.Op != Operation::Read) {
        // the radio keeps the blocks written before the silence, and only those
        TestRadio::Memory expectedMemory = before;
        const TestRadio::Memory written = edit.Written(before, 1);
        for (int i = 4; i < c.SilentFrom - 1 && i < 11; ++i) {
            const std::string& block = all[static_cast<std::size_t>(i)];
            const std::size_t offset =
                static_cast<std::size_t>(std::stoi(block.substr(2), nullptr, 16) - 0x3B00);
            std::copy(written.begin() + static_cast<std::ptrdiff_t>(offset),
                      written.begin() + static_cast<std::ptrdiff_t>(offset + 16),
                      expectedMemory.begin() + static_cast<std::ptrdiff_t>(offset));
        }
        EXPECT_EQ(Hex(w.radio.Mem()), Hex(expectedMemory));
    }
}

std::vector<TimeoutCase> TimeoutCases() {
    std::vector<TimeoutCase> cases;
    const struct {
        Operation Op;
        std::vector<int> At;
    } plans[] = {
        {Operation::Read, {1, 2, 3, 10, 17, 18}},
        {Operation::Write, {1, 2, 3, 4, 5, 6, 8, 11, 12}},
        {Operation::Batch, {1, 2, 3, 4, 5, 9, 11, 12}},
    };
    for (const auto& plan : plans) {
        for (const int at : plan.At) {
            const std::string what = FullCommands(plan.Op)[static_cast<std::size_t>(at - 1)];
            std::string name = std::string(Name(plan.Op)) + "At" + std::to_string(at) + "_";
            for (const char ch : what) {
                if (ch != ' ') {
                    name += ch;
                }
            }
            cases.push_back({name + "_EchoOnly", plan.Op, at, Silence::EchoOnly});
            cases.push_back({name + "_Nothing", plan.Op, at, Silence::Nothing});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Silences, Timeout, testing::ValuesIn(TimeoutCases()), CaseName());

struct LatencyCase {
    std::string Name;
    std::chrono::milliseconds Latency;
    bool Completes;
};

class AnswerTime : public testing::TestWithParam<LatencyCase> {};

TEST_P(AnswerTime, EachCommandGetsTheFullResponseTime) {
    const LatencyCase& c = GetParam();
    for (const Operation op : {Operation::Read, Operation::Write, Operation::Batch}) {
        SCOPED_TRACE(Name(op));
        ProtocolWorld w;
        w.cable.SetLatency(Ms(c.Latency));
        Start(w, op);
        w.Settle();
        if (c.Completes) {
            EXPECT_EQ(w.Wire(), FullCommands(op));
            EXPECT_EQ(w.Texts(), TextList{CompleteText(op)});
        } else {
            EXPECT_EQ(w.Wire(), std::vector<std::string>{"PROGRAM"});
            EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
            EXPECT_EQ(w.window.Messages().back().At, Ms(ResponseTime));
        }
        EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    }
}

INSTANTIATE_TEST_SUITE_P(Latencies, AnswerTime,
                         testing::Values(LatencyCase{"Immediate", 0ms, true},
                                         LatencyCase{"Half", ResponseTime / 2, true},
                                         LatencyCase{"JustInTime", ResponseTime - 1ms, true},
                                         LatencyCase{"JustTooLate", ResponseTime + 1ms, false},
                                         LatencyCase{"Late", ResponseTime + 400ms, false}),
                         CaseName());

TEST(Timeout, ALateAnswerAfterTheErrorChangesNothing) {
    ProtocolWorld w;
    w.radio.SilentFrom(4);
    w.comm.StartRead();
    w.clock.RunUntil([&] { return w.Wire().size() == 4; }, 1000);
    // the answer to R 3B20 comes 200 ms after the time-out, by hand
    const Bytes late = w.radio.Block(0x3B20);
    w.clock.Advance(Ms(ResponseTime + 200ms));
    ASSERT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    Bytes chunk = FromHex("52 3B 20 10 57 3B 20 10");
    chunk.insert(chunk.end(), late.begin(), late.end());
    chunk.push_back(ByteSum(std::span(chunk).subspan(5, 19)));
    chunk.push_back(0x06);
    w.serial.Deliver(chunk);
    w.Settle();
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    EXPECT_EQ(w.Wire().size(), 4u);
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
}

TEST(Timeout, WhileIdleOnlyClosesThePort) {
    ProtocolWorld w;
    ASSERT_TRUE(w.comm.OpenPort());
    w.comm.WaitTimer_Timer();
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_TRUE(w.Texts().empty());
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
    EXPECT_FALSE(w.timer.IsRunning());
    EXPECT_TRUE(w.window.FaceCalls().empty());
}

TEST(Timeout, ACommandLeftOutstandingWhileIdleEndsQuietly) {
    ProtocolWorld w;
    w.cable.SetPlugged(false);
    ASSERT_TRUE(w.comm.OpenPort());
    w.comm.SendProgram();
    w.Settle();
    EXPECT_FALSE(w.serial.PortOpen());
    EXPECT_TRUE(w.Texts().empty());
    EXPECT_EQ(w.Wire().size(), 1u);
    EXPECT_EQ(w.comm.OperationMode, ModeIdle);
}

TEST(Timeout, NoiseDoesNotPutTheTimeOutOff) {
    ProtocolWorld w;
    w.radio.SilentFrom(3);
    w.comm.StartRead();
    w.clock.RunUntil([&] { return w.Wire().size() == 3; }, 1000);
    const VirtualClock::Time sent = w.serial.Wire().back().At;
    for (int i = 0; i < 4; ++i) {
        w.clock.Advance(Ms(ResponseTime / 5));
        w.serial.Deliver(Bytes(30, 0x55));
    }
    w.Settle();
    EXPECT_EQ(w.FirstLines(), TextList{Box::CommunicationError});
    EXPECT_EQ(w.window.Messages().back().At, sent + Ms(ResponseTime));
}

} // namespace

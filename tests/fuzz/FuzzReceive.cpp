// The receive path: any mode, any step, chunks of any bytes and timer ticks
// in any order, between the answers of a well-behaved radio. Whatever comes
// in, the tool never misuses the port, never sends a radio a command it
// cannot accept, writes only the blocks a write sends (the tests' map of the
// area has them), and shows messages
// only with the port closed and nothing outstanding.
#include "FuzzInput.h"
#include "doubles/AreaMap.h"
#include "doubles/CableLink.h"
#include "doubles/FakeSerial.h"
#include "doubles/FakeTimer.h"
#include "doubles/FakeWindow.h"
#include "doubles/TestRadio.h"
#include "protocol/ModComm.h"

#include <set>

namespace {
struct World {
    VirtualClock clock;
    ModData data;
    FakeSerial serial{clock};
    FakeTimer timer{clock};
    FakeWindow window;
    ModComm comm{data, serial, timer, window};
    CableLink cable{clock, serial};
    TestRadio radio;

    World() {
        serial.SetOnReceiveEvent([this](int e) { comm.MSComm1_OnComm(e); });
        timer.SetOnTick([this] { comm.WaitTimer_Timer(); });
        window.Observe(
            comm, data, clock, [this] { return serial.PortOpen(); },
            [this] { return timer.IsRunning(); });
        data.InitData({2026, 12, 7});
        comm.ComPortNo = 1;
        cable.Attach(radio);
    }

    void Start(std::uint8_t which) {
        switch (which % 4) {
        case 0:
            comm.StartRead();
            break;
        case 1:
            comm.StartWrite();
            break;
        case 2:
            if (window.ToggleBatchFace()) {
                comm.StopMulWrite();
            } else {
                comm.StartMulWrite(1 + which / 4 % 3);
            }
            break;
        default:
            comm.DeferStopMulWrite();
            break;
        }
    }
};

const std::set<int> Writable = [] {
    std::set<int> blocks;
    for (const std::size_t block : area::WrittenBlocks()) {
        blocks.insert(0x3B00 + static_cast<int>(block));
    }
    return blocks;
}();
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    World w;
    w.radio.SetMemory(TestRadio::FactoryMemory(in.Byte()));
    w.Start(in.Byte());
    for (int steps = 0; steps < 400 && !in.Empty(); ++steps) {
        const std::uint8_t op = in.Byte();
        switch (op % 8) {
        case 0:
        case 1:
            w.clock.Advance(1 + op / 8); // the radio's answers arrive
            break;
        case 2: { // bytes from nowhere, in one chunk
            const auto chunk = in.Take(in.Byte() % 48);
            w.serial.Deliver(chunk);
            break;
        }
        case 3:
            w.clock.Advance(WaitTimerInterval); // a time-out
            break;
        case 4:
            w.serial.RaiseEvent(op / 8); // an event of any kind
            break;
        case 5:
            op & 0x80 ? w.cable.Detach() : w.cable.Attach(w.radio);
            break;
        case 6:
            w.cable.SetPlugged((op & 0x80) == 0);
            break;
        default:
            w.Start(op / 8);
            break;
        }
    }
    w.clock.RunUntilIdle(20000); // a batch may go on polling; twenty seconds of it will do

    Require(w.serial.Misuse().empty(), "serial control misused");
    Require(w.radio.Violations().empty(), "the radio got a command it cannot accept");
    for (const FakeSerial::Sent& sent : w.serial.Wire()) {
        if (sent.Data.size() == 22 && sent.Data[0] == 0x57) {
            Require(Writable.contains(sent.Data[1] * 256 + sent.Data[2]),
                    "W outside the writable blocks");
        }
    }
    for (const FakeWindow::Message& m : w.window.Messages()) {
        Require(m.Question ? !m.TimerRunning : !m.PortOpen && !m.TimerRunning,
                "a message shown while a command is outstanding");
    }
    return 0;
}

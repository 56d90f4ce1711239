#include "doubles/ProtocolWorld.h"

#include <gtest/gtest.h>

ProtocolWorld::ProtocolWorld() {
    serial.SetOnReceiveEvent([this](int commEvent) { comm.MSComm1_OnComm(commEvent); });
    timer.SetOnTick([this] { comm.WaitTimer_Timer(); });
    window.Observe(
        comm, data, clock, [this] { return serial.PortOpen(); },
        [this] { return timer.IsRunning(); });
    data.InitData(Today);
    comm.ComPortNo = 1;
    cable.Attach(radio);
}

void ProtocolWorld::ClickBatch(int count) {
    if (comm.DeferStopMulWrite()) {
        return;
    }
    if (window.ToggleBatchFace()) {
        comm.StopMulWrite();
    } else {
        comm.StartMulWrite(count);
    }
}

ProtocolWorld::~ProtocolWorld() {
    for (const FakeWindow::Message& m : window.Messages()) {
        if (m.Question) {
            EXPECT_FALSE(m.TimerRunning) << "band question asked with a command outstanding";
            continue;
        }
        EXPECT_FALSE(m.PortOpen) << "message shown with the port open";
        EXPECT_FALSE(m.TimerRunning) << "message shown with a command outstanding";
    }
    for (const std::string& misuse : serial.Misuse()) {
        ADD_FAILURE() << "serial control misused: " << misuse;
    }
    for (const std::string& violation : radio.Violations()) {
        ADD_FAILURE() << "the radio could not accept: " << violation;
    }
}

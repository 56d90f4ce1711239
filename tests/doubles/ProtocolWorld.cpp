#include "doubles/ProtocolWorld.h"

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
    if (window.ShowStartMulWrite()) {
        comm.StopMulWrite();
    } else {
        comm.StartMulWrite(count);
    }
}

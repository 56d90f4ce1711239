#pragma once

#include "doubles/CommandText.h"
#include "doubles/VirtualClock.h"
#include "protocol/SerialControl.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The serial control as a recording fake. Bytes arrive by Deliver; the
// receive event is raised only when the port is open and at least the
// receive threshold is waiting, and Input hands over every waiting byte.
class FakeSerial : public SerialControl {
  public:
    struct OpenCall {
        int PortNo = 0;
        std::string Settings;
    };
    struct Sent {
        VirtualClock::Time At = 0;
        Bytes Data;
        bool PortWasOpen = false;
    };

    explicit FakeSerial(VirtualClock& clock) : clock_(clock) {}

    // The receive handler (the protocol's MSComm1_OnComm).
    void SetOnReceiveEvent(std::function<void(int)> handler) { onReceive_ = std::move(handler); }
    // Whoever is on the other end of the cable: gets every byte output.
    void SetOnOutput(std::function<void(std::span<const std::uint8_t>)> handler) {
        onOutput_ = std::move(handler);
    }
    // From now on Open fails with this reason.
    void FailOpen(std::u16string reason);
    void AllowOpen() { failOpen_ = false; }
    // The device the port stands for, as a real control would report it.
    void SetDeviceName(std::u16string device) { device_ = std::move(device); }

    // SerialControl
    bool PortOpen() const override { return open_; }
    bool Open(int portNo, std::string_view settings, std::u16string& reason) override;
    void Close() override;
    std::u16string DeviceName() const override { return device_; }
    void ClearBuffers() override;
    void SetRThreshold(int bytes) override { threshold_ = bytes; }
    int RThreshold() const override { return threshold_; }
    void Output(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> Input() override;

    // Bytes arriving from the cable.
    void Deliver(std::span<const std::uint8_t> bytes);
    // Raises a receive-handler call of any kind, as the control would.
    void RaiseEvent(int commEvent);

    // What happened
    const std::vector<OpenCall>& OpenCalls() const { return openCalls_; }
    int CloseCalls() const { return closeCalls_; }
    int ClearCalls() const { return clearCalls_; }
    const std::vector<Sent>& Wire() const { return wire_; }
    // Every output as a command text ("PROGRAM", "R 3B00", ...).
    std::vector<std::string> WireText() const;
    // Output texts from the given index on.
    std::vector<std::string> WireTextFrom(std::size_t first) const;
    std::size_t Waiting() const { return waiting_.size(); }
    int ReceiveEvents() const { return receiveEvents_; }
    int InputCalls() const { return inputCalls_; }
    std::size_t DroppedWhileClosed() const { return droppedWhileClosed_; }
    // Uses of the control that a real port would refuse.
    const std::vector<std::string>& Misuse() const { return misuse_; }

  private:
    VirtualClock& clock_;
    std::function<void(int)> onReceive_;
    std::function<void(std::span<const std::uint8_t>)> onOutput_;
    bool failOpen_ = false;
    std::u16string failReason_;
    std::u16string device_;
    bool open_ = false;
    int threshold_ = 0;
    Bytes waiting_;
    std::vector<OpenCall> openCalls_;
    int closeCalls_ = 0;
    int clearCalls_ = 0;
    std::vector<Sent> wire_;
    int receiveEvents_ = 0;
    int inputCalls_ = 0;
    std::size_t droppedWhileClosed_ = 0;
    std::vector<std::string> misuse_;
};

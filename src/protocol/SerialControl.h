#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The serial port as the link logic sees it. An implementation raises the
// receive event (ModComm::MSComm1_OnComm with CommEventReceive) only when at
// least RThreshold() bytes are waiting, and Input() hands over every waiting byte.
class SerialControl {
  public:
    virtual ~SerialControl() = default;

    virtual bool PortOpen() const = 0;
    // Opens port COM<portNo> with the line settings ("9600,N,8,1"), no flow
    // control, binary transfer. On failure returns false; reason may tell why.
    virtual bool Open(int portNo, std::string_view settings, std::u16string& reason) = 0;
    virtual void Close() = 0;
    // The device of the port last opened or tried ("/dev/ttyUSB0"), for the
    // dealer's messages; empty when there is none.
    virtual std::u16string DeviceName() const = 0;
    // Empties the transmit and the receive buffer.
    virtual void ClearBuffers() = 0;
    virtual void SetRThreshold(int bytes) = 0;
    virtual int RThreshold() const = 0;
    virtual void Output(std::span<const std::uint8_t> bytes) = 0;
    virtual std::vector<std::uint8_t> Input() = 0;
    // The language of the reasons Open gives (LangType: 2 Chinese, else English).
    virtual void SetLangType(int /*langType*/) {}
};

// CommEvent value of a receive event.
constexpr int CommEventReceive = 2;
// CommEvent value raised when the port's device is gone while it is open: the
// adapter unplugged, the pseudo-terminal's other side closed. Nothing will
// answer on it again.
constexpr int CommEventPortLost = 1012;

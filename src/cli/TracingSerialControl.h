#pragma once

#include "protocol/SerialControl.h"

#include <QElapsedTimer>

#include <cstdio>

// A serial control that passes everything on to another and writes the port
// it opens (COM number and device) and every frame sent and every chunk
// received, echoes included, to a stream: the
// milliseconds since it was made, the direction, the command the bytes begin
// with (PROGRAM, R 3B00, W 3B60, END; none for other bytes) and the bytes in
// hex. What a dealer sends to support when a cable or a radio misbehaves.
class TracingSerialControl : public SerialControl {
  public:
    TracingSerialControl(SerialControl& inner, std::FILE* stream);

    bool PortOpen() const override;
    bool Open(int portNo, std::string_view settings, std::u16string& reason) override;
    void Close() override;
    void ClearBuffers() override;
    void SetRThreshold(int bytes) override;
    int RThreshold() const override;
    void Output(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> Input() override;
    std::u16string DeviceName() const override;

  private:
    void Line(const char* event, std::span<const std::uint8_t> bytes = {});

    SerialControl& inner_;
    std::FILE* stream_;
    QElapsedTimer clock_;
};

#include "TracingSerialControl.h"

#include "EscapedText.h"
#include "protocol/LinkFailure.h"

#include <QString>

#include <string>

namespace {
bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view text) {
    return bytes.size() >= text.size() && std::equal(text.begin(), text.end(), bytes.begin());
}

// The command the bytes begin with, as the radio's own transcript names it.
std::string CommandOf(std::span<const std::uint8_t> bytes) {
    if (StartsWith(bytes, "PROGRAM")) {
        return "PROGRAM";
    }
    if (StartsWith(bytes, "END")) {
        return "END";
    }
    if (bytes.size() >= 4 && (bytes[0] == 'R' || bytes[0] == 'W')) {
        char text[8];
        std::snprintf(text, sizeof text, "%c %02X%02X", bytes[0], bytes[1], bytes[2]);
        return text;
    }
    return {};
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string hex;
    for (const std::uint8_t byte : bytes) {
        char text[4];
        std::snprintf(text, sizeof text, hex.empty() ? "%02X" : " %02X", byte);
        hex += text;
    }
    return hex;
}
} // namespace

TracingSerialControl::TracingSerialControl(SerialControl& inner, std::FILE* stream)
    : inner_(inner), stream_(stream) {
    clock_.start();
}

bool TracingSerialControl::PortOpen() const {
    return inner_.PortOpen();
}

bool TracingSerialControl::Open(int portNo, std::string_view settings, std::u16string& reason) {
    const bool opened = inner_.Open(portNo, settings, reason);
    // Named as the communication error names it, so a trace says which
    // cable it is of.
    const std::string port =
        QString::fromStdU16String(EscapeControls(PortName(portNo, inner_.DeviceName())))
            .toStdString();
    std::string event = opened ? "open" : "open failed";
    Line((port.empty() ? event : event + ' ' + port).c_str());
    return opened;
}

void TracingSerialControl::Close() {
    inner_.Close();
    Line("close");
}

void TracingSerialControl::ClearBuffers() {
    inner_.ClearBuffers();
}

void TracingSerialControl::SetRThreshold(int bytes) {
    inner_.SetRThreshold(bytes);
}

int TracingSerialControl::RThreshold() const {
    return inner_.RThreshold();
}

void TracingSerialControl::Output(std::span<const std::uint8_t> bytes) {
    Line("->", bytes);
    inner_.Output(bytes);
}

std::vector<std::uint8_t> TracingSerialControl::Input() {
    std::vector<std::uint8_t> bytes = inner_.Input();
    Line("<-", bytes);
    return bytes;
}

void TracingSerialControl::Line(const char* event, std::span<const std::uint8_t> bytes) {
    std::string line = std::to_string(clock_.elapsed()) + " ms " + event;
    for (const std::string& part : {CommandOf(bytes), Hex(bytes)}) {
        if (!part.empty()) {
            line += ' ' + part;
        }
    }
    std::fprintf(stream_, "%s\n", line.c_str());
    std::fflush(stream_);
}

std::u16string TracingSerialControl::DeviceName() const {
    return inner_.DeviceName();
}

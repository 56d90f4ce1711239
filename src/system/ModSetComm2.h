#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The COM port list: built from a source of the system's ports, one entry
// text "COM" + number per port.

// One port as the system reports it: its data text (normally "COMn") and the
// device behind it where the source knows one.
struct SystemPort {
    std::u16string data;
    std::u16string devicePath;

    bool operator==(const SystemPort&) const = default;
};

// A fingerprint of what a port source reads.
using PortStamp = std::vector<std::int64_t>;

// A source of the system's ports, in the system's order.
class PortSource {
  public:
    virtual ~PortSource() = default;
    virtual std::vector<SystemPort> Ports() = 0;
    // A fingerprint far cheaper to take than Ports(): while it stays the same,
    // Ports() would answer the same. nullopt when the source has none, so
    // every refresh asks Ports().
    virtual std::optional<PortStamp> ChangeStamp() { return std::nullopt; }
};

// One entry of the port list: the text shown and, for its tooltip, the device
// path (empty when the source does not know it).
struct PortEntry {
    std::u16string text;
    std::u16string devicePath;

    bool operator==(const PortEntry&) const = default;
};

// Rebuilds the list from the source, in the source's order, unsorted and with
// duplicates kept. An entry is "COM" followed by the number text: at most
// three characters of the data after its first three, spaces around them
// removed. Returns the first non-zero port number listed, 0 when none; a
// number text that is not all digits never gives the result.
std::int16_t ListComPorts(std::vector<PortEntry>& list, PortSource& source);

// The same for a list of entry texts alone.
std::int16_t ListComPorts(std::vector<std::u16string>& list, PortSource& source);

// The texts of the entries, for comparing with and filling a list control.
std::vector<std::u16string> EntryTexts(const std::vector<PortEntry>& list);

// True when an entry equals "COM" followed by the decimal text of the number,
// exactly and case-sensitively.
bool InComPorts(const std::vector<std::u16string>& list, int portNo);

// The port number of an entry text: its characters after the first three as a
// decimal number of digits only. nullopt for three characters or fewer, for
// anything but digits and for numbers beyond 16 bits.
std::optional<std::int16_t> PortNumberOfEntry(std::u16string_view entry);

// The fixed list, COM1 to COM256 in order.
std::vector<std::u16string> FixedComPortList();

// "COM" followed by the decimal text of the number.
std::u16string ComPortText(int portNo);

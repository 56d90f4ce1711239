// Which alias targets are terminal devices, told from the device numbers and
// the kernel's tty driver table without opening anything.
#include "system/TerminalDevice.h"

#include "PseudoTerminal.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
// /proc/tty/drivers of a machine with a USB serial adapter plugged in.
const std::string Drivers = "/dev/tty             /dev/tty        5       0 system:/dev/tty\n"
                            "/dev/console         /dev/console    5       1 system:console\n"
                            "/dev/ptmx            /dev/ptmx       5       2 system\n"
                            "usbserial            /dev/ttyUSB   188 0-511 serial\n"
                            "serial               /dev/ttyS       4 64-95 serial\n"
                            "pty_slave            /dev/pts      136 0-1048575 pty:slave\n"
                            "pty_master           /dev/ptm      128 0-1048575 pty:master\n"
                            "unknown              /dev/tty        4 1-63 console\n";
} // namespace

// Serial ports and the terminal side of pseudo-terminals; not /dev/tty, the
// console, /dev/ptmx, the other side of a pseudo-terminal, virtual consoles.
TEST(ParseTtyDrivers, TheCableKindsMajorAndMinorsAndNothingOfOtherLines) {
    EXPECT_EQ(ParseTtyDrivers(Drivers),
              (std::vector<TtyDriverRange>{{188, 0, 511}, {4, 64, 95}, {136, 0, 1048575}}));
    const char* const odd[] = {
        "",
        "serial /dev/ttyS",                // cut short
        "serial /dev/ttyS x 64-95 serial", // no major
        "serial /dev/ttyS 4 95-64 serial", // a range backwards
        "serial /dev/ttyS 4 64- serial",   // half a range
        "serial /dev/ttyS 4 -64 serial",   // half a range
        "serial /dev/ttyS 4 6x serial",    // no number
        "serial /dev/ttyS -4 64 serial",   // a negative major
    };
    for (const char* line : odd) {
        EXPECT_TRUE(ParseTtyDrivers(line).empty()) << line;
    }
}

TEST(IsTerminalDevice, ACharacterDeviceInATtyDriversRangeOnly) {
    TempDir temp;
    const PseudoTerminal pty;
    ASSERT_FALSE(pty.Path().empty());
    WriteBytes(temp.Path() / "drivers", Drivers);
    WriteBytes(temp.Path() / "serial-only", "serial /dev/ttyS 4 64-95 serial\n");
    WriteBytes(temp.Path() / "empty", "");
    WriteBytes(temp.Path() / "plain", "x");
    fs::create_symlink(pty.Path(), temp.Path() / "link-to-pty");
    const fs::path missing = temp.Path() / "no-table";
    const struct {
        fs::path device;
        fs::path table;
        bool terminal;
    } cases[] = {
        {pty.Path(), temp.Path() / "drivers", true},
        {temp.Path() / "link-to-pty", temp.Path() / "drivers", true},
        {"/dev/null", temp.Path() / "drivers", false},
        {"/dev/zero", temp.Path() / "drivers", false},
        {temp.Path(), temp.Path() / "drivers", false},             // a folder
        {temp.Path() / "plain", temp.Path() / "drivers", false},   // a regular file
        {temp.Path() / "nothing", temp.Path() / "drivers", false}, // no such path
        {pty.Path(), temp.Path() / "serial-only", false},          // pts not in the table
        {pty.Path(), missing, true},                               // the fixed ranges
        {pty.Path(), temp.Path() / "empty", true},
        {"/dev/null", missing, false},
        {"/dev/null", temp.Path() / "empty", false},
        {"/dev/ptmx", temp.Path() / "drivers", false},
        {"/dev/tty", temp.Path() / "drivers", false},
        {"/dev/ptmx", missing, false},
        {"/dev/tty", missing, false},
        {"/dev/tty0", missing, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsTerminalDeviceByTable(c.device, c.table), c.terminal)
            << c.device << " by " << c.table;
    }
    // This system's own table.
    EXPECT_TRUE(IsTerminalDevice(pty.Path()));
    EXPECT_FALSE(IsTerminalDevice("/dev/null"));
    EXPECT_FALSE(IsTerminalDevice("/dev/full"));
    EXPECT_FALSE(IsTerminalDevice("/dev/ptmx"));
    EXPECT_FALSE(IsTerminalDevice("/dev/tty"));
}

#pragma once

#include "ModSetComm2.h"
#include "PortNumbering.h"
#include "TerminalDevice.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Linux: the user's port aliases and the serial devices the system reports,
// numbered as PortNumbering says, in ascending number order. Both are read
// afresh on every call, so the once-a-second refresh sees cables come and go.
class LinuxPortSource : public PortSource {
  public:
    using DeviceLister = std::function<std::vector<SerialDevice>()>;

    // deviceFolders: where a serial device coming or going shows as a change
    // of the folder itself; isTerminal: whether an alias's target is a port.
    LinuxPortSource(std::filesystem::path aliasFolder, DeviceLister listDevices,
                    std::vector<std::filesystem::path> deviceFolders = DeviceFolders(),
                    TerminalCheck isTerminal = IsTerminalDevice);

    std::vector<SystemPort> Ports() override;

    // The device folders, the alias folder and every alias's target: a few
    // stat calls, against the thousands of calls the device scan takes.
    std::optional<PortStamp> ChangeStamp() override;

    // The device to open for COMn; empty when no alias or device has that number.
    std::u16string DevicePathOf(int portNo);

    // /dev, where the kernel adds and removes device nodes, and /sys/class/tty,
    // which the device scan reads.
    static std::vector<std::filesystem::path> DeviceFolders();

  private:
    std::filesystem::path aliasFolder_;
    DeviceLister listDevices_;
    std::vector<std::filesystem::path> deviceFolders_;
    TerminalCheck isTerminal_;
};

// The alias folder: <config>/radioinfo/ports.
std::filesystem::path DefaultAliasFolder();

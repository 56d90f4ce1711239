#pragma once

#include "ModSetComm2.h"
#include "PortNumbering.h"

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

    LinuxPortSource(std::filesystem::path aliasFolder, DeviceLister listDevices);

    std::vector<SystemPort> Ports() override;

    // The device to open for COMn; empty when no alias or device has that number.
    std::u16string DevicePathOf(int portNo);

  private:
    std::filesystem::path aliasFolder_;
    DeviceLister listDevices_;
};

// The alias folder: <config>/radioinfo/ports.
std::filesystem::path DefaultAliasFolder();

#pragma once

#include "ModSetComm2.h"

// Windows: the values under HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM,
// in the order the registry returns them. Each value's data is a port name
// such as COM3; the value name is not used.
class RegistryPortSource : public PortSource {
  public:
    std::vector<SystemPort> Ports() override;
};

#include "StartPort.h"

#include "ModSetComm2.h"

std::int16_t StartPortNumber(bool fixedPortList, std::int16_t saved,
                             const std::vector<std::u16string>& listed, std::int16_t firstListed) {
    if (fixedPortList) {
        return saved;
    }
    if (firstListed < 1) {
        return 0;
    }
    if (saved < 1 || !InComPorts(listed, saved)) {
        return firstListed;
    }
    return saved;
}

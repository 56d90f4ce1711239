#include "FaultPlan.h"

namespace radiosim {

bool FaultPlan::asksRepeat(int n, const std::vector<std::uint8_t>& raw) {
    if (options_.repeat.contains(n)) {
        repeatsLeft_ = options_.repeatTimes;
        repeatedCommand_ = raw;
    } else if (raw != repeatedCommand_) {
        repeatsLeft_ = 0;
    }
    if (repeatsLeft_ == 0) {
        return false;
    }
    --repeatsLeft_;
    return true;
}

} // namespace radiosim

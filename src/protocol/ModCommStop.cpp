// Stopping while a radio is being written: the radio is finished first.
#include "ModComm.h"

bool ModComm::DeferStop() {
    if (OperationMode == ModeMulWrite) {
        return DeferStopMulWrite();
    }
    // A Write ends by itself once the radio has acknowledged its END: the stop
    // waits for that and changes nothing here.
    return OperationMode == ModeWrite && (WriteStep == StepWriteBlock || WriteStep == StepEnd);
}

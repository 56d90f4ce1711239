// Stopping while a radio is being written: the radio is finished first.
#include "ModComm.h"

bool ModComm::DeferStop() {
    if (OperationMode == ModeMulWrite) {
        return DeferStopMulWrite();
    }
    // A Write ends by itself once the radio has acknowledged its END: the stop
    // waits for that and changes nothing here. While the band question is
    // open no block has gone out yet: nothing to finish.
    return OperationMode == ModeWrite && !collecting_ &&
           (WriteStep == StepWriteBlock || WriteStep == StepEnd);
}

// The serial link: opening and closing the port, sending a command with its
// response time-out, gathering received bytes and the time-out itself.
#include "ModComm.h"

#include "Messages.h"

#include <algorithm>

namespace {
constexpr std::string_view LineSettings = "9600,N,8,1";
constexpr std::int16_t RxGatherLimit = 100;
} // namespace

ModComm::ModComm(ModData& data, SerialControl& serial, ResponseTimer& waitTimer, WindowSide& window)
    : data_(data), serial_(serial), waitTimer_(waitTimer), window_(window) {}

bool ModComm::OpenPort() {
    if (serial_.PortOpen()) {
        serial_.Close();
    }
    std::u16string reason;
    if (!serial_.Open(ComPortNo, LineSettings, reason)) {
        std::u16string text(Msg::CannotOpenPort);
        if (!reason.empty()) {
            text += u"\r\n" + reason;
        }
        window_.ShowMessage(text, MessageButtons::Ok, MessageIcon::Stop);
        return false;
    }
    serial_.SetRThreshold(1);
    return true;
}

void ModComm::ClosePort() {
    if (serial_.PortOpen()) {
        serial_.Close();
    }
}

void ModComm::SendFrame(std::span<const std::uint8_t> bytes, int waitFor) {
    lastCommand_.assign(bytes.begin(), bytes.end());
    lastWaitFor_ = waitFor;
    repeatCount_ = 0;
    Transmit();
}

// Puts the last command on the line; the buffers are emptied first so no
// earlier byte can be taken for part of its answer.
void ModComm::Transmit() {
    SentLength = static_cast<std::int32_t>(lastCommand_.size());
    RxLength = 0;
    serial_.ClearBuffers();
    serial_.SetRThreshold(lastWaitFor_);
    serial_.Output(lastCommand_);
    waitTimer_.Start(WaitTimerInterval);
}

// The radio asked for the command again: send it unchanged, but give up on a
// radio that keeps refusing, as on a missing answer.
void ModComm::RepeatLastCommand() {
    if (++repeatCount_ >= MaxRepeatAnswers) {
        EndOnCommunicationError();
        return;
    }
    Transmit();
}

void ModComm::MSComm1_OnComm(int commEvent) {
    if (commEvent != CommEventReceive) {
        return;
    }
    const std::vector<std::uint8_t> chunk = serial_.Input();
    if (ReadStep == StepProgram || WriteStep == StepProgram) {
        GatherHandshake(chunk);
    }
    if (CheckProgramAnswer() || CheckAckAnswer(chunk)) {
        StepOperation(true);
    } else if (CheckRepeatAnswer(chunk)) {
        StepOperation(false);
    } else if (CheckDataFrame(chunk)) {
        StoreBlockByFrame(chunk);
        StepOperation(true);
    }
}

void ModComm::GatherHandshake(std::span<const std::uint8_t> chunk) {
    // A single chunk larger than the buffer keeps its last bytes, where an
    // answer after noise would be.
    if (chunk.size() > RxBuffer.size()) {
        chunk = chunk.last(RxBuffer.size());
    }
    const auto length = static_cast<std::int16_t>(chunk.size());
    if (RxLength + length > RxGatherLimit) {
        RxLength = 0;
    }
    std::copy(chunk.begin(), chunk.end(), RxBuffer.begin() + RxLength);
    RxLength = static_cast<std::int16_t>(RxLength + length);
}

void ModComm::WaitTimer_Timer() {
    waitTimer_.Stop();
    const bool awaitingNextRadio =
        OperationMode == ModeMulWrite && MulWriteNo > 1 && WriteStep == StepProgram;
    if (!awaitingNextRadio) {
        EndOnCommunicationError();
        return;
    }
    if (++PollCount > MaxPollCount) {
        EndOnCommunicationError();
        return;
    }
    WriteStep = StepProgram;
    SendProgram();
}

void ModComm::EndOnCommunicationError() {
    stopAfterRadio_ = false;
    waitTimer_.Stop();
    ClosePort();
    if (OperationMode != ModeIdle) {
        window_.ShowMessage(Msg::CommunicationError, MessageButtons::Ok, MessageIcon::None);
    }
    if (OperationMode == ModeMulWrite) {
        window_.ShowStartMulWrite();
    }
    OperationMode = ModeIdle;
}

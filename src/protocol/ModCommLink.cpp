// The serial link: opening and closing the port, sending a command with its
// response time-out, gathering received bytes and the time-out itself.
#include "ModComm.h"

#include "LinkFailure.h"
#include "Messages.h"

#include <algorithm>
#include <utility>

namespace {
constexpr std::string_view LineSettings = TheModel.LineSettings;
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
    // The port list may move ComPortNo while the operation runs; what failed
    // is the port opened here.
    openedPort_ = ComPortNo;
    openedDevice_ = serial_.DeviceName();
    return true;
}

void ModComm::ClosePort() {
    if (serial_.PortOpen()) {
        serial_.Close();
    }
}

void ModComm::SendFrame(std::span<const std::uint8_t> bytes, int waitFor) {
    if (!bytes.empty() && bytes[0] == 'P') {
        acknowledgedBlocks_.clear(); // a new session: what was written is the last radio's
    }
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
    unrecognised_.clear();
    serial_.ClearBuffers();
    serial_.SetRThreshold(lastWaitFor_);
    serial_.Output(lastCommand_);
    waitTimer_.Start(WaitTimerInterval);
}

// The radio asked for the command again: send it unchanged, but give up on a
// radio that keeps refusing, as on a missing answer.
void ModComm::RepeatLastCommand() {
    if (++repeatCount_ >= MaxRepeatAnswers) {
        EndOnCommunicationError(repeatCount_);
        return;
    }
    Transmit();
}

void ModComm::MSComm1_OnComm(int commEvent) {
    if (commEvent == CommEventPortLost) {
        EndOnPortLost();
        return;
    }
    if (commEvent != CommEventReceive || collecting_) {
        return;
    }
    Receive(serial_.Input());
}

// Nothing answers on a port whose device is gone: the operation ends at once,
// as on a missing answer, and a batch stops polling it. While the band
// question is open nothing is outstanding; the first block the answer sends
// then finds the port gone.
void ModComm::EndOnPortLost() {
    if (OperationMode != ModeIdle && serial_.PortOpen() && !collecting_) {
        EndOnCommunicationError();
    }
}

// Offers what arrived to the recognisers; true when one took it.
bool ModComm::Receive(std::span<const std::uint8_t> chunk) {
    if (Recognise(chunk)) {
        unrecognised_.clear();
        return true;
    }
    return RecogniseAfterNoise(chunk);
}

// Noise ahead of the echo of R, W or END shifts the answer: the receive
// threshold fires with the answer's last bytes still on their way, and no
// recogniser takes the chunk. The answer is then the command's echo and what
// follows it at the very end of what arrived; the handshake gathers its own.
bool ModComm::RecogniseAfterNoise(std::span<const std::uint8_t> chunk) {
    if (OperationMode == ModeIdle || CurrentStep() == StepProgram) {
        return false;
    }
    const auto answerLength = static_cast<std::size_t>(std::max(lastWaitFor_, 0));
    unrecognised_.insert(unrecognised_.end(), chunk.begin(), chunk.end());
    if (unrecognised_.size() > answerLength) {
        unrecognised_.erase(unrecognised_.begin(),
                            unrecognised_.end() - static_cast<std::ptrdiff_t>(answerLength));
    }
    if (unrecognised_.size() < answerLength || answerLength < lastCommand_.size() ||
        !std::ranges::equal(lastCommand_, std::span(unrecognised_).first(lastCommand_.size()))) {
        return false;
    }
    const std::vector<std::uint8_t> answer = std::exchange(unrecognised_, {});
    return Recognise(answer);
}

// Offers a chunk to the recognisers in their fixed order; true when one took
// it. Only the handshake of the operation running gathers what arrives.
bool ModComm::Recognise(std::span<const std::uint8_t> chunk) {
    if (OperationMode != ModeIdle && CurrentStep() == StepProgram) {
        GatherHandshake(chunk);
    }
    if (CheckProgramAnswer() || CheckAckAnswer(chunk)) {
        NoteAcknowledged();
        StepOperation(true);
    } else if (CheckRepeatAnswer(chunk)) {
        StepOperation(false);
    } else if (CheckDataFrame(chunk)) {
        StoreBlockByFrame(chunk);
        StepOperation(true);
    } else {
        return false;
    }
    return true;
}

// An acknowledged W frame: that block is in the radio now.
void ModComm::NoteAcknowledged() {
    if (OperationMode != ModeIdle && lastCommand_.size() >= 3 && lastCommand_[0] == 'W') {
        acknowledgedBlocks_.push_back(lastCommand_[1] * 256 + lastCommand_[2]);
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
    if (collecting_) {
        return;
    }
    // Noise ahead of an echo fills the receive threshold early; the rest of
    // the answer then waits below it, unannounced. What arrived is looked at
    // before the radio is taken for silent.
    if (OperationMode != ModeIdle && serial_.PortOpen()) {
        const std::vector<std::uint8_t> waiting = serial_.Input();
        if (!waiting.empty() && Receive(waiting)) {
            return;
        }
    }
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

// The first line is the same for every failure; the second tells where the
// link failed, what the radio holds now and what to check.
void ModComm::EndOnCommunicationError(int refusals) {
    stopAfterRadio_ = false;
    waitTimer_.Stop();
    ClosePort();
    if (OperationMode != ModeIdle) {
        const LinkFailure failure{openedPort_, openedDevice_, lastCommand_, refusals,
                                  acknowledgedBlocks_};
        const std::u16string text = std::u16string(Msg::CommunicationError) + u"\r\n" +
                                    LinkFailureLine(failure, window_.LangType());
        window_.ShowMessage(text, MessageButtons::Ok, MessageIcon::None);
    }
    if (OperationMode == ModeMulWrite) {
        window_.ToggleBatchFace();
    }
    OperationMode = ModeIdle;
    EndSteps();
}

// Every way an operation ends leaves no step behind: a later operation must
// not take its answers for this one's handshake or blocks.
void ModComm::EndSteps() {
    ReadStep = StepNone;
    WriteStep = StepNone;
    RxLength = 0;
    unrecognised_.clear();
    repeatCount_ = 0;
    BlockAddress = BlockAddressStart;
}

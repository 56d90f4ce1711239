#pragma once

#include "ResponseTimer.h"
#include "SerialControl.h"
#include "WindowSide.h"
#include "record/ModData.h"
#include "record/RadioModel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Operation modes.
enum : std::int16_t { ModeIdle = 0, ModeRead = 1, ModeWrite = 2, ModeMulWrite = 3 };

// Steps: each names the one command outstanding while it is current.
enum : std::int16_t {
    StepNone = 0,
    StepProgram = 1,       // PROGRAM sent (also while a batch polls for its next radio)
    StepReadFirst = 3,     // Read: R 0x3B00 sent
    StepReadBlocks = 4,    // Read: R 0x3B10 and later
    StepWriteFirst = 41,   // Write: R 0x3B00 sent
    StepWriteFlags = 45,   // Write: R 0x3B10 sent
    StepReadLast = 42,     // Write and batch: R 0x3BF0 sent, the last read before writing
    StepMulFirst = 46,     // batch: R 0x3B00 sent
    StepMulReadFlags = 43, // batch: R 0x3B10 sent after the check passed
    StepMulReadAll = 44,   // batch reading every block: R 0x3B10 and later sent
    StepMulSerial = 47,    // batch reading the serial number too: R 0x3B20 sent
    StepWriteBlock = 5,    // a W block sent
    StepEnd = 69,          // END sent after the last block
    StepEndRejected = 70,  // END sent after a failed model/version check
    StepEndRefused = 71,   // END sent after the window side refused the write
};

// The link's timings are the model's.
constexpr int WaitTimerInterval = static_cast<int>(TheModel.ResponseTime.count()); // ms
constexpr int MaxPollCount = TheModel.MaxPollCount();
constexpr int MaxRepeatAnswers = TheModel.MaxRepeatAnswers;
constexpr std::int16_t BlockAddressStart = 0x3AF0;
// The blocks of the information area the operations name.
constexpr int FirstBlock = 0x3B00;
constexpr int FlagsBlock = 0x3B10;
constexpr int SerialBlock = 0x3B20;
constexpr int LastBlock = 0x3BF0;
constexpr int BlockLength = 16;
constexpr int RxBufferSize = 101;

// The protocol: serial link, frames, answer recognisers and the operation
// state machine of Read, Write and batch write. Event driven: the serial
// control calls MSComm1_OnComm, the response timer calls WaitTimer_Timer.
class ModComm {
  public:
    ModComm(ModData& data, SerialControl& serial, ResponseTimer& waitTimer, WindowSide& window);

    // Operation state
    std::int16_t OperationMode = ModeIdle;
    std::int16_t ReadStep = StepNone;
    std::int16_t WriteStep = StepNone;
    std::int16_t BlockAddress = 0;
    std::int32_t SentLength = 0;
    std::array<std::uint8_t, RxBufferSize> RxBuffer{};
    std::int16_t RxLength = 0;
    std::int32_t PollCount = 0;
    std::u16string RadioModelText;
    std::u16string RadioVersionText;
    // Batch size and number of the radio being written.
    std::int32_t MulWriteCount = 0;
    std::int32_t MulWriteNo = 0;
    // The port COM<n> an operation opens; 0 for none.
    std::int16_t ComPortNo = 0;
    // A batch reads all 16 blocks of each radio before writing it, not only
    // the three the write needs, so the window side has its whole area.
    bool MulWriteReadsAll = false;
    // A batch reads the block of each radio's serial number as well, so the
    // window side can name every radio it writes.
    bool MulWriteReadsSerial = false;

    // Operation starts (the protocol side of the Read, Write and batch buttons).
    void StartRead();
    void StartWrite();
    void StartMulWrite(std::int32_t radioCount);
    void StopMulWrite();
    // Ends whatever runs, without a message: the port closed, no command
    // outstanding, the mode idle and no step left behind (Stop, Exit).
    void EndOperation();
    // A Stop while a radio's blocks are being written: that radio is finished
    // first (its END acknowledged), then the batch stops as StopMulWrite does.
    // True when the stop was put off so; false when nothing is being written.
    bool DeferStopMulWrite();
    // A stop while a radio's blocks are being written, by a Write or a batch:
    // that radio is finished first (a Write then ends as it would have, a
    // batch stops as after DeferStopMulWrite). True when the stop was put off
    // so; false when no block is being written.
    bool DeferStop();
    // What a stop at once leaves in the radio: the command outstanding and
    // the W blocks the radio acknowledged since its PROGRAM.
    std::span<const std::uint8_t> LastCommand() const { return lastCommand_; }
    std::span<const int> AcknowledgedBlocks() const { return acknowledgedBlocks_; }

    // Events
    void MSComm1_OnComm(int commEvent);
    void WaitTimer_Timer();

    // Link
    bool OpenPort();
    void ClosePort();
    void SendFrame(std::span<const std::uint8_t> bytes, int waitFor);

    // Commands
    void SendProgram();
    void ReadBlock(int address, int count);
    // The next block after BlockAddress in a read or in a write's order;
    // none past the last. The senders are called only when there is one.
    std::optional<int> NextReadBlock() const;
    std::optional<int> NextWriteBlock() const;
    void ReadNextBlock();
    void WriteNextBlock();
    void SendEnd();

    // Answer recognisers
    bool CheckProgramAnswer() const;
    bool CheckAckAnswer(std::span<const std::uint8_t> chunk) const;
    bool CheckRepeatAnswer(std::span<const std::uint8_t> chunk) const;
    bool CheckDataFrame(std::span<const std::uint8_t> chunk) const;
    void StoreBlockByFrame(std::span<const std::uint8_t> chunk);

    // State machine
    void StepOperation(bool accepted);
    bool CheckModelVersion();
    void ShowModelError();
    void ReadComplete();
    void WriteComplete();

  private:
    bool Receive(std::span<const std::uint8_t> chunk);
    bool Recognise(std::span<const std::uint8_t> chunk);
    bool RecogniseAfterNoise(std::span<const std::uint8_t> chunk);
    void EndSteps();
    void GatherHandshake(std::span<const std::uint8_t> chunk);
    bool CheckOneByteAnswer(std::span<const std::uint8_t> chunk, std::uint8_t answer) const;
    void Transmit();
    void RepeatLastCommand();
    void EndOnCommunicationError(int refusals = 0);
    void EndOnPortLost();
    void NoteAcknowledged();
    void StartSingle(std::int16_t mode, std::int16_t& step);
    std::int16_t& CurrentStep();
    bool SameRadioAnswered();
    int LastReadAddress() const;
    void EndRefused();
    void WriteRadio();
    void WaitNextRadio();

    ModData& data_;
    SerialControl& serial_;
    ResponseTimer& waitTimer_;
    WindowSide& window_;
    std::vector<std::uint8_t> lastCommand_;
    int lastWaitFor_ = 0;
    int repeatCount_ = 0;
    // The last bytes since the command that no recogniser took: noise ahead
    // of the echo and the start of the answer behind it.
    std::vector<std::uint8_t> unrecognised_;
    // The W blocks the radio on the cable acknowledged since its PROGRAM.
    std::vector<int> acknowledgedBlocks_;
    // The port the operation opened and its device, as they were then.
    std::int16_t openedPort_ = 0;
    std::u16string openedDevice_;
    bool stopAfterRadio_ = false;
    // The window's fields are being collected (the band question may be
    // open): no answer can move the operation on until the image is packed.
    bool collecting_ = false;
};

// The serial number after a radio has been written: the eight-digit sequence
// part advanced by one; a text that is not a number stays as it is.
std::u16string NextSerialNo(std::u16string_view serialNo);

// The operation state machine: starts of Read, Write and batch write, the
// step dispatcher, the model and version check and the completions.
#include "ModComm.h"

#include "Messages.h"
#include "record/ModFun.h"
#include "record/ModModel.h"

#include <algorithm>
#include <span>
#include <string>

namespace {
std::u16string DecimalText(std::int32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// What the tool does when the command of a step is answered.
enum class Then {
    ReadNext,       // the next block in order, or END after the last
    ReadAt,         // the row's block
    TakeBandReadAt, // the radio's band into the record, then the row's block
    NewRadio,       // a batch's handshake: a new radio is read, the last one polled again
    WriteRadio,     // the window collected and packed, then the first W block
    WriteNext,      // the next W block, or END after the last
    ReadOnward,     // the block after the one answered, or the radio written after the last
    ModelError,     // the END after a refused model or version acknowledged
    Refused,        // the END after the window side refused the write acknowledged
    Complete,       // the END after the last block acknowledged
};

// One row of an operation: the step (the command outstanding), whether its
// answer must first pass the model and version check (END in place of the
// rest when it does not), what the answer does, the step of the command it
// sends, and the step once no block is left.
struct StepRow {
    std::int16_t step;
    bool checkModel;
    Then then;
    int address; // the block for ReadAt, TakeBandReadAt and NewRadio
    std::int16_t next;
    std::int16_t last = StepNone;
};

// clang-format off
// Read: the 16 blocks in order, END. 18 commands.
constexpr StepRow ReadSteps[] = {
    // step            check  then                 block       next              last            command answered
    {StepProgram,      false, Then::ReadNext,       0,          StepReadFirst,    StepEnd},        // PROGRAM
    {StepReadFirst,    true,  Then::ReadNext,       0,          StepReadBlocks,   StepEnd},        // R 0x3B00
    {StepReadBlocks,   false, Then::ReadNext,       0,          StepReadBlocks,   StepEnd},        // R 0x3B10..0x3BF0
    {StepEnd,          false, Then::Complete,       0,          StepNone},                         // END
    {StepEndRejected,  false, Then::ModelError,     0,          StepNone},                         // END, refused radio
};

// Write: the radio's own 0x3B00 (with its band), 0x3B10 and 0x3BF0, the seven
// blocks, END. 12 commands.
constexpr StepRow WriteSteps[] = {
    {StepProgram,      false, Then::ReadAt,         FirstBlock, StepWriteFirst},                   // PROGRAM
    {StepWriteFirst,   false, Then::TakeBandReadAt, FlagsBlock, StepWriteFlags},                   // R 0x3B00
    {StepWriteFlags,   true,  Then::ReadAt,         LastBlock,  StepReadLast},                     // R 0x3B10
    {StepReadLast,     false, Then::WriteRadio,     0,          StepWriteBlock},                   // R 0x3BF0
    {StepWriteBlock,   false, Then::WriteNext,      0,          StepWriteBlock,   StepEnd},        // W blocks
    {StepEnd,          false, Then::Complete,       0,          StepNone},                         // END
    {StepEndRejected,  false, Then::ModelError,     0,          StepNone},                         // END, refused radio
    {StepEndRefused,   false, Then::Refused,        0,          StepNone},                         // END, write refused
};

// Batch, each radio: 0x3B00 (its band never taken), 0x3B10 and 0x3BF0, the
// seven blocks, END; then the handshake polls for the next radio.
constexpr StepRow MulWriteSteps[] = {
    {StepProgram,      false, Then::NewRadio,       FirstBlock, StepMulFirst},                     // PROGRAM
    {StepMulFirst,     true,  Then::ReadAt,         FlagsBlock, StepMulReadFlags},                 // R 0x3B00
    {StepMulReadFlags, false, Then::ReadAt,         LastBlock,  StepReadLast},                     // R 0x3B10
    {StepReadLast,     false, Then::WriteRadio,     0,          StepWriteBlock},                   // R 0x3BF0
    {StepWriteBlock,   false, Then::WriteNext,      0,          StepWriteBlock,   StepEnd},        // W blocks
    {StepEnd,          false, Then::Complete,       0,          StepNone},                         // END
    {StepEndRejected,  false, Then::ModelError,     0,          StepNone},                         // END, refused radio
    {StepEndRefused,   false, Then::Refused,        0,          StepNone},                         // END, write refused
};

// Batch reading the serial number too, each radio: 0x3B00, 0x3B10, 0x3B20 and
// 0x3BF0, the seven blocks, END.
constexpr StepRow MulWriteSerialSteps[] = {
    {StepProgram,      false, Then::NewRadio,       FirstBlock, StepMulFirst},                     // PROGRAM
    {StepMulFirst,     true,  Then::ReadAt,         FlagsBlock, StepMulReadFlags},                 // R 0x3B00
    {StepMulReadFlags, false, Then::ReadAt,         SerialBlock, StepMulSerial},                   // R 0x3B10
    {StepMulSerial,    false, Then::ReadAt,         LastBlock,  StepReadLast},                     // R 0x3B20
    {StepReadLast,     false, Then::WriteRadio,     0,          StepWriteBlock},                   // R 0x3BF0
    {StepWriteBlock,   false, Then::WriteNext,      0,          StepWriteBlock,   StepEnd},        // W blocks
    {StepEnd,          false, Then::Complete,       0,          StepNone},                         // END
    {StepEndRejected,  false, Then::ModelError,     0,          StepNone},                         // END, refused radio
    {StepEndRefused,   false, Then::Refused,        0,          StepNone},                         // END, write refused
};

// Batch reading every block, each radio: 0x3B00 to 0x3BF0 in order, the
// seven blocks, END. 25 commands.
constexpr StepRow MulWriteAllSteps[] = {
    {StepProgram,      false, Then::NewRadio,       FirstBlock, StepMulFirst},                     // PROGRAM
    {StepMulFirst,     true,  Then::ReadOnward,     0,          StepMulReadAll,   StepWriteBlock}, // R 0x3B00
    {StepMulReadAll,   false, Then::ReadOnward,     0,          StepMulReadAll,   StepWriteBlock}, // R 0x3B10..0x3BF0
    {StepWriteBlock,   false, Then::WriteNext,      0,          StepWriteBlock,   StepEnd},        // W blocks
    {StepEnd,          false, Then::Complete,       0,          StepNone},                         // END
    {StepEndRejected,  false, Then::ModelError,     0,          StepNone},                         // END, refused radio
    {StepEndRefused,   false, Then::Refused,        0,          StepNone},                         // END, write refused
};
// clang-format on

using Rows = std::span<const StepRow>;

// A batch reads what the window side asked for of each radio.
Rows BatchRows(bool readsAll, bool readsSerial) {
    return readsAll      ? Rows(MulWriteAllSteps)
           : readsSerial ? Rows(MulWriteSerialSteps)
                         : Rows(MulWriteSteps);
}

// The row of a step; none for a step without one (no command of this
// operation outstanding), whose answer is dropped.
const StepRow* FindStep(std::int16_t mode, std::int16_t step, Rows batchRows) {
    const Rows rows = mode == ModeRead    ? Rows(ReadSteps)
                      : mode == ModeWrite ? Rows(WriteSteps)
                                          : batchRows;
    const auto row = std::ranges::find(rows, step, &StepRow::step);
    return row != rows.end() ? &*row : nullptr;
}
} // namespace

void ModComm::StartRead() {
    StartSingle(ModeRead, ReadStep);
}

void ModComm::StartWrite() {
    StartSingle(ModeWrite, WriteStep);
}

void ModComm::StartSingle(std::int16_t mode, std::int16_t& step) {
    EndSteps();
    OperationMode = mode;
    if (!OpenPort()) {
        OperationMode = ModeIdle;
        return;
    }
    BlockAddress = BlockAddressStart;
    SendProgram();
    step = StepProgram;
}

void ModComm::StartMulWrite(std::int32_t radioCount) {
    stopAfterRadio_ = false;
    MulWriteCount = radioCount;
    MulWriteNo = 1;
    window_.SetRadioNumber(u"1");
    EndSteps();
    OperationMode = ModeMulWrite;
    if (!OpenPort()) {
        window_.ToggleBatchFace();
        OperationMode = ModeIdle;
        return;
    }
    BlockAddress = BlockAddressStart;
    window_.SetStatusLine(Msg::WrittingData[window_.LangType() == 2 ? 1 : 0]);
    SendProgram();
    WriteStep = StepProgram;
}

void ModComm::StopMulWrite() {
    EndOperation();
}

void ModComm::EndOperation() {
    stopAfterRadio_ = false;
    waitTimer_.Stop();
    ClosePort();
    OperationMode = ModeIdle;
    EndSteps();
}

bool ModComm::DeferStopMulWrite() {
    const bool writing = OperationMode == ModeMulWrite && !collecting_ &&
                         (WriteStep == StepWriteBlock || WriteStep == StepEnd);
    stopAfterRadio_ = stopAfterRadio_ || writing;
    return writing;
}

std::int16_t& ModComm::CurrentStep() {
    return OperationMode == ModeRead ? ReadStep : WriteStep;
}

void ModComm::StepOperation(bool accepted) {
    waitTimer_.Stop();
    if (OperationMode == ModeIdle) {
        return;
    }
    if (!accepted) {
        RepeatLastCommand();
        return;
    }
    std::int16_t& step = CurrentStep();
    const StepRow* row =
        FindStep(OperationMode, step, BatchRows(MulWriteReadsAll, MulWriteReadsSerial));
    if (row == nullptr) {
        return;
    }
    if (row->checkModel && !CheckModelVersion()) {
        step = StepEndRejected;
        SendEnd();
        return;
    }
    // Each action sets the step of the command it sends, then sends it.
    switch (row->then) {
    case Then::ReadNext:
        if (!NextReadBlock()) {
            step = row->last;
            SendEnd();
            break;
        }
        step = row->next;
        ReadNextBlock();
        break;
    case Then::TakeBandReadAt:
        data_.Record.BandCode =
            data_.Image[static_cast<std::size_t>(AreaFieldNamed(u"BandCode").Start)];
        [[fallthrough]];
    case Then::ReadAt:
        step = row->next;
        ReadBlock(row->address, BlockLength);
        break;
    case Then::NewRadio:
        if (SameRadioAnswered()) {
            SendProgram(); // the step stays: the next radio is awaited
            break;
        }
        step = row->next;
        ReadBlock(row->address, BlockLength);
        break;
    case Then::WriteRadio:
        step = row->next;
        WriteRadio();
        break;
    case Then::ReadOnward:
        if (LastReadAddress() >= LastBlock) {
            step = row->last;
            WriteRadio();
            break;
        }
        step = row->next;
        ReadBlock(LastReadAddress() + BlockLength, BlockLength);
        break;
    case Then::WriteNext:
        if (!NextWriteBlock()) {
            step = row->last;
            SendEnd();
            break;
        }
        step = row->next;
        WriteNextBlock();
        break;
    case Then::ModelError:
        ShowModelError();
        break;
    case Then::Refused:
        EndRefused();
        break;
    case Then::Complete:
        OperationMode == ModeRead ? ReadComplete() : WriteComplete();
        break;
    }
}

// A handshake answered while a batch runs: the radio just written still
// attached (fewer than two silent time-outs since), or the first or a new one.
bool ModComm::SameRadioAnswered() {
    if (MulWriteNo > 1 && PollCount < TheModel.NewRadioAfterSilences) {
        PollCount = 0;
        return true;
    }
    return false;
}

// The window side may refuse the radio just read (a batch whose backup of it
// could not be saved): the session is closed with END and nothing is written.
void ModComm::WriteRadio() {
    if (!window_.ReadyToWrite()) {
        CurrentStep() = StepEndRefused;
        SendEnd();
        return;
    }
    // A restore writes its saved bytes, not the window's fields. While the
    // band question is open nothing that arrives may send a block.
    if (!data_.RestoreImage) {
        collecting_ = true;
        window_.GetDataByShow();
        collecting_ = false;
    }
    if (OperationMode == ModeIdle || !serial_.PortOpen()) {
        return; // stopped while the question was open
    }
    data_.PackImage(OperationMode == ModeWrite ? PackRule::KeepUnedited : PackRule::Fresh);
    WriteNextBlock();
}

// The operation ends quietly: the window side that refused has said why.
void ModComm::EndRefused() {
    if (OperationMode == ModeMulWrite) {
        window_.ToggleBatchFace();
    }
    EndOperation();
}

bool ModComm::CheckModelVersion() {
    const auto text = [this](std::u16string_view name) {
        const AreaField& f = AreaFieldNamed(name);
        return TrimText(ByteText(data_.Image, f.Start, f.Width));
    };
    RadioModelText = text(u"RadioModel");
    RadioVersionText = text(u"ModelVersion");
    return ModelOfArea(data_.Image) != nullptr;
}

// The mode stays: a batch keeps its running face until the Stop click.
void ModComm::ShowModelError() {
    ClosePort();
    EndSteps();
    const std::size_t lang = window_.LangType() == 1 ? 0 : 1;
    const std::u16string text = std::u16string(Msg::ModelErrorTitle[lang]) + u"\r\n" +
                                std::u16string(Msg::RadioModelLine[lang]) + RadioModelText +
                                u"\r\n" + std::u16string(Msg::RadioVersionLine[lang]) +
                                RadioVersionText;
    window_.ShowMessage(text, MessageButtons::Ok, MessageIcon::None);
}

void ModComm::ReadComplete() {
    EndOperation();
    data_.UnpackImage();
    const std::u16string note = window_.RadioRead();
    window_.ShowByData();
    const std::u16string text = std::u16string(Msg::ReadComplete) + (note.empty() ? u"" : u"\r\n");
    window_.ShowMessage(text + note, MessageButtons::Ok, MessageIcon::None);
}

void ModComm::WriteComplete() {
    const std::int16_t mode = OperationMode;
    OperationMode = ModeIdle;
    EndSteps();
    if (mode != ModeMulWrite) {
        ClosePort();
    }
    data_.Record.SerialNo = NextSerialNo(data_.Record.SerialNo.Str()) + u'\0';
    window_.ShowByData();
    if (mode != ModeMulWrite) {
        window_.ShowMessage(Msg::WriteComplete, MessageButtons::Ok, MessageIcon::None);
        return;
    }
    OperationMode = ModeMulWrite;
    ++MulWriteNo;
    window_.SetRadioNumber(DecimalText(MulWriteNo));
    if (MulWriteNo > MulWriteCount) {
        window_.SetStatusLine(u"");
        ClosePort();
        window_.ToggleBatchFace();
        window_.ShowMessage(Msg::MulWriteComplete, MessageButtons::Ok, MessageIcon::None);
        EndOperation();
        return;
    }
    if (stopAfterRadio_) {
        window_.ToggleBatchFace();
        StopMulWrite();
        return;
    }
    WaitNextRadio();
}

void ModComm::WaitNextRadio() {
    WriteStep = StepProgram;
    PollCount = 0;
    SendProgram();
    window_.SetStatusLine(Msg::WaittingNext[window_.LangType() == 2 ? 1 : 0]);
}

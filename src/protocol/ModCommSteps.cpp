// The operation state machine: starts of Read, Write and batch write, the
// step dispatcher, the model and version check and the completions.
#include "ModComm.h"

#include "Messages.h"
#include "record/ModFun.h"

#include <algorithm>
#include <string>

namespace {
constexpr int FirstBlock = 0x3B00;
constexpr int FlagsBlock = 0x3B10;
constexpr int LastBlock = 0x3BF0;
constexpr int BlockLength = 16;

// A radio text of the image: bytes up to the first 0x00 or 0xFF.
std::u16string ByteText(const InfoImage& image, std::size_t offset, std::size_t width) {
    std::u16string text;
    for (std::size_t i = offset; i < offset + width && image[i] != 0x00 && image[i] != 0xFF; ++i) {
        text += static_cast<char16_t>(image[i]);
    }
    return TrimText(text);
}

std::u16string DecimalText(std::int32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}
} // namespace

void ModComm::StartRead() {
    StartSingle(ModeRead, ReadStep);
}

void ModComm::StartWrite() {
    StartSingle(ModeWrite, WriteStep);
}

void ModComm::StartSingle(std::int16_t mode, std::int16_t& step) {
    OperationMode = mode;
    step = StepNone;
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
    window_.SetText2_1(u"1");
    OperationMode = ModeMulWrite;
    WriteStep = StepNone;
    if (!OpenPort()) {
        window_.ShowStartMulWrite();
        OperationMode = ModeIdle;
        return;
    }
    BlockAddress = BlockAddressStart;
    window_.SetLabel6(Msg::WrittingData[window_.LangType() == 2 ? 1 : 0]);
    SendProgram();
    WriteStep = StepProgram;
}

void ModComm::StopMulWrite() {
    stopAfterRadio_ = false;
    waitTimer_.Stop();
    ClosePort();
    OperationMode = ModeIdle;
}

bool ModComm::DeferStopMulWrite() {
    const bool writing =
        OperationMode == ModeMulWrite && (WriteStep == StepWriteBlock || WriteStep == StepEnd);
    stopAfterRadio_ = stopAfterRadio_ || writing;
    return writing;
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
    if (OperationMode == ModeRead) {
        LastStep = ReadStep;
        StepRead(ReadStep);
    } else {
        LastStep = WriteStep;
        StepWrite(WriteStep);
    }
}

void ModComm::StepRead(std::int16_t step) {
    switch (step) {
    case StepProgram:
        ReadStep = StepReadFirst;
        ReadNextBlock();
        break;
    case StepReadFirst:
        if (!CheckModelVersion()) {
            ReadStep = StepEndRejected;
            SendEnd();
            break;
        }
        ReadStep = StepBlocks;
        ReadNextBlock();
        break;
    case StepBlocks:
        ReadNextBlock();
        break;
    case StepEndRejected:
        ShowModelError();
        break;
    default:
        ReadComplete();
        break;
    }
}

// A Write reads 0x3B00, 0x3B10 and 0x3BF0 before it writes, a batch radio
// 0x3B00 first: every block that goes back to a radio holds that radio's own
// bytes wherever the record does not set them.
void ModComm::StepWrite(std::int16_t step) {
    switch (step) {
    case StepProgram:
        if (OperationMode == ModeMulWrite) {
            StepMulWriteProgram();
            break;
        }
        WriteStep = StepWriteFirst;
        ReadBlock(FirstBlock, BlockLength);
        break;
    case StepWriteFirst:
        data_.Record.BandCode = data_.Image[0x0F];
        WriteStep = StepBlocks;
        ReadBlock(FlagsBlock, BlockLength);
        break;
    case StepBlocks:
        if (OperationMode == ModeMulWrite) {
            CheckThenRead(FlagsBlock, StepMulReadFlags);
        } else {
            CheckThenRead(LastBlock, StepReadLast);
        }
        break;
    case StepMulReadFlags:
        WriteStep = StepReadLast;
        ReadBlock(LastBlock, BlockLength);
        break;
    case StepReadLast:
        WriteRadio();
        break;
    case StepWriteBlock:
        WriteNextBlock();
        break;
    case StepEndRejected:
        ShowModelError();
        break;
    default:
        WriteComplete();
        break;
    }
}

// The handshake answered while a batch runs: the first radio, the radio just
// written still attached, or a new one after at least two silent time-outs.
void ModComm::StepMulWriteProgram() {
    if (MulWriteNo > 1 && PollCount < 2) {
        PollCount = 0;
        SendProgram();
        return;
    }
    WriteStep = StepBlocks;
    ReadBlock(FirstBlock, BlockLength);
}

void ModComm::CheckThenRead(int address, std::int16_t nextStep) {
    if (!CheckModelVersion()) {
        WriteStep = StepEndRejected;
        SendEnd();
        return;
    }
    WriteStep = nextStep;
    ReadBlock(address, BlockLength);
}

void ModComm::WriteRadio() {
    WriteStep = StepWriteBlock;
    window_.GetDataByShow();
    data_.PackImage();
    WriteNextBlock();
}

bool ModComm::CheckModelVersion() {
    RadioModelText = ByteText(data_.Image, 0, 7);
    RadioVersionText = ByteText(data_.Image, 7, 4);
    const bool modelOk = RadioModelText == u"KVT4610";
    const bool versionOk = RadioVersionText == u"V100" || RadioVersionText == u"V110";
    return modelOk && versionOk;
}

void ModComm::ShowModelError() {
    ClosePort();
    const bool english = window_.LangType() == 1;
    const std::u16string text =
        std::u16string(Msg::ModelErrorTitle[english ? 0 : 1]) +
        (english ? u"\r\nRadio Model:" : u"\r\n对讲机机型:") + RadioModelText +
        (english ? u"\r\nRadio Version:" : u"\r\n对讲机版本:") + RadioVersionText;
    window_.ShowMessage(text, MessageButtons::Ok, MessageIcon::None);
}

void ModComm::ReadComplete() {
    OperationMode = ModeIdle;
    waitTimer_.Stop();
    BlockAddress = BlockAddressStart;
    ClosePort();
    data_.UnpackImage();
    window_.ShowByData();
    window_.ShowMessage(Msg::ReadComplete, MessageButtons::Ok, MessageIcon::None);
}

void ModComm::WriteComplete() {
    const std::int16_t mode = OperationMode;
    OperationMode = ModeIdle;
    BlockAddress = BlockAddressStart;
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
    window_.SetText2_1(DecimalText(MulWriteNo));
    if (MulWriteNo > MulWriteCount) {
        window_.SetLabel6(u"");
        ClosePort();
        window_.ShowStartMulWrite();
        window_.ShowMessage(Msg::MulWriteComplete, MessageButtons::Ok, MessageIcon::None);
        OperationMode = ModeIdle;
        return;
    }
    if (stopAfterRadio_) {
        window_.ShowStartMulWrite();
        StopMulWrite();
        return;
    }
    WaitNextRadio();
}

void ModComm::WaitNextRadio() {
    WriteStep = StepProgram;
    PollCount = 0;
    SendProgram();
    window_.SetLabel6(Msg::WaittingNext[window_.LangType() == 2 ? 1 : 0]);
}

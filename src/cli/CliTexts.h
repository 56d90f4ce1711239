#pragma once

#include <string>
#include <string_view>

// radioinfo-cli's own texts. The radio's messages ("Read Complete!", ...)
// come from the core as the window shows them; these are the command line's.
enum class CliText {
    Usage, // the usage lines are the commands' (UsageText of CliCommands)
    Help,
    TryHelp,
    UnknownOption,
    UnknownCommand,
    UnexpectedArgument,
    NeedsValue,
    NoCommand,
    ZeroOrOne,
    WholeNumber,
    NotStorable,
    TextTooLong,
    AsciiTooLong,
    ControlCharacter,
    TakesNoValue,
    PortsTakesNoPort,
    TextValue,
    ReadChangesNoField,
    BatchNeedsCount,
    CountBelongsToBatch,
    JsonBelongsToRead,
    PortForm,
    RadioNo,
    BandWritten,
    BatchSettings,
    RadioWritten,
    RadioWrittenNoSerial,
    RadiosWritten,
    NoPortGiven,
    SavedPortGone,
    SavedPortNotListedNoWrite,
    NoSavedPortNoWrite,
    NoneListed,
    NoPortListed,
    PortAlias,
    PortBrokenAlias,
    OutputFailed,
    RestoreChangesNoField,
    RestoreNeedsFile,
    LatestBelongsToRestore,
    SaveBelongsToRead,
    BackupBelongsToWrite,
    LogBelongsToBatch,
    ForceBelongsToRestore,
    SaveFailed,
    BackupSaved,
    BackupFailed,
    LogFailed,
    FileUnreadable,
    NotAnImage,
    OtherRadio,
    RestoreMismatch,
    RestoreVerified,
    CountAtLeastOne,
    NotThisModel,
    SerialProvesNothing,
    FinishingRadio,
    StoppedFinished,
    StoppedNotWriting,
    StoppedAtOnce,
    KeepFailed,
    NoKeptRead,
    RestoringKept,
    KeptAlreadyHeld,
    NoProvenKeptRead,
    NameNotText,
    AliasBrokenNotWritten,
    VerifyNeedsFile,
    VerifyChangesNoField,
    VerifyOtherRadio,
    VerifySerialProvesNothing,
    VerifyingKept,
    VerifyEqual,
    VerifyDiffers,
    VerifyNotThisModel,
    VerifyNoKeptRead,
    VerifyNoProvenKeptRead,
};

// How restore and verify refuse a file or a radio: restore says what it did
// not write, verify what it did not compare.
struct FileRefusals {
    CliText notThisModel;     // %1 the file, %2 its model and version
    CliText noKeptRead;       // %1 the serial number, %2 the folder
    CliText noProvenKeptRead; // %1 the serial number
};
inline constexpr FileRefusals RestoreRefusals{CliText::NotThisModel, CliText::NoKeptRead,
                                              CliText::NoProvenKeptRead};
inline constexpr FileRefusals VerifyRefusals{CliText::VerifyNotThisModel, CliText::VerifyNoKeptRead,
                                             CliText::VerifyNoProvenKeptRead};

// The text in the language of langType (2 Chinese, else English), with "%1"
// replaced by subject, "%2" by second and "%3" by third.
std::u16string CliTextFor(CliText text, int langType, std::u16string_view subject = {},
                          std::u16string_view second = {}, std::u16string_view third = {});

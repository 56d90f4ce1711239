#pragma once

#include <string>
#include <string_view>

// radioinfo-cli's own texts. The radio's messages ("Read Complete!", ...)
// come from the core as the window shows them; these are the command line's.
enum class CliText {
    Usage,
    Help,
    UnknownOption,
    UnknownCommand,
    UnexpectedArgument,
    NeedsValue,
    NoCommand,
    ZeroOrOne,
    WholeNumber,
    NotStorable,
    DealerTooLong,
    PasswordForm,
    ReadChangesNoField,
    BatchNeedsCount,
    CountBelongsToBatch,
    JsonBelongsToRead,
    PortForm,
    RadioNo,
    AnswerOk,
    AnswerCancel,
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
};

// The text in the language of langType (2 Chinese, else English), with "%1"
// replaced by subject and "%2" by second.
std::u16string CliTextFor(CliText text, int langType, std::u16string_view subject = {},
                          std::u16string_view second = {});

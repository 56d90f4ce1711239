#pragma once

// radioinfo-cli's exit statuses. Each has one meaning, whichever command
// gives it; the manual page, the README and --help list the same.
enum ExitStatus : int {
    // The command did what it was asked.
    ExitDone = 0,
    // stdout or stderr could not be written: a script must not believe it has
    // the output.
    ExitOutput = 1,
    // The arguments are refused; nothing was opened.
    ExitUsage = 2,
    // The port cannot be opened or another program holds it, or no port may
    // be taken for a command that writes.
    ExitPort = 3,
    // The radio did not answer as it should.
    ExitCommunication = 4,
    // The radio is not a KVT4610 of an accepted version.
    ExitModel = 5,
    // The --save or the --log file could not be written.
    ExitFile = 6,
    // A backup could not be saved; nothing was written to that radio.
    ExitBackup = 7,
    // The file or kept read cannot be proven to be the radio's: another
    // serial number, or one that is empty or erased. Nothing was written.
    ExitOtherRadio = 8,
    // restore: the radio read back does not hold the file's settings.
    ExitNotRestored = 9,
    // No file to take: it cannot be read or is no KVT4610 information area of
    // 256 bytes, or the radio has no kept read.
    ExitRestoreFile = 10,
    // verify: the radio differs from the file in at least one field.
    ExitDiffers = 11,
    // Stopped by Ctrl+C, SIGTERM or SIGHUP.
    ExitInterrupted = 130,
};

// Every status, in order.
inline constexpr ExitStatus ExitStatuses[] = {
    ExitDone,        ExitOutput,  ExitUsage,       ExitPort,       ExitCommunication,
    ExitModel,       ExitFile,    ExitBackup,      ExitOtherRadio, ExitNotRestored,
    ExitRestoreFile, ExitDiffers, ExitInterrupted,
};

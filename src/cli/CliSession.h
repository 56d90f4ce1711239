#pragma once

#include "BatchLog.h"
#include "CliOptions.h"
#include "CliWindow.h"
#include "TracingSerialControl.h"
#include "protocol/ModComm.h"
#include "system/KeptReads.h"
#include "system/QtResponseTimer.h"
#include "system/QtSerialControl.h"

#include <QString>

#include <optional>

// Exit statuses of radioinfo-cli.
enum ExitStatus : int {
    ExitDone = 0,
    ExitOutput = 1, // stdout or stderr could not be written
    ExitUsage = 2,
    ExitPort = 3, // the port cannot be opened, or another program holds it
    ExitCommunication = 4,
    ExitModel = 5,
    ExitFile = 6,         // the --save file or the --log file could not be written
    ExitBackup = 7,       // a backup could not be saved; nothing was written to that radio
    ExitOtherRadio = 8,   // restore refused: the file is of another serial number
    ExitNotRestored = 9,  // restore: the radio read back differs from the file
    ExitRestoreFile = 10, // restore: the file cannot be read or is no KVT4610 information area
    ExitInterrupted = 130,
};

// One run of radioinfo-cli: the core driven by a Qt event loop, the way the
// window drives it.
class CliSession {
  public:
    // trace: every frame on the line goes to stderr as well. The kept reads
    // are in keptReadsFolder, named by the clock nowUtc.
    CliSession(int langType, QtSerialControl::PortResolver resolver, bool trace,
               const QString& keptReadsFolder = KeptReads::DefaultFolder(),
               std::function<QDateTime()> nowUtc = &QDateTime::currentDateTimeUtc);

    int Run(const CliOptions& options, std::int16_t portNo);
    // Ctrl+C (or the signal named by what): stops what runs, as the batch's
    // Stop click does: a radio whose blocks are being written is finished
    // first. A second call then stops at once.
    void Interrupt(const QString& what = QStringLiteral("Ctrl+C"));

  private:
    int RunCommand(const CliOptions& options);
    int Read(const CliOptions& options);
    // keep: the read is kept as soon as it is complete.
    int ReadRadio(bool keep = true);
    int Write(const CliOptions& options);
    int Batch(const CliOptions& options);
    int Restore(const CliOptions& options);
    int RestoreLatest(const CliOptions& options);
    int ListKeptReads();
    // A restore file, or nullopt once the dealer has been told why it is none.
    std::optional<InfoImage> LoadRestoreFile(const QString& path);
    // Writes file's dealer settings into the radio just read and reads them back.
    int RestoreImage(const InfoImage& file, const CliOptions& options);
    // Keeps a copy of the radio's area as read; a copy that cannot be kept is
    // one line on stderr and nothing more.
    void KeepRead();
    void KeepImage(const InfoImage& image, KeptReads::Kind kind = KeptReads::Kind::Read);
    // The radio just read can have kept reads; if not, the dealer is told why.
    bool SerialProvesRadio();
    int Wait();
    void ApplyFields(const CliOptions& options);
    QString BatchSettings() const;
    // Saves the radio's information area as just read into folder.
    int SaveBackup(const QString& folder);
    void LogRadio(const QString& result);
    void SayRadioWritten(int count);
    QString RadioSerial() const;
    bool RadioAnswered() const;
    // Ends what runs now, the radio on the cable as it is; a batch's radio
    // that answered is logged with logResult.
    void EndNow(const QString& logResult);
    // Ends the run with status once the core has returned to the event loop:
    // a failure met inside one of the core's calls must not close the port
    // under it.
    void StopLater(int status);
    void StopAtOnce();
    void Say(CliText text, const QString& subject = {}, const QString& second = {});

    ModData data_;
    CliWindow window_;
    QtSerialControl serial_;
    TracingSerialControl tracer_;
    QtResponseTimer timer_;
    ModComm comm_;
    BatchLog log_;
    KeptReads keptReads_;
    // Whether the Read now running is kept when it completes.
    bool keepRead_ = true;
    QString backupFile_;
    // The serial number of the batch's radio on the cable, once it is read
    // before its write; empty before.
    QString radioSerial_;
    int radiosWritten_ = 0;
    std::optional<int> stopStatus_;
    // Ctrl+C came while blocks were going out: the radio is being finished.
    bool finishingRadio_ = false;
    // What stopped the run: Ctrl+C, SIGTERM, SIGHUP.
    QString stoppedBy_;
    // The operation that just ended failed after a radio had answered.
    bool failedRadioAnswered_ = false;
    std::function<void()> quit_;
};

#pragma once

#include "BatchLog.h"
#include "CliCommands.h"
#include "CliOptions.h"
#include "CliTexts.h"
#include "CliWindow.h"
#include "ExitStatus.h"
#include "TracingSerialControl.h"
#include "protocol/ModComm.h"
#include "system/KeptReads.h"
#include "system/QtResponseTimer.h"
#include "system/QtSerialControl.h"

#include <QString>

#include <optional>

// One run of radioinfo-cli: the core driven by a Qt event loop, the way the
// window drives it. It does the work of each command of CliCommands.
class CliSession final : public CommandHandlers {
  public:
    // trace: every frame on the line goes to stderr as well. The kept reads
    // are in keptReadsFolder, named by the clock nowUtc.
    CliSession(int langType, QtSerialControl::PortResolver resolver, bool trace,
               const QString& keptReadsFolder = KeptReads::DefaultFolder(),
               std::function<QDateTime()> nowUtc = &QDateTime::currentDateTimeUtc);

    int Run(const CliOptions& options, std::int16_t portNo);

    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;
    // Ctrl+C (or the signal named by what): stops what runs, as the batch's
    // Stop click does: a radio whose blocks are being written is finished
    // first. A second call then stops at once.
    void Interrupt(const QString& what = QStringLiteral("Ctrl+C"));

    int Read(const CliOptions& options) override;
    int Write(const CliOptions& options) override;
    int Batch(const CliOptions& options) override;
    int Restore(const CliOptions& options) override;
    // Compares the radio with a saved area or its newest kept read, field by
    // field: ExitDiffers when any differs.
    int Verify(const CliOptions& options) override;
    // The port list, as text or JSON, on standard output: no port is opened.
    int Ports(const CliOptions& options) override;

  private:
    // keep: the read is kept as soon as it is complete.
    int ReadRadio(bool keep = true);
    int RestoreLatest(const CliOptions& options);
    int ListKeptReads();
    static QString ReadTime(const QDateTime& utc);
    // A restore file, or nullopt once the dealer has been told why it is none.
    std::optional<InfoImage> LoadRestoreFile(const QString& path,
                                             const FileRefusals& refusals = RestoreRefusals);
    // Writes file's dealer settings into the radio just read and reads them back.
    int RestoreImage(const InfoImage& file, const CliOptions& options);
    // Keeps a copy of the radio's area as read; a copy that cannot be kept is
    // one line on stderr and nothing more.
    void KeepRead();
    void KeepImage(const InfoImage& image, KeptReads::Kind kind = KeptReads::Kind::Read);
    // The radio just read can have kept reads; if not, the dealer is told why.
    bool SerialProvesRadio(const FileRefusals& refusals = RestoreRefusals);
    // The newest kept read of the radio just read, of this model, and its
    // area; a status once the dealer has been told why there is none.
    int LoadLatestKeptRead(KeptRead& latest, InfoImage& file, const FileRefusals& refusals);
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

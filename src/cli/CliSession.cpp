#include "CliSession.h"

#include "CliPorts.h"
#include "EscapedText.h"
#include "ImageFile.h"
#include "RecordPrinter.h"
#include "system/RadioImageName.h"

#include "protocol/LinkFailure.h"
#include "record/InfoArea.h"
#include "system/QtText.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <variant>

namespace {
// The log's results stay English whatever the locale, like the radio's
// messages beside them, so a script can read any service centre's log.
const QString LogWritten = QStringLiteral("written");
const QString LogStopped = QStringLiteral("stopped by Ctrl+C before writing");
const QString LogStoppedAtOnce = QStringLiteral("stopped at once by a second Ctrl+C: ");
} // namespace

CliSession::CliSession(int langType, QtSerialControl::PortResolver resolver, bool trace,
                       const QString& keptReadsFolder, std::function<QDateTime()> nowUtc)
    : window_(data_, langType),
      serial_(std::move(resolver), [this](int commEvent) { comm_.MSComm1_OnComm(commEvent); }),
      tracer_(serial_, stderr), timer_([this] { comm_.WaitTimer_Timer(); }),
      comm_(data_, trace ? static_cast<SerialControl&>(tracer_) : serial_, timer_, window_),
      keptReads_(keptReadsFolder, KeptReads::DiskSave(), std::move(nowUtc)) {
    serial_.SetLangType(langType);
    window_.SetComm(comm_);
    window_.OnRadioRead = [this] { KeepRead(); };
    window_.OnEnd = [this] {
        // The command that ended it is still known here: a radio answered
        // when it was no handshake.
        const auto command = comm_.LastCommand();
        failedRadioAnswered_ = window_.End != OperationEnd::Done &&
                               window_.End != OperationEnd::PortError && !command.empty() &&
                               command[0] != 'P';
        if (quit_) {
            quit_();
        }
    };
    window_.OnIdleFace = [this] {
        if (stopStatus_ && quit_) {
            quit_();
        }
    };
    const QDate today = QDate::currentDate();
    data_.InitData({today.year(), today.month(), today.day()});
    window_.Shown = ShowFields(data_.Record);
}

int CliSession::Run(const CliOptions& options, std::int16_t portNo) {
    comm_.ComPortNo = portNo;
    const CommandRow* row = CommandRowOf(options.command);
    const int status = row != nullptr ? (this->*row->run)(options) : ExitUsage;
    if (status == ExitInterrupted && finishingRadio_) {
        Say(CliText::StoppedFinished, stoppedBy_);
    }
    if (options.command == CliOptions::Command::Batch) {
        Say(CliText::RadiosWritten, QString::number(radiosWritten_),
            QString::number(options.count));
    }
    return status;
}

int CliSession::Ports(const CliOptions& options) {
    const std::vector<PortLine> lines = PortLines(window_.LangType());
    const QString text = options.json ? PortsJson(lines) : PortsText(lines, window_.LangType());
    std::fputs(text.toUtf8().constData(), stdout);
    return ExitDone;
}

// The record is printed even when the file could not be saved: the dealer
// sees what was read, and the status says the file is missing.
int CliSession::Read(const CliOptions& options) {
    const int status = ReadRadio();
    if (status != ExitDone) {
        return status;
    }
    const std::string text = options.json ? RecordJson(data_.Record) : RecordText(data_.Record);
    std::fputs(text.c_str(), stdout);
    if (!options.saveFile) {
        return ExitDone;
    }
    const QString path = ToQString(*options.saveFile);
    if (const auto failure = SaveImageFile(path, data_.Image)) {
        Say(CliText::SaveFailed, path, *failure);
        return ExitFile;
    }
    return ExitDone;
}

int CliSession::ReadRadio(bool keep) {
    keepRead_ = keep;
    comm_.StartRead();
    const int status = Wait();
    keepRead_ = true;
    return status;
}

// As a dealer does it: read the radio, change the given fields, write. The
// Read has every block of the radio, so a backup needs no command more.
int CliSession::Write(const CliOptions& options) {
    if (const int status = ReadRadio(); status != ExitDone) {
        return status;
    }
    if (options.backupDir) {
        if (const int status = SaveBackup(ToQString(*options.backupDir)); status != ExitDone) {
            return status;
        }
    }
    ApplyFields(options);
    comm_.StartWrite();
    return Wait();
}

// A missing folder is made; the system's reason when it cannot be (a
// read-only disk) is the backup's. A name another backup took a moment ago
// is passed over for the next one.
int CliSession::SaveBackup(const QString& folder) {
    const auto names =
        BackupNames(folder, SerialNoOf(data_.Image), QDateTime::currentDateTimeUtc());
    const SavedImage saved = SaveNewImageFile(names, data_.Image);
    if (saved.failure) {
        const QString path = QString::fromStdU16String(names(1).u16string());
        Say(CliText::BackupFailed, path, *saved.failure);
        LogRadio(QStringLiteral("backup failed: %1: %2").arg(path, *saved.failure));
        return ExitBackup;
    }
    backupFile_ = saved.path;
    Say(CliText::BackupSaved, backupFile_);
    return ExitDone;
}

// The defaults plus the given fields go into every radio, as the window's
// batch writes all its fields: what that is is said before the first radio.
int CliSession::Batch(const CliOptions& options) {
    if (options.logFile) {
        if (const auto failure = log_.Open(ToQString(*options.logFile))) {
            Say(CliText::LogFailed, ToQString(*options.logFile), *failure);
            return ExitFile;
        }
    }
    // A radio is written when the window side shows the record again.
    window_.OnShown = [this, count = options.count] {
        ++radiosWritten_;
        SayRadioWritten(count);
        LogRadio(LogWritten);
    };
    // The backup and the log's serial number need every block of each radio;
    // naming each radio written needs its serial number at least.
    comm_.MulWriteReadsAll = options.backupDir || options.logFile;
    comm_.MulWriteReadsSerial = true;
    const std::optional<QString> folder =
        options.backupDir ? std::optional(ToQString(*options.backupDir)) : std::nullopt;
    window_.OnReadyToWrite = [this, folder] {
        radioSerial_ = SerialNoOf(data_.Image); // its block read by now
        if (comm_.MulWriteReadsAll) {
            KeepRead(); // only a radio read in full is kept
        }
        const int status = folder ? SaveBackup(*folder) : ExitDone;
        if (status != ExitDone) {
            stopStatus_ = status; // the batch ends with the END the core sends now
            window_.Quiet = true;
        }
        return status == ExitDone;
    };
    ApplyFields(options);
    Say(CliText::BatchSettings, BatchSettings());
    window_.ToggleBatchFace();
    comm_.StartMulWrite(options.count);
    const int status = Wait();
    if (comm_.OperationMode == ModeMulWrite) {
        // A rejected radio halts the batch; the command line stops it.
        comm_.StopMulWrite();
    }
    return status;
}

// One row for the radio that just finished, with its own serial number as far
// as it was read (a batch with a log reads every block).
void CliSession::LogRadio(const QString& result) {
    const BatchLog::Row row{QDateTime::currentDateTimeUtc(), RadioSerial(),
                            ToQString(comm_.RadioModelText), result, backupFile_};
    backupFile_.clear();
    radioSerial_.clear();
    if (!log_.IsOpen()) {
        return;
    }
    if (const auto failure = log_.Append(row)) {
        Say(CliText::LogFailed, log_.Path(), *failure);
        StopLater(ExitFile);
    }
}

// The batch's radio just written, by its number of the count and its serial
// number as read from it, so a technician at the bench can tell which radio
// a line is about without the log.
void CliSession::SayRadioWritten(int count) {
    const QString serial = RadioSerial();
    const CliText text = serial.isEmpty() ? CliText::RadioWrittenNoSerial : CliText::RadioWritten;
    PrintError(CliTextFor(text, window_.LangType(), ToU16(QString::number(radiosWritten_)),
                          ToU16(QString::number(count)), ToU16(EscapeControls(serial))));
}

// The serial number of the batch's radio on the cable, never an earlier
// radio's: taken when the radio was read before its write, or while it is
// still being read, once an R beyond block 0x3B20 is outstanding (the blocks
// are read in order). Empty when none was read for it.
QString CliSession::RadioSerial() const {
    const auto command = comm_.LastCommand();
    const bool readsSerial = comm_.MulWriteReadsAll || comm_.MulWriteReadsSerial;
    const bool pastSerial = readsSerial && command.size() >= 3 && command[0] == 'R' &&
                            command[1] * 256 + command[2] > SerialBlock;
    return radioSerial_.isEmpty() && pastSerial ? SerialNoOf(data_.Image) : radioSerial_;
}

// Each given field into the window's control that shows it: a Text1 field,
// a check box, or for the band (the one number a dealer sets) the Frequency
// list.
void CliSession::ApplyFields(const CliOptions& options) {
    FormFields& shown = window_.Shown;
    for (const AreaField& row : InfoArea) {
        const auto given = options.fields.find(row.Name);
        if (given == options.fields.end()) {
            continue;
        }
        if (row.Text1 >= 0) {
            shown.Text1[static_cast<std::size_t>(row.Text1)] =
                std::get<std::u16string>(given->second);
        } else if (row.Check != 0) {
            CheckBox(shown, row.Check) = std::get<std::int16_t>(given->second);
        } else if (row.Kind == FieldKind::Number) {
            shown.Combo1_1 = std::get<std::int16_t>(given->second);
            window_.OverwriteBand = true;
        }
    }
}

// Every field a batch writes, by its option, with the value each radio gets:
// the given one or the default, texts quoted, the password masked.
QString CliSession::BatchSettings() const {
    FormFields shown = window_.Shown;
    const AreaField& password = AreaFieldNamed(u"ProgPassWord");
    QStringList settings;
    for (const AreaField& row : InfoArea) {
        if (row.Written != Sent::Dealer || row.Option.empty()) {
            continue;
        }
        const QString option =
            QString::fromLatin1(row.Option.data(), static_cast<qsizetype>(row.Option.size()));
        if (row.Text1 >= 0) {
            const QString text = ToQString(shown.Text1[static_cast<std::size_t>(row.Text1)]);
            const bool masked = &row == &password && !text.isEmpty();
            settings << option +
                            QStringLiteral(" \"%1\"").arg(masked ? QStringLiteral("****") : text);
        } else if (row.Check != 0) {
            settings << option + u' ' + QString::number(CheckBox(shown, row.Check));
        } else {
            settings << option + u' ' + QString::number(shown.Combo1_1);
        }
    }
    return settings.join(u' ');
}

int CliSession::Wait() {
    if (window_.End == OperationEnd::Running && !stopStatus_) {
        QEventLoop loop;
        quit_ = [&loop] { loop.quit(); };
        loop.exec();
        quit_ = nullptr;
    }
    const OperationEnd end = std::exchange(window_.End, OperationEnd::Running);
    if (std::exchange(failedRadioAnswered_, false)) {
        // A batch radio that answered, then failed: the message that ended it.
        LogRadio(ToQString(window_.LastMessage));
    }
    if (end == OperationEnd::CommunicationError && std::exchange(finishingRadio_, false)) {
        return ExitCommunication; // the radio could not be finished: the message says where
    }
    if (stopStatus_) {
        return *stopStatus_;
    }
    switch (end) {
    case OperationEnd::Done:
        return ExitDone;
    case OperationEnd::PortError:
        return ExitPort;
    case OperationEnd::ModelError:
        return ExitModel;
    case OperationEnd::CommunicationError:
    case OperationEnd::Running:
        break;
    }
    return ExitCommunication;
}

// A radio answered the handshake of the batch and has not been finished: a
// port that did not open, or a radio not yet attached, gets no row.
bool CliSession::RadioAnswered() const {
    return comm_.WriteStep != StepNone && comm_.WriteStep != StepProgram;
}

void CliSession::Interrupt(const QString& what) {
    if (finishingRadio_) {
        StopAtOnce();
        return;
    }
    stoppedBy_ = what;
    stopStatus_ = stopStatus_.value_or(ExitInterrupted);
    window_.Quiet = true;
    // A radio whose blocks are going out is finished first: a Write then ends
    // with its message, a batch stops and its idle face ends the wait.
    if (comm_.DeferStop()) {
        finishingRadio_ = true;
        Say(CliText::FinishingRadio, what);
        return;
    }
    Say(CliText::StoppedNotWriting, what);
    EndNow(LogStopped);
}

// The second Ctrl+C: the radio is left as it is, and the dealer is told
// which of its blocks it acknowledged.
void CliSession::StopAtOnce() {
    finishingRadio_ = false;
    const auto command = comm_.LastCommand();
    const auto blocks = comm_.AcknowledgedBlocks();
    Say(CliText::StoppedAtOnce, ToQString(StoppedWriteLine(command, blocks, window_.LangType())));
    EndNow(LogStoppedAtOnce + ToQString(StoppedWriteLine(command, blocks, 1)));
}

void CliSession::StopLater(int status) {
    stopStatus_ = stopStatus_.value_or(status);
    window_.Quiet = true;
    QTimer::singleShot(0, [this] {
        if (comm_.OperationMode != ModeIdle) {
            EndNow(LogStopped);
        }
    });
}

// The batch's radio that answered gets its row first.
void CliSession::EndNow(const QString& logResult) {
    if (comm_.OperationMode == ModeMulWrite && RadioAnswered()) {
        LogRadio(logResult);
    }
    if (comm_.OperationMode == ModeMulWrite) {
        window_.ToggleBatchFace();
    }
    comm_.EndOperation();
    if (quit_) {
        quit_();
    }
}

// Whatever a message names is printed with its control characters escaped:
// serial numbers and texts come from the radio.
void CliSession::Say(CliText text, const QString& subject, const QString& second) {
    PrintError(u"radioinfo-cli: " + CliTextFor(text, window_.LangType(),
                                               ToU16(EscapeControls(subject)),
                                               ToU16(EscapeControls(second))));
}

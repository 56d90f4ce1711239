#include "CliSession.h"

#include "RecordPrinter.h"

#include <QDate>
#include <QEventLoop>

#include <cstdio>

CliSession::CliSession(int langType, QtSerialControl::PortResolver resolver)
    : window_(data_, langType),
      serial_(std::move(resolver), [this](int commEvent) { comm_.MSComm1_OnComm(commEvent); }),
      timer_([this] { comm_.WaitTimer_Timer(); }), comm_(data_, serial_, timer_, window_) {
    serial_.SetLangType(langType);
    window_.SetComm(comm_);
    window_.OnEnd = [this] {
        if (quit_) {
            quit_();
        }
    };
    window_.OnIdleFace = [this] {
        if (interrupted_ && quit_) {
            quit_();
        }
    };
    const QDate today = QDate::currentDate();
    data_.InitData({today.year(), today.month(), today.day()});
    window_.Shown = ShowFields(data_.Record);
}

int CliSession::Run(const CliOptions& options, std::int16_t portNo) {
    comm_.ComPortNo = portNo;
    switch (options.command) {
    case CliOptions::Command::Read: {
        const int status = Read();
        if (status == ExitDone) {
            const std::string text =
                options.json ? RecordJson(data_.Record) : RecordText(data_.Record);
            std::fputs(text.c_str(), stdout);
        }
        return status;
    }
    case CliOptions::Command::Write:
        return Write(options);
    case CliOptions::Command::Batch:
        return Batch(options);
    case CliOptions::Command::Help:
    case CliOptions::Command::Version:
        break; // answered before any session
    }
    return ExitUsage;
}

int CliSession::Read() {
    comm_.StartRead();
    return Wait();
}

// As a dealer does it: read the radio, change the given fields, write.
int CliSession::Write(const CliOptions& options) {
    if (const int status = Read(); status != ExitDone) {
        return status;
    }
    ApplyFields(options);
    comm_.StartWrite();
    return Wait();
}

// The defaults plus the given fields go into every radio.
int CliSession::Batch(const CliOptions& options) {
    ApplyFields(options);
    window_.ShowStartMulWrite();
    comm_.StartMulWrite(options.count);
    const int status = Wait();
    if (comm_.OperationMode == ModeMulWrite) {
        // A rejected radio halts the batch; the command line stops it.
        comm_.StopMulWrite();
    }
    return status;
}

void CliSession::ApplyFields(const CliOptions& o) {
    FormFields& shown = window_.Shown;
    const std::pair<const std::optional<std::u16string>&, int> texts[] = {
        {o.dealerCode, 8}, {o.stockDate, 9}, {o.sellDate, 10}, {o.seller, 11}, {o.password, 12}};
    for (const auto& [value, index] : texts) {
        if (value) {
            shown.Text1[static_cast<std::size_t>(index)] = *value;
        }
    }
    shown.Check8 = o.freqSet.value_or(shown.Check8);
    shown.Check2 = o.stun.value_or(shown.Check2);
    shown.Check3 = o.kill.value_or(shown.Check3);
    if (o.band) {
        shown.Combo1_1 = *o.band;
    }
    window_.OverwriteBand = o.band.has_value();
}

int CliSession::Wait() {
    if (window_.End == OperationEnd::Running && !interrupted_) {
        QEventLoop loop;
        quit_ = [&loop] { loop.quit(); };
        loop.exec();
        quit_ = nullptr;
    }
    const OperationEnd end = std::exchange(window_.End, OperationEnd::Running);
    if (interrupted_) {
        return ExitInterrupted;
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

void CliSession::Interrupt() {
    interrupted_ = true;
    // A radio whose blocks are going out is finished first; the batch then
    // stops and the window side's idle face ends the wait.
    if (comm_.DeferStopMulWrite()) {
        return;
    }
    if (comm_.OperationMode == ModeMulWrite && window_.ShowStartMulWrite()) {
        comm_.StopMulWrite();
    } else {
        timer_.Stop();
        comm_.ClosePort();
        comm_.OperationMode = ModeIdle;
    }
    if (quit_) {
        quit_();
    }
}

#include "Processes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <unistd.h>

SimulatedRadio::SimulatedRadio(QStringList arguments) {
    arguments << "--transcript" << TranscriptPath();
    process_.setProgram(RADIO_SIM);
    process_.setArguments(arguments);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(5000)) {
        return;
    }
    while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
    }
    const QString line = QString::fromUtf8(process_.readLine()).trimmed();
    if (line.startsWith("PTY ")) {
        device_ = line.mid(4);
    }
}

SimulatedRadio::~SimulatedRadio() {
    StopAndTranscript();
}

QStringList SimulatedRadio::StopAndTranscript() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    QStringList commands;
    const QString text = QString::fromUtf8(ReadFile(TranscriptPath()));
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        commands << line.section(' ', 1);
    }
    return commands;
}

QProcessEnvironment CliEnvironment() {
    // Every read radioinfo-cli makes is kept: here, not in the user's data folder.
    static const QTemporaryDir dataHome;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dataHome.path());
    return env;
}

CliRun RunCli(const QStringList& arguments, const QString& lang, int timeoutMs,
              const QStringList& extraEnvironment, const QString& outputFile) {
    return RunProgram(RADIOINFO_CLI, arguments, lang, timeoutMs, extraEnvironment, outputFile);
}

CliRun RunProgram(const QString& path, const QStringList& arguments, const QString& lang,
                  int timeoutMs, const QStringList& extraEnvironment, const QString& outputFile) {
    QProcess cli;
    QProcessEnvironment env = CliEnvironment();
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    env.insert("LANG", lang);
    for (const QString& entry : extraEnvironment) {
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    }
    cli.setProcessEnvironment(env);
    if (!outputFile.isEmpty()) {
        cli.setStandardOutputFile(outputFile);
    }
    cli.start(path, arguments);
    CliRun run;
    if (!cli.waitForFinished(timeoutMs)) {
        cli.kill();
        cli.waitForFinished();
        return run;
    }
    run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.out = cli.readAllStandardOutput();
    run.err = QString::fromUtf8(cli.readAllStandardError());
    return run;
}

CliRun RunCliInterrupted(const QStringList& arguments, const QString& waitFor, int occurrence,
                         int interrupts) {
    QProcess cli;
    QProcessEnvironment env = CliEnvironment();
    env.insert("LANG", "C");
    cli.setProcessEnvironment(env);
    cli.start(RADIOINFO_CLI, arguments);
    cli.setReadChannel(QProcess::StandardError);
    CliRun run;
    while (run.err.count(waitFor) < occurrence && cli.waitForReadyRead(5000)) {
        run.err += QString::fromUtf8(cli.readAllStandardError());
    }
    for (int i = 0; i < interrupts; ++i) {
        QThread::msleep(i == 0 ? 0 : 50);
        ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    }
    if (!cli.waitForFinished(20000)) {
        cli.kill();
        cli.waitForFinished();
        return run;
    }
    run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.out = cli.readAllStandardOutput();
    run.err += QString::fromUtf8(cli.readAllStandardError());
    return run;
}

CliProcess::CliProcess(const QStringList& arguments, long fileSizeLimit,
                       const QStringList& extraEnvironment) {
    int pipe[2] = {-1, -1};
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        return;
    }
    QProcessEnvironment env = CliEnvironment();
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    env.insert("LANG", "C");
    for (const QString& entry : extraEnvironment) {
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    }
    process_.setProcessEnvironment(env);
    const int writeEnd = pipe[1];
    process_.setChildProcessModifier([writeEnd, fileSizeLimit] {
        ::dup2(writeEnd, STDERR_FILENO);
        for (const int signal : {SIGPIPE, SIGXFSZ, SIGHUP, SIGINT, SIGTERM}) {
            ::signal(signal, SIG_DFL);
        }
        if (fileSizeLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit),
                               static_cast<rlim_t>(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
    });
    process_.start(RADIOINFO_CLI, arguments);
    ::close(writeEnd);
    errorPipe_ = pipe[0];
}

CliProcess::~CliProcess() {
    CloseError();
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

bool CliProcess::ReadError(int timeoutMs) {
    if (errorPipe_ < 0) {
        return false;
    }
    pollfd ready{errorPipe_, POLLIN, 0};
    if (::poll(&ready, 1, timeoutMs) <= 0) {
        return false;
    }
    char bytes[4096];
    const ssize_t got = ::read(errorPipe_, bytes, sizeof bytes);
    if (got <= 0) {
        return false;
    }
    err += QString::fromUtf8(bytes, got);
    return true;
}

bool CliProcess::WaitForError(const QString& text, int occurrence) {
    QElapsedTimer clock;
    clock.start();
    while (err.count(text) < occurrence && clock.elapsed() < 10000) {
        if (!ReadError(static_cast<int>(10000 - clock.elapsed()))) {
            break;
        }
    }
    return err.count(text) >= occurrence;
}

void CliProcess::CloseError() {
    if (errorPipe_ >= 0) {
        ::close(errorPipe_);
        errorPipe_ = -1;
    }
}

void CliProcess::Signal(int signal) {
    ::kill(static_cast<pid_t>(process_.processId()), signal);
}

int CliProcess::Finish() {
    const bool ended = process_.waitForFinished(20000);
    while (ReadError(0)) {
    }
    if (!ended || process_.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return process_.exitCode();
}

QString WriteImage(const QTemporaryDir& dir, const QString& name, const QByteArray& image) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(image);
    }
    return path;
}

QByteArray DealerRadio(const QByteArray& serialNo) {
    QByteArray m(256, '\0');
    m.replace(0x00, 11, "KVT4610V100");
    m.replace(0x10, 1, "\x03");
    m.replace(0x18, 4, "4321");
    m.replace(0x20, serialNo.size(), serialNo);
    m.replace(0x60, 7, "DEALER7");
    m.replace(0x70, 10, "2026-01-02");
    m.replace(0x90, 5, "Wang ");
    for (int i = 0xF0; i < 0x100; ++i) {
        m[i] = static_cast<char>(0xFF - i);
    }
    return m;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

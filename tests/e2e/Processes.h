#pragma once

#include "doubles/AreaMap.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// radio-sim started on a pseudo-terminal for one test, stopped with it.
class SimulatedRadio {
  public:
    explicit SimulatedRadio(QStringList arguments);
    ~SimulatedRadio();

    // The pty device the simulator announced; empty if it did not start.
    const QString& Device() const { return device_; }
    // Stops the simulator and returns its transcript lines (without the times).
    QStringList StopAndTranscript();
    QString TranscriptPath() const { return dir_.filePath("transcript.txt"); }

  private:
    QTemporaryDir dir_;
    QProcess process_;
    QString device_;
};

// The system's environment for radioinfo-cli, with a data folder of the
// test's own (XDG_DATA_HOME) for the reads it keeps.
QProcessEnvironment CliEnvironment();

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// Runs the program at path to its end (at most timeoutMs) in the given
// language. extraEnvironment holds NAME=value entries; standard output goes
// to outputFile when one is given.
CliRun RunProgram(const QString& path, const QStringList& arguments, const QString& lang = "C",
                  int timeoutMs = 20000, const QStringList& extraEnvironment = {},
                  const QString& outputFile = {});
// The same for radioinfo-cli.
CliRun RunCli(const QStringList& arguments, const QString& lang = "C", int timeoutMs = 20000,
              const QStringList& extraEnvironment = {}, const QString& outputFile = {});

// Runs radioinfo-cli in English and presses Ctrl+C (SIGINT) interrupts times,
// 50 ms apart, once its stderr holds waitFor occurrence times.
CliRun RunCliInterrupted(const QStringList& arguments, const QString& waitFor, int occurrence,
                         int interrupts);

// radioinfo-cli started in English as a shell would leave it exposed: every
// signal at its default (so SIGPIPE or SIGXFSZ would kill it unless it
// ignores them itself), stderr on a pipe the test reads and can close as a
// killed `tee` does, and, with fileSizeLimit, a file size limit in bytes
// (`ulimit -f`).
class CliProcess {
  public:
    CliProcess(const QStringList& arguments, long fileSizeLimit = -1,
               const QStringList& extraEnvironment = {});
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Reads stderr until it holds text occurrence times, for at most 10 s.
    bool WaitForError(const QString& text, int occurrence = 1);
    // The reader of stderr goes away: the tool's next line meets a closed pipe.
    void CloseError();
    void Signal(int signal);
    // Waits for the end (at most 20 s) and reads what stderr still holds: the
    // exit status, -1 when a signal ended the run or it did not end.
    int Finish();

    // What stderr held, as far as it was read.
    QString err;

  private:
    bool ReadError(int timeoutMs);

    QProcess process_;
    int errorPipe_ = -1;
};

// A radio's 256 bytes as a file for --image.
QString WriteImage(const QTemporaryDir& dir, const QString& name, const QByteArray& image);
QByteArray ReadFile(const QString& path);

// A radio written out byte by byte: KVT4610 V100, band 0, Factory and Freq.
// Set on, the serial number given, a password, dealer code, stock date and
// seller (with a trailing blank), and bytes past the fields read shows.
QByteArray DealerRadio(const QByteArray& serialNo = "SN-A1");

// The commands of a Read and of a Write, as radio-sim's transcript names them.
inline const QStringList ReadCommands = [] {
    QStringList commands{"PROGRAM"};
    for (int block = 0x3B00; block <= 0x3BF0; block += 0x10) {
        commands << QString("R %1").arg(block, 4, 16).toUpper();
    }
    return commands << "END";
}();

// A Write sends the blocks of the tests' map of the area.
inline const QStringList WriteCommands = [] {
    QStringList commands{"PROGRAM", "R 3B00", "R 3B10", "R 3BF0"};
    for (const std::size_t block : area::WrittenBlocks()) {
        commands << QString("W %1").arg(0x3B00 + static_cast<int>(block), 4, 16).toUpper();
    }
    return commands << "END";
}();
// A batch's radio without --backup or --log: a Write that reads the serial
// number's block too.
inline const QStringList BatchCommands = [] {
    QStringList commands = WriteCommands;
    commands.insert(3, "R 3B20");
    return commands;
}();

// radio-sim names its faults by command number, counted from 1 over its whole
// run. The number of a command in a Read, in a Write, and in radioinfo-cli's
// write (a whole Read first): InRead("R 3B00") is 2, InCliWrite("W 3B60") 25.
inline QString InRead(const QString& command) {
    return QString::number(ReadCommands.indexOf(command) + 1);
}
inline QString InWrite(const QString& command) {
    return QString::number(WriteCommands.indexOf(command) + 1);
}
inline QString InCliWrite(const QString& command) {
    return QString::number(ReadCommands.size() + WriteCommands.indexOf(command) + 1);
}

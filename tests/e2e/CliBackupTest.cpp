// Backups, restore, the batch log and the wire trace of radioinfo-cli against
// radio-sim: what ends up in the radio and in the files.
#include "Processes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <sys/types.h>

namespace {
// A radio written out byte by byte: KVT4610 V100, band 0, serial SN-A1,
// dealer settings set, and bytes beyond the fields the tool reads.
QByteArray Radio(const QByteArray& serialNo = "SN-A1") {
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

bool AnyWrite(const QStringList& commands) {
    return std::any_of(commands.begin(), commands.end(),
                       [](const QString& c) { return c.startsWith("W "); });
}

class CliBackup : public testing::Test {
  protected:
    QTemporaryDir dir;
    QString image = WriteImage(dir, "radio.bin", Radio());
    QString memory = dir.filePath("memory.bin"); // the radio after each END

    QStringList Sim(QStringList extra = {}) const {
        return QStringList{"--image", image, "--save", memory} + extra;
    }
};
} // namespace

TEST_F(CliBackup, BackupWrongWriteAndRestoreGiveBackTheOriginalBytes) {
    SimulatedRadio radio(Sim());
    const QString backups = dir.filePath("backups/today");
    const CliRun wrong =
        RunCli({"--port", radio.Device(), "write", "--backup", backups, "--dealer-code", "WRONG",
                "--password", "0000", "--band", "1", "--stun", "1", "--freq-set", "0"});
    ASSERT_EQ(wrong.exitCode, 0) << wrong.err.toStdString();
    const QStringList saved = QDir(backups).entryList(QDir::Files);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_TRUE(QRegularExpression("^SN-A1-\\d{8}T\\d{6}Z\\.bin$").match(saved[0]).hasMatch())
        << saved[0].toStdString();
    EXPECT_EQ(ReadFile(QDir(backups).filePath(saved[0])).toHex(' '), Radio().toHex(' '));
    ASSERT_NE(ReadFile(memory), Radio());

    const CliRun restore =
        RunCli({"--port", radio.Device(), "restore", QDir(backups).filePath(saved[0])});
    ASSERT_EQ(restore.exitCode, 0) << restore.err.toStdString();
    EXPECT_TRUE(restore.err.contains("restored and read back")) << restore.err.toStdString();
    EXPECT_EQ(ReadFile(memory).toHex(' '), Radio().toHex(' '));
    EXPECT_EQ(radio.StopAndTranscript(),
              ReadCommands + WriteCommands + ReadCommands + WriteCommands + ReadCommands);
}

TEST_F(CliBackup, RestoreRefusesAnotherRadiosFileUnlessForced) {
    struct Case {
        QByteArray file;
        QStringList extra;
        int exitCode;
        QString message;
        bool writes;
    };
    QByteArray otherRadio = Radio("SN-B2");
    otherRadio.replace(0x60, 7, "DEALER8");
    const Case cases[] = {
        {otherRadio, {}, 8, "the file is of serial number SN-B2, the radio is SN-A1", false},
        {otherRadio, {"--force"}, 0, "restored and read back", true},
        {otherRadio.left(255), {}, 10, "is not a saved information area (256 bytes)", false},
        {otherRadio + "x", {}, 10, "is not a saved information area (256 bytes)", false},
    };
    for (const Case& c : cases) {
        QFile::remove(memory);
        SimulatedRadio radio(Sim());
        const QString file = WriteImage(dir, "other.bin", c.file);
        const CliRun run = RunCli(QStringList{"--port", radio.Device(), "restore", file} + c.extra);
        const std::string name = c.message.toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(AnyWrite(radio.StopAndTranscript()), c.writes) << name;
        EXPECT_EQ(ReadFile(memory).mid(0x60, 7) == "DEALER8", c.writes) << name;
    }
    const CliRun missing = RunCli({"--port", "/dev/null", "restore", dir.filePath("none.bin")});
    EXPECT_EQ(missing.exitCode, 10);
    EXPECT_TRUE(missing.err.contains("cannot read")) << missing.err.toStdString();
}

// Bytes the dealer fields cannot carry (a GBK lead byte without its second
// byte) go to the radio as the window would write them; the read-back shows
// the radio does not hold the file's text, and the run says so.
TEST_F(CliBackup, RestoreTheRadioDoesNotReadBackIsAnError) {
    QByteArray file = Radio();
    file.replace(0x60, 7, QByteArray("D\x81\x20X\0\0\0", 7));
    const QString path = WriteImage(dir, "file.bin", file);
    SimulatedRadio radio(Sim());
    const CliRun run = RunCli({"--port", radio.Device(), "restore", path});
    EXPECT_EQ(run.exitCode, 9) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("the radio does not hold what was restored: DealerCode"))
        << run.err.toStdString();
}

TEST_F(CliBackup, SaveAndBackupFailuresHaveTheirOwnStatus) {
    QFile blocker(dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    struct Case {
        QStringList arguments;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{"read", "--save", dir.filePath("read.bin")}, 0, "Read Complete!"},
        {{"read", "--save", dir.filePath("not-a-folder/read.bin")}, 6, "cannot save"},
        {{"write", "--seller", "X", "--backup", dir.filePath("not-a-folder")},
         7,
         "nothing was written to this radio"},
    };
    for (const Case& c : cases) {
        SimulatedRadio radio(Sim());
        const CliRun run = RunCli(QStringList{"--port", radio.Device()} + c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << name << "\n" << run.err.toStdString();
        EXPECT_EQ(radio.StopAndTranscript(), ReadCommands) << name << ": read, nothing written";
    }
    EXPECT_EQ(ReadFile(dir.filePath("read.bin")).toHex(' '), Radio().toHex(' '));
    EXPECT_EQ(ReadFile(memory).toHex(' '), Radio().toHex(' '));
}

TEST_F(CliBackup, TraceShowsEveryFrameOfARead) {
    SimulatedRadio radio(Sim());
    const CliRun run = RunCli({"--port", radio.Device(), "--trace", "read"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QRegularExpression frame(
        "^\\d+ ms (->|<-) (\\S+(?: [0-9A-F]{4})?) ((?:[0-9A-F]{2} ?)+)$");
    QStringList sent, received;
    QString programAnswer;
    for (const QString& line : run.err.split('\n')) {
        const QRegularExpressionMatch m = frame.match(line);
        if (m.hasMatch()) {
            (m.captured(1) == "->" ? sent : received) << m.captured(2);
            if (m.captured(1) == "<-" && m.captured(2) == "PROGRAM") {
                programAnswer = m.captured(3);
            }
        }
    }
    EXPECT_EQ(sent, ReadCommands) << run.err.toStdString();
    EXPECT_EQ(received, ReadCommands) << "each answer begins with its echo";
    EXPECT_EQ(programAnswer, "50 52 4F 47 52 41 4D 48 56 06");
    EXPECT_TRUE(run.err.contains(" ms <- R 3BF0 52 3B F0 10 57 3B F0 10 0F 0E 0D"))
        << run.err.toStdString();
}

// Each row is in the file as soon as its radio is done: a Ctrl+C while the
// batch waits for the next radio loses none.
TEST_F(CliBackup, BatchLogKeepsItsRowsThroughCtrlC) {
    const QString log = dir.filePath("batch.csv");
    SimulatedRadio bench({"--bench", "60,1", "--radios", "2", "--image", image});
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", "C");
    cli.setProcessEnvironment(env);
    cli.start(RADIOINFO_CLI_PATH,
              {"--port", bench.Device(), "batch", "--count", "2", "--log", log, "--seller", "Li"});
    cli.setReadChannel(QProcess::StandardError);
    QString err;
    while (!err.contains("Waitting next...") && cli.waitForReadyRead(5000)) {
        err += QString::fromUtf8(cli.readAllStandardError());
    }
    ASSERT_TRUE(err.contains("Waitting next...")) << err.toStdString();
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(5000));
    EXPECT_EQ(cli.exitCode(), 130);
    const QStringList rows = QString::fromUtf8(ReadFile(log)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2) << ReadFile(log).toStdString();
    EXPECT_EQ(rows[0], "time_utc,serial_no,model,result,backup");
    EXPECT_TRUE(
        QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ,SN-A1,KVT4610,written,$")
            .match(rows[1])
            .hasMatch())
        << rows[1].toStdString();
}

// A batch with --backup reads every block of each radio and saves it before
// the first W; a backup that cannot be saved ends the batch with END and no W.
TEST_F(CliBackup, BatchBacksUpEachRadioBeforeWritingIt) {
    QFile blocker(dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QStringList images{WriteImage(dir, "a.bin", Radio("SN-A1")),
                             WriteImage(dir, "b.bin", Radio("SN/B2"))};
    struct Case {
        QStringList options;
        int exitCode;
        int blocksRead; // R 3B20 commands: radios read in full
        int written;    // radios that got W 3B60
        QStringList logResults;
    };
    const QString backups = dir.filePath("backups");
    const Case cases[] = {
        {{}, 0, 0, 2, {}},
        {{"--backup", backups}, 0, 2, 2, {"written", "written"}},
        {{"--backup", dir.filePath("not-a-folder")}, 7, 1, 0, {"backup failed"}},
    };
    for (const Case& c : cases) {
        const QString log = dir.filePath("log.csv");
        QFile::remove(log);
        SimulatedRadio bench({"--bench", "0.3,1.2", "--radios", "2", "--bench-images",
                              images.join(','), "--save", memory});
        const QStringList options =
            c.logResults.isEmpty() ? c.options : c.options + QStringList{"--log", log};
        const CliRun run = RunCli(
            QStringList{"--port", bench.Device(), "batch", "--count", "2", "--seller", "Li"} +
            options);
        const std::string name = options.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        const QStringList commands = bench.StopAndTranscript();
        EXPECT_EQ(commands.count("R 3B20"), c.blocksRead) << name;
        EXPECT_EQ(commands.count("W 3B60"), c.written) << name;
        EXPECT_EQ(commands.last(), "END") << name;
        const QStringList rows = QString::fromUtf8(ReadFile(log)).split('\n', Qt::SkipEmptyParts);
        for (int i = 0; i < c.logResults.size(); ++i) {
            ASSERT_GT(rows.size(), i + 1) << name;
            EXPECT_TRUE(rows[i + 1].contains("," + c.logResults[i])) << rows[i + 1].toStdString();
        }
    }
    const QStringList saved = QDir(backups).entryList(QDir::Files);
    ASSERT_EQ(saved.size(), 2);
    EXPECT_TRUE(saved[0].startsWith("SN-A1-") && saved[1].startsWith("SN_B2-"))
        << saved.join(' ').toStdString();
    EXPECT_EQ(ReadFile(QDir(backups).filePath(saved[0])), Radio("SN-A1"));
    EXPECT_EQ(ReadFile(QDir(backups).filePath(saved[1])), Radio("SN/B2"));
}

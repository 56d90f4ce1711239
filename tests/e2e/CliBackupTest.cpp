// Backups, restore, the batch log and the wire trace of radioinfo-cli against
// radio-sim: what ends up in the radio and in the files.
#include "Processes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/mount.h>
#include <sys/types.h>
#include <unistd.h>

namespace {
bool AnyWrite(const QStringList& commands) {
    return std::any_of(commands.begin(), commands.end(),
                       [](const QString& c) { return c.startsWith("W "); });
}

class CliBackup : public testing::Test {
  protected:
    QTemporaryDir dir;
    QString image = WriteImage(dir, "radio.bin", DealerRadio());
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
    EXPECT_EQ(ReadFile(QDir(backups).filePath(saved[0])).toHex(' '), DealerRadio().toHex(' '));
    ASSERT_NE(ReadFile(memory), DealerRadio());

    const QByteArray wronglyWritten = ReadFile(memory);
    const QString kept = dir.filePath("kept");
    const CliRun restore = RunCli(
        {"--port", radio.Device(), "restore", QDir(backups).filePath(saved[0]), "--backup", kept});
    ASSERT_EQ(restore.exitCode, 0) << restore.err.toStdString();
    EXPECT_TRUE(restore.err.contains("restored and read back")) << restore.err.toStdString();
    EXPECT_EQ(ReadFile(memory).toHex(' '), DealerRadio().toHex(' '));
    const QStringList keptFiles = QDir(kept).entryList(QDir::Files);
    ASSERT_EQ(keptFiles.size(), 1) << "the radio as it was before the restore";
    EXPECT_EQ(ReadFile(QDir(kept).filePath(keptFiles[0])).toHex(' '), wronglyWritten.toHex(' '));
    EXPECT_EQ(radio.StopAndTranscript(),
              ReadCommands + WriteCommands + ReadCommands + WriteCommands + ReadCommands);
}

// A file that is no KVT4610 area is refused even with --force; one of another
// radio, or whose serial number proves nothing, only takes --force.
TEST_F(CliBackup, RestoreRefusesAnotherRadiosFileUnlessForced) {
    struct Case {
        QByteArray radio;
        QByteArray file;
        QStringList extra;
        int exitCode;
        QString message;
        bool writes;
    };
    const auto withDealer8 = [](QByteArray area) { return area.replace(0x60, 7, "DEALER8"); };
    const QByteArray otherRadio = withDealer8(DealerRadio("SN-B2"));
    QByteArray garbage(256, '\0');
    std::mt19937 random(21);
    std::generate(garbage.begin(), garbage.end(), [&] { return static_cast<char>(random()); });
    QByteArray otherModel = withDealer8(DealerRadio());
    otherModel.replace(0, 11, "XYZ9999V999");
    const QByteArray erased = DealerRadio(QByteArray(16, '\xFF'));
    const QByteArray empty = DealerRadio(QByteArray(16, '\0'));
    const Case cases[] = {
        {DealerRadio(),
         otherRadio,
         {},
         8,
         "the file is of serial number SN-B2, the radio is SN-A1",
         false},
        {DealerRadio(), otherRadio, {"--force"}, 0, "restored and read back", true},
        {DealerRadio(),
         otherRadio.left(255),
         {},
         10,
         "is not a saved information area (256 bytes)",
         false},
        {DealerRadio(),
         otherRadio + "x",
         {},
         10,
         "is not a saved information area (256 bytes)",
         false},
        {DealerRadio(),
         garbage,
         {"--force"},
         10,
         "is not the information area of a KVT4610",
         false},
        {DealerRadio(), otherModel, {}, 10, "(it holds XYZ9999 V999)", false},
        {DealerRadio(), otherModel, {"--force"}, 10, "not even with --force", false},
        {erased, withDealer8(erased), {}, 8, "proves nothing (file: \"\", radio: \"\")", false},
        {erased, withDealer8(erased), {"--force"}, 0, "restored and read back", true},
        {empty, withDealer8(empty), {}, 8, "proves nothing", false},
        {DealerRadio(),
         withDealer8(empty),
         {},
         8,
         "proves nothing (file: \"\", radio: \"SN-A1\")",
         false},
    };
    for (const Case& c : cases) {
        QFile::remove(memory);
        const QString radioImage = WriteImage(dir, "radio.bin", c.radio);
        SimulatedRadio radio({"--image", radioImage, "--save", memory});
        const QString file = WriteImage(dir, "other.bin", c.file);
        const CliRun run = RunCli(QStringList{"--port", radio.Device(), "restore", file} + c.extra);
        const std::string name = c.message.toStdString() + " " + c.extra.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(AnyWrite(radio.StopAndTranscript()), c.writes) << name;
        EXPECT_EQ(ReadFile(memory).mid(0x60, 7) == "DEALER8", c.writes) << name;
    }
    const CliRun missing = RunCli({"--port", "/dev/null", "restore", dir.filePath("none.bin")});
    EXPECT_EQ(missing.exitCode, 10);
    EXPECT_TRUE(missing.err.contains("cannot read")) << missing.err.toStdString();
}

// The file's dealer bytes go to the radio as they are, whatever a text round
// trip would make of them; every other bit stays the radio's.
TEST_F(CliBackup, RestoreWritesTheFilesDealerBytesExactly) {
    QByteArray file = DealerRadio();
    file[0x0F] = 5;                       // a band the Frequency list has no entry for
    file[0x10] = static_cast<char>(0xF4); // Stun; the radio's own bits differ
    file.replace(0x18, 4, "AB  ");
    file.replace(0x60, 16, QByteArray("D\x81\x20X\0\x01\x02\x03\0\0\0\0\0\0\0\x7F", 16));
    file.replace(0x70, 16, QByteArray(16, '\xFF'));
    file.replace(0x90, 16, QByteArray("\xD5\xC5\xC8\xFD  \xFF\0\0\0\0\0\0\0\0\x41", 16));
    file.replace(0xA0, 16, QByteArray(16, 'Z')); // no dealer field: stays the radio's
    // The dealer's bits by the tests' map of the area; the rest is the radio's.
    QByteArray mask(256, '\0');
    for (const area::Field& f : area::Fields) {
        const auto width = static_cast<qsizetype>(f.Width);
        const char bits =
            static_cast<char>(f.Type == area::Kind::Flags ? area::DealerFlagBits : 0xFF);
        if (f.Written) {
            mask.replace(static_cast<qsizetype>(f.Offset), width, QByteArray(width, bits));
        }
    }
    QByteArray expected = DealerRadio();
    for (int i = 0; i < 256; ++i) {
        expected[i] = static_cast<char>((file[i] & mask[i]) | (DealerRadio()[i] & ~mask[i]));
    }
    SimulatedRadio radio(Sim());
    const CliRun run =
        RunCli({"--port", radio.Device(), "restore", WriteImage(dir, "f.bin", file)});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("restored and read back")) << run.err.toStdString();
    EXPECT_EQ(ReadFile(memory).toHex(' '), expected.toHex(' '));
}

// A radio swapped while it was restored: the read-back meets a radio that
// does not hold the file's settings, and the run names them.
TEST_F(CliBackup, RestoreTheRadioDoesNotReadBackIsAnError) {
    QByteArray file = DealerRadio();
    file.replace(0x60, 7, "DEALER8");
    file[0x10] = static_cast<char>(file[0x10] | 0x04);
    // Each acknowledged END brings the next radio: the Read, the Write and the
    // read-back each meet another one, all three as the radio was.
    SimulatedRadio bench(
        {"--bench", "0,0", "--radios", "3", "--bench-images", QStringList(3, image).join(',')});
    const QString data = dir.filePath("data");
    const CliRun run =
        RunCli({"--port", bench.Device(), "restore", WriteImage(dir, "file.bin", file)}, "C", 20000,
               {"XDG_DATA_HOME=" + data});
    EXPECT_EQ(run.exitCode, 9) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("the radio does not hold what was restored: Stun, DealerCode"))
        << run.err.toStdString();
    // The radio as found is kept; the read-back that failed the check is not,
    // or a retry of restore --latest would take it for done.
    const QStringList kept = QDir(data + "/radioinfo/reads").entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1) << kept.join(' ').toStdString();
    EXPECT_TRUE(kept[0].endsWith("-before-restore.bin")) << kept[0].toStdString();
}

TEST_F(CliBackup, SaveAndBackupFailuresHaveTheirOwnStatus) {
    QFile blocker(dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    struct Case {
        QStringList arguments;
        int exitCode;
        QString message;
        QStringList environment = {};
    };
    const Case cases[] = {
        {{"read", "--save", dir.filePath("read.bin")}, 0, "Read Complete!"},
        {{"read"},
         0,
         "cannot keep a copy of this read in " + dir.filePath("not-a-folder/radioinfo/reads") +
             ": Not a directory (the run goes on)",
         {"XDG_DATA_HOME=" + dir.filePath("not-a-folder")}},
        {{"read", "--save", dir.filePath("not-a-folder/read.bin")}, 6, "cannot save"},
        {{"write", "--seller", "X", "--backup", dir.filePath("not-a-folder")},
         7,
         "nothing was written to this radio"},
        {{"restore", image, "--backup", dir.filePath("not-a-folder")},
         7,
         "nothing was written to this radio"},
    };
    for (const Case& c : cases) {
        SimulatedRadio radio(Sim());
        const CliRun run =
            RunCli(QStringList{"--port", radio.Device()} + c.arguments, "C", 20000, c.environment);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << name << "\n" << run.err.toStdString();
        EXPECT_EQ(radio.StopAndTranscript(), ReadCommands) << name << ": read, nothing written";
    }
    EXPECT_EQ(ReadFile(dir.filePath("read.bin")).toHex(' '), DealerRadio().toHex(' '));
    EXPECT_EQ(ReadFile(memory).toHex(' '), DealerRadio().toHex(' '));
}

// The command line keeps every radio it reads in full, as the window does;
// restore --list shows the attached radio's copies and writes nothing, not
// even a copy of its own read.
TEST_F(CliBackup, RestoreListShowsTheRadiosKeptReadsNewestFirst) {
    const QString data = dir.filePath("data");
    const QDir reads(data + "/radioinfo/reads");
    const QStringList env{"XDG_DATA_HOME=" + data};
    SimulatedRadio radio(Sim());
    const auto run = [&](const QStringList& arguments) {
        return RunCli(QStringList{"--port", radio.Device()} + arguments, "C", 20000, env);
    };
    const CliRun none = run({"restore", "--list"});
    EXPECT_EQ(none.exitCode, 10);
    EXPECT_TRUE(none.err.contains("no kept read of the radio SN-A1 in " + reads.path()))
        << none.err.toStdString();
    QStringList kept; // newest last, as each run adds its own file
    for (const QStringList& keeping : {QStringList{"read"}, {"write", "--seller", "Li"}}) {
        const QStringList before = reads.entryList(QDir::Files);
        ASSERT_EQ(run(keeping).exitCode, 0);
        for (const QString& name : reads.entryList(QDir::Files)) {
            if (!before.contains(name)) {
                kept << name;
            }
        }
    }
    ASSERT_EQ(kept.size(), 2);
    const QStringList folder = reads.entryList(QDir::Files);
    const CliRun list = run({"restore", "--list"});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QStringList lines = QString::fromUtf8(list.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << list.out.toStdString();
    for (int i = 0; i < 2; ++i) {
        const QString path = reads.filePath(kept[1 - i]);
        EXPECT_TRUE(QRegularExpression("^" + QRegularExpression::escape(path) +
                                       "\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\S+$")
                        .match(lines[i])
                        .hasMatch())
            << lines[i].toStdString();
        EXPECT_EQ(ReadFile(path).toHex(' '), DealerRadio().toHex(' '))
            << "as read, before the write";
    }
    EXPECT_EQ(reads.entryList(QDir::Files), folder) << "the list keeps no copy";
    EXPECT_EQ(radio.StopAndTranscript(),
              ReadCommands + ReadCommands + ReadCommands + WriteCommands + ReadCommands);
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

// The trace opens with the port, as the communication error names it: the
// device given, or the COM number and its device.
TEST_F(CliBackup, TraceBeginsWithThePortItOpens) {
    SimulatedRadio radio(Sim());
    QTemporaryDir config;
    ASSERT_TRUE(QDir().mkpath(config.filePath("radioinfo/ports")));
    ASSERT_TRUE(QFile::link(radio.Device(), config.filePath("radioinfo/ports/com42")));
    const struct {
        QString port;
        QString opened; // a pattern; its group is the device
    } cases[] = {
        {radio.Device(), "^\\d+ ms open (" + QRegularExpression::escape(radio.Device()) + ")$"},
        {"COM42", "^\\d+ ms open COM42 \\((.+)\\)$"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli({"--port", c.port, "--trace", "read"}, "C", 20000,
                                  {"XDG_CONFIG_HOME=" + config.path()});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QRegularExpressionMatch opened =
            QRegularExpression(c.opened).match(run.err.section('\n', 0, 0));
        ASSERT_TRUE(opened.hasMatch()) << run.err.toStdString();
        EXPECT_EQ(QFileInfo(opened.captured(1)).canonicalFilePath(),
                  QFileInfo(radio.Device()).canonicalFilePath());
    }
}

// Each row is in the file as soon as its radio is done: a Ctrl+C while the
// batch waits for the next radio loses none.
TEST_F(CliBackup, BatchLogKeepsItsRowsThroughCtrlC) {
    const QString log = dir.filePath("batch.csv");
    SimulatedRadio bench({"--bench", "60,1", "--radios", "2", "--image", image});
    QProcess cli;
    QProcessEnvironment env = CliEnvironment();
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
    const QStringList images{WriteImage(dir, "a.bin", DealerRadio("SN-A1")),
                             WriteImage(dir, "b.bin", DealerRadio("SN/B2"))};
    struct Case {
        QStringList options;
        int exitCode;
        int blocksRead; // R 3B30 commands: radios read in full
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
        EXPECT_EQ(commands.count("R 3B30"), c.blocksRead) << name;
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
    EXPECT_EQ(ReadFile(QDir(backups).filePath(saved[0])), DealerRadio("SN-A1"));
    EXPECT_EQ(ReadFile(QDir(backups).filePath(saved[1])), DealerRadio("SN/B2"));
}

// Each row names its own radio: its serial number as read from it, or an
// empty cell when none was, never the radio's before it. A serial number a
// spreadsheet would take for a formula gets a leading '.
TEST_F(CliBackup, BatchLogNamesEachRadioItself) {
    QByteArray otherModel = DealerRadio("SN-B2");
    otherModel.replace(0, 11, "XYZ9999V999");
    struct Case {
        QByteArray second;   // the second radio on the bench
        QString interruptAt; // Ctrl+C once this command went to the second radio
        int exitCode;
        QString secondRow; // after its time
    };
    const Case cases[] = {
        {otherModel,
         {},
         5,
         ",,XYZ9999,Model Type or Version Error! Radio Model:XYZ9999 Radio Version:V999,"},
        {DealerRadio("SN-B2"), "-> R 3B10", 130, ",,KVT4610,stopped by Ctrl+C before writing,"},
        {DealerRadio("SN-B2"), "-> R 3B40", 130,
         ",SN-B2,KVT4610,stopped by Ctrl+C before writing,"},
    };
    for (const Case& c : cases) {
        const QString log = dir.filePath("log.csv");
        QFile::remove(log);
        const QStringList images{WriteImage(dir, "a.bin", DealerRadio("=1+2")),
                                 WriteImage(dir, "b.bin", c.second)};
        SimulatedRadio bench({"--bench", "0.3,1.2", "--radios", "2", "--latency", "100",
                              "--bench-images", images.join(',')});
        const QStringList arguments{"--port", bench.Device(), "--trace", "batch",    "--count",
                                    "2",      "--log",        log,       "--seller", "Li"};
        const CliRun run = c.interruptAt.isEmpty()
                               ? RunCli(arguments)
                               : RunCliInterrupted(arguments, c.interruptAt, 2, 1);
        const std::string name = c.secondRow.toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        const QStringList rows = QString::fromUtf8(ReadFile(log)).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(rows.size(), 3) << name << "\n" << ReadFile(log).toStdString();
        const QString time = "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ";
        EXPECT_TRUE(
            QRegularExpression(time + ",'=1\\+2,KVT4610,written,$").match(rows[1]).hasMatch())
            << rows[1].toStdString();
        EXPECT_TRUE(QRegularExpression(time + QRegularExpression::escape(c.secondRow) + "$")
                        .match(rows[2])
                        .hasMatch())
            << rows[2].toStdString();
    }
}

// One row on a real disk that is full: a small tmpfs, filled up. Mounting
// needs root (or the right to mount); elsewhere the row is skipped.
TEST_F(CliBackup, AFullDiskIsReportedAndNothingIsClaimed) {
    const QString disk = dir.filePath("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    }
    struct Unmount {
        QString path;
        ~Unmount() { ::umount2(QFile::encodeName(path).constData(), MNT_DETACH); }
    } unmount{disk};
    // What the service centre had before the disk filled up: a saved radio,
    // and a log whose last page has room for 20 bytes of the next row only.
    const QByteArray saved(256, 'S');
    QByteArray log = "time_utc,serial_no,model,result,backup\n";
    QByteArray row = "2026-12-01T00:00:00Z,";
    log += row + QByteArray(4096 - 20 - log.size() - row.size() - 1, 'x') + "\n";
    ASSERT_EQ(log.size(), 4096 - 20);
    for (const auto& [name, bytes] : {std::pair{"/radio.bin", saved}, {"/batch.csv", log}}) {
        QFile file(disk + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const int filler =
        ::open(QFile::encodeName(disk + "/filler").constData(), O_WRONLY | O_CREAT, 0600);
    const QByteArray page(4096, 'f');
    while (::write(filler, page.constData(), static_cast<std::size_t>(page.size())) > 0) {
    }
    ::close(filler);

    struct Case {
        QStringList arguments;
        int exitCode;
        QString message;
        int written; // radios that got their blocks
    };
    const Case cases[] = {
        {{"read", "--save", disk + "/radio.bin"},
         6,
         "cannot save " + disk + "/radio.bin: No space left on device",
         0},
        {{"write", "--seller", "X", "--backup", disk + "/backups"},
         7,
         ": No space left on device; nothing was written to this radio",
         0},
        {{"batch", "--count", "2", "--seller", "X", "--log", disk + "/batch.csv"},
         6,
         "cannot write the log " + disk + "/batch.csv: No space left on device",
         1},
    };
    for (const Case& c : cases) {
        SimulatedRadio bench({"--bench", "60,1", "--radios", "2", "--image", image});
        const CliRun run = RunCli(QStringList{"--port", bench.Device()} + c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << name << "\n" << run.err.toStdString();
        const QString after = run.err.mid(run.err.indexOf(c.message));
        for (const char* text : {"Radio No.", "Waitting", "QIODevice", "QSerialPort"}) {
            EXPECT_FALSE(after.contains(text)) << name << ": stops at once\n"
                                               << run.err.toStdString();
        }
        EXPECT_EQ(bench.StopAndTranscript().count("W 3B60"), c.written) << name;
    }
    EXPECT_EQ(ReadFile(disk + "/radio.bin"), saved) << "the old file intact";
    EXPECT_EQ(ReadFile(disk + "/batch.csv"), log) << "no half row";
    QStringList left = QDir(disk).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, (QStringList{"batch.csv", "filler", "radio.bin"})) << "no temporary left";
    EXPECT_TRUE(QDir(disk + "/backups").entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// A file is saved under the name the user's bytes give, or not at all; a
// radio whose serial number proves nothing has no kept read, --force or not.
TEST_F(CliBackup, NothingIsTakenForWhatItCannotBeToldFrom) {
    {
        SimulatedRadio radio(Sim());
        QProcess cli;
        cli.setProcessEnvironment(CliEnvironment());
        cli.start("/bin/sh", {"-c", R"(exec "$0" --port "$1" read --save "$2$(printf '\377').bin")",
                              RADIOINFO_CLI_PATH, radio.Device(), dir.filePath("radio")});
        ASSERT_TRUE(cli.waitForFinished(20000));
        EXPECT_EQ(cli.exitCode(), 2);
        EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError())
                        .contains("--save: the file name \"" + dir.filePath("radio")));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"radio.bin"});
        EXPECT_EQ(radio.StopAndTranscript(), QStringList()) << "not even read";
    }
    const QString data = dir.filePath("data");
    for (const QByteArray& serial : {QByteArray(16, '\xFF'), QByteArray("    "), QByteArray()}) {
        image = WriteImage(dir, "erased.bin", DealerRadio(serial));
        SimulatedRadio radio(Sim());
        const auto run = [&](const QStringList& arguments) {
            return RunCli(QStringList{"--port", radio.Device()} + arguments, "C", 20000,
                          {"XDG_DATA_HOME=" + data});
        };
        ASSERT_EQ(run({"write", "--seller", "WRONG"}).exitCode, 0) << "kept, then written";
        for (const QStringList& restore :
             {QStringList{"restore", "--latest", "--force"}, QStringList{"restore", "--list"}}) {
            const CliRun refused = run(restore);
            EXPECT_EQ(refused.exitCode, 8) << serial.toHex().toStdString();
            EXPECT_TRUE(refused.err.contains("no kept read can be proven to be this radio's"))
                << refused.err.toStdString();
        }
        EXPECT_EQ(radio.StopAndTranscript(),
                  ReadCommands + WriteCommands + ReadCommands + ReadCommands);
    }
}

// A file size limit (`ulimit -f`) is a failed save like a full disk, not the
// end of the run by SIGXFSZ: the file is not claimed, the log keeps no half
// row, and a radio whose blocks went out got every one of them and END.
TEST_F(CliBackup, AFileSizeLimitFailsTheSaveAndEndsNoRadioHalfWritten) {
    constexpr long Limit = 200; // room for the port's lock file, not for 256 bytes
    const QByteArray saved(256, 'S');
    QByteArray log = "time_utc,serial_no,model,result,backup\n";
    log += QByteArray(Limit - 20 - log.size() - 1, 'x') + "\n"; // room for 20 bytes
    for (const auto& [name, bytes] : {std::pair{"/old.bin", saved}, {"/batch.csv", log}}) {
        QFile file(dir.path() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const QStringList written = WriteCommands.filter(QRegularExpression("^(W |END)"));
    const struct {
        QStringList arguments;
        int exitCode;
        QString message;
        QStringList writes; // the W and END the radio received
    } cases[] = {
        {{"read", "--save", dir.filePath("old.bin")},
         6,
         "cannot save " + dir.filePath("old.bin") + ": File too large",
         {"END"}},
        {{"write", "--seller", "X", "--backup", dir.filePath("backups")},
         7,
         ": File too large; nothing was written to this radio",
         {"END"}},
        {{"batch", "--count", "2", "--seller", "X", "--log", dir.filePath("batch.csv")},
         6,
         "cannot write the log " + dir.filePath("batch.csv") + ": File too large",
         written},
    };
    for (const auto& c : cases) {
        const std::string name = c.arguments.join(' ').toStdString();
        SimulatedRadio bench({"--bench", "60,1", "--radios", "2", "--image", image});
        CliProcess cli(QStringList{"--port", bench.Device()} + c.arguments, Limit);
        EXPECT_EQ(cli.Finish(), c.exitCode) << name << "\n" << cli.err.toStdString();
        EXPECT_TRUE(cli.err.contains(c.message)) << name << "\n" << cli.err.toStdString();
        EXPECT_EQ(bench.StopAndTranscript().filter(QRegularExpression("^(W |END)")), c.writes)
            << name;
    }
    EXPECT_EQ(ReadFile(dir.filePath("old.bin")), saved) << "the old file intact";
    EXPECT_EQ(ReadFile(dir.filePath("batch.csv")), log) << "no half row";
    EXPECT_EQ(QDir(dir.path()).entryList({".*.tmp"}, QDir::Files | QDir::Hidden), QStringList())
        << "no temporary left";
    EXPECT_TRUE(QDir(dir.filePath("backups")).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

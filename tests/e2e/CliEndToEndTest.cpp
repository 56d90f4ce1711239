// radioinfo-cli against radio-sim on a pseudo-terminal: the bytes in the
// radio afterwards, the commands it received, exit statuses and messages.
#include "Processes.h"
#include "Version.h"
#include "doubles/AreaMap.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <map>
#include <optional>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace {
const QByteArray DealerGbk("\xBE\xAD\xCF\xFA\xC9\xCC"
                           "A");                // 经销商A
const QByteArray SellerGbk("\xD5\xC5\xC8\xFD"); // 张三

void Put(QByteArray& memory, int offset, const QByteArray& bytes) {
    memory.replace(offset, bytes.size(), bytes);
}

// A radio written out byte by byte, with bytes the tool does not interpret.
QByteArray SampleRadio() {
    QByteArray m(256, '\0');
    Put(m, 0x00, "KVT4610V110");
    Put(m, 0x0B, QByteArray("\x01\x00\x01\x10\x00\xF1\x11\x12\x13", 9));
    Put(m, 0x14, "ABCD98760042");
    Put(m, 0x20, "SN20260001234567");
    Put(m, 0x30, "2026-11-30");
    Put(m, 0x40, "11-1-E-1\x48\x49\x4A\x4B\x4C\x4D\x4E\x4F");
    Put(m, 0x50, "2026-12-01");
    Put(m, 0x60, "OLD DEALER");
    Put(m, 0x70, "2026-10-10");
    Put(m, 0x80, "2026-11-11");
    Put(m, 0x90, SellerGbk);
    Put(m, 0xA0, "Replaced the antenna");
    for (int i = 0xF0; i < 0x100; ++i) {
        m[i] = static_cast<char>(i);
    }
    return m;
}

QByteArray Field(const QByteArray& bytes, int width) {
    QByteArray field = bytes;
    field.resize(width, '\0');
    return field;
}

// Where a field of the tests' map of the area starts.
int At(const char* name) {
    return static_cast<int>(area::Named(name).Offset);
}

// A batch writes every dealer's text of the area's map afresh: those given by
// name, and every other one empty.
void PutBatchTexts(QByteArray& memory, const std::map<std::string_view, QByteArray>& given) {
    for (const area::Field& f : area::Fields) {
        if (f.Written && area::IsText(f)) {
            const auto text = given.find(f.Name);
            Put(memory, static_cast<int>(f.Offset),
                Field(text != given.end() ? text->second : QByteArray(),
                      static_cast<int>(f.Width)));
        }
    }
}

class CliEndToEnd : public testing::Test {
  protected:
    QTemporaryDir dir;
    QString image = WriteImage(dir, "radio.bin", SampleRadio());
    QString saved = dir.filePath("saved.bin");

    QStringList SimArguments(QStringList extra) const {
        return QStringList{"--image", image, "--save", saved} + extra;
    }
};
} // namespace

TEST_F(CliEndToEnd, ReadPrintsEveryFieldAsTheWindowShowsIt) {
    SimulatedRadio radio(SimArguments({}));
    ASSERT_FALSE(radio.Device().isEmpty());
    const CliRun run = RunCli({"--port", radio.Device(), "read", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Read Complete!"));

    QJsonObject expected{
        {"FactoryMode", 1},
        {"FreqSet", 0},
        {"Stun", 0},
        {"Kill", 0},
        {"BandCode", 0},
        {"ProgPassWord", "9876"},
        {"SerialNo", "SN20260001234567"},
        {"ProductDate", "2026-11-30"},
        {"ManufactureCode", "11-1-E-1"},
        {"UserCode", "ABCD"},
        {"MaintainDate", "2026-12-01"},
        {"DealerCode", "OLD DEALER"},
        {"StockDate", "2026-10-10"},
        {"SellDate", "2026-11-11"},
        {"Seller", QString::fromUtf8("张三")},
        {"MaintainDesc", "Replaced the antenna"},
        {"RadioModel", "KVT4610"},
        {"AreaCode", "0042"},
        {"RfVersion", "V1.00"},
        {"LcdVersion", "V1.10"},
    };
    // A text this sample leaves unnamed shows as the tests' map reads its bytes.
    area::Memory sample{};
    std::copy_n(SampleRadio().cbegin(), sample.size(), sample.begin());
    for (const area::Field& f : area::Fields) {
        if (area::IsText(f) && !expected.contains(QLatin1String(f.Name))) {
            expected[QLatin1String(f.Name)] =
                QString::fromStdU16String(area::ShownText(sample, f).value_or(u"?"));
        }
    }
    EXPECT_EQ(QJsonDocument::fromJson(run.out).object(), expected) << run.out.toStdString();
    EXPECT_EQ(radio.StopAndTranscript(), ReadCommands);
}

TEST_F(CliEndToEnd, WriteChangesOnlyTheDealerSettings) {
    SimulatedRadio radio(SimArguments({}));
    const CliRun run =
        RunCli({"--port", radio.Device(), "write", "--dealer-code", QString::fromUtf8("经销商A"),
                "--stock-date", "2026-12-07", "--password", "12", "--band", "1", "--freq-set", "1",
                "--kill", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("radioinfo-cli: band 1 written, the radio had band 0\n"
                                 "Write Complete!"))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("Overwrite?")) << "the window's question is the window's";
    EXPECT_EQ(radio.StopAndTranscript(), ReadCommands + WriteCommands);

    QByteArray expected = SampleRadio();
    expected[0x0F] = 1;
    expected[0x10] = static_cast<char>(0xFB); // factory bit and high bits as the radio had them
    Put(expected, 0x18, Field("12", 4));
    Put(expected, 0x60, Field(DealerGbk, 16));
    Put(expected, 0x70, Field("2026-12-07", 16));
    EXPECT_EQ(ReadFile(saved).toHex(' '), expected.toHex(' '));
}

TEST_F(CliEndToEnd, WriteWithoutBandKeepsTheRadiosBand) {
    SimulatedRadio radio(SimArguments({}));
    const CliRun run = RunCli({"--port", radio.Device(), "write", "--seller", "Li"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("written, the radio had band"));
    QByteArray expected = SampleRadio();
    Put(expected, 0x90, Field("Li", 16));
    EXPECT_EQ(ReadFile(saved).toHex(' '), expected.toHex(' '));
}

TEST_F(CliEndToEnd, RepeatAnswersResendTheSameCommand) {
    struct Case {
        QStringList faults;
        int exitCode;
        QString twice; // the command the radio must have received again
    };
    const Case cases[] = {
        {{"--repeat", InCliWrite("W 3B00")}, 0, "W 3B00"},
        {{"--repeat", InCliWrite("W 3B70"), "--repeat-times", "4"}, 0, "W 3B70"},
        {{"--repeat", InCliWrite("END")}, 0, "END"},
        {{"--repeat", InCliWrite("W 3B10"), "--repeat-times", "5"}, 4, "W 3B10"},
    };
    for (const Case& c : cases) {
        SimulatedRadio radio(SimArguments(c.faults));
        const CliRun run = RunCli({"--port", radio.Device(), "write", "--seller", "Li"});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.faults.join(' ').toStdString();
        const QStringList commands = radio.StopAndTranscript();
        EXPECT_GE(commands.count(c.twice), 2) << c.faults.join(' ').toStdString();
        if (c.exitCode == 0) {
            QByteArray expected = SampleRadio();
            Put(expected, 0x90, Field("Li", 16));
            EXPECT_EQ(ReadFile(saved).toHex(' '), expected.toHex(' '));
        } else {
            EXPECT_TRUE(run.err.contains("Communication Error!"));
        }
    }
}

// A Write that falls silent after two blocks: the window's second line, with
// the device named as it was given.
TEST_F(CliEndToEnd, ACommunicationErrorSaysWhereAndWhatWasWritten) {
    struct Case {
        QString lang;
        QString line; // %1: the device
    };
    const Case cases[] = {
        {"C", "No answer from the radio on %1 to W 3B60. Blocks acknowledged: 3B00, 3B10. The "
              "radio is partly written: write it again. Is the radio switched on, the cable "
              "seated and the right port chosen?"},
        {"zh_CN.UTF-8",
         "%1 上的对讲机对 W 3B60 没有应答。已确认的数据块：3B00、3B10。对讲机只写入"
         "了一部分，请重新写入。请检查对讲机是否开机、数据线是否插好、端口是否选对。"},
    };
    for (const Case& c : cases) {
        SimulatedRadio radio(SimArguments({"--silent-from", InCliWrite("W 3B60")}));
        const CliRun run = RunCli({"--port", radio.Device(), "write", "--seller", "Li"}, c.lang);
        EXPECT_EQ(run.exitCode, 4) << c.lang.toStdString();
        EXPECT_TRUE(run.err.contains("radioinfo-cli: Communication Error!\nradioinfo-cli: " +
                                     c.line.arg(radio.Device()) + "\n"))
            << run.err.toStdString();
    }
}

TEST_F(CliEndToEnd, FaultsEndWithTheRightStatus) {
    struct Case {
        QString command;
        QStringList faults;
        int exitCode;
        QString output = {}; // standard output's file, if not a pipe
    };
    const Case cases[] = {
        {"read", {"--silent-from", InRead("PROGRAM")}, 4},
        {"read", {"--silent-from", InRead("R 3B00")}, 4},
        {"read", {"--silent-from", InRead("R 3B80")}, 4},
        {"read", {"--silent-from", InRead("END")}, 4},
        {"write", {"--silent-from", InCliWrite("PROGRAM")}, 4},
        {"write", {"--silent-from", InCliWrite("R 3BF0")}, 4},
        {"write", {"--silent-from", InCliWrite("W 3B60")}, 4},
        {"write", {"--silent-from", InCliWrite("END")}, 4},
        {"read", {"--bad-checksum", InRead("R 3B10")}, 4},
        {"read", {"--hangup", InRead("R 3B20")}, 4},
        // noise before an echo is skipped, also when it fills the receive
        // threshold and the answer comes after it
        {"read", {"--noise", InRead("PROGRAM"), "--latency", "50"}, 0},
        {"read", {"--noise", InRead("R 3B00") + "," + InRead("END"), "--latency", "50"}, 0},
        {"write", {"--noise", InCliWrite("W 3B60")}, 0},
        {"read", {"--split", InRead("PROGRAM") + "," + InRead("R 3B30") + "," + InRead("END")}, 0},
        {"write", {"--split", InCliWrite("W 3B00") + "," + InCliWrite("END")}, 0},
        {"read", {"--latency", "300"}, 0},
        {"read", {"--model", "KVT4611"}, 5},
        {"read", {"--version", "V120"}, 5},
        {"write", {"--version", "V100"}, 0},
        {"read", {}, 1, "/dev/full"}, // the record read, but lost on its way out
    };
    for (const Case& c : cases) {
        SimulatedRadio radio(SimArguments(c.faults));
        const CliRun run = RunCli({"--port", radio.Device(), c.command}, "C", 20000, {}, c.output);
        const std::string name = (c.command + " " + c.faults.join(' ')).toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        if (c.exitCode == 4) {
            EXPECT_EQ(run.err.count("Communication Error!"), 1) << name;
        }
        if (c.exitCode == 1) {
            EXPECT_TRUE(run.err.contains("cannot write the output: No space left on device"))
                << name << "\n"
                << run.err.toStdString();
        }
    }
}

TEST_F(CliEndToEnd, ModelErrorEndsBeforeAnyWrite) {
    SimulatedRadio radio(SimArguments({"--version", "V120"}));
    const CliRun run = RunCli({"--port", radio.Device(), "write", "--seller", "X"});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_TRUE(run.err.contains("radioinfo-cli: Model Type or Version Error!\n"
                                 "radioinfo-cli: Radio Model:KVT4610\n"
                                 "radioinfo-cli: Radio Version:V120\n"))
        << run.err.toStdString();
    EXPECT_EQ(radio.StopAndTranscript(), (QStringList{"PROGRAM", "R 3B00", "END"}));
    QByteArray untouched = SampleRadio();
    Put(untouched, 0x07, "V120");
    EXPECT_EQ(ReadFile(saved).toHex(' '), untouched.toHex(' '));
}

// The radio's messages as the Chinese window shows them, and the command
// line's own texts in Chinese too; the English-only messages stay English.
TEST_F(CliEndToEnd, ChineseLocaleGivesChineseMessages) {
    struct Case {
        QStringList simArguments; // no radio when empty
        QStringList arguments;
        int exitCode;
        QStringList texts;
    };
    const Case cases[] = {
        {{"--model", "KVT4611"},
         {"read"},
         5,
         {"radioinfo-cli: 机型或频段错误!\nradioinfo-cli: 对讲机机型:KVT4611\n"
          "radioinfo-cli: 对讲机版本:V110\n"}},
        {{},
         {"--port", "COM41", "read"},
         3,
         {"radioinfo-cli: Cannot Open Communication Port.\nradioinfo-cli: COM41 不是已知的串口。"}},
        {{"--latency", "1"},
         {"batch", "--count", "1", "--seller", "X"},
         0,
         {"第 1 台（共 1 台）已写入：SN20260001234567\n"}},
    };
    QTemporaryDir config; // no aliases
    for (const Case& c : cases) {
        std::optional<SimulatedRadio> radio;
        QStringList arguments = c.arguments;
        if (!c.simArguments.isEmpty()) {
            radio.emplace(SimArguments(c.simArguments));
            arguments = QStringList{"--port", radio->Device()} + arguments;
        }
        const CliRun run =
            RunCli(arguments, "zh_CN.UTF-8", 20000, {"XDG_CONFIG_HOME=" + config.path()});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        for (const QString& text : c.texts) {
            EXPECT_TRUE(run.err.contains(text)) << run.err.toStdString();
        }
    }
}

TEST_F(CliEndToEnd, PortThatCannotOpen) {
    const CliRun run = RunCli({"--port", dir.filePath("no-such-tty"), "read"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("Cannot Open Communication Port."));
}

// Both programs answer --help and --version on standard output with status
// 0, without a display; output that cannot be written is status 1.
TEST(CliUsage, HelpAndVersionAnswerOnStandardOutput) {
    struct Case {
        QString program;
        QStringList arguments;
        QString outputFile;
        int exitCode;
        QByteArray outputStart;
    };
    const QByteArray version = QByteArray(" ") + RadioinfoVersion + "\n";
    const QString cli = RADIOINFO_CLI_PATH;
    const QString window = RADIOINFO_PATH;
    const Case cases[] = {
        {cli, {"--help"}, {}, 0, "usage: radioinfo-cli [--port PORT] read"},
        {cli, {"-h"}, {}, 0, "usage: radioinfo-cli [--port PORT] read"},
        {cli, {"--port", "COM1", "write", "--help"}, {}, 0, "usage: radioinfo-cli"},
        {cli, {"--version"}, {}, 0, "radioinfo-cli" + version},
        {cli, {"--help"}, "/dev/full", 1, {}},
        {cli, {"--version"}, "/dev/full", 1, {}},
        {window, {"--help"}, {}, 0, "usage: radioinfo [--help] [--version]"},
        {window, {"-h"}, {}, 0, "usage: radioinfo [--help] [--version]"},
        {window, {"--version"}, {}, 0, "radioinfo" + version},
        {window, {"--help"}, "/dev/full", 1, {}},
        {window, {"--version"}, "/dev/full", 1, {}},
    };
    const QStringList noDisplay{"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
    for (const Case& c : cases) {
        const CliRun run = RunProgram(c.program, c.arguments, "C", 20000, noDisplay, c.outputFile);
        const std::string name = QFileInfo(c.program).fileName().toStdString() + " " +
                                 c.arguments.join(' ').toStdString() + " > " +
                                 c.outputFile.toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name;
        EXPECT_TRUE(run.out.startsWith(c.outputStart)) << name << "\n" << run.out.toStdString();
        // radioinfo-cli says why its output was lost; the window's program
        // has only its status.
        const bool saysWhy = c.exitCode != 0 && c.program == cli;
        EXPECT_EQ(run.err.isEmpty(), !saysWhy) << name << "\n" << run.err.toStdString();
    }
    EXPECT_EQ(RunCli({"--version"}).out, "radioinfo-cli" + version);
}

// A usage error is one line naming the option and its limit, in the
// locale's language, and where the help is; nothing on standard output.
TEST(CliUsage, AUsageErrorSaysWhatIsWrongAndWhereTheHelpIs) {
    struct Case {
        QStringList arguments;
        QString lang;
        QString error;
    };
    const QString english = "\nTry 'radioinfo-cli --help' for more information.\n";
    const QString chinese = "\n请尝试执行“radioinfo-cli --help”来获取更多信息。\n";
    const QString dealer18Bytes = "经销商经销商经销商";
    const Case cases[] = {
        {{"write", "--password", "12345"}, "C", "--password: at most 4 ASCII characters"},
        {{"write", "--password", "12345"}, "zh_CN.UTF-8", "--password：最多 4 个 ASCII 字符"},
        {{"write", "--dealer-code", dealer18Bytes},
         "C",
         "--dealer-code: at most 16 bytes (a Chinese character takes two)"},
        {{"batch", "--count", "2", "--seller", dealer18Bytes},
         "zh_CN.UTF-8",
         "--seller：最多 16 个字节（一个汉字占两个）"},
        {{"--port", "/dev/null", "write", "--band", "2"}, "zh_CN.UTF-8", "--band：只能是 0 或 1"},
        {{"read", "--bogus"}, "C", "unknown option --bogus"},
        {{}, "C", "no command: read, write, batch, restore, verify or ports"},
        {{"batch", "--count", "2147483648"}, "C", "--count: a whole number from 1 to 2147483647"},
        {{"--port", "COM1000", "read"}, "C", "--port: COMn (n from 1 to 999) or a device path"},
        {{"fr\nob\x1b[2J"}, "C", "unknown command fr\\nob\\x1b[2J"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.arguments, c.lang);
        const std::string name = c.arguments.join(' ').toStdString() + " " + c.lang.toStdString();
        EXPECT_EQ(run.exitCode, 2) << name;
        EXPECT_EQ(run.err, "radioinfo-cli: " + c.error + (c.lang == "C" ? english : chinese))
            << name;
        EXPECT_TRUE(run.out.isEmpty()) << name;
    }
}

TEST_F(CliEndToEnd, BatchWritesEachRadioOnTheBenchOnce) {
    QStringList images;
    for (int i = 1; i <= 3; ++i) {
        QByteArray memory = SampleRadio();
        Put(memory, 0x20, Field(QString("SN%1").arg(i).toLatin1(), 16));
        images << WriteImage(dir, QString("radio%1.bin").arg(i), memory);
    }
    SimulatedRadio bench({"--bench", "0.3,1.2", "--radios", "3", "--bench-images", images.join(','),
                          "--save", saved});
    const CliRun run = RunCli(
        {"--port", bench.Device(), "batch", "--count", "3", "--dealer-code", "D1", "--band", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Writting Data..."));
    EXPECT_TRUE(run.err.contains("Waitting next..."));
    EXPECT_TRUE(run.err.contains("MulWrite Complete!"));
    EXPECT_EQ(run.err.count("radioinfo-cli: band 1 written, the radio had band 0\n"), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(run.err.contains(QString("\nradio %1 of 3 written: SN%1\n").arg(i)))
            << run.err.toStdString();
    }

    const QStringList commands = bench.StopAndTranscript();
    for (const std::size_t block : area::WrittenBlocks()) {
        const std::string command = CommandFor("W", 0x3B00 + static_cast<int>(block));
        EXPECT_EQ(commands.count(QString::fromStdString(command)), 3) << command;
    }
    EXPECT_EQ(commands.count("R 3B10"), 3);
    EXPECT_EQ(commands.count("R 3B20"), 3) << "each radio's serial number, to name it";
    EXPECT_EQ(commands.count("R 3BF0"), 3);
    for (int i = 1; i <= 3; ++i) {
        QByteArray expected = ReadFile(images[i - 1]);
        expected[At("BandCode")] = 1;
        expected[At("Flags")] = static_cast<char>(0xF1); // the record's flags are the defaults
        PutBatchTexts(expected, {{"DealerCode", "D1"}});
        EXPECT_EQ(ReadFile(saved + "." + QString::number(i)).toHex(' '), expected.toHex(' ')) << i;
    }
}

// COMn and the saved port go through the same port list and settings file as
// the window: here an alias port in a private configuration folder.
TEST_F(CliEndToEnd, PortsByNameAndTheSavedPort) {
    SimulatedRadio radio(SimArguments({}));
    QTemporaryDir config;
    ASSERT_TRUE(QDir().mkpath(config.filePath("radioinfo/ports")));
    ASSERT_TRUE(QFile::link(radio.Device(), config.filePath("radioinfo/ports/com42")));
    const QStringList env{"XDG_CONFIG_HOME=" + config.path()};

    EXPECT_EQ(RunCli({"--port", "COM42", "read"}, "C", 20000, env).exitCode, 0);
    EXPECT_EQ(RunCli({"--port", "com42", "read"}, "C", 20000, env).exitCode, 0);
    const CliRun unknown = RunCli({"--port", "COM41", "read"}, "C", 20000, env);
    EXPECT_EQ(unknown.exitCode, 3);
    EXPECT_TRUE(unknown.err.contains("COM41")) << unknown.err.toStdString();

    QFile settings(config.filePath("radioinfo/mysetup.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[language]\r\ncomPort=42\r\n");
    settings.close();
    EXPECT_EQ(RunCli({"read"}, "C", 20000, env).exitCode, 0);
    EXPECT_EQ(ReadFile(config.filePath("radioinfo/mysetup.ini")), "[language]\r\ncomPort=42\r\n");
}

// Without --port a write goes to the saved port or nowhere: with the saved
// port unplugged (or none saved) write, batch and restore refuse, naming the
// saved port and the ports listed, and the radio on another port hears
// nothing; read and restore --list use that port and say so. Saved, it is
// written.
TEST_F(CliEndToEnd, WithoutPortOnlyTheSavedPortIsWritten) {
    SimulatedRadio radio(SimArguments({}));
    QTemporaryDir config;
    ASSERT_TRUE(QDir().mkpath(config.filePath("radioinfo/ports")));
    // COM1, the lowest number, comes first whatever this machine's own ports.
    ASSERT_TRUE(QFile::link(radio.Device(), config.filePath("radioinfo/ports/com1")));
    const QStringList env{"XDG_CONFIG_HOME=" + config.path()};
    const QString listed = "COM1 (" + radio.Device() + ")";
    const struct {
        QByteArray settings; // mysetup.ini; empty: none
        QStringList arguments;
        int exitCode;
        QString line; // on stderr
    } cases[] = {
        {"comPort=34",
         {"write", "--seller", "X"},
         3,
         "no --port, and the saved port COM34 is not listed: nothing written (listed: "},
        {"comPort=34", {"batch", "--count", "1"}, 3, "the saved port COM34 is not listed"},
        {"comPort=34", {"restore", image}, 3, "the saved port COM34 is not listed"},
        {"comPort=34", {"restore", "--latest"}, 3, "the saved port COM34 is not listed"},
        {"",
         {"write", "--seller", "X"},
         3,
         "no --port and no saved port: nothing written (listed: "},
        {"comPort=34",
         {"read"},
         0,
         "no --port, and the saved port COM34 is not listed: using " + listed},
        {"comPort=34", {"restore", "--list"}, 0, "using " + listed}, // the read before kept a copy
        {"", {"read"}, 0, "no --port and no saved port: using " + listed},
        {"comPort=1", {"write", "--seller", "Y"}, 0, "Write Complete!"},
    };
    for (const auto& c : cases) {
        const std::string name =
            c.settings.toStdString() + " " + c.arguments.join(' ').toStdString();
        QFile settings(config.filePath("radioinfo/mysetup.ini"));
        if (c.settings.isEmpty()) {
            settings.remove();
        } else {
            ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
            settings.write("[language]\r\ncomPort=" + c.settings.mid(8) + "\r\n");
            settings.close();
        }
        const CliRun run = RunCli(c.arguments, "C", 20000, env);
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.line)) << name << "\n" << run.err.toStdString();
        if (c.exitCode == 3) {
            EXPECT_TRUE(run.err.contains("(listed: " + listed)) << name << "\n"
                                                                << run.err.toStdString();
        }
    }
    const QStringList commands = radio.StopAndTranscript();
    EXPECT_EQ(commands.filter(QRegularExpression("^W ")).size(), 7)
        << "the write to the saved port alone\n"
        << commands.join(' ').toStdString();
    EXPECT_EQ(commands.count("PROGRAM"), 5) << "read, restore --list, read and the write's two";
}

// An alias whose adapter is unplugged gives its number back to whatever
// device has it: a write meant for the alias's radio is refused, with --port
// COMn or the saved port alike.
TEST_F(CliEndToEnd, AWriteToABrokenAliasIsRefused) {
    QTemporaryDir config;
    ASSERT_TRUE(QDir().mkpath(config.filePath("radioinfo/ports")));
    const QString link = config.filePath("radioinfo/ports/com2");
    ASSERT_TRUE(QFile::link(config.filePath("unplugged"), link));
    QFile settings(config.filePath("radioinfo/mysetup.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[language]\r\ncomPort=2\r\n");
    settings.close();
    const QStringList env{"XDG_CONFIG_HOME=" + config.path()};
    // The saved port: refused as the alias, or as not listed where no device
    // has the number.
    const CliRun bySaved = RunCli({"write", "--seller", "X"}, "C", 20000, env);
    EXPECT_EQ(bySaved.exitCode, 3) << bySaved.err.toStdString();
    EXPECT_TRUE(bySaved.err.contains("COM2")) << bySaved.err.toStdString();
    for (const QStringList& arguments : {QStringList{"--port", "COM2", "write", "--seller", "X"},
                                         QStringList{"--port", "com2", "batch", "--count", "1"}}) {
        const CliRun run = RunCli(arguments, "C", 20000, env);
        EXPECT_EQ(run.exitCode, 3) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("radioinfo-cli: COM2 is an alias that is broken, and the "
                                     "port of that number is another device: nothing written\n"
                                     "radioinfo-cli: The alias " +
                                     link + " -> " + config.filePath("unplugged") + " is broken"))
            << run.err.toStdString();
    }
}

namespace {
// A batch (of three radios, unless count says otherwise) started in English;
// returns once stderr holds the hint text, with what stderr held so far.
QString StartBatchUntil(QProcess& cli, const QString& device, const QString& hint,
                        const QString& count = "3") {
    QProcessEnvironment env = CliEnvironment();
    env.insert("LANG", "C");
    cli.setProcessEnvironment(env);
    cli.start(RADIOINFO_CLI_PATH, {"--port", device, "batch", "--count", count, "--seller", "X"});
    cli.waitForStarted();
    cli.setReadChannel(QProcess::StandardError);
    QString err;
    while (!err.contains(hint) && cli.waitForReadyRead(5000)) {
        err += QString::fromUtf8(cli.readAllStandardError());
    }
    return err;
}

void Interrupt(QProcess& cli) {
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
}
} // namespace

// Ctrl+C stops a batch as the Stop button does: the written radio stays
// written, no other radio is touched.
TEST_F(CliEndToEnd, InterruptStopsTheBatch) {
    SimulatedRadio bench({"--bench", "60,1", "--radios", "2", "--save", saved});
    QProcess cli;
    const QString err = StartBatchUntil(cli, bench.Device(), "Waitting next...");
    ASSERT_TRUE(err.contains("Waitting next...")) << err.toStdString();
    Interrupt(cli);
    ASSERT_TRUE(cli.waitForFinished(5000));
    EXPECT_EQ(cli.exitCode(), 130);
    EXPECT_FALSE(QString::fromUtf8(cli.readAllStandardError()).contains("Error"));
    const QStringList commands = bench.StopAndTranscript();
    EXPECT_EQ(commands.count("END"), 1);
    EXPECT_FALSE(QFile::exists(saved + ".2"));
}

// Ctrl+C while a radio's blocks go out: that radio is finished, then the
// batch stops.
TEST_F(CliEndToEnd, InterruptDuringATransferFinishesTheRadio) {
    SimulatedRadio bench({"--bench", "60,1", "--radios", "2", "--latency", "200", "--save", saved});
    QProcess cli;
    const QString err = StartBatchUntil(cli, bench.Device(), "Writting Data...");
    ASSERT_TRUE(err.contains("Writting Data...")) << err.toStdString();
    // Reads take until about 800 ms, the seven blocks and END until 2400 ms.
    QThread::msleep(1400);
    Interrupt(cli);
    ASSERT_TRUE(cli.waitForFinished(10000));
    EXPECT_EQ(cli.exitCode(), 130);
    const QStringList commands = bench.StopAndTranscript();
    EXPECT_EQ(commands.count("END"), 1);
    EXPECT_EQ(commands.count("W 3BF0"), 1) << "the radio was finished";
    EXPECT_EQ(ReadFile(saved + ".1").mid(0x90, 2), QByteArray("X\0", 2));
}

// A radio's texts cannot add a line to read's output nor steer the terminal,
// in the record or in a message.
TEST_F(CliEndToEnd, RadioBytesCannotForgeTheOutput) {
    QByteArray forged = SampleRadio();
    Put(forged, 0x20, Field("\x1b[31mSN1\x1b[0m", 16));
    Put(forged, 0xA0, Field("Fixed\nSerialNo: 9999", 80));
    QByteArray badModel = SampleRadio();
    Put(badModel, 0x00, "KV\n\x1b[2J");
    const struct {
        QByteArray radio;
        int exitCode;
        QString line; // on stdout or stderr
    } cases[] = {
        {forged, 0, "SerialNo: \\x1b[31mSN1\\x1b[0m"},
        {forged, 0, "MaintainDesc: Fixed\\nSerialNo: 9999"},
        {badModel, 5, "radioinfo-cli: Radio Model:KV\\n\\x1b[2J"},
    };
    for (const auto& c : cases) {
        const QString path = WriteImage(dir, "forged.bin", c.radio);
        SimulatedRadio radio({"--image", path});
        const CliRun run = RunCli({"--port", radio.Device(), "read"});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        const QStringList lines = (QString::fromUtf8(run.out) + run.err).split('\n');
        EXPECT_TRUE(lines.contains(c.line)) << c.line.toStdString() << "\n"
                                            << run.out.toStdString() << run.err.toStdString();
        EXPECT_EQ(lines.filter(QRegularExpression("^SerialNo: ")).size(), c.exitCode == 0 ? 1 : 0);
        EXPECT_FALSE(run.out.contains('\x1b') || run.err.contains(u'\x1b'));
    }
}

// Ctrl+C during a write acts as in a batch: the radio being written is
// finished first; a second Ctrl+C stops at once and says what the radio got.
TEST_F(CliEndToEnd, InterruptDuringAWrite) {
    const struct {
        QString waitFor; // the frame sent, in the trace
        int occurrence;
        int interrupts;
        QStringList texts;
        QStringList written; // the W and END the radio received
    } cases[] = {
        {"-> R 3B20", 1, 1, {"stopped by Ctrl+C while no block was being written"}, {}},
        {"-> W 3B10",
         1,
         1,
         {"Ctrl+C: the radio being written is finished first; Ctrl+C again stops at once",
          "Write Complete!", "stopped by Ctrl+C after the radio being written was finished"},
         WriteCommands.mid(4)},
        {"-> W 3B10",
         1,
         2,
         {"stopped at once by a second Ctrl+C: The radio was being written (W 3B10). Blocks "
          "acknowledged: 3B00. The radio is partly written: write it again."},
         {"W 3B00", "W 3B10"}},
    };
    for (const auto& c : cases) {
        SimulatedRadio radio(SimArguments({"--latency", "300"}));
        const CliRun run =
            RunCliInterrupted({"--port", radio.Device(), "--trace", "write", "--seller", "Li"},
                              c.waitFor, c.occurrence, c.interrupts);
        const std::string name = c.texts.first().toStdString();
        EXPECT_EQ(run.exitCode, 130) << name << "\n" << run.err.toStdString();
        for (const QString& text : c.texts) {
            EXPECT_TRUE(run.err.contains(text)) << text.toStdString() << "\n"
                                                << run.err.toStdString();
        }
        const QStringList commands = radio.StopAndTranscript();
        EXPECT_EQ(commands.filter(QRegularExpression("^(W |END)")).mid(1), c.written)
            << name << "\n"
            << commands.join(' ').toStdString();
    }
}

// No signal ends a write in the middle of the radio: SIGTERM and SIGHUP (a
// closed terminal) stop it as Ctrl+C does, after the radio's remaining blocks
// and END, and given again (a logout sends both) do not cut it short; a
// stderr whose reader went away (a killed `tee`) is a failed output, not the
// end of the run.
TEST_F(CliEndToEnd, NoSignalEndsAWriteInTheMiddleOfTheRadio) {
    const struct {
        const char* name;
        bool closeStderr;
        std::vector<int> sent; // the signals, 10 ms apart
        int exitCode;
    } cases[] = {
        {"SIGHUP", false, {SIGHUP}, 130},
        {"SIGTERM and SIGHUP, as a logout sends them", false, {SIGTERM, SIGHUP}, 130},
        {"SIGHUP twice", false, {SIGHUP, SIGHUP}, 130},
        {"stderr closed, then Ctrl+C", true, {SIGINT}, 130},
        {"stderr closed", true, {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedRadio radio(SimArguments({"--latency", "150"}));
        CliProcess cli({"--port", radio.Device(), "--trace", "write", "--seller", "Li"});
        ASSERT_TRUE(cli.WaitForError("-> W 3B10")) << cli.err.toStdString();
        if (c.closeStderr) {
            cli.CloseError();
        }
        for (const int signal : c.sent) {
            cli.Signal(signal);
            QThread::msleep(10);
        }
        EXPECT_EQ(cli.Finish(), c.exitCode) << cli.err.toStdString();
        if (!c.closeStderr) {
            // The first signal is the one named.
            const QString first = c.sent.front() == SIGHUP ? "SIGHUP" : "SIGTERM";
            EXPECT_TRUE(cli.err.contains("radioinfo-cli: " + first +
                                         ": the radio being written is finished first"))
                << cli.err.toStdString();
            EXPECT_TRUE(cli.err.contains("stopped by " + first + " after the radio"))
                << cli.err.toStdString();
        }
        const QStringList commands = radio.StopAndTranscript();
        EXPECT_EQ(commands.filter(QRegularExpression("^(W |END)")).mid(1), WriteCommands.mid(4))
            << commands.join(' ').toStdString();
        QByteArray expected = SampleRadio();
        Put(expected, 0x90, Field("Li", 16));
        EXPECT_EQ(ReadFile(saved).toHex(' '), expected.toHex(' '));
        QFile::remove(saved);
    }
}

// ports lists each alias with its target, and a mistyped one and one to a
// device that is no terminal as broken; the port of a broken one, asked for,
// names it.
TEST_F(CliEndToEnd, PortsShowsEveryAliasAndTheBrokenOnes) {
    SimulatedRadio radio(SimArguments({}));
    QTemporaryDir config;
    const QString ports = config.filePath("radioinfo/ports");
    const QString link = dir.filePath("ttyRadio");
    ASSERT_TRUE(QDir().mkpath(ports));
    ASSERT_TRUE(QFile::link(radio.Device(), link));
    ASSERT_TRUE(QFile::link(link, ports + "/com42"));
    ASSERT_TRUE(QFile::link("/dev/ttyNOPE", ports + "/com90"));
    ASSERT_TRUE(QFile::link("/dev/null", ports + "/com91"));
    const QStringList env{"XDG_CONFIG_HOME=" + config.path()};

    const CliRun json = RunCli({"ports", "--json"}, "C", 20000, env);
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    QJsonArray aliases; // the system's own serial devices left aside
    for (const QJsonValue& port : QJsonDocument::fromJson(json.out).array()) {
        if (port.toObject().contains("alias")) {
            aliases.append(port);
        }
    }
    const QJsonArray expected{
        QJsonObject{{"port", "COM42"},
                    {"device", radio.Device()},
                    {"alias", ports + "/com42"},
                    {"target", link},
                    {"broken", false}},
        QJsonObject{{"port", "COM90"},
                    {"alias", ports + "/com90"},
                    {"target", "/dev/ttyNOPE"},
                    {"broken", true},
                    {"reason", "No such file or directory"}},
        QJsonObject{{"port", "COM91"},
                    {"alias", ports + "/com91"},
                    {"target", "/dev/null"},
                    {"broken", true},
                    {"reason", "its target is not a serial device"}},
    };
    EXPECT_EQ(aliases, expected) << json.out.toStdString();

    const CliRun text = RunCli({"ports"}, "C", 20000, env);
    const QString broken =
        "COM90\tbroken alias " + ports + "/com90 -> /dev/ttyNOPE: No such file or directory\n";
    EXPECT_TRUE(QString::fromUtf8(text.out).contains(broken)) << text.out.toStdString();
    const CliRun read = RunCli({"--port", "COM90", "read"}, "C", 20000, env);
    EXPECT_EQ(read.exitCode, 3);
    EXPECT_TRUE(read.err.contains("radioinfo-cli: COM90 is not a known port.\nradioinfo-cli: The "
                                  "alias " +
                                  ports +
                                  "/com90 -> /dev/ttyNOPE is broken: No such file or directory."))
        << read.err.toStdString();
    const CliRun null = RunCli({"--port", "COM91", "read"}, "C", 20000, env);
    EXPECT_EQ(null.exitCode, 3);
    EXPECT_TRUE(null.err.contains("COM91 is not a known port.\nradioinfo-cli: The alias " + ports +
                                  "/com91 -> /dev/null is broken: its target is not a serial "
                                  "device."))
        << null.err.toStdString();
}

// A second radioinfo-cli on the port a batch holds, by its path or by another
// name for it, is told so and leaves the batch's exchange alone.
TEST_F(CliEndToEnd, APortInUseIsLeftToItsHolder) {
    SimulatedRadio radio(SimArguments({"--latency", "300"}));
    const QString link = dir.filePath("ttyRadio");
    ASSERT_TRUE(QFile::link(radio.Device(), link));
    QProcess batch;
    const QString err = StartBatchUntil(batch, radio.Device(), "Writting Data...", "1");
    ASSERT_TRUE(err.contains("Writting Data...")) << err.toStdString();
    for (const QString& port : {radio.Device(), link}) {
        const CliRun second = RunCli({"--port", port, "read"});
        EXPECT_EQ(second.exitCode, 3) << port.toStdString();
        EXPECT_TRUE(second.err.contains("radioinfo-cli: Cannot Open Communication Port.\n"
                                        "radioinfo-cli: " +
                                        port + " is in use by another program.\n"))
            << second.err.toStdString();
        EXPECT_FALSE(second.err.contains("dialout"));
    }
    ASSERT_TRUE(batch.waitForFinished(20000));
    EXPECT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
    EXPECT_EQ(radio.StopAndTranscript(), BatchCommands);
}

// Before the first radio a batch says what every radio gets, the defaults
// too and the password masked; its last line says how many were written.
TEST_F(CliEndToEnd, TheBatchSaysWhatEveryRadioGets) {
    QByteArray band1 = SampleRadio();
    band1[0x0F] = 1;
    SimulatedRadio radio({"--image", WriteImage(dir, "band1.bin", band1), "--save", saved});
    const CliRun run = RunCli({"--port", radio.Device(), "batch", "--count", "1", "--dealer-code",
                               "D-17", "--band", "0", "--password", "12"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.split('\n', Qt::SkipEmptyParts),
              (QStringList{"radioinfo-cli: every radio gets --freq-set 0 --stun 0 --kill 0 "
                           "--band 0 --password \"****\" --dealer-code \"D-17\" --stock-date "
                           "\"\" --sell-date \"\" --seller \"\"",
                           "Radio No.: 1", "Writting Data...",
                           "radioinfo-cli: band 0 written, the radio had band 1",
                           "radio 1 of 1 written: SN20260001234567", "MulWrite Complete!",
                           "radioinfo-cli: 1 of 1 radios written"}));
    QByteArray expected = SampleRadio();
    PutBatchTexts(expected, {{"ProgPassWord", "12"}, {"DealerCode", "D-17"}});
    EXPECT_EQ(ReadFile(saved).toHex(' '), expected.toHex(' '));
}

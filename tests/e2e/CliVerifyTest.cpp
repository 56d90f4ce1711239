// radioinfo-cli verify against radio-sim: what it reports of a radio and a
// file this test writes byte by byte, and that it never writes to the radio.
#include "Processes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <csignal>
#include <sys/stat.h>

namespace {
QByteArray With(QByteArray area, int offset, const QByteArray& bytes) {
    return area.replace(offset, bytes.size(), bytes);
}

// The bytes of a field as verify prints them: two upper-case hex digits each.
QString Hex(const QByteArray& area, int offset, int width) {
    return QString::fromLatin1(area.mid(offset, width).toHex(' ').toUpper());
}

QJsonArray ByteValues(const QByteArray& area, int offset, int width) {
    QJsonArray values;
    for (int i = offset; i < offset + width; ++i) {
        values.append(static_cast<std::uint8_t>(area[i]));
    }
    return values;
}

QStringList SortedLines(const QByteArray& out) {
    QStringList lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

bool AnyWrite(const QStringList& commands) {
    return std::any_of(commands.begin(), commands.end(),
                       [](const QString& c) { return c.startsWith("W "); });
}

// Fields of every kind differ: a flag, a bit no field holds (0x80 of 0x3B10),
// the band, a text that is no dealer's, a byte behind an equal text, and a
// byte the tool carries as it is.
const QByteArray EveryKind = [] {
    QByteArray file = With(DealerRadio(), 0x10, "\x82");
    file = With(file, 0x0F, "\x01");
    file = With(file, 0x30, "2026-12-01");
    file = With(file, 0x6A, "Z");
    return With(file, 0xF5, QByteArray(1, '\0'));
}();
} // namespace

TEST(CliVerify, ReportsEveryDifferingFieldAndWritesNothing) {
    struct Case {
        const char* name;
        QByteArray radio;
        QByteArray file;
        int exitCode;
        QStringList lines; // stdout, in any order
        QString message;
        bool readsRadio;
    };
    const QByteArray erased(16, '\xFF');
    const Case cases[] = {
        {"equal", DealerRadio(), DealerRadio(), 0, {}, "the radio holds every field of", true},
        {"a dealer text with ESC",
         DealerRadio(),
         With(DealerRadio(), 0x60, QByteArray("D\x1bX\0\0\0\0", 7)),
         11,
         {R"(DealerCode: radio "DEALER7", file "D\x1bX")"},
         "differs from",
         true},
        // Quoted, "Wa\"ng" and "Wa", file "ng" would print one line two ways.
        {"a quote in a text",
         DealerRadio(),
         With(DealerRadio(), 0x90, "Wa\"ng"),
         11,
         {"Seller: radio " + Hex(DealerRadio(), 0x90, 16) + ", file " +
          Hex(With(DealerRadio(), 0x90, "Wa\"ng"), 0x90, 16)},
         "in 1 of its fields",
         true},
        {"fields of every kind",
         DealerRadio(),
         EveryKind,
         11,
         {"FactoryMode: radio 1, file 0", "BandCode: radio 0, file 1",
          R"(ProductDate: radio "", file "2026-12-01")",
          "DealerCode: radio " + Hex(DealerRadio(), 0x60, 16) + ", file " +
              Hex(EveryKind, 0x60, 16),
          "0x3bf0: radio " + Hex(DealerRadio(), 0xF0, 16) + ", file " + Hex(EveryKind, 0xF0, 16),
          "0x3b10: radio 03, file 82"},
         "in 6 of its fields",
         true},
        {"another model's file",
         DealerRadio(),
         With(DealerRadio(), 0, "XYZ9999V999"),
         10,
         {},
         "is not the information area of a KVT4610 of an accepted version (it holds XYZ9999 "
         "V999): not compared",
         false},
        {"a file of 255 bytes",
         DealerRadio(),
         DealerRadio().left(255),
         10,
         {},
         "is not a saved information area (256 bytes)",
         false},
        {"another radio's file",
         DealerRadio(),
         DealerRadio("SN-B2"),
         8,
         {},
         "the file is of serial number SN-B2, the radio is SN-A1: not compared",
         true},
        {"an erased serial number",
         DealerRadio(erased),
         DealerRadio(erased),
         8,
         {},
         "proves nothing",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        SimulatedRadio radio({"--image", WriteImage(dir, "radio.bin", c.radio)});
        const CliRun run =
            RunCli({"--port", radio.Device(), "verify", WriteImage(dir, "file.bin", c.file)});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        QStringList lines = c.lines;
        lines.sort();
        EXPECT_EQ(SortedLines(run.out), lines);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        const QStringList commands = radio.StopAndTranscript();
        EXPECT_EQ(commands, c.readsRadio ? ReadCommands : QStringList()) << "never a W";
    }
}

TEST(CliVerify, JsonIsOneObjectOfTheDifferences) {
    QTemporaryDir dir;
    SimulatedRadio radio({"--image", WriteImage(dir, "radio.bin", DealerRadio())});
    // A byte text shows 0x9B as U+009B, a terminal's CSI.
    const QByteArray file = With(EveryKind, 0x18,
                                 "4\x9b"
                                 "21");
    const CliRun run =
        RunCli({"--port", radio.Device(), "verify", WriteImage(dir, "file.bin", file), "--json"});
    EXPECT_EQ(run.exitCode, 11) << run.err.toStdString();
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(run.out, &error);
    ASSERT_TRUE(json.isObject()) << error.errorString().toStdString() << run.out.toStdString();
    const auto pair = [](const QJsonValue& radioValue, const QJsonValue& fileValue) {
        return QJsonObject{{"radio", radioValue}, {"file", fileValue}};
    };
    const QJsonObject expected{
        {"FactoryMode", pair(1, 0)},
        {"BandCode", pair(0, 1)},
        {"ProductDate", pair("", "2026-12-01")},
        {"DealerCode", pair(ByteValues(DealerRadio(), 0x60, 16), ByteValues(file, 0x60, 16))},
        {"ProgPassWord", pair("4321", QString("4") + QChar(0x9B) + "21")},
        {"0x3bf0", pair(ByteValues(DealerRadio(), 0xF0, 16), ByteValues(file, 0xF0, 16))},
        {"0x3b10", pair(QJsonArray{3}, QJsonArray{0x82})},
    };
    EXPECT_EQ(json.object(), expected) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("\xC2\x9B")) << "a C1 control reaches no terminal";
    EXPECT_FALSE(AnyWrite(radio.StopAndTranscript()));
}

// --latest compares with the copy restore --latest would take, and keeps no
// copy of its own: run again, it compares with the same copy.
TEST(CliVerify, LatestComparesWithTheNewestKeptReadAndKeepsNone) {
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    const QDir reads(data + "/radioinfo/reads");
    SimulatedRadio radio({"--image", WriteImage(dir, "radio.bin", DealerRadio())});
    const auto run = [&](const QStringList& arguments) {
        return RunCli(QStringList{"--port", radio.Device()} + arguments, "C", 20000,
                      {"XDG_DATA_HOME=" + data});
    };
    const CliRun none = run({"verify", "--latest"});
    EXPECT_EQ(none.exitCode, 10) << none.err.toStdString();
    EXPECT_TRUE(none.err.contains("no kept read of the radio SN-A1")) << none.err.toStdString();
    ASSERT_EQ(run({"write", "--dealer-code", "NEW"}).exitCode, 0) << "keeps the radio as it was";
    const QStringList kept = reads.entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    for (int time = 0; time < 2; ++time) {
        const CliRun latest = run({"verify", "--latest"});
        EXPECT_EQ(latest.exitCode, 11) << latest.err.toStdString();
        EXPECT_EQ(SortedLines(latest.out),
                  QStringList{R"(DealerCode: radio "NEW", file "DEALER7")"});
        EXPECT_TRUE(latest.err.contains("comparing with the kept read " + reads.filePath(kept[0])))
            << latest.err.toStdString();
        EXPECT_EQ(reads.entryList(QDir::Files), kept) << "verify keeps no copy";
    }
    EXPECT_EQ(radio.StopAndTranscript(),
              ReadCommands + ReadCommands + WriteCommands + ReadCommands + ReadCommands);
}

// Ctrl+C, SIGTERM and SIGHUP stop a verify at once, as they stop a read:
// nothing is being written, nothing is compared.
TEST(CliVerify, ASignalStopsItAtOnce) {
    const std::pair<int, QString> stops[] = {
        {SIGINT, "Ctrl+C"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
    for (const auto& [signal, name] : stops) {
        SCOPED_TRACE(name.toStdString());
        QTemporaryDir dir;
        SimulatedRadio radio(
            {"--image", WriteImage(dir, "radio.bin", DealerRadio()), "--latency", "300"});
        CliProcess cli({"--port", radio.Device(), "--trace", "verify",
                        WriteImage(dir, "file.bin", With(DealerRadio(), 0x60, "OTHER"))});
        ASSERT_TRUE(cli.WaitForError("-> R 3B20"));
        cli.Signal(signal);
        EXPECT_EQ(cli.Finish(), 130) << cli.err.toStdString();
        EXPECT_TRUE(cli.err.contains("stopped by " + name + " while no block was being written"))
            << cli.err.toStdString();
        EXPECT_FALSE(cli.err.contains("differs")) << cli.err.toStdString();
        EXPECT_FALSE(AnyWrite(radio.StopAndTranscript()));
    }
}

// A pipe named as the file is no saved area: refused at once, not waited on
// for a writer; and a list of differences lost on its way out is no result.
TEST(CliVerify, APipeIsRefusedAndLostOutputIsNoResult) {
    QTemporaryDir dir;
    SimulatedRadio radio({"--image", WriteImage(dir, "radio.bin", DealerRadio())});
    const QString pipe = dir.filePath("pipe.bin");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const CliRun fromPipe = RunCli({"--port", radio.Device(), "verify", pipe}, "C", 5000);
    EXPECT_EQ(fromPipe.exitCode, 10) << fromPipe.err.toStdString();
    EXPECT_TRUE(fromPipe.err.contains("is not a saved information area (256 bytes)"));

    const QString differing = WriteImage(dir, "file.bin", EveryKind);
    for (const QStringList& json : {QStringList{}, QStringList{"--json"}}) {
        const CliRun lost =
            RunCli(QStringList{"--port", radio.Device(), "verify", differing} + json, "C", 20000,
                   {}, "/dev/full");
        EXPECT_EQ(lost.exitCode, 1) << lost.err.toStdString();
    }
    EXPECT_FALSE(AnyWrite(radio.StopAndTranscript()));
}

// radioinfo-cli's arguments against what they ask for: the forms a
// technician types (GNU's among them), the radio's limits on each field, and
// every refusal. What a parse asked for is written out in this test's own
// words, field names and refusals included.
#include "cli/CliOptions.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <map>
#include <string>
#include <vector>

namespace {
std::string Utf8(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text)).toStdString();
}

std::string Optional(const char* key, const std::optional<std::u16string>& value) {
    return value ? std::string(" ") + key + "=" + Utf8(*value) : std::string();
}

std::string Switch(const char* key, bool on) {
    return on ? std::string(" ") + key : std::string();
}

// The refusals these rows meet, by name.
const std::map<CliText, std::string> Refusals{
    {CliText::NoCommand, "NoCommand"},
    {CliText::UnknownCommand, "UnknownCommand"},
    {CliText::UnknownOption, "UnknownOption"},
    {CliText::UnexpectedArgument, "UnexpectedArgument"},
    {CliText::NeedsValue, "NeedsValue"},
    {CliText::TakesNoValue, "TakesNoValue"},
    {CliText::ZeroOrOne, "ZeroOrOne"},
    {CliText::WholeNumber, "WholeNumber"},
    {CliText::NotStorable, "NotStorable"},
    {CliText::TextTooLong, "TextTooLong"},
    {CliText::AsciiTooLong, "AsciiTooLong"},
    {CliText::ControlCharacter, "ControlCharacter"},
    {CliText::PortForm, "PortForm"},
    {CliText::PortsTakesNoPort, "PortsTakesNoPort"},
    {CliText::ReadChangesNoField, "ReadChangesNoField"},
    {CliText::RestoreChangesNoField, "RestoreChangesNoField"},
    {CliText::RestoreNeedsFile, "RestoreNeedsFile"},
    {CliText::LatestBelongsToRestore, "LatestBelongsToRestore"},
    {CliText::BatchNeedsCount, "BatchNeedsCount"},
    {CliText::CountAtLeastOne, "CountAtLeastOne"},
    {CliText::CountBelongsToBatch, "CountBelongsToBatch"},
    {CliText::JsonBelongsToRead, "JsonBelongsToRead"},
    {CliText::SaveBelongsToRead, "SaveBelongsToRead"},
    {CliText::BackupBelongsToWrite, "BackupBelongsToWrite"},
    {CliText::LogBelongsToBatch, "LogBelongsToBatch"},
    {CliText::ForceBelongsToRestore, "ForceBelongsToRestore"},
};

const char* CommandWord(CliOptions::Command command) {
    using C = CliOptions::Command;
    const std::map<C, const char*> words{
        {C::Read, "read"},   {C::Write, "write"}, {C::Batch, "batch"},     {C::Restore, "restore"},
        {C::Ports, "ports"}, {C::Help, "help"},   {C::Version, "version"},
    };
    return words.at(command);
}

// "read port=COM3 json", "write BandCode=0 Seller=Li", "refused ZeroOrOne --band".
std::string Described(const CliParseResult& parsed) {
    if (!parsed.options) {
        const auto name = Refusals.find(parsed.error.text);
        std::string text = "refused " + (name != Refusals.end() ? name->second : "?");
        for (const std::u16string& part : {parsed.error.subject, parsed.error.second}) {
            text += part.empty() ? "" : " " + Utf8(part);
        }
        return text;
    }
    const CliOptions& o = *parsed.options;
    std::string text = CommandWord(o.command);
    text += Optional("port", o.port) + Switch("trace", o.trace) + Switch("json", o.json);
    text += o.count != 0 ? " count=" + std::to_string(o.count) : "";
    text += Optional("save", o.saveFile) + Optional("backup", o.backupDir) +
            Optional("log", o.logFile) + Optional("file", o.restoreFile) +
            Switch("force", o.force) + Switch("latest", o.restoreLatest) +
            Switch("list", o.restoreList);
    for (const auto& [name, value] : o.fields) {
        const auto* number = std::get_if<std::int16_t>(&value);
        text += " " + Utf8(name) + "=" +
                (number ? std::to_string(*number) : Utf8(std::get<std::u16string>(value)));
    }
    return text;
}

std::vector<std::u16string> Args(const QStringList& words) {
    std::vector<std::u16string> args;
    for (const QString& word : words) {
        args.push_back(word.toStdU16String());
    }
    return args;
}

struct Case {
    const char* tries;
    QStringList args;
    std::string asked;
};

const QString DealerOf16Bytes = QString::fromUtf8("经销商经销商经销"); // 8 characters of two
const QString DealerOf18Bytes = QString::fromUtf8("经销商经销商经销商");

const Case Cases[] = {
    // GNU forms
    {"the value after =", {"--port=/dev/ttyUSB0", "read"}, "read port=/dev/ttyUSB0"},
    {"options after the command", {"read", "--port", "COM3", "--json"}, "read port=COM3 json"},
    {"fields after =", {"write", "--seller=Li", "--band=0"}, "write BandCode=0 Seller=Li"},
    {"an = inside the value", {"write", "--dealer-code=a=b"}, "write DealerCode=a=b"},
    {"an empty text after =", {"--seller=", "write"}, "write Seller="},
    {"an empty flag after =", {"write", "--band="}, "refused ZeroOrOne --band"},
    {"-- before the command", {"--", "read"}, "read"},
    {"-- before a FILE with a dash", {"restore", "--", "--odd.bin"}, "restore file=--odd.bin"},
    {"-- makes an option a word", {"read", "--", "--json"}, "refused UnexpectedArgument --json"},
    {"a switch given a value", {"--json=1", "read"}, "refused TakesNoValue --json"},
    {"help given a value", {"--help=x"}, "refused TakesNoValue --help"},
    {"a single-dash option", {"-x", "read"}, "refused UnknownOption -x"},
    {"an unknown option with =", {"read", "--bogus=1"}, "refused UnknownOption --bogus"},
    // every command and option
    {"ports", {"ports"}, "ports"},
    {"ports as JSON", {"ports", "--json", "--trace"}, "ports trace json"},
    {"a batch with all it takes",
     {"--port",
      "/dev/ttyUSB0",
      "--trace",
      "batch",
      "--count=3",
      "--log=b.csv",
      "--backup",
      "bk",
      "--dealer-code",
      QString::fromUtf8("经销商A"),
      "--password",
      "12",
      "--freq-set",
      "1",
      "--stun",
      "0",
      "--kill",
      "1",
      "--stock-date",
      "2026-12-07",
      "--sell-date=",
      "--seller",
      "Li"},
     "batch port=/dev/ttyUSB0 trace count=3 backup=bk log=b.csv DealerCode=经销商A FreqSet=1 "
     "Kill=1 ProgPassWord=12 SellDate= Seller=Li StockDate=2026-12-07 Stun=0"},
    {"restore with its options",
     {"restore", "a.bin", "--force", "--backup", "undo"},
     "restore backup=undo file=a.bin force"},
    {"restore --latest", {"restore", "--latest"}, "restore latest"},
    {"restore --list", {"--list", "restore"}, "restore list"},
    {"a saved read", {"read", "--save", "r.bin"}, "read save=r.bin"},
    {"lower-case com", {"--port", "com999", "read"}, "read port=com999"},
    {"help anywhere", {"--port", "COM1", "write", "--help"}, "help port=COM1"},
    {"-h", {"-h"}, "help"},
    {"version", {"--version"}, "version"},
    {"an error before help", {"read", "--bogus", "--help"}, "refused UnknownOption --bogus"},
    // the radio's limits
    {"16 bytes of code page 936",
     {"write", "--dealer-code", DealerOf16Bytes},
     "write DealerCode=" + DealerOf16Bytes.toStdString()},
    {"18 bytes of code page 936",
     {"write", "--dealer-code", DealerOf18Bytes},
     "refused TextTooLong --dealer-code 16"},
    {"a character outside code page 936",
     {"write", "--seller", QString::fromUtf8("😀")},
     "refused NotStorable --seller"},
    {"a password of 4", {"write", "--password", "1234"}, "write ProgPassWord=1234"},
    {"a password of 5", {"write", "--password", "12345"}, "refused AsciiTooLong --password 4"},
    {"a Chinese password",
     {"write", "--password", QString::fromUtf8("密码")},
     "refused AsciiTooLong --password 4"},
    {"band 2", {"--port", "/dev/null", "write", "--band", "2"}, "refused ZeroOrOne --band"},
    {"a flag as a word", {"write", "--stun", "yes"}, "refused ZeroOrOne --stun"},
    // refusals
    {"nothing", {}, "refused NoCommand"},
    {"an unknown command", {"--port", "/dev/null", "frob"}, "refused UnknownCommand frob"},
    {"an unknown option", {"--bogus", "read"}, "refused UnknownOption --bogus"},
    {"a word too many", {"read", "extra"}, "refused UnexpectedArgument extra"},
    {"a FILE too many", {"restore", "a.bin", "b.bin"}, "refused UnexpectedArgument b.bin"},
    {"a value missing at the end", {"read", "--port"}, "refused NeedsValue --port"},
    {"an empty file name", {"read", "--save", ""}, "refused NeedsValue --save"},
    {"COM0", {"--port", "COM0", "read"}, "refused PortForm"},
    {"COM1000", {"--port", "COM1000", "read"}, "refused PortForm"},
    {"a kernel name", {"--port", "ttyUSB0", "read"}, "refused PortForm"},
    {"ports on a port", {"--port", "COM1", "ports"}, "refused PortsTakesNoPort"},
    {"ports setting a field", {"ports", "--seller", "x"}, "refused PortsTakesNoPort"},
    {"ports with a backup", {"ports", "--backup", "d"}, "refused BackupBelongsToWrite"},
    {"read setting a field", {"read", "--stun", "1"}, "refused ReadChangesNoField"},
    {"restore setting a field",
     {"restore", "a.bin", "--seller", "X"},
     "refused RestoreChangesNoField"},
    {"restore of nothing", {"restore"}, "refused RestoreNeedsFile"},
    {"restore of a file and the latest",
     {"restore", "a.bin", "--latest"},
     "refused RestoreNeedsFile"},
    {"--latest beside read", {"read", "--latest"}, "refused LatestBelongsToRestore"},
    {"a batch without a count", {"batch"}, "refused BatchNeedsCount"},
    {"a count of letters", {"batch", "--count", "abc"}, "refused WholeNumber --count"},
    {"a count beyond 32 bits", {"batch", "--count", "99999999999"}, "refused WholeNumber --count"},
    {"a batch of none", {"batch", "--count", "0"}, "refused CountAtLeastOne"},
    {"a negative batch", {"batch", "--count", "-1"}, "refused CountAtLeastOne"},
    {"a count beside write", {"write", "--count", "2"}, "refused CountBelongsToBatch"},
    {"JSON beside write", {"write", "--json"}, "refused JsonBelongsToRead"},
    {"a saved write", {"write", "--save", "a.bin"}, "refused SaveBelongsToRead"},
    {"a backup beside read", {"read", "--backup", "dir"}, "refused BackupBelongsToWrite"},
    {"a log beside write", {"write", "--log", "a.csv"}, "refused LogBelongsToBatch"},
    {"force beside write", {"write", "--force"}, "refused ForceBelongsToRestore"},
};
} // namespace

TEST(CliOptions, ArgumentVectorsAskForWhatTheySay) {
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.tries);
        EXPECT_EQ(Described(ParseCliOptions(Args(c.args))), c.asked)
            << c.args.join(' ').toStdString();
    }
}

// A text option holding a control character would write what no field shows:
// each is refused, naming the option, wherever the character stands and
// however the value is given; the characters beside the ranges pass.
TEST(CliOptions, NoTextFieldTakesAControlCharacter) {
    const std::map<QString, QString> texts{{"--password", "ProgPassWord"},
                                           {"--dealer-code", "DealerCode"},
                                           {"--stock-date", "StockDate"},
                                           {"--sell-date", "SellDate"},
                                           {"--seller", "Seller"}};
    for (const auto& [option, field] : texts) {
        for (char16_t c = 0; c < 0x100; ++c) {
            const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
            if (!control && c != u' ' && c != u'~') {
                continue;
            }
            const QString ch(QChar{c});
            for (const QString& value : {ch, "1" + ch, ch + "2", "1" + ch + "2"}) {
                SCOPED_TRACE(option.toStdString() + " " + std::to_string(c) + " in \"" +
                             value.toStdString() + "\"");
                const std::string asked =
                    control ? "refused ControlCharacter " + option.toStdString()
                            : "write " + field.toStdString() + "=" + value.toStdString();
                EXPECT_EQ(Described(ParseCliOptions(Args({"write", option, value}))), asked);
                EXPECT_EQ(Described(ParseCliOptions(Args({"write", option + "=" + value}))), asked);
                if (control) {
                    EXPECT_EQ(
                        Described(ParseCliOptions(Args({"batch", "--count", "2", option, value}))),
                        asked);
                }
            }
        }
    }
}

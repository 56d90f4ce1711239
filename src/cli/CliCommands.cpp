#include "CliCommands.h"

#include <algorithm>
#include <array>
#include <bit>

namespace {
using Command = CliOptions::Command;

constexpr std::uint16_t RadioOptions = PartPort | PartTrace;

// clang-format off
constexpr std::array Commands{
    CommandRow{Command::Read, u"read", RadioOptions | PartJson | PartSave,
               0, CliText::NoCommand, CliText::ReadChangesNoField, true, false,
               &CommandHandlers::Read,
               {u"[--port PORT] read [--json] [--save FILE]",
                u"[--port 串口] read [--json] [--save 文件]"},
               {u"  read            print every field as the window shows it (--json: one object)\n",
                u"  read            按窗口的显示打印每个字段（--json：一个 JSON 对象）\n"}},
    CommandRow{Command::Write, u"write", RadioOptions | PartFields | PartBackup,
               0, CliText::NoCommand, CliText::ReadChangesNoField, true, true,
               &CommandHandlers::Write,
               {u"[--port PORT] write [--backup DIR] [FIELDS]",
                u"[--port 串口] write [--backup 目录] [字段]"},
               {u"  write           read the radio, change the given FIELDS, write it back\n",
                u"  write           读出对讲机，修改给出的字段，再写回\n"}},
    CommandRow{Command::Batch, u"batch", RadioOptions | PartFields | PartCount | PartBackup | PartLog,
               PartCount, CliText::BatchNeedsCount, CliText::ReadChangesNoField, true, true,
               &CommandHandlers::Batch,
               {u"[--port PORT] batch --count N [--backup DIR]\n[--log FILE.csv] [FIELDS]",
                u"[--port 串口] batch --count 台数 [--backup 目录]\n[--log 文件.csv] [字段]"},
               {u"  batch           write every FIELD into N radios one after another\n",
                u"  batch           把全部字段依次写入 N 台对讲机\n"}},
    CommandRow{Command::Restore, u"restore",
               RadioOptions | PartFile | PartLatest | PartList | PartBackup | PartForce,
               PartFile | PartLatest | PartList, CliText::RestoreNeedsFile,
               CliText::RestoreChangesNoField, true, true,
               &CommandHandlers::Restore,
               {u"[--port PORT] restore FILE|--latest|--list [--backup DIR]\n[--force]",
                u"[--port 串口] restore 文件|--latest|--list [--backup 目录]\n[--force]"},
               {u"  restore         write the dealer settings of FILE back into the radio it\n"
                u"                  was saved from, then read them back to check\n"
                u"  restore --latest  the same from the newest kept read of the attached radio\n"
                u"  restore --list  list the kept reads of the attached radio, newest first\n"
                u"                  (file, time); nothing is written\n",
                u"  restore         把文件中的经销商设置写回保存它的对讲机，再读出核对\n"
                u"  restore --latest  同上，取所接对讲机最新的保留副本\n"
                u"  restore --list  列出所接对讲机的保留副本，最新的在前（文件、时间）；不写入\n"}},
    CommandRow{Command::Verify, u"verify", RadioOptions | PartFile | PartLatest | PartJson,
               PartFile | PartLatest, CliText::VerifyNeedsFile,
               CliText::VerifyChangesNoField, true, false,
               &CommandHandlers::Verify,
               {u"[--port PORT] verify FILE|--latest [--json]",
                u"[--port 串口] verify 文件|--latest [--json]"},
               {u"  verify          read the radio and compare every field with FILE; nothing\n"
                u"                  is written; print each field that differs, the radio's\n"
                u"                  value and the file's (--json: one object)\n"
                u"  verify --latest  the same against the newest kept read of the attached radio\n",
                u"  verify          读出对讲机，逐个字段与文件比较；不写入；打印不同的字段、\n"
                u"                  对讲机中的值和文件中的值（--json：一个 JSON 对象）\n"
                u"  verify --latest  同上，与所接对讲机最新的保留副本比较\n"}},
    CommandRow{Command::Ports, u"ports", PartJson | PartTrace,
               0, CliText::NoCommand, CliText::PortsTakesNoPort, false, false,
               &CommandHandlers::Ports,
               {u"ports [--json]", u"ports [--json]"},
               {u"  ports           list the ports as the window offers them: COMn and its\n"
                u"                  device, each alias and its target, broken aliases marked\n"
                u"                  (--json: an array)\n",
                u"  ports           按窗口的列表列出串口：COMn 及其设备、每个别名及其目标，\n"
                u"                  失效的别名另行标出（--json：一个数组）\n"}},
};
// clang-format on

// What is said when a command is given an option it does not take, in Part
// order. FIELDS are refused in the command's own words.
struct PartRefusal {
    std::uint16_t part;
    CliText refused;
};
constexpr PartRefusal Refusals[] = {
    {PartPort, CliText::PortsTakesNoPort},       {PartLatest, CliText::LatestBelongsToRestore},
    {PartList, CliText::LatestBelongsToRestore}, {PartCount, CliText::CountBelongsToBatch},
    {PartJson, CliText::JsonBelongsToRead},      {PartSave, CliText::SaveBelongsToRead},
    {PartBackup, CliText::BackupBelongsToWrite}, {PartLog, CliText::LogBelongsToBatch},
    {PartForce, CliText::ForceBelongsToRestore},
};

struct UsageHead {
    std::u16string_view first;
    std::size_t indent;
};
constexpr UsageHead EnglishHead{u"usage: ", 7};
constexpr UsageHead ChineseHead{u"用法：", 6};
constexpr std::u16string_view Program = u"radioinfo-cli ";
constexpr BothLanguages UsageAnswers{u"--help | --version", u"--help | --version"};
constexpr BothLanguages UsageTrace{u"(every command also takes --trace)",
                                   u"（每个命令都可加 --trace）"};

std::u16string_view In(const BothLanguages& text, int langType) {
    return langType == 2 ? text.chinese : text.english;
}

bool Given(std::uint16_t parts, std::uint16_t part) {
    return (parts & part) != 0;
}

// The Part bits the options give.
std::uint16_t PartsGiven(const CliOptions& o, bool hasCount) {
    const std::pair<bool, std::uint16_t> parts[] = {
        {o.port.has_value(), PartPort},
        {!o.fields.empty(), PartFields},
        {o.restoreFile.has_value(), PartFile},
        {o.restoreLatest, PartLatest},
        {o.restoreList, PartList},
        {hasCount, PartCount},
        {o.json, PartJson},
        {o.saveFile.has_value(), PartSave},
        {o.backupDir.has_value(), PartBackup},
        {o.logFile.has_value(), PartLog},
        {o.force, PartForce},
        {o.trace, PartTrace},
    };
    std::uint16_t given = 0;
    for (const auto& [isGiven, part] : parts) {
        given = static_cast<std::uint16_t>(given | (isGiven ? part : 0U));
    }
    return given;
}
} // namespace

const CommandRow* CommandNamed(std::u16string_view word) {
    const auto row = std::ranges::find(Commands, word, &CommandRow::word);
    return row != Commands.end() ? &*row : nullptr;
}

const CommandRow* CommandRowOf(CliOptions::Command command) {
    const auto row = std::ranges::find(Commands, command, &CommandRow::command);
    return row != Commands.end() ? &*row : nullptr;
}

// Part by Part: the first of the command's required ones stands for them
// all, a count comes with its lower limit, and then whether the command takes
// the part at all.
std::optional<CliText> MisplacedPart(const CliOptions& o, bool hasCount) {
    const CommandRow* row = CommandRowOf(o.command);
    if (row == nullptr) {
        return std::nullopt;
    }
    const std::uint16_t given = PartsGiven(o, hasCount);
    const auto firstRequired = static_cast<std::uint16_t>(row->exactlyOne & -row->exactlyOne);
    for (unsigned bit = 0; bit < 16; ++bit) {
        const auto part = static_cast<std::uint16_t>(1U << bit);
        if (part == firstRequired &&
            std::popcount(static_cast<unsigned>(given & row->exactlyOne)) != 1) {
            return row->missing;
        }
        if (part == PartCount && Given(given & row->takes, PartCount) && o.count < 1) {
            return CliText::CountAtLeastOne;
        }
        if (!Given(given, part) || Given(row->takes, part)) {
            continue;
        }
        if (part == PartFields) {
            return row->noFields;
        }
        const auto refusal = std::ranges::find(Refusals, part, &PartRefusal::part);
        if (refusal != std::end(Refusals)) {
            return refusal->refused;
        }
    }
    return std::nullopt;
}

std::u16string UsageText(int langType) {
    const UsageHead& head = langType == 2 ? ChineseHead : EnglishHead;
    const std::u16string indent(head.indent, u' ');
    const std::u16string goesOn = u"\n" + indent + std::u16string(Program.size(), u' ');
    std::u16string text;
    const auto line = [&](std::u16string_view usage) {
        text += text.empty() ? std::u16string(head.first) : indent;
        text += Program;
        for (const char16_t c : usage) {
            c == u'\n' ? void(text += goesOn) : void(text += c);
        }
        text += u'\n';
    };
    for (const CommandRow& row : Commands) {
        line(In(row.usage, langType));
    }
    line(In(UsageAnswers, langType));
    return text + indent + std::u16string(In(UsageTrace, langType)) + u'\n';
}

std::u16string CommandsHelpText(int langType) {
    std::u16string text;
    for (const CommandRow& row : Commands) {
        text += In(row.help, langType);
    }
    return text;
}

std::u16string CommandWordsText(int langType) {
    const std::u16string_view comma = langType == 2 ? u"、" : u", ";
    const std::u16string_view last = langType == 2 ? u" 或 " : u" or ";
    std::u16string text;
    for (std::size_t i = 0; i < Commands.size(); ++i) {
        text += i == 0 ? u"" : i + 1 < Commands.size() ? comma : last;
        text += Commands[i].word;
    }
    return text;
}

#include "CliOptions.h"

#include "record/Cp936.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace {
constexpr std::size_t DealerFieldBytes = 16;
constexpr std::size_t PasswordLength = 4;

std::string Narrow(std::u16string_view text) {
    std::string narrow;
    for (const char16_t c : text) {
        narrow += c < 0x80 ? static_cast<char>(c) : '\x7F';
    }
    return narrow;
}

std::optional<std::int32_t> WholeNumber(std::u16string_view text) {
    const std::string narrow = Narrow(text);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (error != std::errc() || end != narrow.data() + narrow.size() || narrow.empty()) {
        return std::nullopt;
    }
    return value;
}

// A dealer field holds at most 16 bytes of code page 936.
std::optional<CliText> CheckDealerText(const std::u16string& value) {
    const auto bytes = EncodeCp936(value);
    if (!bytes) {
        return CliText::NotStorable;
    }
    if (bytes->size() > DealerFieldBytes) {
        return CliText::DealerTooLong;
    }
    return std::nullopt;
}

// The programming password holds at most four 7-bit characters.
std::optional<CliText> CheckPassword(const std::u16string& value) {
    const bool ascii = std::all_of(value.begin(), value.end(), [](char16_t c) { return c < 0x80; });
    if (!ascii || value.size() > PasswordLength) {
        return CliText::PasswordForm;
    }
    return std::nullopt;
}

struct Parser {
    CliOptions options;
    std::optional<CliError> error;

    void Fail(CliText why, std::u16string subject = {}) {
        if (!error) {
            error = CliError{why, std::move(subject)};
        }
    }

    void Flag(const std::u16string& option, const std::u16string& value,
              std::optional<std::int16_t>& flag) {
        const auto number = WholeNumber(value);
        if (!number || (*number != 0 && *number != 1)) {
            Fail(CliText::ZeroOrOne, option);
            return;
        }
        flag = static_cast<std::int16_t>(*number);
    }

    void Text(const std::u16string& option, const std::u16string& value,
              std::optional<std::u16string>& field) {
        const auto refused =
            option == u"--password" ? CheckPassword(value) : CheckDealerText(value);
        if (refused) {
            Fail(*refused, option);
        }
        field = value;
    }

    void Option(const std::u16string& option, const std::u16string& value) {
        CliOptions& o = options;
        const std::map<std::u16string, std::optional<std::u16string>*> texts{
            {u"--dealer-code", &o.dealerCode}, {u"--stock-date", &o.stockDate},
            {u"--sell-date", &o.sellDate},     {u"--seller", &o.seller},
            {u"--password", &o.password},
        };
        const std::map<std::u16string, std::optional<std::int16_t>*> flags{
            {u"--band", &o.band},
            {u"--freq-set", &o.freqSet},
            {u"--stun", &o.stun},
            {u"--kill", &o.kill},
        };
        const std::map<std::u16string, std::optional<std::u16string>*> paths{
            {u"--save", &o.saveFile},
            {u"--backup", &o.backupDir},
            {u"--log", &o.logFile},
        };
        if (const auto text = texts.find(option); text != texts.end()) {
            Text(option, value, *text->second);
        } else if (const auto flag = flags.find(option); flag != flags.end()) {
            Flag(option, value, *flag->second);
        } else if (const auto path = paths.find(option); path != paths.end()) {
            value.empty() ? Fail(CliText::NeedsValue, option) : void(*path->second = value);
        } else if (option == u"--port") {
            o.port = value;
        } else if (option == u"--count") {
            const auto count = WholeNumber(value);
            count ? void(o.count = *count) : Fail(CliText::WholeNumber, option);
        } else {
            Fail(CliText::UnknownOption, option);
        }
    }
};
bool IsValueOption(std::u16string_view option) {
    constexpr std::u16string_view options[] = {
        u"--port",   u"--count",    u"--dealer-code", u"--stock-date", u"--sell-date",
        u"--seller", u"--password", u"--band",        u"--freq-set",   u"--stun",
        u"--kill",   u"--save",     u"--backup",      u"--log",
    };
    return std::find(std::begin(options), std::end(options), option) != std::end(options);
}

using Command = CliOptions::Command;

// Options that take no value.
const std::map<std::u16string_view, bool CliOptions::*> Switches{
    {u"--json", &CliOptions::json},        {u"--trace", &CliOptions::trace},
    {u"--force", &CliOptions::force},      {u"--latest", &CliOptions::restoreLatest},
    {u"--list", &CliOptions::restoreList},
};

const std::map<std::u16string_view, Command> CommandWords{
    {u"read", Command::Read},
    {u"write", Command::Write},
    {u"batch", Command::Batch},
    {u"restore", Command::Restore},
};

bool ChangesFields(const CliOptions& o) {
    return o.dealerCode || o.stockDate || o.sellDate || o.seller || o.password || o.band ||
           o.freqSet || o.stun || o.kill;
}

// Options that only some commands take, and what is said when another is given.
std::optional<CliText> MisplacedOption(const CliOptions& o, bool hasCount) {
    const Command c = o.command;
    const struct {
        bool refused;
        CliText why;
    } rules[] = {
        {c == Command::Read && ChangesFields(o), CliText::ReadChangesNoField},
        {c == Command::Restore && ChangesFields(o), CliText::RestoreChangesNoField},
        {c == Command::Restore && (o.restoreFile ? 1 : 0) + o.restoreLatest + o.restoreList != 1,
         CliText::RestoreNeedsFile},
        {c != Command::Restore && (o.restoreLatest || o.restoreList),
         CliText::LatestBelongsToRestore},
        {c == Command::Batch && !hasCount, CliText::BatchNeedsCount},
        {c == Command::Batch && hasCount && o.count < 1, CliText::CountAtLeastOne},
        {c != Command::Batch && hasCount, CliText::CountBelongsToBatch},
        {c != Command::Read && o.json, CliText::JsonBelongsToRead},
        {c != Command::Read && o.saveFile.has_value(), CliText::SaveBelongsToRead},
        {c == Command::Read && o.backupDir.has_value(), CliText::BackupBelongsToWrite},
        {c != Command::Batch && o.logFile.has_value(), CliText::LogBelongsToBatch},
        {c != Command::Restore && o.force, CliText::ForceBelongsToRestore},
    };
    for (const auto& rule : rules) {
        if (rule.refused) {
            return rule.why;
        }
    }
    return std::nullopt;
}
} // namespace

CliParseResult ParseCliOptions(const std::vector<std::u16string>& args) {
    Parser parser;
    std::optional<Command> command;
    bool hasCount = false;
    for (std::size_t i = 0; i < args.size() && !parser.error; ++i) {
        const std::u16string& arg = args[i];
        if (arg == u"--help" || arg == u"-h" || arg == u"--version") {
            parser.options.command = arg == u"--version" ? Command::Version : Command::Help;
            return {parser.options, {}};
        }
        if (!arg.starts_with(u"--")) {
            const auto word = CommandWords.find(arg);
            if (command == Command::Restore && !parser.options.restoreFile) {
                parser.options.restoreFile = arg;
            } else if (command) {
                parser.Fail(CliText::UnexpectedArgument, arg);
            } else if (word != CommandWords.end()) {
                command = word->second;
            } else {
                parser.Fail(CliText::UnknownCommand, arg);
            }
        } else if (const auto flag = Switches.find(arg); flag != Switches.end()) {
            parser.options.*(flag->second) = true;
        } else if (!IsValueOption(arg)) {
            parser.Fail(CliText::UnknownOption, arg);
        } else if (i + 1 >= args.size()) {
            parser.Fail(CliText::NeedsValue, arg);
        } else {
            hasCount = hasCount || arg == u"--count";
            parser.Option(arg, args[++i]);
        }
    }
    if (!parser.error && !command) {
        parser.Fail(CliText::NoCommand);
    }
    if (!parser.error) {
        parser.options.command = *command;
        if (const auto misplaced = MisplacedOption(parser.options, hasCount)) {
            parser.Fail(*misplaced);
        }
    }
    if (parser.error) {
        return {std::nullopt, *parser.error};
    }
    return {parser.options, {}};
}

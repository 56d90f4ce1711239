#include "CliOptions.h"

#include "CliCommands.h"
#include "record/Cp936.h"
#include "record/InfoArea.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace {
using Command = CliOptions::Command;

// Options that answer at once, wherever they stand.
const std::map<std::u16string_view, Command> Answers{
    {u"--help", Command::Help},
    {u"-h", Command::Help},
    {u"--version", Command::Version},
};

// Options that take no value.
const std::map<std::u16string_view, bool CliOptions::*> Switches{
    {u"--json", &CliOptions::json},        {u"--trace", &CliOptions::trace},
    {u"--force", &CliOptions::force},      {u"--latest", &CliOptions::restoreLatest},
    {u"--list", &CliOptions::restoreList},
};

// Options whose value is a file or folder, never empty.
const std::map<std::u16string_view, std::optional<std::u16string> CliOptions::*> Paths{
    {u"--save", &CliOptions::saveFile},
    {u"--backup", &CliOptions::backupDir},
    {u"--log", &CliOptions::logFile},
};

std::string Narrow(std::u16string_view text) {
    std::string narrow;
    for (const char16_t c : text) {
        narrow += c < 0x80 ? static_cast<char>(c) : '\x7F';
    }
    return narrow;
}

std::u16string Widen(std::string_view text) {
    return std::u16string(text.begin(), text.end());
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

// The row of the information area an option sets; nullptr for none.
const AreaField* FieldOption(std::u16string_view option) {
    const auto row = std::ranges::find_if(InfoArea, [option](const AreaField& f) {
        return !f.Option.empty() && Widen(f.Option) == option;
    });
    return row != std::end(InfoArea) ? &*row : nullptr;
}

bool IsText(const AreaField& row) {
    return row.Kind == FieldKind::AnsiText || row.Kind == FieldKind::ByteText;
}

// A line break, a tab, ESC or a C1 control would go into the radio where no
// field shows it (and a NUL would end the field there).
bool HoldsControl(std::u16string_view text) {
    return std::ranges::any_of(text,
                               [](char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); });
}

// The value as the row's field holds it, or why the radio cannot hold it: a
// text without control characters, in code page 936 of at most Width bytes or
// of at most Width 7-bit characters; a flag or the band 0 or 1.
std::variant<FieldValue, CliError> FieldFor(const AreaField& row, const std::u16string& option,
                                            const std::u16string& value) {
    const std::u16string width = Widen(std::to_string(row.Width));
    if (IsText(row) && HoldsControl(value)) {
        return CliError{CliText::ControlCharacter, option};
    }
    if (row.Kind == FieldKind::AnsiText) {
        const auto bytes = EncodeCp936(value);
        if (!bytes) {
            return CliError{CliText::NotStorable, option};
        }
        if (bytes->size() > static_cast<std::size_t>(row.Width)) {
            return CliError{CliText::TextTooLong, option, width};
        }
        return FieldValue(value);
    }
    if (row.Kind == FieldKind::ByteText) {
        const bool ascii = std::ranges::all_of(value, [](char16_t c) { return c < 0x80; });
        if (!ascii || value.size() > static_cast<std::size_t>(row.Width)) {
            return CliError{CliText::AsciiTooLong, option, width};
        }
        return FieldValue(value);
    }
    const auto number = WholeNumber(value);
    if (!number || (*number != 0 && *number != 1)) {
        return CliError{CliText::ZeroOrOne, option};
    }
    return FieldValue(static_cast<std::int16_t>(*number));
}

bool IsOption(std::u16string_view arg) {
    return arg.size() > 1 && arg.front() == u'-';
}

struct Parser {
    CliOptions options;
    std::optional<Command> command;
    bool hasCount = false;
    std::optional<CliError> error;

    void Fail(CliText why, std::u16string subject = {}, std::u16string second = {}) {
        if (!error) {
            error = CliError{why, std::move(subject), std::move(second)};
        }
    }

    static bool TakesValue(std::u16string_view option) {
        return FieldOption(option) != nullptr || Paths.contains(option) || option == u"--port" ||
               option == u"--count";
    }

    // A command word, the command's FILE, or one too many.
    void Word(const std::u16string& word) {
        const CommandRow* row = command ? CommandRowOf(*command) : nullptr;
        const CommandRow* named = CommandNamed(word);
        if (row != nullptr && (row->takes & PartFile) != 0 && !options.restoreFile) {
            options.restoreFile = word;
        } else if (command) {
            Fail(CliText::UnexpectedArgument, word);
        } else if (named != nullptr) {
            command = named->command;
        } else {
            Fail(CliText::UnknownCommand, word);
        }
    }

    void Value(const std::u16string& option, const std::u16string& value) {
        if (const AreaField* row = FieldOption(option)) {
            auto field = FieldFor(*row, option, value);
            if (const auto* refused = std::get_if<CliError>(&field)) {
                Fail(refused->text, refused->subject, refused->second);
            } else {
                options.fields[row->Name] = std::get<FieldValue>(field);
            }
        } else if (option == u"--port") {
            const bool path = value.find(u'/') != std::u16string::npos;
            path || ComPortNumberOf(value) ? void(options.port = value) : Fail(CliText::PortForm);
        } else if (option == u"--count") {
            hasCount = true;
            const auto count = WholeNumber(value);
            count ? void(options.count = *count) : Fail(CliText::WholeNumber, option);
        } else if (value.empty()) {
            Fail(CliText::NeedsValue, option);
        } else {
            options.*Paths.at(option) = value;
        }
    }
};

} // namespace

CliParseResult ParseCliOptions(const std::vector<std::u16string>& args) {
    Parser parser;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && !parser.error; ++i) {
        const std::u16string& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            parser.Word(arg);
            continue;
        }
        if (arg == u"--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = arg.starts_with(u"--") ? arg.find(u'=') : std::u16string::npos;
        const std::u16string name = arg.substr(0, equals);
        const std::optional<std::u16string> inlineValue =
            equals != std::u16string::npos ? std::optional(arg.substr(equals + 1)) : std::nullopt;
        const auto answer = Answers.find(name);
        const auto flag = Switches.find(name);
        if ((answer != Answers.end() || flag != Switches.end()) && inlineValue) {
            parser.Fail(CliText::TakesNoValue, name);
        } else if (answer != Answers.end()) {
            parser.options.command = answer->second;
            return {parser.options, {}};
        } else if (flag != Switches.end()) {
            parser.options.*(flag->second) = true;
        } else if (!Parser::TakesValue(name)) {
            parser.Fail(CliText::UnknownOption, name);
        } else if (inlineValue) {
            parser.Value(name, *inlineValue);
        } else if (i + 1 < args.size()) {
            parser.Value(name, args[++i]);
        } else {
            parser.Fail(CliText::NeedsValue, name);
        }
    }
    if (!parser.error && !parser.command) {
        parser.Fail(CliText::NoCommand);
    }
    if (!parser.error) {
        parser.options.command = *parser.command;
        if (const auto misplaced = MisplacedPart(parser.options, parser.hasCount)) {
            parser.Fail(*misplaced);
        }
    }
    if (parser.error) {
        return {std::nullopt, *parser.error};
    }
    return {parser.options, {}};
}

std::u16string UsageErrorText(const CliError& error, int langType) {
    const std::u16string subject =
        error.text == CliText::NoCommand ? CommandWordsText(langType) : error.subject;
    return u"radioinfo-cli: " + CliTextFor(error.text, langType, subject, error.second) + u"\n" +
           CliTextFor(CliText::TryHelp, langType);
}

std::optional<std::int16_t> ComPortNumberOf(std::u16string_view port) {
    constexpr int MaxPortNumber = 999;
    const std::string prefix = Narrow(port.substr(0, 3));
    const bool com =
        prefix.size() == 3 && std::ranges::equal(prefix, std::string_view("com"),
                                                 [](char a, char b) { return (a | 0x20) == b; });
    const std::u16string_view digits = port.substr(std::min<std::size_t>(3, port.size()));
    const bool allDigits =
        std::ranges::all_of(digits, [](char16_t c) { return c >= u'0' && c <= u'9'; });
    const auto number = com && allDigits ? WholeNumber(digits) : std::nullopt;
    if (!number || *number < 1 || *number > MaxPortNumber) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(*number);
}

std::u16string FieldOptionsText(std::u16string_view textWord, std::size_t width,
                                std::size_t indent) {
    std::u16string text;
    std::u16string line(indent, u' ');
    for (const AreaField& row : InfoArea) {
        if (row.Option.empty()) {
            continue;
        }
        const std::u16string item =
            Widen(row.Option) + u' ' + std::u16string(IsText(row) ? textWord : u"0|1");
        if (line.size() > indent && line.size() + 1 + item.size() > width) {
            text += line + u'\n';
            line.assign(indent, u' ');
        }
        line += (line.size() > indent ? u" " : u"") + item;
    }
    return text + line;
}

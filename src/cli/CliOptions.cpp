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
std::u16string CheckDealerText(const std::u16string& option, const std::u16string& value) {
    const auto bytes = EncodeCp936(value);
    if (!bytes) {
        return option + u": a character cannot be stored in the radio";
    }
    if (bytes->size() > DealerFieldBytes) {
        return option + u": at most 16 bytes (a Chinese character takes two)";
    }
    return {};
}

// The programming password holds at most four 7-bit characters.
std::u16string CheckPassword(const std::u16string& value) {
    const bool ascii = std::all_of(value.begin(), value.end(), [](char16_t c) { return c < 0x80; });
    if (!ascii || value.size() > PasswordLength) {
        return u"--password: at most 4 ASCII characters";
    }
    return {};
}

struct Parser {
    CliOptions options;
    std::u16string error;

    void Fail(std::u16string why) {
        if (error.empty()) {
            error = std::move(why);
        }
    }

    void Flag(const std::u16string& option, const std::u16string& value,
              std::optional<std::int16_t>& flag) {
        const auto number = WholeNumber(value);
        if (!number || (*number != 0 && *number != 1)) {
            Fail(option + u": 0 or 1");
            return;
        }
        flag = static_cast<std::int16_t>(*number);
    }

    void Text(const std::u16string& option, const std::u16string& value,
              std::optional<std::u16string>& field) {
        Fail(option == u"--password" ? CheckPassword(value) : CheckDealerText(option, value));
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
        if (const auto text = texts.find(option); text != texts.end()) {
            Text(option, value, *text->second);
        } else if (const auto flag = flags.find(option); flag != flags.end()) {
            Flag(option, value, *flag->second);
        } else if (option == u"--port") {
            o.port = value;
        } else if (option == u"--count") {
            const auto count = WholeNumber(value);
            count ? void(o.count = *count) : Fail(u"--count: a whole number");
        } else {
            Fail(u"unknown option " + option);
        }
    }
};
bool IsValueOption(std::u16string_view option) {
    constexpr std::u16string_view options[] = {
        u"--port",     u"--count", u"--dealer-code", u"--stock-date", u"--sell-date", u"--seller",
        u"--password", u"--band",  u"--freq-set",    u"--stun",       u"--kill",
    };
    return std::find(std::begin(options), std::end(options), option) != std::end(options);
}
} // namespace

CliParseResult ParseCliOptions(const std::vector<std::u16string>& args) {
    Parser parser;
    std::optional<CliOptions::Command> command;
    bool hasCount = false;
    for (std::size_t i = 0; i < args.size() && parser.error.empty(); ++i) {
        const std::u16string& arg = args[i];
        if (!arg.starts_with(u"--")) {
            if (command) {
                parser.Fail(u"unexpected argument " + arg);
            } else if (arg == u"read" || arg == u"write" || arg == u"batch") {
                command = arg == u"read"    ? CliOptions::Command::Read
                          : arg == u"write" ? CliOptions::Command::Write
                                            : CliOptions::Command::Batch;
            } else {
                parser.Fail(u"unknown command " + arg);
            }
        } else if (arg == u"--json") {
            parser.options.json = true;
        } else if (!IsValueOption(arg)) {
            parser.Fail(u"unknown option " + arg);
        } else if (i + 1 >= args.size()) {
            parser.Fail(arg + u" needs a value");
        } else {
            hasCount = hasCount || arg == u"--count";
            parser.Option(arg, args[++i]);
        }
    }
    if (parser.error.empty() && !command) {
        parser.Fail(u"no command: read, write or batch");
    }
    if (parser.error.empty()) {
        parser.options.command = *command;
        const bool changesFields =
            parser.options.dealerCode || parser.options.stockDate || parser.options.sellDate ||
            parser.options.seller || parser.options.password || parser.options.band ||
            parser.options.freqSet || parser.options.stun || parser.options.kill;
        if (*command == CliOptions::Command::Read && changesFields) {
            parser.Fail(u"read changes no field");
        } else if (*command == CliOptions::Command::Batch && !hasCount) {
            parser.Fail(u"batch needs --count N");
        } else if (*command != CliOptions::Command::Batch && hasCount) {
            parser.Fail(u"--count belongs to batch");
        } else if (*command != CliOptions::Command::Read && parser.options.json) {
            parser.Fail(u"--json belongs to read");
        }
    }
    if (!parser.error.empty()) {
        return {std::nullopt, parser.error};
    }
    return {parser.options, {}};
}

std::u16string CliUsage() {
    return u"usage: radioinfo-cli [--port PORT] read [--json]\n"
           u"       radioinfo-cli [--port PORT] write [FIELDS]\n"
           u"       radioinfo-cli [--port PORT] batch --count N [FIELDS]\n"
           u"FIELDS: --dealer-code T --stock-date T --sell-date T --seller T --password T\n"
           u"        --band 0|1 --freq-set 0|1 --stun 0|1 --kill 0|1\n"
           u"PORT: COMn or a device path such as /dev/ttyUSB0; without --port, the port\n"
           u"      the window saved (mysetup.ini)\n"
           u"exit status: 0 done, 2 usage, 3 port cannot be opened, 4 communication error,\n"
           u"             5 model or version error, 130 stopped by Ctrl+C\n";
}

#include "Options.h"

#include <charconv>
#include <functional>
#include <map>

namespace radiosim {

namespace {

template <typename Number> Number parseNumber(std::string_view text, std::string_view option) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        throw OptionError("--" + std::string(option) + ": '" + std::string(text) +
                          "' is not a number");
    }
    return value;
}

int parseInRange(std::string_view text, std::string_view option, int lowest, int highest) {
    const int value = parseNumber<int>(text, option);
    if (value < lowest || value > highest) {
        throw OptionError("--" + std::string(option) + ": " + std::string(text) +
                          " is out of range " + std::to_string(lowest) + ".." +
                          std::to_string(highest));
    }
    return value;
}

std::vector<std::string_view> splitList(std::string_view text) {
    std::vector<std::string_view> items;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return items;
        }
        start = comma + 1;
    }
}

constexpr int kMaxCommand = 1'000'000'000;

int commandNumber(std::string_view text, std::string_view option) {
    return parseInRange(text, option, 1, kMaxCommand);
}

void addCommandNumbers(std::set<int>& numbers, std::string_view text, std::string_view option) {
    for (const std::string_view item : splitList(text)) {
        numbers.insert(commandNumber(item, option));
    }
}

Duration seconds(std::string_view text, std::string_view option) {
    const double value = parseNumber<double>(text, option);
    if (!(value >= 0.0 && value <= 86400.0)) {
        throw OptionError("--" + std::string(option) + ": " + std::string(text) +
                          " seconds is out of range");
    }
    return std::chrono::duration_cast<Duration>(std::chrono::duration<double>(value));
}

BenchOptions& bench(Options& options) {
    if (!options.bench) {
        options.bench.emplace();
    }
    return *options.bench;
}

using Setter = std::function<void(Options&, std::string_view)>;

const std::map<std::string_view, Setter, std::less<>>& valueOptions() {
    static const std::map<std::string_view, Setter, std::less<>> table{
        {"link", [](Options& o, std::string_view v) { o.link = v; }},
        {"image", [](Options& o, std::string_view v) { o.image = v; }},
        {"save", [](Options& o, std::string_view v) { o.save = v; }},
        {"transcript", [](Options& o, std::string_view v) { o.transcript = v; }},
        {"model", [](Options& o, std::string_view v) { o.model = v; }},
        {"version", [](Options& o, std::string_view v) { o.version = v; }},
        {"band",
         [](Options& o, std::string_view v) {
             o.band = static_cast<std::uint8_t>(parseInRange(v, "band", 0, 255));
         }},
        {"latency",
         [](Options& o, std::string_view v) {
             o.latency = std::chrono::milliseconds(parseInRange(v, "latency", 0, 600'000));
         }},
        {"silent-from",
         [](Options& o, std::string_view v) {
             o.faults.silentFrom = commandNumber(v, "silent-from");
         }},
        {"hangup",
         [](Options& o, std::string_view v) { o.faults.hangupAt = commandNumber(v, "hangup"); }},
        {"bad-checksum",
         [](Options& o, std::string_view v) {
             addCommandNumbers(o.faults.badChecksum, v, "bad-checksum");
         }},
        {"noise",
         [](Options& o, std::string_view v) { addCommandNumbers(o.faults.noise, v, "noise"); }},
        {"split",
         [](Options& o, std::string_view v) { addCommandNumbers(o.faults.split, v, "split"); }},
        {"repeat",
         [](Options& o, std::string_view v) { addCommandNumbers(o.faults.repeat, v, "repeat"); }},
        {"repeat-times",
         [](Options& o, std::string_view v) {
             o.faults.repeatTimes = parseInRange(v, "repeat-times", 1, 1000);
         }},
        {"bench",
         [](Options& o, std::string_view v) {
             const auto parts = splitList(v);
             if (parts.size() != 2) {
                 throw OptionError("--bench takes STAY,GAP in seconds, e.g. 5,3");
             }
             bench(o).timing = {seconds(parts[0], "bench"), seconds(parts[1], "bench")};
         }},
        {"radios",
         [](Options& o, std::string_view v) {
             bench(o).radios = parseInRange(v, "radios", 1, 9999);
         }},
        {"bench-images",
         [](Options& o, std::string_view v) {
             for (const std::string_view item : splitList(v)) {
                 bench(o).images.emplace_back(item);
             }
         }},
    };
    return table;
}

void checkBench(const Options& options, bool timingGiven) {
    if (!options.bench) {
        return;
    }
    if (!timingGiven) {
        throw OptionError("--radios and --bench-images need --bench STAY,GAP");
    }
    const BenchOptions& b = *options.bench;
    if (b.radios && b.images.size() > static_cast<std::size_t>(*b.radios)) {
        throw OptionError("--bench-images lists more images than --radios");
    }
}

} // namespace

int Options::radioCount() const {
    if (!bench) {
        return 1;
    }
    if (bench->radios) {
        return *bench->radios;
    }
    return std::max(1, static_cast<int>(bench->images.size()));
}

Options parseOptions(std::span<const char* const> arguments) {
    Options options;
    bool timingGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        // --version sets the radio's version text; with no text after it, it
        // asks for the program's own version instead.
        if (argument == "--version" && i + 1 == arguments.size()) {
            options.showVersion = true;
            continue;
        }
        if (argument == "--pace") {
            options.pace = true;
            continue;
        }
        if (!argument.starts_with("--")) {
            throw OptionError("unexpected argument '" + std::string(argument) + "'");
        }
        argument.remove_prefix(2);
        std::optional<std::string_view> value;
        if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
        }
        const auto& table = valueOptions();
        const auto setter = table.find(argument);
        if (setter == table.end()) {
            throw OptionError("unknown option --" + std::string(argument));
        }
        if (!value) {
            if (i + 1 == arguments.size()) {
                throw OptionError("--" + std::string(argument) + " needs a value");
            }
            value = arguments[++i];
        }
        setter->second(options, *value);
        timingGiven = timingGiven || argument == "bench";
    }
    checkBench(options, timingGiven);
    return options;
}

std::string_view usageText() {
    return R"(Usage: radio-sim [OPTION]...
A simulated radio behind a programming cable, on a pseudo-terminal. The first line on
standard output is "PTY <slave path>"; open that path at 9600 8N1 like the cable's port.
The cable echoes every byte the tool sends; the radio answers PROGRAM, R, W and END.

Port and memory:
  --link PATH          make PATH a symlink to the pty (replaces an existing symlink,
                       removed on exit)
  --image FILE         load the radio's 256 bytes (0x3B00..0x3BFF) from FILE, which must
                       hold exactly 256 bytes; default: a sample KVT4610 radio
  --save FILE          after every acknowledged END, write the 256 bytes to FILE
                       (atomically: temporary file, then rename)
  --model TEXT         set the model text (0x3B00, up to 7 bytes)
  --version TEXT       set the version text (0x3B07, up to 4 bytes)
  --band N             set the band byte (0x3B0F), 0..255
  --transcript FILE    append "<ms since start> <line>" per command received: PROGRAM,
                       R 3B00, W 3B60, END; events: NOISE 00 FF 13, HANGUP,
                       DETACH <radio>, ATTACH <radio>

Timing:
  --latency MS         wait MS before answering a command (the echo is not delayed)
  --pace               send no faster than a 9600-baud line (10 bits, ~1.04 ms a byte)

Faults (N counts the commands of the whole run, the first being 1; options that take
N accept a comma list and may be repeated):
  --silent-from N      from command N on, only the echo, never an answer
  --bad-checksum N     the data frame answering command N (an R) has its checksum off by one
  --repeat N           answer 0x0A instead of 0x06 to command N (a W or END); the
                       radio does not act on it
  --repeat-times K     answer 0x0A K times in a row: command N and then the tool's
                       identical resends, until K answers were 0x0A (default 1)
  --noise N            send 00 FF 13 just before the echo of command N
  --split N            write the echo and answer of command N in two parts, 50 ms apart
  --hangup N           on receiving command N, close the pty and exit (no echo)

Batch bench:
  --bench STAY,GAP     radios are plugged in one after another. After its first
                       acknowledged END a radio stays STAY seconds (answering as usual),
                       then nobody is attached for GAP seconds (the cable stays plugged:
                       echo only), then the next radio is attached. After the last one:
                       echo only. Seconds may have decimals.
  --radios K           number of radios on the bench (default: number of bench images, or 1)
  --bench-images F1,F2,...
                       memory of radio 1, 2, ...; radios without an image use --image, or
                       the sample radio with serial number 2026120100000005, ...0006, ...
  With --bench, --save FILE writes radio i to FILE.i.

Behaviour worth knowing:
  - Before PROGRAM, and after END, the radio answers nothing but PROGRAM.
  - R of addresses outside 0x3B00..0x3BFF gives 0xFF for those bytes; W outside the
    area or not on a 16-byte boundary is acknowledged but not stored; W with a wrong
    checksum or last byte is answered 0x0A.
  - Bytes that form no command are echoed and otherwise ignored. A command left
    unfinished for 500 ms is dropped. The echo of a command is written once the command
    is complete.
  - SIGINT or SIGTERM stops the simulator cleanly (exit status 0).

  -h, --help           show this text
  --version            (as the last argument, without TEXT) show the program's version
)";
}

} // namespace radiosim

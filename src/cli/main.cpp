// radioinfo-cli: reads and writes a radio's information from the command line.
#include "CliCommands.h"
#include "CliOptions.h"
#include "CliPorts.h"
#include "CliSession.h"
#include "CliTexts.h"
#include "EscapedText.h"
#include "Version.h"
#include "system/ModSYSType.h"
#include "system/ModSetComm2.h"
#include "system/OpenFailure.h"
#include "system/QtPortResolver.h"
#include "system/QtText.h"
#include "system/SettingsFile.h"
#include "system/StartPort.h"
#include "system/StopSignals.h"
#include "system/SystemError.h"
#include "system/SystemLocale.h"
#include "system/SystemPorts.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

namespace {
// The columns --help fills.
constexpr std::size_t HelpWidth = 78;

#ifndef _WIN32
// Signals whose default would end the run wherever it is, a radio half
// written: a closed pipe on stdout or stderr (SIGPIPE) and a file over the
// size limit (SIGXFSZ). Ignored, they are failed writes: EPIPE makes the
// output lost (status 1 at the end), EFBIG a file not saved.
void IgnoreWriteSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}
#endif

void PrintOut(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
}

// Output that did not reach its file fails the run, even when the radio's
// part went well: a script saving `read --json` must not believe it has the
// data. Where stderr still works, it says why.
int CheckedExit(int status, int langType) {
    errno = 0;
    const bool outputLost = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (outputLost) {
        const int reason = errno != 0 ? errno : EIO;
        PrintError(u"radioinfo-cli: " +
                   CliTextFor(CliText::OutputFailed, langType, SystemErrorText(reason)));
    }
    // Where the output is the result (verify's list of differences too), a
    // script must not take a result it never got.
    const bool resultInOutput = status == ExitDone || status == ExitDiffers;
    if ((outputLost || std::ferror(stderr) != 0) && resultInOutput) {
        return ExitOutput;
    }
    return status;
}

// The port to open: a device path as it is (under no COM number, so messages
// name the path alone), "COMn" through the port list the window uses.
struct PortChoice {
    std::int16_t number = 0;
    QString device; // empty: resolved through the system's port list
};

// The parse has taken only these two forms.
PortChoice ChoosePort(const std::u16string& port) {
    const auto number = ComPortNumberOf(port);
    return number ? PortChoice{*number, QString()} : PortChoice{0, ToQString(port)};
}

// A listed port as a message names it: COMn and its device, where known.
std::u16string PortName(const PortEntry& entry) {
    return entry.devicePath.empty()
               ? entry.text
               : entry.text + u" (" + ToU16(EscapeControls(ToQString(entry.devicePath))) + u")";
}

// Without --port: the saved port as the window would select it at start-up,
// without saving anything. A read may use another port, named on stderr with
// why. A command that writes (writes) does not: a script cannot see which
// radio that would reach, so it is refused (nullopt), naming the saved port
// and the ports listed.
std::optional<PortChoice> DefaultPort(int langType, bool writes) {
    const bool fixedList = CheckSysType([](std::u16string_view text) { PrintDiagnostic(text); });
    std::vector<PortEntry> listed;
    const std::unique_ptr<PortSource> source = MakeSystemPortSource();
    const std::int16_t first = ListComPorts(listed, *source);
    const std::int16_t saved = SettingsFile().ReadComPort();
    const std::int16_t number = StartPortNumber(fixedList, saved, EntryTexts(listed), first);
    if (number == saved && number > 0) {
        return PortChoice{number, QString()};
    }
    if (writes) {
        std::u16string names;
        for (const PortEntry& entry : listed) {
            names += (names.empty() ? u"" : u", ") + PortName(entry);
        }
        names = names.empty() ? CliTextFor(CliText::NoneListed, langType) : names;
        PrintError(u"radioinfo-cli: " +
                   (saved > 0 ? CliTextFor(CliText::SavedPortNotListedNoWrite, langType,
                                           ComPortText(saved), names)
                              : CliTextFor(CliText::NoSavedPortNoWrite, langType, names)));
        return std::nullopt;
    }
    const auto entry = std::ranges::find(listed, ComPortText(number), &PortEntry::text);
    const std::u16string used = entry == listed.end() ? ComPortText(number) : PortName(*entry);
    const std::u16string why =
        number == 0  ? CliTextFor(CliText::NoPortListed, langType)
        : saved <= 0 ? CliTextFor(CliText::NoPortGiven, langType, used)
                     : CliTextFor(CliText::SavedPortGone, langType, ComPortText(saved), used);
    PrintError(u"radioinfo-cli: " + why);
    return PortChoice{number, QString()};
}

// Whether the command writes into the radio: restore --list only reads.
bool WritesRadio(const CliOptions& options) {
    const CommandRow* row = CommandRowOf(options.command);
    return row != nullptr && row->writesRadio && !options.restoreList;
}

#ifndef _WIN32
// The arguments whose bytes are no text in the system's encoding: Qt gives
// them with U+FFFD in place of those bytes, a name no file has.
std::vector<std::u16string> ArgumentsNotText(int argc, char* argv[],
                                             const std::vector<std::u16string>& args) {
    std::vector<std::u16string> lossy;
    for (int i = 1; i < argc && static_cast<std::size_t>(i) <= args.size(); ++i) {
        const QByteArray bytes(argv[i]);
        if (QString::fromLocal8Bit(bytes).toLocal8Bit() != bytes) {
            lossy.push_back(args[static_cast<std::size_t>(i - 1)]);
        }
    }
    return lossy;
}

// A file is saved and read under exactly the name the user's bytes give, or
// not at all: the option and the name that came from such an argument.
std::optional<std::pair<std::u16string, std::u16string>>
NameNotText(const CliOptions& options, const std::vector<std::u16string>& lossy) {
    const std::pair<std::u16string_view, const std::optional<std::u16string>*> names[] = {
        {u"--save", &options.saveFile},
        {u"--backup", &options.backupDir},
        {u"--log", &options.logFile},
        {CommandRowOf(options.command) != nullptr ? CommandRowOf(options.command)->word : u"",
         &options.restoreFile},
    };
    for (const auto& [option, value] : names) {
        const bool fromLossy = *value && std::ranges::any_of(lossy, [&](const std::u16string& arg) {
            return arg.ends_with(**value);
        });
        if (fromLossy) {
            return std::pair{std::u16string(option), **value};
        }
    }
    return std::nullopt;
}
#endif

} // namespace

int main(int argc, char* argv[]) {
#ifndef _WIN32
    IgnoreWriteSignals();
#endif
    QCoreApplication app(argc, argv);
    const int langType = LangTypeForLocaleId(SystemDefaultLocaleId());
    std::vector<std::u16string> args;
    for (const QString& arg : app.arguments().mid(1)) {
        args.push_back(ToU16(arg));
    }
    const CliParseResult parsed = ParseCliOptions(args);
    if (!parsed.options) {
        // What the user typed is shown with its control characters escaped:
        // the message stays one line and steers no terminal.
        CliError error = parsed.error;
        error.subject = EscapeControls(error.subject);
        PrintError(UsageErrorText(error, langType));
        return CheckedExit(ExitUsage, langType);
    }
    const CliOptions& options = *parsed.options;
#ifndef _WIN32
    if (const auto name = NameNotText(options, ArgumentsNotText(argc, argv, args))) {
        PrintError(u"radioinfo-cli: " + CliTextFor(CliText::NameNotText, langType, name->first,
                                                   EscapeControls(name->second)));
        return CheckedExit(ExitUsage, langType);
    }
#endif
    if (options.command == CliOptions::Command::Help) {
        const std::u16string fields =
            FieldOptionsText(CliTextFor(CliText::TextValue, langType), HelpWidth, 2);
        PrintOut(
            ToQString(UsageText(langType) + u"\n" +
                      CliTextFor(CliText::Help, langType, CommandsHelpText(langType), fields)));
        return CheckedExit(ExitDone, langType);
    }
    if (options.command == CliOptions::Command::Version) {
        PrintOut(QStringLiteral("radioinfo-cli %1\n").arg(QLatin1String(RadioinfoVersion)));
        return CheckedExit(ExitDone, langType);
    }
    if (const CommandRow* row = CommandRowOf(options.command); row != nullptr && !row->opensPort) {
        CliSession session(langType, SystemPortResolver(), options.trace);
        return CheckedExit(session.Run(options, 0), langType);
    }
    const std::optional<PortChoice> port =
        options.port ? ChoosePort(*options.port) : DefaultPort(langType, WritesRadio(options));
    if (!port) {
        return CheckedExit(ExitPort, langType);
    }
    // An alias whose adapter is unplugged gives its number back to a device
    // of that number: a write meant for the alias's radio would reach it.
    if (const QString broken = BrokenAliasReason(port->number, langType);
        WritesRadio(options) && port->device.isEmpty() && !broken.isEmpty()) {
        QStringList lines = broken.split(QStringLiteral("\r\n"));
        for (QString& line : lines) {
            line = EscapeControls(line); // a link's target is the user's text
        }
        PrintDiagnostic(CliTextFor(CliText::AliasBrokenNotWritten, langType,
                                   ToU16(QString::number(port->number))) +
                        u"\n" + ToU16(lines.join(u'\n')));
        return CheckedExit(ExitPort, langType);
    }
    QtSerialControl::PortResolver resolver = SystemPortResolver();
    if (!port->device.isEmpty()) {
        resolver = [path = port->device](int) { return path; };
    }

    CliSession session(langType, resolver, options.trace);

    // The radio being written is finished first. Only Ctrl+C, given again,
    // stops at once: a logout sends SIGTERM and SIGHUP together, a hangup may
    // come twice, and nobody is there who would want the radio cut short.
    const StopSignals stopSignals([&session, stopping = false](int signal) mutable {
        if (signal == SIGINT || !stopping) {
            stopping = true;
            session.Interrupt(signal == SIGINT    ? QStringLiteral("Ctrl+C")
                              : signal == SIGTERM ? QStringLiteral("SIGTERM")
                                                  : QStringLiteral("SIGHUP"));
        }
    });
    return CheckedExit(session.Run(options, port->number), langType);
}

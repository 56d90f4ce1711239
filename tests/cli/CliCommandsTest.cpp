// radioinfo-cli's commands as each of its documents tells them: the manual
// page's synopsis, the bash completion, --help and the parser itself must
// name the same commands, each with the same options and operands; and the
// manual page, the README and --help the same exit statuses.
#include "cli/CliOptions.h"
#include "cli/ExitStatus.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <map>
#include <ostream>
#include <set>

// Test failures name the words, not their bytes.
void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace {
using Parts = std::set<QString>; // options (--json), operands (FILE) and FIELDS
using Commands = std::map<QString, Parts>;

QString Source(const QString& path) {
    QFile file(QStringLiteral(RADIOINFO_SOURCE_DIR "/") + path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

QProcess& RunCli(QProcess& cli, const QStringList& arguments, const QString& lang) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    env.insert("LANG", lang);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(RADIOINFO_CLI), arguments);
    EXPECT_TRUE(cli.waitForFinished(10000));
    return cli;
}

QString Help(const QString& lang) {
    QProcess cli;
    return QString::fromUtf8(RunCli(cli, {"--help"}, lang).readAllStandardOutput());
}

std::set<QString> Matches(const QString& text, const QString& pattern) {
    std::set<QString> found;
    auto it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext()) {
        found.insert(it.next().captured(1));
    }
    return found;
}

// Each .SY block: the command word in bold, the options (.OP, or bold when
// required), the operand in italics right after the word, [FIELDS].
Commands ManSynopsis(const QString& man) {
    const QString synopsis = man.section(".SH SYNOPSIS", 1).section(".SH ", 0, 0);
    Commands commands;
    for (const QString& block : synopsis.split(".SY radioinfo-cli")) {
        QString word;
        Parts parts;
        bool afterWord = false;
        for (QString line : block.split('\n')) {
            const QStringList t = line.replace("\\-", "-").split(' ', Qt::SkipEmptyParts);
            if (t.size() < 2) {
                continue;
            }
            const bool operand = afterWord && t[0] == ".I";
            afterWord = t[0] == ".B" && !t[1].startsWith('-');
            if (afterWord) {
                word = t[1];
            } else if ((t[0] == ".OP" || t[0] == ".B") && t[1].startsWith("--")) {
                parts.insert(t[1]);
            } else if (operand) {
                parts.insert(t[1]);
            } else if (t[0] == ".RI" && t.size() > 2) {
                parts.insert(t[2]);
            }
        }
        if (!word.isEmpty()) {
            commands[word].insert(parts.begin(), parts.end());
        }
    }
    return commands;
}

// The usage lines of --help, a continued line joined to its first; every
// command also takes --trace, as the usage's last line says.
Commands HelpUsage(const QString& help) {
    Commands commands;
    QString usage = help.section("\n\n", 0, 0);
    usage.replace(QRegularExpression("\n {15,}"), " ");
    EXPECT_TRUE(usage.contains("(every command also takes --trace)")) << usage.toStdString();
    for (const QString& line : usage.split('\n')) {
        const auto m =
            QRegularExpression(R"(radioinfo-cli (?:\[--port \S+\] )?([a-z]+)( \S+)?)").match(line);
        if (!m.hasMatch()) {
            continue;
        }
        Parts parts = Matches(line, R"((--[a-z-]+))");
        parts.insert("--trace");
        if (m.captured(2).startsWith(" FILE")) {
            parts.insert("FILE");
        }
        if (line.contains("[FIELDS]")) {
            parts.insert("FIELDS");
        }
        commands[m.captured(1)] = parts;
    }
    return commands;
}

QStringList Words(const QString& completion, const QString& name) {
    const auto m = QRegularExpression("local " + name + "=\"([^\"]*)\"").match(completion);
    EXPECT_TRUE(m.hasMatch()) << name.toStdString();
    return m.captured(1).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

// The completion's options after each command, $fields as FIELDS; FILE for
// the commands whose words it completes as files.
Commands CompletionOptions(const QString& completion) {
    Commands commands;
    auto it = QRegularExpression(R"re(\n\s*(\w+)\)[^\n]*\n?\s*options="([^"]*)")re")
                  .globalMatch(completion);
    while (it.hasNext()) {
        const auto m = it.next();
        Parts parts;
        for (const QString& word : m.captured(2).split(' ', Qt::SkipEmptyParts)) {
            parts.insert(word == "$fields" ? "FIELDS" : word);
        }
        commands[m.captured(1)] = parts;
    }
    for (const QString& word : Matches(completion, R"(\$command == (\w+))")) {
        commands[word].insert("FILE");
    }
    return commands;
}

bool Accepted(const QStringList& words) {
    std::vector<std::u16string> args;
    for (const QString& word : words) {
        args.push_back(word.toStdU16String());
    }
    return ParseCliOptions(args).options.has_value();
}

std::set<int> Numbers(const std::set<QString>& texts) {
    std::set<int> numbers;
    for (const QString& text : texts) {
        numbers.insert(text.toInt());
    }
    return numbers;
}
} // namespace

TEST(CliCommands, ManualCompletionHelpAndParserAgree) {
    const Commands man = ManSynopsis(Source("data/man/radioinfo-cli.1"));
    const QString completion = Source("data/bash-completion/radioinfo-cli");
    const QString help = Help("C");
    ASSERT_GE(man.size(), 6U);
    EXPECT_EQ(HelpUsage(help), man) << "--help's usage, --trace everywhere";

    Commands completed = CompletionOptions(completion);
    std::set<QString> words;
    for (const auto& [word, parts] : man) {
        words.insert(word);
        SCOPED_TRACE(word.toStdString());
        EXPECT_EQ(completed[word], parts) << "the completion's options";
        EXPECT_TRUE(help.contains("\n  " + word + " ")) << "--help tells what it does";
    }
    const QStringList listed = Words(completion, "commands");
    EXPECT_EQ(std::set<QString>(listed.begin(), listed.end()), words);

    QProcess cli;
    const QString refusal =
        QString::fromUtf8(RunCli(cli, {}, "C").readAllStandardError()).section('\n', 0, 0);
    EXPECT_EQ(Matches(refusal.section("no command: ", 1), "([a-z]+)(?:,| or|$)"), words)
        << "with no command";

    // Each command with each option there is: the parser takes exactly those
    // its synopsis names. A FILE and a count are added where one is needed.
    const QStringList fields = Words(completion, "fields");
    const QStringList valued = Words(completion, "valued");
    std::set<QString> options(fields.begin(), fields.end());
    for (const auto& [word, parts] : man) {
        for (const QString& part : parts) {
            part.startsWith("--") ? void(options.insert(part)) : void();
        }
    }
    for (const auto& [word, parts] : man) {
        for (const QString& option : options) {
            QStringList args{word, option};
            if (valued.contains(option)) {
                args << (option == "--port" ? "/dev/ttyS9" : "1");
            }
            if (parts.contains("FILE") && option != "--latest" && option != "--list") {
                args << "f.bin";
            }
            if (parts.contains("--count") && option != "--count") {
                args << "--count"
                     << "1";
            }
            const bool named =
                parts.contains(option) || (fields.contains(option) && parts.contains("FIELDS"));
            EXPECT_EQ(Accepted(args), named) << args.join(' ').toStdString();
        }
    }
}

TEST(CliCommands, UsageIsTheSameInBothLanguages) {
    const auto options = [](const QString& help) {
        std::map<QString, std::set<QString>> commands;
        for (const auto& [word, parts] :
             HelpUsage(help.section("\n\n", 0, 0)
                           .replace(QString::fromUtf8("用法："), "usage: ")
                           .replace(QString::fromUtf8("（每个命令都可加 --trace）"),
                                    "(every command also takes --trace)")
                           .replace(QString::fromUtf8("文件"), "FILE")
                           .replace(QString::fromUtf8("[字段]"), "[FIELDS]"))) {
            commands[word] = parts;
        }
        return commands;
    };
    EXPECT_EQ(options(Help("zh_CN.UTF-8")), options(Help("C")));
}

// Each status has one number, the same in every document.
TEST(CliCommands, ExitStatusesAreDocumentedAlike) {
    std::set<int> statuses;
    for (const ExitStatus status : ExitStatuses) {
        statuses.insert(status);
    }
    ASSERT_EQ(statuses.size(), std::size(ExitStatuses)) << "no two share a number";

    const QString man =
        Source("data/man/radioinfo-cli.1").section(".SH EXIT STATUS", 1).section(".SH ", 0, 0);
    EXPECT_EQ(Numbers(Matches(man, R"(\.TP\n\.B (\d+)\n)")), statuses) << "the manual page";

    const QString help = Help("C").section("exit status:", 1).section("\nEvery", 0, 0);
    EXPECT_EQ(Numbers(Matches(help, R"((?:^ |, |\n +)(\d+) )")), statuses) << "--help";

    const QString readme = Source("README.md").section("Exit status:", 1).section("\n\n", 0, 0);
    EXPECT_EQ(Numbers(Matches(readme, R"((?:^ |, |\n  )(\d+) )")), statuses) << "the README";
}

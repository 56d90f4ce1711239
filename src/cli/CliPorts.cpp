#include "CliPorts.h"

#include "CliTexts.h"
#include "EscapedText.h"

#include "system/OpenFailure.h"
#include "system/QtText.h"
#include "system/SystemPorts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

std::vector<PortLine> PortLines(int langType) {
    std::vector<PortEntry> entries;
    ListComPorts(entries, *MakeSystemPortSource());
    std::vector<PortLine> lines;
    for (const PortEntry& entry : entries) {
        lines.push_back({PortNumberOfEntry(entry.text).value_or(0),
                         ToQString(entry.text),
                         ToQString(entry.devicePath),
                         {},
                         {},
                         false,
                         {}});
    }
#ifndef _WIN32
    for (const AliasEntry& alias : SystemPortAliases()) {
        const QString link = QFile::decodeName(alias.link.c_str());
        const QString target = QFile::decodeName(alias.target.c_str());
        if (alias.state != AliasState::Port) {
            lines.push_back({alias.number,
                             ToQString(ComPortText(alias.number)),
                             {},
                             link,
                             target,
                             true,
                             AliasProblem(alias, langType)});
            continue;
        }
        for (PortLine& line : lines) {
            if (line.number == alias.number && !line.broken) {
                line.alias = link;
                line.target = target;
            }
        }
    }
#else
    static_cast<void>(langType);
#endif
    std::stable_sort(lines.begin(), lines.end(),
                     [](const PortLine& a, const PortLine& b) { return a.number < b.number; });
    return lines;
}

QString PortsText(const std::vector<PortLine>& lines, int langType) {
    QString text;
    for (const PortLine& line : lines) {
        const QString alias =
            line.target.isEmpty() ? line.alias : line.alias + QStringLiteral(" -> ") + line.target;
        QStringList cells{line.port};
        if (line.broken) {
            cells << ToQString(
                CliTextFor(CliText::PortBrokenAlias, langType, ToU16(alias), ToU16(line.reason)));
        } else {
            cells << line.device;
        }
        if (!line.broken && !line.alias.isEmpty()) {
            cells << ToQString(CliTextFor(CliText::PortAlias, langType, ToU16(alias)));
        }
        for (QString& cell : cells) {
            cell = EscapeControls(cell);
        }
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

QString PortsJson(const std::vector<PortLine>& lines) {
    QJsonArray array;
    for (const PortLine& line : lines) {
        QJsonObject object{{QStringLiteral("port"), line.port},
                           {QStringLiteral("broken"), line.broken}};
        const std::pair<QString, QString> optional[] = {{QStringLiteral("device"), line.device},
                                                        {QStringLiteral("alias"), line.alias},
                                                        {QStringLiteral("target"), line.target},
                                                        {QStringLiteral("reason"), line.reason}};
        for (const auto& [key, value] : optional) {
            if (!value.isEmpty()) {
                object.insert(key, value);
            }
        }
        array.append(object);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

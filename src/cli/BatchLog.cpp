#include "BatchLog.h"

#include <QStringList>

namespace {
// A cell quoted where a spreadsheet would otherwise split or join it; line
// breaks of multi-line messages become spaces so each radio stays one row.
QString Cell(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\n', u' ').replace(u'\r', u' ');
    if (!text.contains(u',') && !text.contains(u'"')) {
        return text;
    }
    text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + text + u'"';
}
} // namespace

std::optional<QString> BatchLog::Open(const QString& path) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        return file_.errorString();
    }
    if (file_.size() == 0) {
        return WriteLine({QStringLiteral("time_utc"), QStringLiteral("serial_no"),
                          QStringLiteral("model"), QStringLiteral("result"),
                          QStringLiteral("backup")});
    }
    return std::nullopt;
}

std::optional<QString> BatchLog::Append(const Row& row) {
    return WriteLine(
        {row.utc.toUTC().toString(Qt::ISODate), row.serialNo, row.model, row.result, row.backup});
}

// One write per row on an unbuffered file: the row is with the system as soon
// as this returns. A file that failed once is closed: no later row is
// attempted into it.
std::optional<QString> BatchLog::WriteLine(const QStringList& cells) {
    QStringList quoted;
    for (const QString& cell : cells) {
        quoted << Cell(cell);
    }
    const QByteArray line = (quoted.join(u',') + u'\n').toUtf8();
    if (file_.write(line) != line.size()) {
        const QString why = file_.errorString();
        file_.close();
        return why;
    }
    return std::nullopt;
}

#include "BatchLog.h"

#include "EscapedText.h"

#include "system/SystemError.h"

namespace {
std::optional<QString> Reason(const std::optional<int>& error) {
    if (!error) {
        return std::nullopt;
    }
    return QString::fromStdU16String(SystemErrorText(*error));
}

std::span<const std::uint8_t> Bytes(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

QByteArray Line(const QStringList& cells) {
    QStringList quoted;
    for (const QString& cell : cells) {
        quoted << CsvCell(cell);
    }
    return (quoted.join(u',') + u'\n').toUtf8();
}

const QStringList Header{QStringLiteral("time_utc"), QStringLiteral("serial_no"),
                         QStringLiteral("model"), QStringLiteral("result"),
                         QStringLiteral("backup")};
} // namespace

QString CsvCell(const QString& text) {
    const bool formula = !text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text.front());
    QString cell = text;
    cell.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    cell.replace(u'\n', u' ');
    cell = EscapeControls(cell);
    if (formula) {
        cell.prepend(u'\'');
    }
    if (!cell.contains(u',') && !cell.contains(u'"')) {
        return cell;
    }
    cell.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + cell + u'"';
}

std::optional<QString> BatchLog::Open(const QString& path) {
    path_ = path;
    return Reason(file_.Open(path.toStdU16String(), Bytes(Line(Header))));
}

std::optional<QString> BatchLog::Append(const Row& row) {
    return Reason(file_.Append(Bytes(Line({row.utc.toUTC().toString(Qt::ISODate), row.serialNo,
                                           row.model, row.result, row.backup}))));
}

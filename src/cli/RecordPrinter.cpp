#include "RecordPrinter.h"

#include "AreaDifferences.h"
#include "EscapedText.h"

#include "record/FormFields.h"
#include "record/InfoArea.h"
#include "system/QtText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <utility>
#include <variant>
#include <vector>

namespace {
using Value = PrintedValue;

// The area's rows read prints, in their order.
std::vector<std::pair<std::u16string_view, Value>> Fields(const RadioInfo& r) {
    const FormFields f = ShowFields(r);
    std::vector<std::pair<std::u16string_view, Value>> fields;
    for (const AreaField& row : InfoArea) {
        if (const auto value = PrintedValueOf(row, r, f)) {
            fields.emplace_back(row.Name, *value);
        }
    }
    return fields;
}

// Qt escapes U+0000 to U+001F only; DEL and the C1 controls (U+009B is a
// terminal's CSI) would reach whoever prints the JSON raw. Outside strings a
// JSON text holds none of them, so each is escaped wherever it stands.
QString WithControlsEscaped(const QString& json) {
    QString escaped;
    for (const QChar c : json) {
        if (c.unicode() >= 0x7F && c.unicode() <= 0x9F) {
            escaped += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QString ValueText(const Value& value) {
    return std::holds_alternative<int>(value) ? QString::number(std::get<int>(value))
                                              : ToQString(std::get<std::u16string>(value));
}

QString ComparedText(const ComparedValue& value) {
    if (const auto* number = std::get_if<int>(&value)) {
        return QString::number(*number);
    }
    if (const auto* text = std::get_if<std::u16string>(&value)) {
        return u'"' + EscapeControls(ToQString(*text)) + u'"';
    }
    const auto& bytes = std::get<std::vector<std::uint8_t>>(value);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()))
        .toHex(' ')
        .toUpper();
}

QJsonValue ComparedJson(const ComparedValue& value) {
    if (const auto* number = std::get_if<int>(&value)) {
        return *number;
    }
    if (const auto* text = std::get_if<std::u16string>(&value)) {
        return ToQString(*text);
    }
    QJsonArray bytes;
    for (const std::uint8_t b : std::get<std::vector<std::uint8_t>>(value)) {
        bytes.append(b);
    }
    return bytes;
}
} // namespace

std::optional<PrintedValue> PrintedValueOf(const AreaField& row, const RadioInfo& record,
                                           const FormFields& shown) {
    if (row.Record.Number != nullptr) {
        return record.*row.Record.Number;
    }
    if (row.Text1 >= 0) {
        return shown.Text1[static_cast<std::size_t>(row.Text1)];
    }
    if (row.Kind == FieldKind::ModelText) {
        return shown.Combo1_0;
    }
    return std::nullopt;
}

// A radio's text cannot add a line, nor steer the terminal: each field is
// one line whatever its bytes.
std::string RecordText(const RadioInfo& record) {
    QString text;
    for (const auto& [name, value] : Fields(record)) {
        text += ToQString(name) + QStringLiteral(": ") + EscapeControls(ValueText(value)) + u'\n';
    }
    return text.toUtf8().toStdString();
}

std::string RecordJson(const RadioInfo& record) {
    QJsonObject object;
    for (const auto& [name, value] : Fields(record)) {
        object.insert(ToQString(name), std::holds_alternative<int>(value)
                                           ? QJsonValue(std::get<int>(value))
                                           : QJsonValue(ValueText(value)));
    }
    const QString json = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
    return WithControlsEscaped(json).toUtf8().toStdString();
}

std::string DifferencesText(const std::vector<FieldDifference>& differences) {
    QString text;
    for (const FieldDifference& d : differences) {
        text += ToQString(d.name) + QStringLiteral(": radio ") + ComparedText(d.radio) +
                QStringLiteral(", file ") + ComparedText(d.file) + u'\n';
    }
    return text.toUtf8().toStdString();
}

std::string DifferencesJson(const std::vector<FieldDifference>& differences) {
    QJsonObject object;
    for (const FieldDifference& d : differences) {
        object.insert(ToQString(d.name),
                      QJsonObject{{QStringLiteral("radio"), ComparedJson(d.radio)},
                                  {QStringLiteral("file"), ComparedJson(d.file)}});
    }
    const QString json = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
    return WithControlsEscaped(json).toUtf8().toStdString();
}

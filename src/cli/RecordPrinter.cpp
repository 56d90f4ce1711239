#include "RecordPrinter.h"

#include "EscapedText.h"

#include "record/FormFields.h"
#include "record/InfoArea.h"
#include "system/QtText.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <utility>
#include <variant>
#include <vector>

namespace {
using Value = std::variant<int, std::u16string>;

// The area's rows the record holds, in their order, each as the window shows
// it: the flags and the band as numbers, texts as their Text1 fields, the
// model as the Radio Type list's text. The version the model check reads and
// the bytes carried as they are are not the record's.
std::vector<std::pair<std::u16string_view, Value>> Fields(const RadioInfo& r) {
    const FormFields f = ShowFields(r);
    std::vector<std::pair<std::u16string_view, Value>> fields;
    for (const AreaField& row : InfoArea) {
        if (row.Record.Number != nullptr) {
            fields.emplace_back(row.Name, r.*row.Record.Number);
        } else if (row.Text1 >= 0) {
            fields.emplace_back(row.Name, f.Text1[static_cast<std::size_t>(row.Text1)]);
        } else if (row.Kind == FieldKind::ModelText) {
            fields.emplace_back(row.Name, f.Combo1_0);
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
} // namespace

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

#include "RecordPrinter.h"

#include "EscapedText.h"

#include "record/FormFields.h"
#include "system/QtText.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <utility>
#include <variant>
#include <vector>

namespace {
using Value = std::variant<int, std::u16string>;

std::vector<std::pair<const char*, Value>> Fields(const RadioInfo& r) {
    const FormFields f = ShowFields(r);
    return {
        {"FactoryMode", r.FactoryMode},
        {"FreqSet", r.FreqSet},
        {"Stun", r.Stun},
        {"Kill", r.Kill},
        {"BandCode", r.BandCode},
        {"ProgPassWord", f.Text1[12]},
        {"SerialNo", f.Text1[1]},
        {"ProductDate", f.Text1[2]},
        {"ManufactureCode", f.Text1[6]},
        {"UserCode", f.Text1[7]},
        {"MaintainDate", f.Text1[3]},
        {"DealerCode", f.Text1[8]},
        {"StockDate", f.Text1[9]},
        {"SellDate", f.Text1[10]},
        {"Seller", f.Text1[11]},
        {"MaintainDesc", f.Text1[4]},
        {"RadioModel", f.Combo1_0},
        {"AreaCode", f.Text1[0]},
        {"RfVersion", f.Text1[5]},
        {"LcdVersion", f.Text1[13]},
    };
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
        text += QString::fromLatin1(name) + QStringLiteral(": ") +
                EscapeControls(ValueText(value)) + u'\n';
    }
    return text.toUtf8().toStdString();
}

std::string RecordJson(const RadioInfo& record) {
    QJsonObject object;
    for (const auto& [name, value] : Fields(record)) {
        object.insert(QString::fromLatin1(name), std::holds_alternative<int>(value)
                                                     ? QJsonValue(std::get<int>(value))
                                                     : QJsonValue(ValueText(value)));
    }
    return QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
}

// Nothing a radio holds can add a line to read's output or steer the
// terminal, and no log cell is taken for a spreadsheet formula.
#include "cli/BatchLog.h"
#include "cli/EscapedText.h"
#include "cli/RecordPrinter.h"
#include "doubles/AreaMap.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace {
// The escape of one character as the manual page gives the rule.
std::u16string Expected(char16_t c) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    if (!control) {
        return std::u16string(1, c);
    }
    if (c == u'\n' || c == u'\r' || c == u'\t') {
        return c == u'\n' ? u"\\n" : c == u'\r' ? u"\\r" : u"\\t";
    }
    char text[8];
    std::snprintf(text, sizeof text, c < 0x80 ? "\\x%02x" : "\\u%04x", static_cast<unsigned>(c));
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

// --json: the text comes back from the JSON as it was, and no control
// character stands raw in the output (its line breaks are the layout's);
// DEL and C1 as \u escapes.
void ExpectJsonEscaped(char16_t c) {
    const std::u16string seller = u"a" + std::u16string(1, c) + u"b";
    RadioInfo record;
    record.Seller = seller;
    const QByteArray json = QByteArray::fromStdString(RecordJson(record));
    const bool rawControl = std::ranges::any_of(QString::fromUtf8(json), [](QChar ch) {
        const char16_t u = ch.unicode();
        return (u < 0x20 && u != u'\n') || (u >= 0x7F && u <= 0x9F);
    });
    EXPECT_FALSE(rawControl) << json.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(json).object().value("Seller").toString(),
              QString::fromStdU16String(seller));
    if (c >= 0x7F && c <= 0x9F) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
        EXPECT_TRUE(json.contains(QByteArray("\"a") + escape + "b\"")) << json.toStdString();
    }
}
} // namespace

TEST(Escaping, EveryCharacterUpToU00FFInTextAndJsonAndBeyond) {
    for (char16_t c = 0; c < 0x100; ++c) {
        SCOPED_TRACE(static_cast<int>(c));
        const std::u16string text = u"a" + std::u16string(1, c) + u"b";
        EXPECT_EQ(EscapeControls(text), u"a" + Expected(c) + u"b");
        if (c != 0) { // a radio's text ends at its first 0x00
            ExpectJsonEscaped(c);
        }
    }
    EXPECT_EQ(EscapeControls(u"经销商\\n"), u"经销商\\n");
}

TEST(RecordText, ARadiosTextCannotForgeALineOrReachTheTerminal) {
    RadioInfo record;
    record.MaintainDesc = u"Fixed\nSerialNo: 9999";
    record.SerialNo = u"\x1b[31mSN1\x1b[0m";
    record.Seller = u"\u009b2J";
    const QStringList lines = QString::fromStdString(RecordText(record)).split(u'\n');
    EXPECT_EQ(lines.filter(QRegularExpression("^SerialNo: ")),
              QStringList{"SerialNo: \\x1b[31mSN1\\x1b[0m"});
    EXPECT_TRUE(lines.contains("MaintainDesc: Fixed\\nSerialNo: 9999"));
    EXPECT_TRUE(lines.contains("Seller: \\u009b2J"));
    EXPECT_EQ(lines.size(), static_cast<qsizetype>(area::RecordFieldCount() + 1))
        << "every field and the end of the last line";
}

TEST(CsvCell, FormulasAreDisarmedAndSeparatorsQuoted) {
    const std::pair<QString, QString> cases[] = {
        {"written", "written"},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+1", "'+1"},
        {"-1", "'-1"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tx", "'\\tx"},
        {"\rx", "'\\rx"},
        {"a=b", "a=b"},
        {"a,b", "\"a,b\""},
        {"Model Type or Version Error!\r\nRadio Model:X",
         "Model Type or Version Error! Radio Model:X"},
        {"line\nbreak", "line break"},
        {"\x1b[2J", "\\x1b[2J"},
        {"", ""},
    };
    for (const auto& [text, cell] : cases) {
        EXPECT_EQ(CsvCell(text), cell) << text.toStdString();
    }
}

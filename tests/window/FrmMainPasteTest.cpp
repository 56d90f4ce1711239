// Pasted text keeps no control character: the dealer fields and the password
// show what is left, and a Write sends exactly that.
#include "VirtualLine.h"
#include "WindowFixture.h"
#include "doubles/AreaMap.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {
std::string FieldBytes(const TestRadio& radio, const char* name) {
    for (const area::Field& field : area::Fields) {
        if (std::string_view(field.Name) == name) {
            const auto first = radio.Mem().begin() + static_cast<std::ptrdiff_t>(field.Offset);
            return std::string(first, first + static_cast<std::ptrdiff_t>(field.Width));
        }
    }
    return {};
}

std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), '\0');
}
} // namespace

TEST(FrmMainPaste, ControlCharactersAreDroppedAndNeverWritten) {
    const struct {
        QString pasted;
        std::string dealer;   // what a 16-byte dealer field keeps
        std::string password; // what the 4-character password keeps
    } cases[] = {
        {"D-17\r\n", "D-17", "D-17"},
        {QString("SEL") + QChar(0) + "HIDDEN", "SELHIDDEN", "SEL"},
        {"a\tb", "ab", "ab"},
        {"\x1b[31mX", "[31mX", "[31"},
        {QString("Y") + QChar(0x9B) + "Z", "YZ", "YZ"},
        {"\r\n", "", ""},
    };
    const char* dealerFields[] = {"DealerCode", "StockDate", "SellDate", "Seller"};
    for (const auto& c : cases) {
        const std::string name = c.pasted.toStdString();
        VirtualWindow vw;
        VirtualLine& line = vw.line;
        FrmMain& w = vw.w;
        QGuiApplication::clipboard()->setText(c.pasted);
        for (std::size_t index = 8; index <= 12; ++index) {
            auto* edit = static_cast<QLineEdit*>(w.Text1[index]);
            edit->clear();
            edit->paste();
            EXPECT_EQ(edit->text().toStdString(), index == 12 ? c.password : c.dealer)
                << name << " in Text1(" << index << ")";
        }
        w.Command2->click();
        ASSERT_TRUE(line.clock.RunUntilIdle(60000));
        ASSERT_EQ(vw.fixture.Messages.size(), 1u);
        for (const char* field : dealerFields) {
            EXPECT_EQ(FieldBytes(line.radio, field), Padded(c.dealer, 16)) << name << " " << field;
        }
        EXPECT_EQ(FieldBytes(line.radio, "ProgPassWord"), Padded(c.password, 4)) << name;
    }
}

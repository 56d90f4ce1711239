// What a screen reader hears: every field, list and check box by its own
// caption in the window's language, a message box by its text; and the
// Frequency list's whole text.
#include "WindowFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// In the order of Fields.
const std::pair<const char*, const char*> Captions[] = {
    {"Area Code", "销售区号"},
    {"Serial Number", "序列号"},
    {"Producted Date", "出厂日期"},
    {"Maintained Date", "维修日期"},
    {"Maintained Description", "维修原因"},
    {"RF FW", "主板固件"},
    {"Manufacture Code", "生产批号"},
    {"User Code", "客户代码"},
    {"Dealer Code", "经销商代码"},
    {"Stock Date", "入库时间"},
    {"Sell Date", "销售时间"},
    {"Seller", "经手人"},
    {"Program PassWord", "编程密码"},
    {"LCD FW", "LCD固件"},
    {"Radio Count:", "写入台数："},
    {"Radio No.:", "当前台数："},
    {"Radio Type", "机型"},
    {"Frequency", "频段"},
    {"Com Port:", "串口选择:"},
    {"Factory", "工厂模式"},
    {"Stun", "遥晕"},
    {"Kill", "遥毙"},
    {"Freq. Set", "频段设置"},
};

std::vector<QWidget*> Fields(FrmMain& w) {
    std::vector<QWidget*> fields(w.Text1.begin(), w.Text1.end());
    fields.insert(fields.end(), {w.Text2[0], w.Text2[1], w.Combo1[0], w.Combo1[1], w.Combo2,
                                 w.Check1, w.Check2, w.Check3, w.Check8});
    return fields;
}

// UTF-8, so that a failure prints readable text.
std::string Heard(QWidget* control, QAccessible::Text text = QAccessible::Name) {
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(control);
    return heard != nullptr ? heard->text(text).toStdString() : "(no interface)";
}
} // namespace

TEST(FrmMainAccess, EveryFieldIsHeardByItsCaptionInTheWindowsLanguage) {
    for (const bool chinese : {false, true}) {
        WindowFixture f(chinese ? 0x0804 : 0x0409);
        const std::vector<QWidget*> fields = Fields(f.Window());
        ASSERT_EQ(fields.size(), std::size(Captions));
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const auto& [english, chineseCaption] = Captions[i];
            EXPECT_EQ(Heard(fields[i]), chinese ? chineseCaption : english);
        }
        EXPECT_EQ(Heard(f.Window().Combo1[0], QAccessible::Value), "KVT4610");
    }
}

// The window's own message box, not the fixture's recorder, with the band question.
TEST(FrmMainAccess, AMessageBoxIsHeardAsItsText) {
    QTemporaryDir dir;
    FrmMainPlatform platform;
    platform.systemLocaleId = [] { return 0x0804u; };
    platform.checkSysType = [](const auto&) { return true; };
    platform.ports = std::make_shared<FakePorts>();
    platform.settingsPath = dir.filePath("mysetup.ini").toStdString();
    platform.keptReadsFolder = dir.filePath("reads");
    FrmMain w(platform);
    w.Form_Load();

    std::string heard;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            heard = Heard(box);
            box->done(QMessageBox::Cancel);
        }
    });
    poll.start(10);
    w.ShowMessage(w.MsgFreqDiff[2], MessageButtons::OkCancel, MessageIcon::Exclamation);
    EXPECT_EQ(heard, "频段类型不同。是否覆盖？");
}

TEST(FrmMainAccess, TheFrequencyListShowsItsWholeTextAsItsTooltip) {
    WindowFixture f;
    QComboBox* list = f.Window().Combo1[1];
    list->setCurrentIndex(1);
    EXPECT_EQ(list->toolTip(),
              "UHF{Rx(400 - 490 MHz) Tx(400 - 490 MHz)} VHF{Rx(136 - 174 MHz) Tx(136 - 174 MHz)}");
    list->setCurrentIndex(-1);
    EXPECT_EQ(list->toolTip(), QString());
}

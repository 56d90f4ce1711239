// The English and the Chinese face of the window, chosen by the system locale.
#include "FrmMain.h"

#include "protocol/Messages.h"
#include "system/SystemLocale.h"

#include <QAbstractButton>

namespace {
struct Caption {
    QWidget* control;
    const char* english;
    const char* chinese;
};
} // namespace

// A label's caption is also its field's accessible name: Qt would name a
// field in a frame by the frame's title, and a list by its entry.
void FrmMain::SetCaption(QWidget* control, const QString& caption) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(caption);
        AutoSizeLabel(label);
        if (label->buddy() != nullptr) {
            label->buddy()->setAccessibleName(caption);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(caption);
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
        frame->setTitle(caption);
    }
}

// Moves a label so that its right edge stands gap twips left of its field.
void FrmMain::AlignLabel(QLabel* label, QWidget* field, float gap) {
    TwipsRect rect = Geometry(label);
    rect.Left = Geometry(field).Left - gap - rect.Width;
    Place(label, rect);
}

void FrmMain::ShowLanguage() {
    LangTypeValue = static_cast<std::int16_t>(LangTypeForLocaleId(platform_.systemLocaleId()));
    serial_.SetLangType(LangTypeValue); // why a port does not open, in the same language
    const Caption captions[] = {
        {Frame1, "Radio Setting", "机器设置"},
        {Frame2, "Dealer Information", "经销商信息"},
        {Command1, "&Read", "读出(&R)"},
        {Command2, "&Write", "写入(&W)"},
        {Command3, "E&xit", "退出(&X)"},
        {Command4, "&MulWrite", "写入多台(&M)"},
        {Label2, "Area Code", "销售区号"},
        {Label3, "Com Port:", "串口选择:"},
        {Label4, "Radio Count:", "写入台数："},
        {Label5, "Radio No.:", "当前台数："},
        {Label1[0], "Radio Type", "机型"},
        {Label1[1], "Frequency", "频段"},
        {Label1[2], "Serial Number", "序列号"},
        {Label1[3], "Producted Date", "出厂日期"},
        {Label1[4], "Maintained Date", "维修日期"},
        {Label1[5], "Maintained Description", "维修原因"},
        {Label1[6], "RF FW", "主板固件"},
        {Label1[7], "Manufacture Code", "生产批号"},
        {Label1[8], "User Code", "客户代码"},
        {Label1[9], "Dealer Code", "经销商代码"},
        {Label1[10], "Stock Date", "入库时间"},
        {Label1[11], "Sell Date", "销售时间"},
        {Label1[12], "Seller", "经手人"},
        {Label1[13], "Program PassWord", "编程密码"},
        {Label1[14], "LCD FW", "LCD固件"},
        {Check1, "Factory", "工厂模式"},
        {Check2, "Stun", "遥晕"},
        {Check3, "Kill", "遥毙"},
        {Check8, "Freq. Set", "频段设置"},
    };
    for (const Caption& c : captions) {
        SetCaption(c.control, QString::fromUtf8(LangTypeValue == 2 ? c.chinese : c.english));
    }

    AlignLabel(Label4, Text2[0], 20);
    AlignLabel(Label5, Text2[1], 20);
    AlignLabel(Label2, Text1[0], 50);
    for (std::size_t i = 0; i <= 8; ++i) {
        AlignLabel(Label1[i], Text1[0], 50);
    }
    for (std::size_t i = 9; i <= 12; ++i) {
        AlignLabel(Label1[i], Text1[8], 50);
    }
    AlignLabel(Label1[13], Text1[12], 50);
    AlignLabel(Label1[14], Text1[13], 50);

    MsgFreqDiff[1] = Msg::FreqDiff[0];
    MsgFreqDiff[2] = Msg::FreqDiff[1];
}

// The record shown in the window and collected back, with the band question.
#include "WindowFixture.h"

#include "record/ModFun.h"

#include <QTest>
#include <gtest/gtest.h>

#include <vector>

using Bytes = std::vector<std::uint8_t>;

using namespace std::string_literals;

TEST(FrmMainMapping, StartUpShowsTheDefaults) {
    WindowFixture f;
    FrmMain& w = f.Window();
    EXPECT_EQ(w.Combo1[1]->count(), 2);
    EXPECT_EQ(w.Combo1[1]->currentIndex(), 1);
    EXPECT_EQ(w.Combo1[0]->currentText(), "KVT4610");
    EXPECT_FALSE(w.Combo1[0]->isEnabled());
    EXPECT_EQ(w.Text1Text(1), "2026120700000001");
    EXPECT_EQ(w.Text1Text(2), "2026-12-07");
    EXPECT_EQ(w.Text1Text(6), "12-1-E-1");
    EXPECT_EQ(w.Text1Text(5), "V1.00");
    EXPECT_EQ(w.Text1Text(13), "V1.00");
    for (const int index : {8, 9, 10, 11, 12}) {
        EXPECT_EQ(w.Text1Text(index), "") << index;
    }
}

TEST(FrmMainMapping, ShowThenCollectKeepsTheRecord) {
    WindowFixture f;
    FrmMain& w = f.Window();
    RadioInfo& r = w.Data.Record;
    r.FactoryMode = 1;
    r.Stun = 1;
    r.BandCode = 0;
    r.DealerCode = u"A1";
    r.Seller = u"  lead";
    r.SellDate = u"中文\0"s;
    r.ProgPassWord = u"a\u00E9";
    r.RfVersion = u"V1A.00";
    r.MaintainDesc = u"line one\nline two";
    r.AreaCode = u"0042";
    w.ShowByData();
    EXPECT_TRUE(w.Check1->isChecked());
    EXPECT_TRUE(w.Check2->isChecked());
    EXPECT_FALSE(w.Check3->isChecked());
    EXPECT_EQ(w.Combo1[1]->currentIndex(), 0);
    EXPECT_EQ(w.Text1Text(12), Q("aé")) << "the radio's own byte shows as it reads";
    EXPECT_EQ(w.Text1Text(10), Q("中文"));
    EXPECT_EQ(w.Text1Text(4), "line one\nline two");

    static_cast<QLineEdit*>(w.Text1[8])->setText("A1  ");
    w.GetDataByShow();
    EXPECT_TRUE(f.Messages.empty());
    EXPECT_EQ(r.DealerCode.Str(), u"A1" + std::u16string(14, u' '));
    EXPECT_EQ(TrimText(r.Seller.Str()), u"  lead");
    EXPECT_EQ(TrimText(r.SellDate.Str()), u"中文");
    EXPECT_EQ(r.RfVersion, u"V1A.00") << "a version as a radio reports it is kept";
    EXPECT_EQ(r.AreaCode, u"0042");
    EXPECT_EQ(r.FactoryMode, 1);
    EXPECT_EQ(TrimText(r.MaintainDesc.Str()), u"line one\nline two");
}

TEST(FrmMainMapping, AnUneditedPasswordGoesBackAsTheRadioHeldIt) {
    WindowFixture f;
    FrmMain& w = f.Window();
    const Bytes held = {0x31, 0x32, 0xB0, 0x33};
    std::copy(held.begin(), held.end(), w.Data.Image.begin() + 0x18);
    w.Data.UnpackImage();
    w.ShowByData();
    EXPECT_EQ(w.Text1Text(12), Q("12°3"));

    std::fill_n(w.Data.Image.begin() + 0x18, 4, 0); // the record alone must carry the bytes
    w.GetDataByShow();
    w.Data.PackImage(PackRule::KeepUnedited);
    EXPECT_EQ(Bytes(w.Data.Image.begin() + 0x18, w.Data.Image.begin() + 0x1C), held);

    auto* edit = static_cast<QLineEdit*>(w.Text1[12]);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(w.Text1Text(12), Q("12°")) << "a field holding the radio's byte stays editable";
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(w.Text1Text(12), Q("12°a"));
}

TEST(FrmMainMapping, BandQuestionBothWays) {
    struct Case {
        std::uint32_t locale;
        MessageResult answer;
        std::int16_t band;
        int shown;
        const char* text;
    };
    const Case cases[] = {
        {0x0409, MessageResult::Ok, 1, 1, "Frequencys is different. Overwrite?"},
        {0x0409, MessageResult::Cancel, 0, 0, "Frequencys is different. Overwrite?"},
        {0x0804, MessageResult::Ok, 1, 1, "频段类型不同。是否覆盖？"},
    };
    for (const Case& c : cases) {
        WindowFixture f(c.locale);
        FrmMain& w = f.Window();
        f.Answer = c.answer;
        w.Combo1[1]->setCurrentIndex(1);
        w.Data.Record.BandCode = 0; // the radio's band
        w.GetDataByShow();
        ASSERT_EQ(f.Messages.size(), 1u);
        EXPECT_EQ(f.Messages[0].text, Q(c.text).toStdU16String());
        EXPECT_EQ(f.Messages[0].buttons, MessageButtons::OkCancel);
        EXPECT_EQ(f.Messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(w.Data.Record.BandCode, c.band);
        EXPECT_EQ(w.Combo1[1]->currentIndex(), c.shown);
    }
}

TEST(FrmMainMapping, BandWithoutAListEntryIsKeptWithoutAQuestion) {
    WindowFixture f;
    FrmMain& w = f.Window();
    w.Data.Record.BandCode = 7;
    w.ShowByData();
    EXPECT_EQ(w.Combo1[1]->currentIndex(), -1);
    w.GetDataByShow();
    EXPECT_TRUE(f.Messages.empty());
    EXPECT_EQ(w.Data.Record.BandCode, 7);

    w.Data.Record.BandCode = 1;
    w.ShowByData();
    w.GetDataByShow();
    EXPECT_TRUE(f.Messages.empty()) << "equal bands ask nothing";
}

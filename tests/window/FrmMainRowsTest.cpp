// The field rows of both frames as the layout gives them: each label where it
// stands before the language routine sizes it, captioning the field beside
// it; the dealer frame under the radio fields; the whole focus order,
// disabled and hidden controls included.
#include "WindowFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(FrmMainRows, EachLabelStandsBesideTheFieldItCaptions) {
    WindowFixture f(0x0409, {}, WindowFixture::Load::Later);
    FrmMain& w = f.Window();
    struct Row {
        QLabel* label;
        QWidget* field;
        TwipsRect rect;
    };
    const auto& l = w.Label1;
    const auto& t = w.Text1;
    const Row rows[] = {
        {w.Label2, t[0], {1200, 1245, 720, 225}},     {l[0], w.Combo1[0], {1560, 2325, 360, 225}},
        {l[1], w.Combo1[1], {1560, 2685, 360, 225}},  {l[2], t[1], {1380, 3405, 540, 225}},
        {l[3], t[2], {1200, 3765, 720, 225}},         {l[4], t[3], {1200, 4125, 720, 225}},
        {l[5], t[4], {1200, 5325, 720, 225}},         {l[6], t[5], {1200, 4485, 720, 225}},
        {l[7], t[6], {1200, 1605, 720, 225}},         {l[8], t[7], {1200, 1965, 720, 225}},
        {l[9], t[8], {840, 285, 900, 225}},           {l[10], t[9], {1080, 645, 720, 225}},
        {l[11], t[10], {1080, 1005, 720, 225}},       {l[12], t[11], {1200, 1365, 540, 225}},
        {l[13], t[12], {1320, 3045, 720, 225}},       {l[14], t[13], {1200, 4845, 720, 225}},
        {w.Label3, w.Combo2, {7080, 840, 900, 225}},  {w.Label4, w.Text2[0], {360, 720, 900, 225}},
        {w.Label5, w.Text2[1], {360, 960, 900, 225}},
    };
    ASSERT_GE(w.Label1.size(), 15u);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        ASSERT_NE(row.label, nullptr) << "row " << i;
        EXPECT_EQ(row.label->buddy(), row.field) << "row " << i;
        EXPECT_EQ(row.label->parentWidget(), row.field->parentWidget()) << "row " << i;
        EXPECT_EQ(row.label->isVisibleTo(&w), row.field->isVisibleTo(&w)) << "row " << i;
        const TwipsRect r = w.Geometry(row.label);
        EXPECT_EQ(r.Left, row.rect.Left) << "row " << i;
        EXPECT_EQ(r.Top, row.rect.Top) << "row " << i;
        EXPECT_EQ(r.Width, row.rect.Width) << "row " << i;
        EXPECT_EQ(r.Height, row.rect.Height) << "row " << i;
    }
    const TwipsRect dealer = w.Geometry(w.Frame2);
    EXPECT_EQ(dealer.Left, 120);
    EXPECT_EQ(dealer.Top, 6360);
    EXPECT_EQ(dealer.Width, 8535);
    EXPECT_EQ(dealer.Height, 1815);
    EXPECT_EQ(w.Frame2->parentWidget(), w.Frame1);
}

// Tab reaches only the enabled controls (FrmMainLayout), but the order holds
// them all: a field enabled later takes its own place.
TEST(FrmMainRows, TheFocusOrderHoldsEveryControlInItsPlace) {
    WindowFixture f;
    FrmMain& w = f.Window();
    const auto& t = w.Text1;
    const std::vector<QWidget*> expected{
        w.Check1,   w.Combo1[0], w.Combo1[1], t[0],       t[1],     t[2],       t[3],
        t[4],       w.Command1,  w.Command2,  w.Command3, w.Combo2, t[5],       t[6],
        t[7],       t[8],        t[9],        t[10],      t[11],    w.Command4, w.Text2[0],
        w.Text2[1], t[12],       w.Check8,    t[13],      w.Check2, w.Check3,
    };
    std::vector<QWidget*> chain;
    QWidget* control = w.Check1;
    do {
        if (std::ranges::find(expected, control) != expected.end()) {
            chain.push_back(control);
        }
        control = control->nextInFocusChain();
    } while (control != w.Check1 && chain.size() <= expected.size());
    EXPECT_EQ(chain, expected);
    for (QWidget* stop : expected) {
        EXPECT_EQ(stop->focusPolicy(), Qt::StrongFocus);
    }
}

// A Read and a Write driven through the window's buttons against radio-sim.
#include "Processes.h"
#include "WindowFixture.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {
QByteArray Radio() {
    QByteArray m(256, '\0');
    m.replace(0, 11, "KVT4610V100");
    m.replace(0x0B, 6, QByteArray("\x01\x00\x02\x05\x00\x06", 6));
    m.replace(0x18, 4, "4321");
    m.replace(0x20, 16, "2026113000000041");
    m.replace(0x60, 4, "OLD1");
    m.replace(0x90, 4, "\xD5\xC5\xC8\xFD"); // 张三
    for (int i = 0xF0; i < 0x100; ++i) {
        m[i] = static_cast<char>(0x100 - i);
    }
    return m;
}

bool WaitForMessage(WindowFixture& f, std::size_t count) {
    return QTest::qWaitFor([&] { return f.Messages.size() >= count; }, 10000);
}
} // namespace

TEST(FrmMainRadio, ReadThenWriteThroughTheWindow) {
    QTemporaryDir dir;
    const QString saved = dir.filePath("saved.bin");
    SimulatedRadio radio({"--image", WriteImage(dir, "radio.bin", Radio()), "--save", saved});
    ASSERT_FALSE(radio.Device().isEmpty());
    WindowFixture f(0x0409, radio.Device());
    FrmMain& w = f.Window();
    w.Comm().ComPortNo = 1;

    w.Command1->click();
    ASSERT_TRUE(WaitForMessage(f, 1));
    EXPECT_EQ(f.Messages[0].text, u"Read Complete!");
    EXPECT_EQ(w.Text1Text(1), "2026113000000041");
    EXPECT_EQ(w.Text1Text(12), "4321");
    EXPECT_EQ(w.Text1Text(11), Q("张三"));
    EXPECT_EQ(w.Text1Text(13), "V2.05");
    EXPECT_TRUE(w.Check2->isChecked() && w.Check8->isChecked());
    EXPECT_EQ(w.Combo1[1]->currentIndex(), 0);

    static_cast<QLineEdit*>(w.Text1[8])->setText(Q("经销商"));
    w.Check2->setChecked(false);
    w.Command2->click();
    ASSERT_TRUE(WaitForMessage(f, 2));
    EXPECT_EQ(f.Messages[1].text, u"Write Complete!");
    EXPECT_EQ(w.Text1Text(1), "2026113000000042") << "the serial number advances in the window";
    EXPECT_EQ(w.Comm().OperationMode, ModeIdle);

    QByteArray expected = Radio();
    expected[0x10] = 0x02;
    expected.replace(0x60, 16, QByteArray("\xBE\xAD\xCF\xFA\xC9\xCC", 6).leftJustified(16, '\0'));
    radio.StopAndTranscript();
    EXPECT_EQ(ReadFile(saved).toHex(' '), expected.toHex(' '));
}

TEST(FrmMainRadio, PortThatCannotOpenShowsTheStopIcon) {
    WindowFixture f(0x0409, "/nonexistent/tty");
    f.Window().Comm().ComPortNo = 3;
    f.Window().Command1->click();
    ASSERT_EQ(f.Messages.size(), 1u);
    EXPECT_TRUE(f.Messages[0].text.starts_with(u"Cannot Open Communication Port."));
    EXPECT_EQ(f.Messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(f.Window().Comm().OperationMode, ModeIdle);
}

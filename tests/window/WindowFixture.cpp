#include "WindowFixture.h"

#include <QTest>

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

WindowFixture::WindowFixture(std::uint32_t localeId, QString device) {
    FrmMainPlatform platform;
    platform.systemLocaleId = [localeId] { return localeId; };
    platform.today = [] { return CalendarDate{2026, 12, 7}; };
    platform.portDevice = [device](int) { return device; };
    platform.messageBox = [this](FrmMain*, std::u16string_view text, MessageButtons buttons,
                                 MessageIcon icon) {
        Messages.push_back({std::u16string(text), buttons, icon});
        return buttons == MessageButtons::OkCancel ? Answer : MessageResult::Ok;
    };
    window_ = std::make_unique<FrmMain>(platform);
    window_->Form_Load();
}

void WindowFixture::ShowActive() {
    window_->show();
    window_->activateWindow();
    QApplication::setActiveWindow(window_.get());
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window_.get());
}

#include "WindowFixture.h"

#include <QFile>
#include <QTest>

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::vector<SystemPort> Listed(std::initializer_list<const char*> names) {
    std::vector<SystemPort> ports;
    for (const char* name : names) {
        const QString text = QString::fromLatin1(name);
        ports.push_back(
            {text.toStdU16String(), (QStringLiteral("/dev/fake-") + text).toStdU16String()});
    }
    return ports;
}

WindowFixture::WindowFixture(std::uint32_t localeId, QString device, Load load,
                             const std::function<void(FrmMainPlatform&)>& adjust) {
    FrmMainPlatform platform;
    platform.systemLocaleId = [localeId] { return localeId; };
    platform.today = [] { return CalendarDate{2026, 12, 7}; };
    platform.portDevice = [device](int) { return device; };
    platform.messageBox = [this](FrmMain* w, std::u16string_view text, MessageButtons buttons,
                                 MessageIcon icon) {
        Messages.push_back({std::u16string(text), buttons, icon, w->Command4->text(),
                            w->Text2[1]->text(), w->Label6->text(), w->Command1->isEnabled()});
        return buttons == MessageButtons::OkCancel ? Answer : MessageResult::Ok;
    };
    platform.checkSysType = [this](const std::function<void(std::u16string_view)>& showMessage) {
        if (OsQueryFails) {
            showMessage(u"未知操作系统");
            return false;
        }
        return FixedList;
    };
    platform.ports = Ports;
    platform.settingsPath = SettingsPath().toStdString();
    platform.keptReadsFolder = ReadsFolder();
    platform.nowUtc = [this] { return NowUtc; };
    platform.saveDurably = [this](const std::function<QString(int)>& nameFor,
                                  const QByteArray& bytes) {
        return SaveFailure ? SavedFile{{}, SaveFailure} : KeptReads::DiskSave()(nameFor, bytes);
    };
    if (adjust) {
        adjust(platform);
    }
    window_ = std::make_unique<FrmMain>(platform);
    if (load == Load::Now) {
        window_->Form_Load();
    }
}

void WindowFixture::ShowActive() {
    window_->show();
    window_->activateWindow();
    QApplication::setActiveWindow(window_.get());
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window_.get());
}

// radioinfo: the dealers' radio information tool.
#include "FrmMain.h"
#include "system/SystemLocale.h"

#include <QApplication>
#include <QDate>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    FrmMain::UseClassicStyle();
    FrmMainPlatform platform;
    platform.systemLocaleId = SystemDefaultLocaleId;
    platform.today = [] {
        const QDate today = QDate::currentDate();
        return CalendarDate{today.year(), today.month(), today.day()};
    };
    FrmMain window(platform);
    window.Form_Load();
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    return app.exec();
}

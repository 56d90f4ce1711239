// radioinfo: the dealers' radio information tool.
#include "FrmMain.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    FrmMain::UseClassicStyle();
    FrmMain window(FrmMainPlatform{});
    window.Form_Load();
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    return app.exec();
}

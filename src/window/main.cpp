// radioinfo: the dealers' radio information tool.
#include "FrmMain.h"
#include "QtTranslations.h"
#include "Version.h"
#include "system/StopSignals.h"
#include "system/SystemLocale.h"

#include <QApplication>
#include <QScreen>
#include <QSessionManager>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {
// --version and --help answer before Qt looks for a display, so they work
// from a console without one. Qt's own options (-platform, ...) pass on.
bool AnswersOption(int argc, char* argv[], int& status) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("radioinfo %s\n", RadioinfoVersion);
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: radioinfo [--help] [--version] [Qt options]\n"
                        "The dealers' radio information tool for the KVT4610; "
                        "see radioinfo(1).\n");
        } else {
            continue;
        }
        status = std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
        return true;
    }
    return false;
}
} // namespace

int main(int argc, char* argv[]) {
    if (int status = 0; AnswersOption(argc, argv, status)) {
        return status;
    }
#ifndef _WIN32
    // A file over the size limit (the settings, a kept read) is a failed
    // save, and a closed stderr lost output; neither ends the program, with
    // a radio half written.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QApplication app(argc, argv);
    FrmMain::UseClassicStyle();
    // Before the window: a box of its start-up has Chinese buttons too.
    const auto qtTexts = InstallQtTranslations(LangTypeForLocaleId(SystemDefaultLocaleId()));
    FrmMain window(FrmMainPlatform{});
    window.Form_Load();
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    // A logout or a shutdown closes the window as Exit does: a radio being
    // written is finished first. A logout sends SIGTERM and SIGHUP together,
    // and a hangup may come twice: they ask once. Only a second Ctrl+C
    // closes at once, as a second Exit does.
    const StopSignals stopSignals([&window](int signal) {
        if (signal == SIGINT || !window.Closing()) {
            window.close();
        }
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) {
                         if (!window.Closing()) {
                             window.close();
                         }
                     });
    return app.exec();
}

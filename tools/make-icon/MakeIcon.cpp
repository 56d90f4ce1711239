// Writes the application icon as a PNG file, for the desktop's icon theme.
#include "window/Icon.h"

#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icon OUTPUT.png\n");
        return 2;
    }
    return ApplicationIcon().pixmap(48, 48).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}

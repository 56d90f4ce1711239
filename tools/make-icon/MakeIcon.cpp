// Writes the application icon for the desktop's icon theme: a PNG of the
// size given, or the scalable SVG.
#include "window/Icon.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString output = argc >= 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (argc == 2 && output.endsWith(QLatin1String(".svg"))) {
        QFile svg(output);
        const QByteArray text = IconSvg();
        return svg.open(QIODevice::WriteOnly) && svg.write(text) == text.size() ? 0 : 1;
    }
    const int size = argc == 3 ? QByteArray(argv[2]).toInt() : 0;
    if (size <= 0) {
        std::fprintf(stderr, "usage: make-icon OUTPUT.png SIZE | make-icon OUTPUT.svg\n");
        return 2;
    }
    return IconImage(size).save(output, "PNG") ? 0 : 1;
}

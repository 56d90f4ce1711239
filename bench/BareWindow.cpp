// The yardstick for the window benchmark: an empty Qt Widgets window from the
// same Qt, doing nothing but showing itself. With --label it shows one line of
// text, which is what it takes Qt to load fonts at all.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    if (app.arguments().contains(QStringLiteral("--label"))) {
        new QLabel(QStringLiteral("Radio Information Tool"), &window);
    }
    window.show();
    return app.exec();
}

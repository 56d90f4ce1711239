// The yardstick for the window benchmark: an empty Qt Widgets window from the
// same Qt, doing nothing but showing itself.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    return app.exec();
}

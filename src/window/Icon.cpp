#include "Icon.h"

#include <QPainter>
#include <QPixmap>

namespace {
constexpr int Grid = 48;

struct IconPart {
    int left, top, width, height;
    QRgb colour;
};

constexpr QRgb Black = 0x202020, Body = 0x2E4A7D, Light = 0x5B7FC0, Screen = 0x9FE29A,
               Text = 0x3C6E3A, Side = 0xF2C230, Key = 0xE8E8E8, Led = 0xD03030;

// Painted in order, each over the ones before.
constexpr IconPart Parts[] = {
    {29, 0, 5, 3, Black},                          // antenna tip
    {30, 3, 3, 9, Black},                          // antenna
    {12, 12, 24, 35, Black},                       // case outline
    {13, 13, 22, 33, Body},                        // case
    {14, 14, 20, 3, Light},                        // top panel
    {13, 13, 3, 2, Led},                           // lamp
    {15, 18, 18, 10, Black},                       // display frame
    {16, 19, 16, 8, Screen},                       // display
    {17, 21, 10, 2, Text},                         // display text
    {17, 24, 6, 1, Text},    {33, 20, 3, 7, Side}, // side key
    {16, 30, 4, 3, Key},                           // keypad, three rows of three
    {22, 30, 4, 3, Key},     {28, 30, 4, 3, Key},  {16, 35, 4, 3, Key}, {22, 35, 4, 3, Key},
    {28, 35, 4, 3, Key},     {16, 40, 4, 3, Key},  {22, 40, 4, 3, Key}, {28, 40, 4, 3, Key},
};
} // namespace

QImage IconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, size % Grid != 0);
    painter.scale(double(size) / Grid, double(size) / Grid);
    for (const IconPart& part : Parts) {
        painter.fillRect(QRectF(part.left, part.top, part.width, part.height),
                         QColor::fromRgb(part.colour));
    }
    return image;
}

QByteArray IconSvg() {
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" "
                     "viewBox=\"0 0 48 48\">\n";
    for (const IconPart& part : Parts) {
        svg +=
            QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                .arg(part.left)
                .arg(part.top)
                .arg(part.width)
                .arg(part.height)
                .arg(QColor::fromRgb(part.colour).name())
                .toUtf8();
    }
    return svg + "</svg>\n";
}

QIcon ApplicationIcon() {
    return QIcon(QPixmap::fromImage(IconImage(Grid)));
}

#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

// The tool's application icon, a handheld radio: drawn from rectangles on a
// grid of 48 x 48, so the window's 48-pixel icon is exact pixel art and the
// larger sizes and the scalable form come from the same drawing.
QIcon ApplicationIcon();

// The icon drawn at size x size pixels, the background transparent.
QImage IconImage(int size);

// The icon as a scalable SVG document.
QByteArray IconSvg();

#pragma once

#include <QRect>
#include <cmath>

// Positions and sizes of the window's controls are kept in twips (1/1440
// inch), the unit the layout is drawn in; 15 twips are one pixel at 96 dpi.
struct TwipsRect {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;

    constexpr float Right() const { return Left + Width; }
    constexpr float Bottom() const { return Top + Height; }
};

inline int TwipsToPixels(float twips, double dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

inline float PixelsToTwips(int pixels, double dpi) {
    return static_cast<float>(pixels * 1440.0 / dpi);
}

inline QRect ToPixels(const TwipsRect& r, double dpi) {
    const int left = TwipsToPixels(r.Left, dpi);
    const int top = TwipsToPixels(r.Top, dpi);
    return QRect(left, top, TwipsToPixels(r.Right(), dpi) - left,
                 TwipsToPixels(r.Top + r.Height, dpi) - top);
}

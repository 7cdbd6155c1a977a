#pragma once
// Window geometry is designed in twips: 1440 to the inch, so 15 twips to a
// pixel on a 96-dpi screen.
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <cmath>

namespace platform {

inline constexpr double kTwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline double PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// The primary screen's size in twips (the design screen is 9600 x 7200).
QSizeF ScreenSizeTwips();
// The desktop work area (screen less task bars) in twips.
QSizeF WorkAreaTwips();

// A screen as a window is laid out for it, in twips: its whole size and its
// desktop work area, the part the task bars leave free.
struct ScreenTwips {
    // A screen without task bars: the work area is all of it.
    ScreenTwips(QSizeF screen) : size(screen), workArea(QPointF(0, 0), screen) {}  // NOLINT: implicit
    ScreenTwips(QSizeF screen, QRectF work) : size(screen), workArea(work) {}

    QSizeF size;
    QRectF workArea;
};
// The primary screen.
ScreenTwips PrimaryScreenTwips();

}  // namespace platform

#pragma once
// Window geometry is designed in twips: 1440 to the inch, so 15 twips to a
// pixel on a 96-dpi screen.
#include <QSize>
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

}  // namespace platform

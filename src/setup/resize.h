#pragma once
// Proportional window scaling. Windows are designed for a screen of 9600 x
// 7200 twips; these operations stretch a window, its controls, fonts, lines
// and list-view columns to another size. Each window calls one of them once,
// from its load, before it is shown.
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <cstdint>

namespace platform {
class Form;
}

namespace setup {

inline constexpr double kDesignScreenWidth = 9600;
inline constexpr double kDesignScreenHeight = 7200;

// How the controls of a window are scaled: positions and sizes by x and y,
// fonts by font.
struct ControlScale {
    double x = 1;    // left, width, X1, X2, column widths
    double y = 1;    // top, height, Y1, Y2
    float font = 1;  // font sizes
    bool keepComboHeight = false;
    QString fontName;  // empty: faces stay
};

// Scales every control of the window (not the window itself) and shows the
// result. Timers, menus and other controls without a box keep their values.
void ScaleControls(platform::Form& Frm, const ControlScale& scale);

// Scales the window by sx = screen width / 9600 and sy = screen height / 7200
// and places it centred, 170 twips above the middle of the screen.
void ResizeForm(platform::Form& Frm, QSizeF screenTwips);
// The same on the primary screen.
void ResizeForm(platform::Form& Frm);

// Scales the window with `area` (the screen or the desktop work area) against
// the design screen: its width and height by the area's ratios, placed
// centred across the area and with 1/topDivisor of the free height above it
// (2 centres it). Its own font size becomes size x new width / 9600. Every
// control's box and lines' end points scale by the same ratios, list-view
// columns by the width ratio, and fonts by screenWidth / 9600, at most 1.5.
void ScaleToArea(platform::Form& Frm, QSizeF area, double screenWidth, double topDivisor);

// Scales the window by sx = screen width / 9600 and sy = screen height / 7200
// and centres it exactly on the screen; its own font follows sx. Controls
// scale by position and size, their fonts by `controlFont` (the help page
// takes the smaller ratio, the colour dialog sx).
void ResizeCentred(platform::Form& Frm, QSizeF screenTwips, float controlFont);

// Sizes the window to NewWidth x NewHeight (FixedSize = 1) or by the ratio of
// that size to DesignWidth x DesignHeight, centres it in the target area, and
// scales the controls by the change of the window's inner area. Fonts follow
// the smaller ratio, tempered by FontScale; a FontName that is not empty
// becomes the face of the window and its controls.
void ResizeFormTo(platform::Form& Frm, float NewWidth, float NewHeight, float DesignWidth,
                  float DesignHeight, std::uint8_t FixedSize, float FontScale,
                  const QString& FontName);

// Keeps a scaled window on the desktop work area, frame included. A window
// larger than the area shrinks to it: its client area and every control's
// box and lines by the same ratios, fonts unchanged. Then it moves the least
// that puts all of it inside the area, so its title bar can always be
// reached.
void KeepInWorkArea(platform::Form& Frm, QRectF workArea);

}  // namespace setup

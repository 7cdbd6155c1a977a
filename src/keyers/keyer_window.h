#pragma once
// What the keyer windows share: how they scale themselves at load (the voice
// keyer and the voice navigation window to the screen, the CW keyer to the
// desktop work area, all from the design screen of 9600 x 7200 twips), and
// their bold headings.
#include <QSizeF>
#include <QString>

#include "platform/twips.h"

class QLabel;

namespace platform {
class Form;
}

namespace keyers {

// The window's width and height grow as `area` does against the design
// screen, and it is centred in `area` exactly. Its own font size becomes
// size x new width / 9600. Every control's box grows by the same ratios as
// the window, lines' end points with them, and its font by the screen width /
// 9600, at most 1.5.
void ScaleKeyerWindow(platform::Form& Frm, QSizeF area, double screenWidth);

// The voice keyer's and voice navigation's rule: to the screen. Either rule
// then keeps the window on the screen's work area.
void ScaleToScreen(platform::Form& Frm, const platform::ScreenTwips& screen);
// The CW keyer's rule: to the desktop work area.
void ScaleToWorkArea(platform::Form& Frm, const platform::ScreenTwips& screen);

// A label in the window's font made bold.
QLabel* AddHeading(platform::Form& Frm, const QString& name, const QString& caption, float left,
                   float top, float width, float height);

}  // namespace keyers

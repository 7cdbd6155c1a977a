#include "keyers/keyer_window.h"

#include <QLabel>

#include "platform/form.h"
#include "platform/twips.h"
#include "setup/resize.h"

namespace keyers {

void ScaleKeyerWindow(platform::Form& Frm, QSizeF area, double screenWidth) {
    setup::ScaleToArea(Frm, area, screenWidth, 2);
}

void ScaleToScreen(platform::Form& Frm, const platform::ScreenTwips& screen) {
    ScaleKeyerWindow(Frm, screen.size, screen.size.width());
    setup::KeepInWorkArea(Frm, screen.workArea);
}

void ScaleToWorkArea(platform::Form& Frm, const platform::ScreenTwips& screen) {
    ScaleKeyerWindow(Frm, screen.workArea.size(), screen.size.width());
    setup::KeepInWorkArea(Frm, screen.workArea);
}

QLabel* AddHeading(platform::Form& Frm, const QString& name, const QString& caption, float left,
                   float top, float width, float height) {
    QLabel* label = Frm.AddLabel(name, caption, left, top, width, height);
    platform::FontModel bold = Frm.Font;
    bold.Bold = true;
    Frm.SetFont(label, bold);
    return label;
}

}  // namespace keyers

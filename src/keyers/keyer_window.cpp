#include "keyers/keyer_window.h"

#include <QLabel>
#include <algorithm>

#include "platform/form.h"
#include "platform/twips.h"
#include "setup/resize.h"

namespace keyers {

void ScaleKeyerWindow(platform::Form& Frm, QSizeF area, double screenWidth) {
    const double sx = static_cast<float>(area.width()) / setup::kDesignScreenWidth;
    const double sy = static_cast<float>(area.height()) / setup::kDesignScreenHeight;

    Frm.Width = static_cast<float>(Frm.Width * sx);
    Frm.Height = static_cast<float>(Frm.Height * sy);
    Frm.Left = static_cast<float>((area.width() - Frm.Width) / 2);
    Frm.Top = static_cast<float>((area.height() - Frm.Height) / 2);
    Frm.Font.Size = static_cast<float>(Frm.Font.Size * Frm.Width / setup::kDesignScreenWidth);

    const float font = std::min(static_cast<float>(screenWidth / setup::kDesignScreenWidth), 1.5f);
    setup::ScaleControls(Frm, {.x = sx, .y = sy, .font = font, .keepComboHeight = true,
                               .fontName = {}});
}

void ScaleToScreen(platform::Form& Frm) {
    const QSizeF screen = platform::ScreenSizeTwips();
    ScaleKeyerWindow(Frm, screen, screen.width());
}

void ScaleToWorkArea(platform::Form& Frm) {
    ScaleKeyerWindow(Frm, platform::WorkAreaTwips(), platform::ScreenSizeTwips().width());
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

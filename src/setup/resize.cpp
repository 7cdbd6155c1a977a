#include "setup/resize.h"

#include <algorithm>
#include <iterator>

#include "platform/form.h"
#include "platform/twips.h"

namespace setup {

using platform::Control;
using platform::ControlKind;

namespace {

// Kinds whose box (position and size) scales; the same but the image have a
// font that scales.
constexpr ControlKind kBoxKinds[] = {
    ControlKind::Label,    ControlKind::TextBox,      ControlKind::CommandButton,
    ControlKind::ListBox,  ControlKind::ComboBox,     ControlKind::Image,
    ControlKind::CheckBox, ControlKind::OptionButton, ControlKind::Frame,
    ControlKind::ListView,
};

bool ScalesBox(ControlKind kind) {
    return std::ranges::find(kBoxKinds, kind) != std::end(kBoxKinds);
}

bool ScalesFont(ControlKind kind) { return ScalesBox(kind) && kind != ControlKind::Image; }

// A ratio as the window system keeps it: single precision.
float Single(double value) { return static_cast<float>(value); }

void ScaleControl(Control& control, const ControlScale& scale) {
    const ControlKind kind = control.Kind;
    if (ScalesBox(kind)) {
        if (!(kind == ControlKind::ComboBox && scale.keepComboHeight))
            control.Height = Single(control.Height * scale.y);
        control.Left = Single(control.Left * scale.x);
        control.Top = Single(control.Top * scale.y);
        control.Width = Single(control.Width * scale.x);
    }
    if (ScalesFont(kind)) {
        if (!scale.fontName.isEmpty()) control.Font.Name = scale.fontName;
        control.Font.Size *= scale.font;
    }
    if (kind == ControlKind::Line) {
        control.X1 = Single(control.X1 * scale.x);
        control.X2 = Single(control.X2 * scale.x);
        control.Y1 = Single(control.Y1 * scale.y);
        control.Y2 = Single(control.Y2 * scale.y);
    }
    if (kind == ControlKind::ListView)
        for (float& width : control.ColumnWidths) width = Single(width * scale.x);
}

}  // namespace

void ScaleControls(platform::Form& Frm, const ControlScale& scale) {
    for (Control& control : Frm.Controls()) ScaleControl(control, scale);
    Frm.FontScale *= scale.font;
    Frm.Apply();
}

void ResizeForm(platform::Form& Frm, QSizeF screenTwips) {
    const double screenWidth = Single(screenTwips.width());
    const double screenHeight = Single(screenTwips.height());
    const double sx = screenWidth / kDesignScreenWidth;
    const double sy = screenHeight / kDesignScreenHeight;

    Frm.Width = Single(Frm.Width / kDesignScreenWidth * screenWidth);
    Frm.Height = Single(Frm.Height / kDesignScreenHeight * screenHeight);
    // Centred, a little above the middle; not kept on the screen.
    Frm.Left = Single((screenWidth - Frm.Width) / 2);
    Frm.Top = Single((screenHeight - Frm.Height) / 2 - 170);
    // The window's own font follows the height alone.
    Frm.Font.Size = Single(Frm.Font.Size * sy);

    ScaleControls(Frm, {.x = sx,
                        .y = sy,
                        .font = std::min(Single(sx), Single(sy)),
                        .keepComboHeight = true,
                        .fontName = {}});
}

void ResizeForm(platform::Form& Frm) { ResizeForm(Frm, platform::ScreenSizeTwips()); }

void ResizeCentred(platform::Form& Frm, QSizeF screenTwips, float controlFont) {
    const double sx = Single(screenTwips.width()) / kDesignScreenWidth;
    const double sy = Single(screenTwips.height()) / kDesignScreenHeight;
    Frm.Width = Single(Frm.Width * sx);
    Frm.Height = Single(Frm.Height * sy);
    Frm.Left = Single((screenTwips.width() - Frm.Width) / 2);
    Frm.Top = Single((screenTwips.height() - Frm.Height) / 2);
    Frm.Font.Size = Single(Frm.Font.Size * sx);
    ScaleControls(Frm, {.x = sx, .y = sy, .font = controlFont, .keepComboHeight = false, .fontName = {}});
}

void ScaleToArea(platform::Form& Frm, QSizeF area, double screenWidth, double topDivisor) {
    const double sx = Single(area.width()) / kDesignScreenWidth;
    const double sy = Single(area.height()) / kDesignScreenHeight;

    Frm.Width = Single(Frm.Width * sx);
    Frm.Height = Single(Frm.Height * sy);
    Frm.Left = Single((area.width() - Frm.Width) / 2);
    Frm.Top = Single((area.height() - Frm.Height) / topDivisor);
    Frm.Font.Size = Single(Frm.Font.Size * Frm.Width / kDesignScreenWidth);

    const float font = std::min(Single(screenWidth / kDesignScreenWidth), 1.5f);
    ScaleControls(Frm, {.x = sx, .y = sy, .font = font, .keepComboHeight = true, .fontName = {}});
}

void ResizeFormTo(platform::Form& Frm, float NewWidth, float NewHeight, float DesignWidth,
                  float DesignHeight, std::uint8_t FixedSize, float FontScale,
                  const QString& FontName) {
    const double innerWidthBefore = Frm.ScaleWidth();
    const double innerHeightBefore = Frm.ScaleHeight();

    if (FixedSize == 1) {
        Frm.Width = NewWidth;
        Frm.Height = NewHeight;
    } else {
        Frm.Width = Single(static_cast<double>(Frm.Width) / DesignWidth * NewWidth);
        Frm.Height = Single(static_cast<double>(Frm.Height) / DesignHeight * NewHeight);
    }
    // Centred exactly in the target area.
    Frm.Left = Single((static_cast<double>(NewWidth) - Frm.Width) / 2);
    Frm.Top = Single((static_cast<double>(NewHeight) - Frm.Height) / 2);

    const double rW = Frm.ScaleWidth() / innerWidthBefore;
    const double rH = Frm.ScaleHeight() / innerHeightBefore;
    const float r = std::min(Single(rW), Single(rH));
    // FontScale tempers the font change of a window whose new outer height is
    // beyond its former inner height.
    const float f = Frm.Height > innerHeightBefore ? (r - 1) * FontScale + 1 : r;

    if (!FontName.isEmpty()) Frm.Font.Name = FontName;
    Frm.Font.Size *= f;

    // A combo box's height scales here too: Qt lets it be set.
    ScaleControls(Frm,
                  {.x = rW, .y = rH, .font = f, .keepComboHeight = false, .fontName = FontName});
}

void KeepInWorkArea(platform::Form& Frm, QRectF workArea) {
    const double border = Frm.Width - Frm.ScaleWidth();
    const double caption = Frm.Height - Frm.ScaleHeight();
    const double x = Frm.Width > workArea.width()
                         ? (workArea.width() - border) / Frm.ScaleWidth()
                         : 1.0;
    const double y = Frm.Height > workArea.height()
                         ? (workArea.height() - caption) / Frm.ScaleHeight()
                         : 1.0;
    if (x < 1 || y < 1) {
        Frm.Width = Single(Frm.ScaleWidth() * x + border);
        Frm.Height = Single(Frm.ScaleHeight() * y + caption);
        for (Control& control : Frm.Controls())
            ScaleControl(control, {.x = x, .y = y, .font = 1, .keepComboHeight = true, .fontName = {}});
    }
    // Right and bottom edges first, so a window still too large keeps its
    // left edge and title bar on the area.
    Frm.Left = Single(std::min<double>(Frm.Left, workArea.right() - Frm.Width));
    Frm.Top = Single(std::min<double>(Frm.Top, workArea.bottom() - Frm.Height));
    Frm.Left = Single(std::max<double>(Frm.Left, workArea.left()));
    Frm.Top = Single(std::max<double>(Frm.Top, workArea.top()));
    Frm.Apply();
}

}  // namespace setup

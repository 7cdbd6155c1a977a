// Window scaling: the design numbers each kind of control gets, and what the
// operator then sees of the window and its widgets.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "platform/form.h"
#include "setup/resize.h"

using platform::Control;
using platform::ControlKind;
using platform::Form;
using setup::ResizeForm;
using setup::ResizeFormTo;

namespace {

// Outer 6000 x 4500 with the standard border: client 5880 x 4095. Window and
// controls designed in 8-point "MS Sans Serif".
void Design(Form& form) {
    form.Font.Size = 8;
    form.SetDesignSize(6000, 4500, 5880, 4095);
}

struct Box {
    float left, top, width, height;
};
constexpr Box kDesignBox{600, 400, 1200, 300};

void ExpectBox(const Control& c, Box expected) {
    EXPECT_FLOAT_EQ(c.Left, expected.left) << c.Name.toStdString();
    EXPECT_FLOAT_EQ(c.Top, expected.top) << c.Name.toStdString();
    EXPECT_FLOAT_EQ(c.Width, expected.width) << c.Name.toStdString();
    EXPECT_FLOAT_EQ(c.Height, expected.height) << c.Name.toStdString();
}

// Adds one control of the kind in the design box.
void AddBoxed(Form& form, ControlKind kind) {
    auto [l, t, w, h] = kDesignBox;
    switch (kind) {
    case ControlKind::Label: form.AddLabel("Label1", "Call", l, t, w, h); break;
    case ControlKind::TextBox: form.AddTextBox("Text1", "", l, t, w, h); break;
    case ControlKind::CommandButton: form.AddCommandButton("Command1", "Done", l, t, w, h); break;
    case ControlKind::ListBox: form.AddListBox("List1", l, t, w, h); break;
    case ControlKind::ComboBox: form.AddComboBox("Combo1", l, t, w, h); break;
    case ControlKind::Image: form.AddImage("Image1", l, t, w, h); break;
    case ControlKind::CheckBox: form.AddCheckBox("Check1", "Rover", l, t, w, h); break;
    case ControlKind::OptionButton: form.AddOptionButton("Option1", "CW", l, t, w, h); break;
    case ControlKind::Frame: form.AddFrame("Frame1", "Mode", l, t, w, h); break;
    case ControlKind::ListView: form.AddListView("ListView1", l, t, w, h); break;
    case ControlKind::PictureBox: form.AddPictureBox("Picture1", l, t, w, h); break;
    default: form.Register(kind, "Other1", new QWidget(&form), l, t, w, h); break;
    }
}

struct KindCase {
    ControlKind kind;
    bool boxScales;
    bool heightScales;
    bool fontScales;
};

const KindCase kKindCases[] = {
    {ControlKind::Label, true, true, true},
    {ControlKind::TextBox, true, true, true},
    {ControlKind::CommandButton, true, true, true},
    {ControlKind::ListBox, true, true, true},
    {ControlKind::ComboBox, true, false, true},
    {ControlKind::Image, true, true, false},
    {ControlKind::CheckBox, true, true, true},
    {ControlKind::OptionButton, true, true, true},
    {ControlKind::Frame, true, true, true},
    {ControlKind::ListView, true, true, true},
    {ControlKind::PictureBox, false, false, false},
    {ControlKind::Shape, false, false, false},
    {ControlKind::Other, false, false, false},
};

}  // namespace

// sx = 2, sy = 1.5: a box 1200 x 300 at 600, 400 becomes 2400 x 450 at 1200,
// 600 and an 8-point font becomes 12-point, for every kind that scales.
TEST(ResizeForm, EachKindOfControlScalesItsOwnWay) {
    for (const KindCase& kc : kKindCases) {
        SCOPED_TRACE(static_cast<int>(kc.kind));
        Form form;
        Design(form);
        AddBoxed(form, kc.kind);
        ResizeForm(form, QSizeF(19200, 10800));

        const Control& c = form.Controls().front();
        const float height = kc.heightScales ? 450.0f : 300.0f;
        ExpectBox(c, kc.boxScales ? Box{1200, 600, 2400, height} : kDesignBox);
        EXPECT_FLOAT_EQ(c.Font.Size, kc.fontScales ? 12 : 8);

        // What shows: twips / 15, rounded.
        const int shownHeight = kc.heightScales ? 30 : 20;
        EXPECT_EQ(c.Widget->geometry(),
                  kc.boxScales ? QRect(80, 40, 160, shownHeight) : QRect(40, 27, 80, 20));
        if (platform::HasFont(kc.kind)) {
            EXPECT_DOUBLE_EQ(c.Widget->font().pointSizeF(), kc.fontScales ? 12.0 : 8.0);
        }
    }
}

TEST(ResizeForm, TimersAndMenusAreLeftAlone) {
    Form form;
    Design(form);
    QTimer* timer = form.AddTimer("Timer2", 1000);
    form.RegisterComponent(ControlKind::Menu, "mnuFile", new QAction("&File", &form));
    ResizeForm(form, QSizeF(19200, 10800));

    for (const Control& c : form.Controls()) {
        SCOPED_TRACE(c.Name.toStdString());
        ExpectBox(c, {0, 0, 0, 0});
        EXPECT_FLOAT_EQ(c.Font.Size, 8);
        EXPECT_EQ(c.Widget, nullptr);
    }
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_FALSE(timer->isActive());
}

// The window: size by sx and sy, centred 170 twips above the middle of the
// screen, its own font by sy alone (control fonts by the smaller ratio).
TEST(ResizeForm, WindowSizePlaceAndFonts) {
    struct Case {
        const char* what;
        QSizeF screen;
        float designHeight;
        float width, height, left, top;
        float windowFont, controlFont;
        QRect shown;  // client area in pixels at the window's place
    };
    const Case cases[] = {
        {"design screen", {9600, 7200}, 4500, 6000, 4500, 1800, 1180, 8, 8, {120, 79, 392, 273}},
        {"sx 2, sy 1.5", {19200, 10800}, 4500, 12000, 6750, 3600, 1855, 12, 12,
         {240, 124, 792, 423}},
        {"sx 1.5, sy 2", {14400, 14400}, 4500, 9000, 9000, 2700, 2530, 16, 12,
         {180, 169, 592, 573}},
        // Not kept on the screen: a window taller than the screen goes above it.
        {"taller than the screen", {9600, 7200}, 8000, 6000, 8000, 1800, -570, 8, 8,
         {120, -38, 392, 506}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.what);
        Form form;
        form.Font.Size = 8;
        form.SetDesignSize(6000, tc.designHeight, 5880, tc.designHeight - 405);
        QLabel* label = form.AddLabel("Label1", "Call", 600, 400, 1200, 300);
        ResizeForm(form, tc.screen);

        EXPECT_FLOAT_EQ(form.Width, tc.width);
        EXPECT_FLOAT_EQ(form.Height, tc.height);
        EXPECT_FLOAT_EQ(form.Left, tc.left);
        EXPECT_FLOAT_EQ(form.Top, tc.top);
        // The border stays as designed.
        EXPECT_FLOAT_EQ(form.ScaleWidth(), tc.width - 120);
        EXPECT_FLOAT_EQ(form.ScaleHeight(), tc.height - 405);
        EXPECT_FLOAT_EQ(form.Font.Size, tc.windowFont);
        EXPECT_FLOAT_EQ(form.Ctl(label).Font.Size, tc.controlFont);

        EXPECT_EQ(QRect(form.pos(), form.size()), tc.shown);
        EXPECT_DOUBLE_EQ(form.font().pointSizeF(), tc.windowFont);
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), tc.controlFont);
    }
}

// End points scale separately in x and y, so the slope of a diagonal changes
// on a screen that is not 4 by 3; a frame's controls scale inside it.
TEST(ResizeForm, LinesAndControlsInsideAFrame) {
    Form form;
    Design(form);
    auto* rule = form.AddLine("Line1", 120, 1440, 5520, 1440);
    auto* diagonal = form.AddLine("Line2", 0, 0, 960, 720);
    QGroupBox* frame = form.AddFrame("Frame1", "Mode", 600, 400, 3000, 1500);
    QRadioButton* option = form.AddOptionButton("Option1", "CW", 120, 240, 1000, 255, frame);
    ResizeForm(form, QSizeF(19200, 10800));

    const Control& r = form.Ctl(rule);
    EXPECT_FLOAT_EQ(r.X1, 240);
    EXPECT_FLOAT_EQ(r.Y1, 2160);
    EXPECT_FLOAT_EQ(r.X2, 11040);
    EXPECT_FLOAT_EQ(r.Y2, 2160);
    const Control& d = form.Ctl(diagonal);
    EXPECT_FLOAT_EQ(d.X2, 1920);
    EXPECT_FLOAT_EQ(d.Y2, 1080);
    EXPECT_EQ(rule->line(), QLine(16, 144, 736, 144));
    EXPECT_EQ(diagonal->line(), QLine(0, 0, 128, 72));

    ExpectBox(form.Ctl(option), {240, 360, 2000, 382.5f});
    EXPECT_EQ(option->parentWidget(), frame);
    EXPECT_EQ(option->geometry(), QRect(16, 24, 133, 26));
}

// Column widths follow sx alone, whatever sy is.
TEST(ResizeForm, ListViewColumnsScaleByScreenWidth) {
    struct Case {
        QSizeF screen;
        float rec, call;
        int recPx, callPx;
    };
    const Case cases[] = {
        {{19200, 10800}, 1060, 1700, 71, 113},
        {{14400, 14400}, 795, 1275, 53, 85},
        {{9600, 14400}, 530, 850, 35, 57},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.screen.width());
        Form form;
        Design(form);
        QTreeWidget* view = form.AddListView("ListView1", 120, 2000, 5000, 1800);
        form.AddColumnHeader(view, "Rec#", 530);
        form.AddColumnHeader(view, "Call", 850);
        ResizeForm(form, tc.screen);

        const std::vector<float> expected{tc.rec, tc.call};
        EXPECT_EQ(form.Ctl(view).ColumnWidths, expected);
        EXPECT_EQ(view->header()->sectionSize(0), tc.recPx);
        EXPECT_EQ(view->header()->sectionSize(1), tc.callPx);
        EXPECT_EQ(view->headerItem()->text(1), "Call");
    }
}

// Target = design size without FixedSize: the size stays, the window is centred
// exactly (no lift), nothing else changes but the font face.
TEST(ResizeFormTo, DesignSizeTargetCentresAndSetsTheFace) {
    Form form;
    Design(form);
    QLabel* label = form.AddLabel("Label1", "Call", 600, 400, 1200, 300);
    QLabel* image = form.AddImage("Image1", 600, 800, 1200, 300);
    auto* line = form.AddLine("Line1", 120, 1440, 5520, 1440);
    ResizeFormTo(form, 9600, 7200, 9600, 7200, 0, 1.0f, "Arial");

    EXPECT_FLOAT_EQ(form.Width, 6000);
    EXPECT_FLOAT_EQ(form.Height, 4500);
    EXPECT_FLOAT_EQ(form.Left, 1800);
    EXPECT_FLOAT_EQ(form.Top, 1350);
    EXPECT_EQ(QRect(form.pos(), form.size()), QRect(120, 90, 392, 273));

    ExpectBox(form.Ctl(label), kDesignBox);
    EXPECT_FLOAT_EQ(form.Ctl(line).X2, 5520);
    EXPECT_EQ(form.Font.Name, "Arial");
    EXPECT_FLOAT_EQ(form.Font.Size, 8);
    EXPECT_EQ(form.Ctl(label).Font.Name, "Arial");
    EXPECT_FLOAT_EQ(form.Ctl(label).Font.Size, 8);
    EXPECT_EQ(form.Ctl(image).Font.Name, "MS Sans Serif");  // an image has no font

    EXPECT_EQ(label->font().family(), "Liberation Sans");
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 8.0);
    EXPECT_EQ(form.font().family(), "Liberation Sans");
}

TEST(ResizeFormTo, EmptyFontNameKeepsTheFaces) {
    Form form;
    Design(form);
    QLabel* label = form.AddLabel("Label1", "Call", 600, 400, 1200, 300);
    form.SetFont(label, {.Name = "Courier New", .Size = 10, .Bold = true});
    ResizeFormTo(form, 9600, 7200, 9600, 7200, 0, 1.0f, "");

    EXPECT_EQ(form.Font.Name, "MS Sans Serif");
    EXPECT_EQ(label->font().family(), "Liberation Mono");
    EXPECT_TRUE(label->font().bold());
}

// FixedSize 1: exactly the target size; the controls scale by the change of
// the inner area (client 5880 x 4095 -> 11760 x 6142.5: rW 2, rH 1.5), not by
// that of the outer size (1.98 x 1.455). Fonts follow the smaller ratio,
// tempered by FontScale only when the window grows beyond its former inner
// height.
TEST(ResizeFormTo, FixedSizeScalesByTheInnerArea) {
    struct Case {
        const char* what;
        float newWidth, newHeight, fontScale;
        float rW, rH, f;
    };
    const Case cases[] = {
        {"larger, full font", 11880, 6547.5f, 1.0f, 2, 1.5f, 1.5f},
        {"larger, half font", 11880, 6547.5f, 0.5f, 2, 1.5f, 1.25f},
        {"smaller, FontScale has no say", 3060, 2452.5f, 0.5f, 0.5f, 0.5f, 0.5f},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.what);
        Form form;
        Design(form);
        QComboBox* combo = form.AddComboBox("Combo1", 600, 400, 1200, 300);
        auto* line = form.AddLine("Line1", 120, 1440, 5520, 1440);
        QTreeWidget* view = form.AddListView("ListView1", 120, 2000, 5000, 1800);
        form.AddColumnHeader(view, "Rec#", 600);
        ResizeFormTo(form, tc.newWidth, tc.newHeight, 9600, 7200, 1, tc.fontScale, "");

        EXPECT_FLOAT_EQ(form.Width, tc.newWidth);
        EXPECT_FLOAT_EQ(form.Height, tc.newHeight);
        EXPECT_FLOAT_EQ(form.Left, 0);  // centred in an area of its own size
        EXPECT_FLOAT_EQ(form.Top, 0);
        EXPECT_FLOAT_EQ(form.ScaleWidth(), 5880 * tc.rW);
        EXPECT_FLOAT_EQ(form.ScaleHeight(), 4095 * tc.rH);

        // A combo box's height scales here as well.
        ExpectBox(form.Ctl(combo), {600 * tc.rW, 400 * tc.rH, 1200 * tc.rW, 300 * tc.rH});
        const Control& l = form.Ctl(line);
        EXPECT_FLOAT_EQ(l.X2, 5520 * tc.rW);
        EXPECT_FLOAT_EQ(l.Y2, 1440 * tc.rH);
        EXPECT_FLOAT_EQ(form.Ctl(view).ColumnWidths.at(0), 600 * tc.rW);
        EXPECT_FLOAT_EQ(form.Font.Size, 8 * tc.f);
        EXPECT_FLOAT_EQ(form.Ctl(combo).Font.Size, 8 * tc.f);

        EXPECT_EQ(form.size(), QSize(qRound(5880 * tc.rW / 15), qRound(4095 * tc.rH / 15)));
        EXPECT_EQ(combo->height(), qRound(300 * tc.rH / 15));
        EXPECT_EQ(view->header()->sectionSize(0), qRound(600 * tc.rW / 15));
        EXPECT_DOUBLE_EQ(combo->font().pointSizeF(), 8 * tc.f);
    }
}

// The caller of ResizeFormTo passes the screen and the design screen: the
// window grows with the screen and is centred on it, 170 twips lower than
// ResizeForm would put it.
TEST(ResizeFormTo, ProportionalTargetIsCentredWithoutLift) {
    Form to, plain;
    Design(to);
    Design(plain);
    ResizeFormTo(to, 19200, 10800, 9600, 7200, 0, 1.0f, "Arial");
    ResizeForm(plain, QSizeF(19200, 10800));

    EXPECT_FLOAT_EQ(to.Width, 12000);
    EXPECT_FLOAT_EQ(to.Height, 6750);
    EXPECT_FLOAT_EQ(to.Left, plain.Left);
    EXPECT_FLOAT_EQ(to.Top, plain.Top + 170);
}

// How the keyer windows scale at load, and that each of them does.
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

#include "keyers/blind_frm.h"
#include "keyers/cw_frm.h"
#include "keyers/keyer_window.h"
#include "keyers/phone_frm.h"
#include "platform/form.h"
#include "platform/twips.h"
#include "support/test_program.h"

using platform::Control;
using platform::Form;

TEST(ScaleKeyerWindow, WindowAndControlsFollowTheAreaFontsTheScreenWidth) {
    struct Case {
        const char* what;
        QSizeF area;
        double screenWidth;
        double sx, sy;
        float fontFactor;
    };
    const Case cases[] = {
        {"design screen", {9600, 7200}, 9600, 1, 1, 1},
        {"1.5 times", {14400, 10800}, 14400, 1.5, 1.5, 1.5},
        {"1920 x 1080: fonts stop at 1.5", {28800, 16200}, 28800, 3, 2.25, 1.5},
        {"work area less a task bar", {28800, 15600}, 28800, 3, 15600.0 / 7200, 1.5},
        {"small screen", {7200, 5400}, 7200, 0.75, 0.75, 0.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Form form;
        form.Font.Size = 8;
        form.SetDesignClientSize(7200, 5280);  // outer 7320 x 5685
        form.AddLabel("Label1", "Call", 240, 120, 3000, 255);
        form.AddLine("Line1", 120, 1440, 7080, 1440);
        QTimer* timer = form.AddTimer("Timer1", 40);

        keyers::ScaleKeyerWindow(form, c.area, c.screenWidth);

        const float width = static_cast<float>(7320 * c.sx);
        const float height = static_cast<float>(5685 * c.sy);
        EXPECT_FLOAT_EQ(form.Width, width);
        EXPECT_FLOAT_EQ(form.Height, height);
        EXPECT_FLOAT_EQ(form.Left, static_cast<float>((c.area.width() - width) / 2));
        EXPECT_FLOAT_EQ(form.Top, static_cast<float>((c.area.height() - height) / 2));
        EXPECT_FLOAT_EQ(form.Font.Size, static_cast<float>(8 * width / 9600));

        const Control& label = *form.Find("Label1");
        EXPECT_FLOAT_EQ(label.Left, static_cast<float>(240 * c.sx));
        EXPECT_FLOAT_EQ(label.Top, static_cast<float>(120 * c.sy));
        EXPECT_FLOAT_EQ(label.Width, static_cast<float>(3000 * c.sx));
        EXPECT_FLOAT_EQ(label.Height, static_cast<float>(255 * c.sy));
        EXPECT_FLOAT_EQ(label.Font.Size, 8 * c.fontFactor);
        const Control& line = *form.Find("Line1");
        EXPECT_FLOAT_EQ(line.X2, static_cast<float>(7080 * c.sx));
        EXPECT_FLOAT_EQ(line.Y1, static_cast<float>(1440 * c.sy));
        EXPECT_EQ(timer->interval(), 40);
    }
}

// Each window scales itself once, at load: the CW keyer to the work area,
// the other two to the screen.
TEST(ScaleKeyerWindow, EachKeyerWindowScalesAtLoad) {
    testing_support::TestProgram t;
    const QSizeF screen = platform::ScreenSizeTwips();
    const QSizeF workArea = platform::WorkAreaTwips();
    const struct {
        const char* what;
        Form& form;
        QSizeF design;  // outer size
        QSizeF area;
    } cases[] = {
        {"BlindFrm", t->blindFrm(), {7320, 5805}, screen},
        {"PhoneFrm", t->phoneFrm(), {9000, 7185}, screen},
        {"CWFrm", t->cwFrm(), {9480, 7185}, workArea},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FLOAT_EQ(c.form.Width, static_cast<float>(c.design.width() *
                                                         static_cast<float>(c.area.width()) / 9600));
        EXPECT_FLOAT_EQ(c.form.Height, static_cast<float>(c.design.height() *
                                                          static_cast<float>(c.area.height()) / 7200));
        EXPECT_LE(c.form.Height, c.area.height());
    }
}

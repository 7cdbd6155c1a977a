// Esc leaves a modal window as its close box does, from whichever control
// has the focus, wherever the window gives Esc no meaning of its own: an
// operator at the keyboard is never stuck in a window without a Close button.
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "entry/county_change.h"
#include "entry/county_list.h"
#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "mainwindow/main_window.h"
#include "platform/modal.h"
#include "program/program.h"
#include "rig/band_plan_chart.h"
#include "rig/frequency_test_frm.h"
#include "rig/rig_tune_frm.h"
#include "setup/color_dialog.h"
#include "setup/help_page.h"
#include "support/main_window_fixture.h"
#include "support/setup_fixture.h"

using testing_support::MainWindowFixture;

namespace {

// A log long enough for the rate graph to draw.
QByteArray SevenContacts() {
    QByteArray log;
    for (int i = 0; i < 7; ++i)
        log += testing_support::Contact(QStringLiteral("K%1AB").arg(i), QStringLiteral("WI"),
                                        QStringLiteral("Adams"), QStringLiteral("2026/12/10"),
                                        QStringLiteral("12:%1:00").arg(i * 5, 2, 10, QChar('0')),
                                        QStringLiteral("CW"), QStringLiteral("20"));
    return log;
}

struct ModalCase {
    const char* name;
    // Shows the window modally as the program does, returning when it is
    // hidden again.
    std::function<void(MainWindowFixture&)> show;
};

const ModalCase kModalWindows[] = {
    {"help page", [](MainWindowFixture& f) { setup::ShowHelpPage(f.program()); }},
    {"colour dialog", [](MainWindowFixture& f) { setup::ShowColorDialog(f.program()); }},
    {"county change", [](MainWindowFixture& f) { entry::ShowCountyChange(f.program()); }},
    {"county pick list", [](MainWindowFixture& f) { entry::ShowCountyList(f.program()); }},
    {"rate graph", [](MainWindowFixture& f) { f.window().mnuGraph_Click(); }},
    {"county map", [](MainWindowFixture& f) { f.window().mnuMap_Click(); }},
    {"spectrum map", [](MainWindowFixture& f) { f.window().ShowSpectrumMap(); }},
    {"privileges chart", [](MainWindowFixture& f) { rig::ShowPrivilegesChart(f.program()); }},
    {"tune panel", [](MainWindowFixture& f) { rig::ShowRigTune(f.program()); }},
    {"raw command test",
     [](MainWindowFixture& f) {
         rig::frmFrequencyTest test(f.program());
         platform::ShowModal(test);
     }},
    {"CW keyer settings", [](MainWindowFixture& f) { platform::ShowModal(f.program().cwFrm()); }},
    {"voice keyer settings",
     [](MainWindowFixture& f) { platform::ShowModal(f.program().phoneFrm()); }},
};

TEST(ModalWindows, EscLeavesEveryModalWindowAsItsCloseBoxDoes) {
    for (const ModalCase& c : kModalWindows) {
        SCOPED_TRACE(c.name);
        MainWindowFixture f(0);
        testing_support::SeedWorkingFolder(f.t);
        f.WriteLog(SevenContacts());
        f.Load();
        QPointer<QWidget> shown;
        bool closedByEsc = false;
        // Waits for the window to be shown: a window may let events run
        // while it is built, before it is shown.
        QTimer wait;
        wait.setInterval(0);
        QObject::connect(&wait, &QTimer::timeout, [&] {
            shown = QApplication::activeModalWidget();
            if (!shown || !shown->isVisible()) return;
            wait.stop();
            QWidget* focus = shown->focusWidget() ? shown->focusWidget() : shown.data();
            QTest::keyClick(focus, Qt::Key_Escape);
            closedByEsc = !shown || !shown->isVisible();
            // Never left waiting: a window Esc did not close goes now.
            if (shown && shown->isVisible()) shown->close();
        });
        wait.start();
        c.show(f);
        testing_support::Settle();
        EXPECT_TRUE(shown.isNull() || !shown->isVisible());
        EXPECT_TRUE(closedByEsc);
    }
}

}  // namespace

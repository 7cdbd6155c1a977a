// The program's start-up road end to end, as main() runs it: from an empty
// working folder seeded from data/ and no per-user folders, through the logo
// and the station set-up dialog, typed into as an operator types, to the main
// window with its log loaded and the call box waiting.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "mainwindow/main_window.h"
#include "setup/splash.h"
#include "setup/station.h"
#include "setup/station_id.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"

using testing_support::Activate;
using testing_support::SeedWorkingFolder;
using testing_support::Settle;
using testing_support::TestProgram;
using testing_support::TypeInto;
using testing_support::TypeKeys;

namespace {

class StartUpRoad : public testing::Test {
protected:
    // Runs the road to the main window: logo, set-up dialog filled in for a
    // station inside the party state, "Done", and "Yes" to the start-up
    // question. Returns the main window, shown and loaded.
    mainwindow::MainWindow* RoadToMainWindow() {
        // Nothing of the user's folders exists yet; the road makes them.
        QDir(t.root() + "/xdg").removeRecursively();
        t->folders.DataFolder.clear();
        t->folders.SharedFolder.clear();
        SeedWorkingFolder(t);
        // What a kill during a rewrite of the log left behind, beside the
        // operator's own copies.
        TestProgram::WriteFile(t.workFile(".log.txt.ostrel-tmp-Ab12Cd"), "\"K1");
        const QStringList copies = {"log.txt.backup", "QSOpref.txt.before", "CW.txt.orig12"};
        for (const QString& copy : copies) TestProgram::WriteFile(t.workFile(copy), "mine");

        setup::StartUp(t.program());
        EXPECT_FALSE(QFileInfo::exists(t.workFile(".log.txt.ostrel-tmp-Ab12Cd")));
        for (const QString& copy : copies)
            EXPECT_EQ(TestProgram::ReadFile(t.workFile(copy)), "mine") << copy.toStdString();
        EXPECT_EQ(t->VersionText, "2.0");
        const QString maker = t.root() + "/xdg/Tavik Software";
        EXPECT_EQ(t->folders.DataFolder, maker + "/Dudurozuz");
        EXPECT_EQ(t->folders.SharedFolder, maker + "/Shared");
        EXPECT_TRUE(QFileInfo(maker + "/Dudurozuz/BACKUP").isDir());

        // The set-up dialog is the one window on the screen, and a first
        // start shows no box.
        EXPECT_TRUE(t->FrmStationIDLoaded());
        if (!t->FrmStationIDLoaded()) return nullptr;
        setup::frmStationID& dialog = t->frmStationID();
        QWidgetList shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) shown << w;
        EXPECT_EQ(shown, QWidgetList{&dialog});
        EXPECT_TRUE(t.dialogs.shown.empty());
        EXPECT_EQ(dialog.Text6->text(), "5");  // the fake clock's offset

        EXPECT_TRUE(Activate(dialog));
        TypeInto(dialog.Text1, "k9abc");
        TypeInto(dialog.Text5, "wi");
        TypeInto(dialog.Text8, "dan");
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Tab);
        Settle();
        EXPECT_EQ(dialog.Text9->text(), "DAN");  // the operating county follows
        TypeInto(dialog.Text2, "USA");
        EXPECT_EQ(dialog.Text7->text(), "NA");
        EXPECT_EQ(dialog.Text2->text(), "USA");

        t.dialogs.msgAnswers.push_back(platform::vbYes);  // "Open existing log?"
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        Settle();
        return t->mainWindow();
    }

    TestProgram t;
};

}  // namespace

TEST_F(StartUpRoad, EmptyFolderToALoggedContact) {
    mainwindow::MainWindow* main = RoadToMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(t.dialogs.titles(), std::vector<QString>{"Open existing log?"});
    EXPECT_NE(dynamic_cast<mainwindow::Infrm*>(main), nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(t->FrmStationIDLoaded());
    EXPECT_FALSE(t->ended());

    // The station is saved, and the log is loaded: empty, made on this
    // first start.
    const QByteArray prefs = TestProgram::ReadFile(t.workFile("QSOpref.txt"));
    EXPECT_EQ(prefs.count("\r\n"), setup::kQSOPrefValues);
    EXPECT_TRUE(prefs.startsWith("\"K9ABC\"\r\n\"WI\"\r\n\"USA\"\r\n\"DAN\"\r\n"));
    EXPECT_TRUE(TestProgram::ReadFile(t->folders.SharedFolder + "/SharedUserPreferences.xml")
                    .contains("<OWN_ARRL_SECTION>DAN</OWN_ARRL_SECTION>"));
    EXPECT_TRUE(QFile::exists(t.workFile("log.txt")));
    EXPECT_EQ(t->log.QSOCount, 0);
    EXPECT_EQ(main->Label2->text(), "K9ABC");
    EXPECT_EQ(main->Label25->text(), "DAN");
    EXPECT_EQ(main->entry().lblDialog->text(), "Select a band, mode and Click Log \"Time On\"!");
    EXPECT_EQ(main->focusWidget(), main->entry().txtCall);

    // The operator logs a contact from the keyboard.
    ASSERT_TRUE(Activate(*main));
    main->entry().txtCall->setFocus();
    Settle();
    TypeKeys(*main, "w9xyz wi dane\n");
    EXPECT_EQ(t->log.QSOCount, 1);
    const QByteArray log = TestProgram::ReadFile(t.workFile("log.txt"));
    EXPECT_TRUE(log.startsWith("\"W9XYZ\",\"\",\"\",\"WI\",\"Dane\",\"\",\"DAN\","));
    EXPECT_EQ(log.count("\r\n"), 1);
    EXPECT_TRUE(main->entry().txtCall->text().isEmpty());
}

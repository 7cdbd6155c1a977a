// The File menu's contest output in a loaded main window of each side: the
// summary dialog, shown modally and unloaded after, and the ADIF export.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "mainwindow/main_window.h"
#include "platform/settings_store.h"
#include "scoring/summary_dialog.h"
#include "support/main_window_fixture.h"
#include "support/modal_menu.h"
#include "support/scoring_fixture.h"

using scoring::WICabrilloOut;
using testing_support::MainWindowFixture;
using testing_support::StationSideFixture;

namespace {

QPointer<WICabrilloOut> OpenFromMenu(QAction* item, const std::function<void(WICabrilloOut&)>& operate) {
    return testing_support::OpenFromMenu<WICabrilloOut>(item, operate);
}

bool NoSummaryDialogLeft() { return testing_support::NoWindowLeft<WICabrilloOut>(); }

}  // namespace

TEST(WriteSubmissionFileMenu, ShowsTheSummaryDialogModallyAndUnloadsItWhenDone) {
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        MainWindowFixture f(side);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        f.program().settings().SaveSetting(platform::kSettingsApp, platform::kSettingsSection,
                                           "UserAddressName", "Pat Example");

        bool operated = false;
        QPointer<WICabrilloOut> first = OpenFromMenu(w.mnuWriteSumm, [&](WICabrilloOut& dialog) {
            operated = true;
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
            EXPECT_EQ(dialog.windowTitle(), "Summary Sheet Information");
            EXPECT_EQ(dialog.Text5->text(), "Pat Example");
            dialog.Text11->setText("first opening");
            dialog.OptClass[7]->setChecked(true);
            dialog.Option1->setChecked(true);
            QTest::mouseClick(dialog.Command3, Qt::LeftButton);
        });
        EXPECT_TRUE(operated);
        EXPECT_TRUE(first.isNull());
        EXPECT_TRUE(NoSummaryDialogLeft());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

        // The next opening starts from a fresh load.
        QPointer<WICabrilloOut> second = OpenFromMenu(w.mnuWriteSumm, [](WICabrilloOut& dialog) {
            EXPECT_EQ(dialog.Text11->text(), "");
            EXPECT_TRUE(dialog.OptClass[0]->isChecked());
            EXPECT_TRUE(dialog.Option3->isChecked());
            dialog.close();
        });
        EXPECT_TRUE(second.isNull());
        EXPECT_TRUE(NoSummaryDialogLeft());
        EXPECT_EQ(f.t.dialogs.shown.size(), 1u);  // the start-up question alone
    }
}

TEST(WriteSubmissionFileMenu, TheDialogWritesTheLogOfTheLoadedWindow) {
    const auto& fixture = testing_support::FixtureOf(StationSideFixture::Outside);
    MainWindowFixture f(1);
    testing_support::LoadFixture(f.t, fixture);
    f.program().station.HomeCounty.clear();  // as the fixture's file was written
    mainwindow::MainWindow& w = f.Load();
    const QString path = f.t.root() + "/K5OUT.log";
    f.t.dialogs.fileAnswers = {path};

    OpenFromMenu(w.mnuWriteSumm, [&](WICabrilloOut& dialog) {
        const scoring::SummaryInputs& in = fixture.inputs;
        dialog.Text5->setText(in.name);
        dialog.Text6->setText(in.address1);
        dialog.Text7->setText(in.address2);
        dialog.Text8->setText(in.email);
        dialog.Text11->setText(in.soapbox);
        dialog.Text1->setText(in.club);
        dialog.OptClass[3]->setChecked(true);
        dialog.Option1->setChecked(true);
        dialog.Text2->setText(in.operators);
        QTest::mouseClick(dialog.Command4, Qt::LeftButton);
        QTest::mouseClick(dialog.Command3, Qt::LeftButton);
    });
    testing_support::ExpectEqualsGolden(testing_support::TestProgram::ReadFile(path), "outstate.log");
}

TEST(ExportAdifMenu, WritesTheLogOfEachSidesWindow) {
    const testing_support::DefaultLocale usDates(QLocale(QLocale::English, QLocale::UnitedStates));
    for (StationSideFixture side : {StationSideFixture::Inside, StationSideFixture::Outside}) {
        const auto& fixture = testing_support::FixtureOf(side);
        SCOPED_TRACE(fixture.name);
        MainWindowFixture f(side == StationSideFixture::Inside ? 0 : 1);
        testing_support::LoadFixture(f.t, fixture);
        mainwindow::MainWindow& w = f.Load();
        f.t.dialogs.shown.clear();

        const QString path = f.t.root() + "/" + fixture.name + ".adi";
        f.t.dialogs.inputAnswers = {fixture.power, fixture.comment};
        f.t.dialogs.fileAnswers = {path};
        w.mnuexportADIF->trigger();

        testing_support::ExpectEqualsGolden(testing_support::TestProgram::ReadFile(path),
                                            QString(fixture.name) + ".adi");
        EXPECT_EQ(f.t.dialogs.titles(),
                  (std::vector<QString>{"Please enter your transmitter output power.",
                                        "Please enter a comment.", "", "File Written Successfully."}));
    }
}

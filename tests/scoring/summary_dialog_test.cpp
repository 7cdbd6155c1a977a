// The summary dialog driven as the operator does: its load, typing into its
// boxes, its option groups, tab order, and writing the submission file.
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "platform/modal.h"
#include "platform/settings_store.h"
#include "scoring/summary_dialog.h"
#include "setup/folders.h"
#include "support/scoring_fixture.h"

using scoring::PowerClass;
using scoring::SummaryInputs;
using scoring::WICabrilloOut;
using testing_support::StationSideFixture;
using testing_support::TestProgram;

namespace {

const QSizeF kDesignScreen(9600, 7200);

void Remember(Program& program, const QString& key, const QString& value) {
    program.settings().SaveSetting(platform::kSettingsApp, platform::kSettingsSection, key, value);
}

QString Remembered(Program& program, const QString& key) {
    return program.settings().GetSetting(platform::kSettingsApp, platform::kSettingsSection, key);
}

// Shows the dialog and makes it the active window, so that focus moves.
bool Open(WICabrilloOut& dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    QTest::keyClicks(box, text);
}

QRadioButton* PowerOption(WICabrilloOut& dialog, PowerClass power) {
    switch (power) {
    case PowerClass::High: return dialog.Option4;
    case PowerClass::Low: return dialog.Option3;
    case PowerClass::Qrp: return dialog.Option1;
    }
    return nullptr;
}

// Fills the dialog with `in` by keys and clicks. The club and the operators
// are typed in small letters: the boxes capitalise them.
void Enter(WICabrilloOut& dialog, const SummaryInputs& in) {
    Type(dialog.Text5, in.name);
    Type(dialog.Text6, in.address1);
    Type(dialog.Text7, in.address2);
    Type(dialog.Text8, in.email);
    Type(dialog.Text11, in.soapbox);
    Type(dialog.Text1, in.club.toLower());
    for (QRadioButton* option : dialog.OptClass)
        if (option->text() == in.entryClass) QTest::mouseClick(option, Qt::LeftButton);
    QTest::mouseClick(PowerOption(dialog, in.power), Qt::LeftButton);
    Type(dialog.Text2, in.operators.toLower());
}

// What a freshly loaded dialog holds: the address block, empty soapbox and
// operators, "Single OP Fixed" and "Low (150W)".
SummaryInputs FreshlyLoaded(const QString& name, const QString& address1, const QString& address2,
                            const QString& email, const QString& club) {
    SummaryInputs in;
    in.name = name;
    in.address1 = address1;
    in.address2 = address2;
    in.email = email;
    in.club = club;
    in.entryClass = "Single OP Fixed";
    in.power = PowerClass::Low;
    return in;
}

QStringList LogFilesIn(const QString& folder) {
    return QDir(folder).entryList({"*.log"}, QDir::Files);
}

}  // namespace

TEST(SummaryDialog, LoadsTheRememberedAddressBlockAndTheDefaults) {
    TestProgram t;
    Remember(t.program(), "UserAddressName", "Pat Example");
    Remember(t.program(), "UserAddressLine1", " 12 Lake Road ");
    Remember(t.program(), "UserAddressLine2", "Madison, WI 53703");
    Remember(t.program(), "UserEMail", "wd9xyz@example.org");
    // No club in the settings store; the shared preferences are not read.
    setup::SetSharedPref(t.program(), "OWN_CLUB_NAME", "SHARED CLUB", false);

    WICabrilloOut dialog(t.program(), kDesignScreen);
    EXPECT_EQ(dialog.windowTitle(), "Summary Sheet Information");
    EXPECT_EQ(dialog.Text5->text(), "Pat Example");
    EXPECT_EQ(dialog.Text6->text(), " 12 Lake Road ");
    EXPECT_EQ(dialog.Text7->text(), "Madison, WI 53703");
    EXPECT_EQ(dialog.Text8->text(), "wd9xyz@example.org");
    EXPECT_EQ(dialog.Text1->text(), "");
    EXPECT_EQ(dialog.Text11->text(), "");
    EXPECT_EQ(dialog.Text2->text(), "");
    for (std::size_t i = 0; i < dialog.OptClass.size(); ++i)
        EXPECT_EQ(dialog.OptClass[i]->isChecked(), i == 0) << i;
    EXPECT_FALSE(dialog.Option4->isChecked());
    EXPECT_TRUE(dialog.Option3->isChecked());
    EXPECT_FALSE(dialog.Option1->isChecked());

    EXPECT_EQ(dialog.Inputs(),
              FreshlyLoaded("Pat Example", " 12 Lake Road ", "Madison, WI 53703",
                            "wd9xyz@example.org", ""));
}

TEST(SummaryDialog, ShowsEveryCaptionInItsPlace) {
    TestProgram t;
    WICabrilloOut dialog(t.program(), kDesignScreen);
    auto caption = [&](const char* label) {
        return qobject_cast<QLabel*>(dialog.Find(label)->Widget.data())->text();
    };
    EXPECT_EQ(caption("Label1"), "Your Name:");
    EXPECT_EQ(caption("Label2"), "Address Line 1:");
    EXPECT_EQ(caption("Label3"), "Address Line 2:");
    EXPECT_EQ(caption("Label4"), "Email Address:");
    EXPECT_EQ(caption("Label5"),
              "Soapbox (Add any comments you would like to make about the contest):");
    EXPECT_EQ(caption("Label6"), "Club Affiliation:");
    EXPECT_EQ(caption("Label7"), "Operators (If Multi):");
    EXPECT_EQ(dialog.Frame1->title(), "Entry Class");
    EXPECT_EQ(dialog.Frame2->title(), "Power:");
    EXPECT_EQ(dialog.Option4->text(), "High");
    EXPECT_EQ(dialog.Option3->text(), "Low (150W)");
    EXPECT_EQ(dialog.Option1->text(), "QRP (5W)");
    EXPECT_EQ(dialog.Command4->text(), "Write Cabrillo File");
    EXPECT_EQ(dialog.Command3->text(), "Done");

    // The client area of the design, a dialog that cannot be resized.
    EXPECT_FLOAT_EQ(dialog.ScaleWidth(), 9225);
    EXPECT_FLOAT_EQ(dialog.ScaleHeight(), 4080);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    // Entry classes in three columns of three, read down each column.
    const QStringList classes = {"Single OP Fixed",           "Single OP Mobile",
                                 "Single OP Rookie",          "Multi OP Fixed",
                                 "Multi OP Mobile",           "Single OP Tech",
                                 "Multi Xmtr-Multi OP Fixed", "Multi Xmtr-Multi OP Mobile",
                                 "Multi OP Tech"};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        QRadioButton* option = dialog.OptClass[static_cast<std::size_t>(i)];
        EXPECT_EQ(option->text(), classes[i]);
        EXPECT_EQ(option->parentWidget(), dialog.Frame1);
        QRadioButton* columnTop = dialog.OptClass[static_cast<std::size_t>(i / 3 * 3)];
        QRadioButton* rowStart = dialog.OptClass[static_cast<std::size_t>(i % 3)];
        EXPECT_EQ(option->x(), columnTop->x());
        EXPECT_EQ(option->y(), rowStart->y());
        if (i % 3 > 0) {
            EXPECT_GT(option->y(), dialog.OptClass[static_cast<std::size_t>(i - 1)]->y());
        }
        if (i >= 3) {
            EXPECT_GT(option->x(), dialog.OptClass[static_cast<std::size_t>(i - 3)]->x());
        }
        EXPECT_LE(option->geometry().right(), dialog.Frame1->width());
    }
    // Power beside the entry class, top to bottom; the boxes above both
    // frames, the operators box and the buttons below them.
    for (QRadioButton* option : {dialog.Option4, dialog.Option3, dialog.Option1})
        EXPECT_EQ(option->parentWidget(), dialog.Frame2);
    EXPECT_LT(dialog.Option4->y(), dialog.Option3->y());
    EXPECT_LT(dialog.Option3->y(), dialog.Option1->y());
    EXPECT_GT(dialog.Frame2->x(), dialog.Frame1->geometry().right());
    EXPECT_EQ(dialog.Frame2->y(), dialog.Frame1->y());
    EXPECT_LT(dialog.Text8->x(), dialog.Text11->x());
    EXPECT_EQ(dialog.Text1->x() + dialog.Text1->width(), dialog.Text11->x() + dialog.Text11->width());
    for (QWidget* above : {static_cast<QWidget*>(dialog.Text8), static_cast<QWidget*>(dialog.Text1)})
        EXPECT_LT(above->geometry().bottom(), dialog.Frame1->y());
    for (QWidget* below : {static_cast<QWidget*>(dialog.Text2), static_cast<QWidget*>(dialog.Command4),
                           static_cast<QWidget*>(dialog.Command3)}) {
        EXPECT_GT(below->y(), dialog.Frame1->geometry().bottom());
        EXPECT_LE(below->geometry().bottom(), dialog.height());
    }
    EXPECT_LT(dialog.Text2->x(), dialog.Command4->x());
    EXPECT_LT(dialog.Command4->x(), dialog.Command3->x());
}

TEST(SummaryDialog, LoadScalesTheDialogToTheScreen) {
    TestProgram t;
    WICabrilloOut design(t.program(), kDesignScreen);
    WICabrilloOut doubled(t.program(), QSizeF(19200, 14400));
    EXPECT_FLOAT_EQ(doubled.Width, design.Width * 2);
    EXPECT_FLOAT_EQ(doubled.Height, design.Height * 2);
    for (const char* name : {"Text5", "Frame1", "Command3"}) {
        SCOPED_TRACE(name);
        EXPECT_FLOAT_EQ(doubled.Find(name)->Left, design.Find(name)->Left * 2);
        EXPECT_FLOAT_EQ(doubled.Find(name)->Width, design.Find(name)->Width * 2);
        EXPECT_FLOAT_EQ(doubled.Find(name)->Top, design.Find(name)->Top * 2);
    }
    EXPECT_EQ(doubled.Command3->width(), 2 * design.Command3->width());
    EXPECT_EQ(doubled.minimumSize(), doubled.size());
}

TEST(SummaryDialog, TabGoesThroughTheBoxesTheChosenOptionsAndTheButtons) {
    TestProgram t;
    WICabrilloOut dialog(t.program(), kDesignScreen);
    ASSERT_TRUE(Open(dialog));
    dialog.Text5->setFocus();
    QStringList visited = {QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 11; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    const QStringList expected = {"Text5",   "Text6",   "Text7", "Text8",    "Text11",   "Text1",
                                  "OptClass(0)", "Option3", "Text2", "Command4", "Command3", "Text5"};
    EXPECT_EQ(visited, expected);

    // Each option group is one stop, at its selected option; the arrow keys
    // move within the group and select.
    QTest::mouseClick(dialog.OptClass[4], Qt::LeftButton);
    QTest::mouseClick(dialog.Option4, Qt::LeftButton);
    dialog.Text1->setFocus();
    QStringList stops;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        stops << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(stops, (QStringList{"OptClass(4)", "Option4", "Text2"}));
    dialog.OptClass[4]->setFocus();
    QTest::keyClick(dialog.OptClass[4], Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), dialog.OptClass[5]);
    EXPECT_TRUE(dialog.OptClass[5]->isChecked());
    dialog.Text1->setFocus();
    QTest::keyClick(dialog.Text1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.OptClass[5]);
}

TEST(SummaryDialog, ClubAndOperatorsAreTypedInCapitalsTheOtherBoxesAsTyped) {
    TestProgram t;
    WICabrilloOut dialog(t.program(), kDesignScreen);
    ASSERT_TRUE(Open(dialog));
    Type(dialog.Text1, "badger dx, inc.");
    Type(dialog.Text2, "k5out n5two");
    Type(dialog.Text5, "pat example");
    Type(dialog.Text11, "fun contest");
    Type(dialog.Text8, "wd9xyz@example.org");
    EXPECT_EQ(dialog.Text1->text(), "BADGER DX, INC.");
    EXPECT_EQ(dialog.Text2->text(), "K5OUT N5TWO");
    EXPECT_EQ(dialog.Text5->text(), "pat example");
    EXPECT_EQ(dialog.Text11->text(), "fun contest");
    EXPECT_EQ(dialog.Text8->text(), "wd9xyz@example.org");
}

TEST(SummaryDialog, WritesEachStationSidesGoldenFileFromWhatIsTyped) {
    for (StationSideFixture side : {StationSideFixture::Inside, StationSideFixture::Outside}) {
        const auto& fixture = testing_support::FixtureOf(side);
        SCOPED_TRACE(fixture.name);
        TestProgram t;
        testing_support::LoadFixture(t, fixture);
        WICabrilloOut dialog(t.program(), kDesignScreen);
        ASSERT_TRUE(Open(dialog));
        Enter(dialog, fixture.inputs);
        ASSERT_EQ(dialog.Inputs(), fixture.inputs);

        const QString path = t.root() + "/" + fixture.name + ".log";
        t.dialogs.fileAnswers = {path};
        QTest::mouseClick(dialog.Command4, Qt::LeftButton);

        testing_support::ExpectEqualsGolden(TestProgram::ReadFile(path),
                                            QString(fixture.name) + ".log");
        EXPECT_EQ(t.dialogs.titles(),
                  (std::vector<QString>{"", "File Written Successfully.", "  Thanks!"}));
        EXPECT_EQ(QApplication::focusWidget(), dialog.Command3);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(Remembered(t.program(), "UserAddressName"), fixture.inputs.name);
    }
}

TEST(SummaryDialog, CancellingTheSaveDialogWritesNothingAndShowsNothing) {
    TestProgram t;
    testing_support::LoadFixture(t, testing_support::FixtureOf(StationSideFixture::Inside));
    WICabrilloOut dialog(t.program(), kDesignScreen);
    ASSERT_TRUE(Open(dialog));
    Type(dialog.Text5, "Pat Example");
    Type(dialog.Text2, "wd9xyz");
    QTest::mouseClick(dialog.OptClass[8], Qt::LeftButton);

    t.dialogs.fileAnswers = {std::nullopt};
    QTest::mouseClick(dialog.Command4, Qt::LeftButton);

    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].kind, testing_support::ShownBox::SaveFile);
    EXPECT_EQ(t.dialogs.beeps, 0);
    EXPECT_EQ(LogFilesIn(t->folders.DataFolder), QStringList{});
    EXPECT_EQ(LogFilesIn(t.root()), QStringList{});
    EXPECT_EQ(Remembered(t.program(), "UserAddressName"), "");
    // The boxes keep what was typed; the own call stays trimmed.
    EXPECT_EQ(dialog.Text5->text(), "Pat Example");
    EXPECT_EQ(dialog.Text2->text(), "WD9XYZ");
    EXPECT_TRUE(dialog.OptClass[8]->isChecked());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(t->station.OwnCall, "WD9XYZ/R");
}

TEST(SummaryDialog, TheNextOpeningShowsTheWrittenAddressBlockTrimmedAndTheDefaults) {
    TestProgram t;
    testing_support::LoadFixture(t, testing_support::FixtureOf(StationSideFixture::Outside));
    {
        WICabrilloOut dialog(t.program(), kDesignScreen);
        ASSERT_TRUE(Open(dialog));
        Enter(dialog, {.name = " Lee Sample ",
                       .address1 = "400 Main Street ",
                       .address2 = " Austin, TX 78701",
                       .email = "k5out@example.net",
                       .soapbox = "see you next year",
                       .club = " lone star dx ",
                       .entryClass = "Multi OP Tech",
                       .power = PowerClass::High,
                       .operators = "k5out"});
        t.dialogs.fileAnswers = {t.root() + "/K5OUT.log"};
        QTest::mouseClick(dialog.Command4, Qt::LeftButton);
        ASSERT_TRUE(QFile::exists(t.root() + "/K5OUT.log"));
        QTest::mouseClick(dialog.Command3, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }
    WICabrilloOut next(t.program(), kDesignScreen);
    EXPECT_EQ(next.Inputs(), FreshlyLoaded("Lee Sample", "400 Main Street", "Austin, TX 78701",
                                           "k5out@example.net", "LONE STAR DX"));
    EXPECT_TRUE(next.OptClass[0]->isChecked());
    EXPECT_TRUE(next.Option3->isChecked());
}

TEST(SummaryDialog, DoneAndTheCloseBoxEndTheModalShowing) {
    TestProgram t;
    for (bool byCloseBox : {false, true}) {
        SCOPED_TRACE(byCloseBox);
        WICabrilloOut dialog(t.program(), kDesignScreen);
        bool wasModal = false;
        QTimer::singleShot(0, &dialog, [&] {
            wasModal = QApplication::activeModalWidget() == &dialog;
            if (byCloseBox)
                dialog.close();
            else
                QTest::mouseClick(dialog.Command3, Qt::LeftButton);
        });
        platform::ShowModal(dialog);
        EXPECT_TRUE(wasModal);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

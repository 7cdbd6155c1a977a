#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "mainwindow/main_window.h"
#include "keyers/blind_frm.h"
#include "platform/colors.h"
#include "platform/wave_player.h"
#include "setup/reference_tables.h"
#include "support/scoring_fixture.h"
#include "support/main_window_fixture.h"

using testing_support::Contact;
using testing_support::MainWindowFixture;
using testing_support::TestProgram;

namespace {

// A loaded, active main window with the shipped reference tables, logged on.
class EntryLine {
public:
    explicit EntryLine(int side, const QByteArray& log = {}, bool logOn = true) : f(side) {
        f.t.CopyDataFile("arrlpre2.txt");
        f.t.CopyDataFile("states.txt");
        setup::LoadPrefixTable(f.program());
        setup::LoadStatePositionTable(f.program());
        f.program().station.OwnLatitude = 43.07f;   // Madison
        f.program().station.OwnLongitude = 89.4f;
        f.WriteLog(log);
        w = &f.Load();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        if (logOn) w->cmdLogOn_Click();
        w->entry().txtCall->setFocus();
        settle();
        f.t.dialogs.shown.clear();
        f.t.dialogs.beeps = 0;
    }

    // Types keys into whichever box has the focus, as the keyboard would.
    void type(const QString& keys) { f.Type(keys); }
    static void settle() { QCoreApplication::processEvents(); }
    // Lets queued work run until none is left, keys handed on one at a time
    // included.
    static void settleAll() {
        for (int i = 0; i < 200; ++i) QCoreApplication::processEvents();
    }

    QByteArray logFile() { return TestProgram::ReadFile(f.t.workFile("log.txt")); }
    QWidget* focus() { return QApplication::focusWidget(); }

    MainWindowFixture f;
    mainwindow::MainWindow* w = nullptr;
};

}  // namespace

TEST(EntryLine, InStateContactTypedAndLogged) {
    EntryLine e(0);
    e.f.program().entry.RigFrequencyText = "7.025";
    e.type("w9xyz");
    EXPECT_EQ(e.w->entry().txtCall->text(), "W9XYZ");
    EXPECT_EQ(e.f.program().entry.CWMacroCall, "W9XYZ");
    e.type(" ");
    EXPECT_EQ(e.focus(), e.w->entry().txtCntry);
    e.type("wi");
    EXPECT_EQ(e.w->entry().txtCntry->text(), "WI");
    EXPECT_TRUE(e.w->lblStation[4]->isEnabled());
    EXPECT_EQ(e.w->entry().Label19->text(), "NA");
    e.type(" ");
    EXPECT_EQ(e.focus(), e.w->entry().txtSec);
    e.type("dan");
    EXPECT_EQ(e.w->entry().txtSec->text(), "Dane");
    EXPECT_EQ(e.w->entry().txtSec->selectedText(), "e");
    e.type("\n");

    EXPECT_EQ(e.logFile(),
              "\"W9XYZ\",\"\",\"\",\"WI\",\"Dane\",\"\",\"DAN\",\"\",\"\",\"\",\"\",\"2013/04/07\","
              "\"18:05:33\",\"CW\",\"40\",0,\"\",\"\",\"7.025\"\r\n");
    EXPECT_EQ(e.f.program().log.QSOCount, 1);
    EXPECT_TRUE(e.w->entry().txtCall->text().isEmpty());
    EXPECT_TRUE(e.w->entry().txtCntry->text().isEmpty());
    EXPECT_TRUE(e.w->entry().txtSec->text().isEmpty());
    EXPECT_EQ(e.focus(), e.w->entry().txtCall);
    EXPECT_TRUE(e.f.program().entry.RigFrequencyText.isEmpty());
    EXPECT_EQ(e.w->ListView1->model()->rowCount(), 1);
    EXPECT_EQ(testing_support::MainWindowFixture::ListTexts(e.w->List2), QStringList{"Dane"});
    EXPECT_EQ(e.w->lblTotScore->text(), "4");  // 2 points x (Dane + WI)
    EXPECT_EQ(platform::ForeColor(e.w->Label10[42]),
              platform::FromStoredColor(e.f.program().station.WorkedColor));
    EXPECT_EQ(e.w->lblAQSO20->text(), "3");
}

TEST(EntryLine, OutOfStateContactTypedAndLogged) {
    EntryLine e(1, {}, false);
    e.type("k1abc");
    EXPECT_EQ(e.w->entry().lblDialog->text(), "Click Log \"Time On\"!");
    EXPECT_GE(e.f.t.dialogs.beeps, 5);
    e.type(" ");
    EXPECT_EQ(e.focus(), e.w->entry().txtSec);
    e.type("ada");
    EXPECT_EQ(e.w->entry().txtSec->text(), "Adams");
    EXPECT_TRUE(e.w->entry().lblNew->isVisible());
    e.type("\n");
    EXPECT_TRUE(e.f.program().operating.LoggedOn);  // logging pressed Time On
    EXPECT_EQ(e.logFile(),
              "\"K1ABC\",\"\",\"\",\"\",\"Adams\",\"\",\"\",\"\",\"\",\"\",\"\",\"2013/04/07\","
              "\"18:05:33\",\"CW\",\"40\",0,\"\",\"\",\"\"\r\n");
    EXPECT_EQ(e.w->lblStation[5]->text(), "Counties Worked - 1");
    // A county already worked shows no "New".
    e.w->entry().txtSec->setText("Adams");
    EXPECT_FALSE(e.w->entry().lblNew->isVisible());
}

TEST(EntryLine, RefusedContactsStoreNothing) {
    struct Case {
        const char* name;
        int side;
        QString call, spc, county;
        QString message;
        QLineEdit* entry::EntryLine::*focus;
    };
    const Case cases[] = {
        {"short call", 0, "W9", "WI", "Dane", "Need Call Sign!", &entry::EntryLine::txtCall},
        {"party state without county", 0, "W9XYZ", "WI", "", "Need County!", &entry::EntryLine::txtSec},
        {"no state or country", 0, "W9XYZ", "", "", "Need Country!", &entry::EntryLine::txtCntry},
        {"no such section", 0, "W9XYZ", "XX", "", "Invald Section!", &entry::EntryLine::txtCntry},
        {"no such county", 0, "W9XYZ", "WI", "Dain", "Dain is not a valid county!",
         &entry::EntryLine::txtSec},
        {"out-of-state without county", 1, "K1ABC", "", "", "Need County!", &entry::EntryLine::txtSec},
        {"out-of-state no such county", 1, "K1ABC", "", "Nowhere", "Nowhere is not a valid county!",
         &entry::EntryLine::txtSec},
    };
    for (const Case& c : cases) {
        EntryLine e(c.side);
        e.w->entry().txtCall->setText(c.call);
        if (c.side == 0) e.w->entry().txtCntry->setText(c.spc);
        e.w->entry().txtSec->setText(c.county);
        e.w->entry().Mains();
        EntryLine::settle();
        EXPECT_EQ(e.w->entry().lblDialog->text(), c.message) << c.name;
        EXPECT_EQ(e.f.program().log.QSOCount, 0) << c.name;
        EXPECT_TRUE(e.logFile().isEmpty()) << c.name;
        EXPECT_EQ(e.focus(), e.w->entry().*c.focus) << c.name;
        EXPECT_EQ(e.w->entry().txtCall->text(), c.call) << c.name;  // kept for correction
    }
}

// A state code refused by one contact is checked afresh by the next: a
// country after it needs no check and is logged, and nothing is left in the
// call box to run into the next call.
TEST(EntryLine, ARefusedStateCodeHoldsBackNoLaterContact) {
    EntryLine e(0);
    e.type("w9xyz xx\n");
    EXPECT_EQ(e.w->entry().lblDialog->text(), "Invald Section!");
    EXPECT_EQ(e.f.program().log.QSOCount, 0);
    e.type("\x1b");
    e.type("dl1abc\n");
    ASSERT_EQ(e.f.program().log.QSOCount, 1);
    EXPECT_EQ(e.f.program().log.row(1).QSOCall, "DL1ABC");
    EXPECT_EQ(e.f.program().log.row(1).QSOSPC, "Germany");
    EXPECT_TRUE(e.w->entry().txtCall->text().isEmpty());
    e.type("k1abc ma\n");
    ASSERT_EQ(e.f.program().log.QSOCount, 2);
    EXPECT_EQ(e.f.program().log.row(2).QSOCall, "K1ABC");
    EXPECT_EQ(e.f.program().log.row(2).QSOSPC, "MA");
}

TEST(EntryLine, CountiesAbbreviationsAndOtherStates) {
    EntryLine e(0);
    // An abbreviation is stored as the county's name.
    e.w->entry().txtCall->setText("W9AAA");
    e.w->entry().txtCntry->setText("wi");
    e.w->entry().txtSec->setText("gre");
    e.w->entry().Mains();
    // A county typed for a station of another state is dropped.
    e.w->entry().txtCall->setText("W9BBB");
    e.w->entry().txtCntry->setText("IL");
    e.w->entry().txtSec->setText("Dane");
    e.w->entry().Mains();
    // A country needs no section check.
    e.w->entry().txtCall->setText("DL1AB");
    e.w->entry().txtCntry->setText("Germany");
    e.w->entry().Mains();
    ASSERT_EQ(e.f.program().log.QSOCount, 3);
    EXPECT_EQ(e.f.program().log.row(1).QSOCounty, "Green");
    EXPECT_EQ(e.f.program().log.row(1).QSOSPC, "wi");
    EXPECT_EQ(e.f.program().log.row(2).QSOCounty, "");
    EXPECT_EQ(e.f.program().log.row(3).QSOSPC, "Germany");
    EXPECT_EQ(testing_support::MainWindowFixture::ListTexts(e.w->List1), QStringList{"Germany"});
}

TEST(EntryLine, DuplicateIsRefusedAndHeldThreeSeconds) {
    const QByteArray log = Contact("W9XYZ", "WI", "Dane", "2013/04/07", "18:00:00", "CW", "40", "DAN");
    EntryLine e(0, log);
    e.type("w9xyz wi dane\n");
    EXPECT_EQ(e.f.program().log.QSOCount, 1);
    EXPECT_EQ(e.w->entry().lblDialog->text(), "Duplicate W9XYZ 04/07 18:00:00  Rec# 1");
    EXPECT_EQ(platform::BackColor(e.w->entry().lblDialog), QColor(255, 0, 0));
    EXPECT_TRUE(e.w->entry().txtCall->text().isEmpty());
    EXPECT_TRUE(e.w->entry().txtSec->text().isEmpty());
    EXPECT_EQ(e.f.program().entry.DupeFlag, 1);

    // A key typed while the message stands waits: it takes effect when the
    // message has stood for three seconds, and not before.
    e.f.t.clock.AdvanceMs(1000);
    e.type("k");
    EXPECT_TRUE(e.w->entry().txtCall->text().isEmpty());
    EXPECT_EQ(e.w->entry().lblDialog->text(), "Duplicate W9XYZ 04/07 18:00:00  Rec# 1");
    e.f.t.clock.AdvanceMs(1900);
    e.settleAll();
    EXPECT_TRUE(e.w->entry().txtCall->text().isEmpty());
    e.f.t.clock.AdvanceMs(200);
    e.settleAll();
    EXPECT_EQ(e.w->entry().txtCall->text(), "K");
    EXPECT_EQ(e.f.program().entry.DupeFlag, 0);
    EXPECT_EQ(platform::BackColor(e.w->entry().lblDialog), QColor(0, 192, 192));

    // The same call on another band is no duplicate.
    e.w->entry().txtCall->setText("W9XYZ");
    e.w->BandCommand("20");
    e.w->entry().txtCntry->setText("WI");
    e.w->entry().txtSec->setText("Dane");
    e.w->entry().Mains();
    EXPECT_EQ(e.f.program().log.QSOCount, 2);
}

// Keys typed while a duplicate's message stands are not lost: Space, Enter
// and Esc included, they take effect in their order when the three seconds
// are over, in whichever box the focus has reached by then.
TEST(EntryLine, KeysTypedDuringTheDuplicateHoldAreLoggedWhenItEnds) {
    struct Case {
        const char* name;
        int side;
        const char* duplicate;  // typed first: refused as a duplicate
        const char* meanwhile;  // typed at once, within the hold
        const char* county;     // of the contact the keys log
        const char* spc;
    };
    const Case cases[] = {
        // Enter in the call box, the county filled in from the earlier contact.
        {"out-of-state", 1, "w9xyz\n", "k9new dane\n", "Dane", ""},
        // Space at the end of the county sends a Tab to the call box, which
        // acts before the Enter that follows it.
        {"out-of-state, Space after the county", 1, "w9xyz\n", "k9new dane \n", "Dane", ""},
        // Enter in the county box; an Esc among the waiting keys clears what
        // was typed before it.
        {"in-state", 0, "w9xyz wi dane\n", "w9q\x1bk9new wi dane\n", "Dane", "WI"},
    };
    for (const Case& c : cases) {
        QByteArray log;
        for (const char* call : {"W9XYZ", "K9AAA", "N9BBB"})
            log += Contact(call, c.side == 0 ? "WI" : "", "Dane", "2013/04/07", "18:00:00", "CW", "40",
                           c.side == 0 ? "DAN" : "");
        EntryLine e(c.side, log);
        e.type(c.duplicate);
        ASSERT_TRUE(e.w->entry().lblDialog->text().startsWith("Duplicate W9XYZ")) << c.name;
        e.type(c.meanwhile);
        e.settleAll();
        // Nothing yet: the red message stands, the keys wait.
        EXPECT_EQ(e.f.program().log.QSOCount, 3) << c.name;
        EXPECT_TRUE(e.w->entry().lblDialog->text().startsWith("Duplicate W9XYZ")) << c.name;
        EXPECT_EQ(platform::BackColor(e.w->entry().lblDialog), QColor(255, 0, 0)) << c.name;
        EXPECT_TRUE(e.w->entry().txtCall->text().isEmpty()) << c.name;

        e.f.t.clock.AdvanceMs(3000);
        e.settleAll();
        ASSERT_EQ(e.f.program().log.QSOCount, 4) << c.name;
        const logstore::ContactRecord& r = e.f.program().log.row(4);
        EXPECT_EQ(r.QSOCall, "K9NEW") << c.name;
        EXPECT_EQ(r.QSOCounty, c.county) << c.name;
        EXPECT_EQ(r.QSOSPC, c.spc) << c.name;
        EXPECT_TRUE(e.logFile().contains("\"K9NEW\"")) << c.name;
        EXPECT_TRUE(e.w->entry().txtCall->text().isEmpty()) << c.name;
        EXPECT_EQ(e.focus(), e.w->entry().txtCall) << c.name;
        // Keys typed after the hold take effect at once again.
        e.type("k");
        EXPECT_EQ(e.w->entry().txtCall->text(), "K") << c.name;
    }
}

TEST(EntryLine, OutOfStateDuplicateMessage) {
    const QByteArray log = Contact("K1ABC", "", "Adams", "2013/04/07", "18:00:00", "CW", "40");
    EntryLine e(1, log);
    e.w->entry().txtCall->setText("k1abc");
    e.w->entry().txtSec->setText("Adams");
    e.w->entry().Mains();
    EXPECT_EQ(e.w->entry().lblDialog->text(), "Duplicate K1ABC  2013/04/07  18:00:00   Rec# 1");
    EXPECT_EQ(e.f.program().log.QSOCount, 1);
}

TEST(EntryLine, LeavingTheCallBoxWarnsAndFillsTheExchange) {
    const QByteArray log = Contact("W9XYZ", "WI", "Dane", "2013/04/07", "18:00:00", "CW", "40", "DAN") +
                           Contact("W9XYZ", "WI", "Dane", "2013/04/07", "18:01:00", "CW", "20", "DAN");
    EntryLine e(0, log);
    e.type("w9xyz ");
    EXPECT_EQ(e.w->entry().lblDialog->text(), "Dupe if not rover!  W9XYZ  04/13  18:00:00   Rec# 1");
    EXPECT_EQ(e.w->entry().txtSec->text(), "Dane");
    EXPECT_EQ(e.w->entry().txtCntry->text(), "WI");
    EXPECT_EQ(e.f.program().entry.DupeFlag, 0);

    // With "List Previous Contacts" ticked every earlier contact is listed.
    e.w->mnuListPrevious->trigger();
    e.w->entry().ClearEntry();
    e.type("w9xyz ");
    EXPECT_EQ(e.f.RecentColumn(0), (QStringList{"1", "2"}));

    // An earlier contact outside the party state is refused at once.
    EntryLine d(0, Contact("K1ABC", "MA", "", "2013/04/07", "18:00:00", "CW", "40", "DAN"));
    d.type("k1abc ");
    EXPECT_EQ(d.w->entry().lblDialog->text(), "Duplicate K1ABC 04/07 18:00:00  Rec# 1");
    EXPECT_TRUE(d.w->entry().txtCall->text().isEmpty());
    EXPECT_EQ(d.focus(), d.w->entry().txtCall);

    EntryLine o(1, Contact("K1ABC", "", "Adams", "2013/04/07", "18:00:00", "CW", "40"));
    o.type("k1abc ");
    EXPECT_EQ(o.w->entry().lblDialog->text(), "Duplicate Unless Rover!  K1ABC  2013/04/07  18:00:00   Rec# 1");
    EXPECT_EQ(o.w->entry().txtSec->text(), "Adams");
}

TEST(EntryLine, PartialDupesWhileTyping) {
    const QByteArray log = Contact("W9ABC", "WI", "Dane", "2013/04/07", "18:00:00", "CW", "40", "DAN") +
                           Contact("W9ABD", "WI", "Dane", "2013/04/07", "18:01:00", "CW", "40", "DAN") +
                           Contact("W9ABE", "WI", "Dane", "2013/04/07", "18:02:00", "PH", "40", "DAN");
    EntryLine e(0, log);
    e.type("w9a");
    EXPECT_EQ(e.w->entry().lblDupe->text(), "W9ABD W9ABC ");
    EXPECT_NE(e.w->entry().lblDialog->text(), "Possible Duplicate!");
    e.type("b");
    EXPECT_EQ(e.w->entry().lblDialog->text(), "Possible Duplicate!");
    e.type("cd");
    EXPECT_TRUE(e.w->entry().lblDupe->text().isEmpty());  // W9ABC is shorter than W9ABCD

    e.w->entry().ClearEntry();
    e.type("abc");
    EXPECT_EQ(e.w->entry().lblDialog->text(), "The second or third character is not numeric!");
    e.w->entry().ClearEntry();
    e.type("a/b");
    EXPECT_EQ(e.w->entry().lblDialog->text(), " ");

    // Partial dupes switched off show nothing.
    e.w->entry().ClearEntry();
    e.w->cmdDup_Click();
    e.type("w9ab");
    EXPECT_TRUE(e.w->entry().lblDupe->text().isEmpty());
    EXPECT_NE(e.w->entry().lblDialog->text(), "Possible Duplicate!");
}

TEST(EntryLine, TypeAheadInTheCountyAndCountryBoxes) {
    EntryLine e(0);
    e.type("w9xyz wi ");
    struct Case {
        QString keys;
        QString text;
        QString selected;
    };
    const Case cases[] = {
        {"green", "Green Lake", " Lake"},
        {"green ", "Green Lake", "Lake"},
        {"la", "Langlade", "nglade"},
        {"la ", "La Crosse", "Crosse"},
        {"eau c", "Eau Claire", "laire"},
    };
    for (const Case& c : cases) {
        e.w->entry().txtSec->clear();
        e.w->entry().txtSec->setFocus();
        e.type(c.keys);
        EXPECT_EQ(e.w->entry().txtSec->text(), c.text) << c.keys.toStdString();
        EXPECT_EQ(e.w->entry().txtSec->selectedText(), c.selected) << c.keys.toStdString();
        EXPECT_EQ(e.focus(), e.w->entry().txtSec) << c.keys.toStdString();
    }
    // Space at the end of a completed one-word name moves on.
    e.w->entry().txtSec->clear();
    e.type("ada");
    e.w->entry().txtSec->setCursorPosition(5);
    e.type(" ");
    EXPECT_EQ(e.w->entry().txtSec->text(), "Adams");
    EXPECT_EQ(e.focus(), e.w->entry().txtCall);  // the lists are no tab stops

    // Country names complete from the prefix table.
    e.w->entry().txtCntry->clear();
    e.w->entry().txtCntry->setFocus();
    e.type("ger");
    EXPECT_EQ(e.w->entry().txtCntry->text(), "Germany");
    EXPECT_EQ(e.w->entry().txtCntry->selectedText(), "many");
    EXPECT_EQ(e.w->entry().Label19->text(), "EU");
    EXPECT_FALSE(e.w->entry().Label22->text().trimmed().isEmpty());
    EXPECT_TRUE(e.w->entry().Label3->isVisible());  // not worked on 40 m yet
}

TEST(EntryLine, CallBoxLookupShowsCountryBearingAndDistance) {
    // From Madison (43.07 N, 89.4 W) to the prefix rows' positions: the
    // bearing in whole degrees and the distance in whole miles, grouped.
    const testing_support::DefaultLocale usNumbers(QLocale(QLocale::English, QLocale::UnitedStates));
    struct Case {
        QString call;
        QString country;  // what the country box shows afterwards
        QString continent;
        QString bearing;
        QString miles;
    };
    const Case cases[] = {
        {"DL1ABC", "Germany", "EU", "44 ", "4,342 "},
        {"JA1ABC", "Japan", "AS", "323 ", "6,174 "},
        {"KH6ABC", "HI", "OC", "272 ", "4,140 "},
        {"KL7ABC", "AK", "NA", "319 ", "2,692 "},
        {"K9ABC", "", "NA", "", ""},
        {"VE3ABC", "", "NA", "", ""},
        {"W9ABC/VE3", "", "NA", "", ""},
    };
    for (const Case& c : cases) {
        EntryLine e(0);
        e.w->entry().txtCall->setText(c.call);
        EXPECT_EQ(e.w->entry().txtCntry->text(), c.country) << c.call.toStdString();
        EXPECT_EQ(e.w->entry().Label19->text(), c.continent) << c.call.toStdString();
        EXPECT_EQ(e.w->entry().Label22->text(), c.bearing) << c.call.toStdString();
        EXPECT_EQ(e.w->entry().Label23->text(), c.miles) << c.call.toStdString();
    }
    // Leaving the call box fills a Canadian province, before the state box
    // offers the party state for a call with a 9.
    for (const auto& [call, code] : {std::pair<QString, QString>{"ve3abc ", "ON"}, {"ve9abc ", "NB"}}) {
        EntryLine e(0);
        e.type(call);
        EXPECT_EQ(e.w->entry().txtCntry->text(), code) << call.toStdString();
    }
    // An earlier contact's state wins over the party state for a 9 call.
    EntryLine e(0, Contact("W9IL", "IL", "", "2013/04/07", "18:00:00", "CW", "20", "DAN"));
    e.type("w9il ");
    EXPECT_EQ(e.w->entry().txtCntry->text(), "IL");
}

TEST(Logging, MidnightFullLogFailedAppendAndReentry) {
    // The UTC date and time come from one reading: 21:30:10 local on 6 April
    // with an offset of 5 hours is 02:30:10 on 7 April.
    {
        EntryLine e(1);
        e.f.t.clock.utc = platform::CalendarTime(2013, 4, 7, 2, 30, 10);
        e.w->entry().txtCall->setText("K1ABC");
        e.w->entry().txtSec->setText("Adams");
        e.w->entry().Mains();
        EXPECT_EQ(e.f.program().log.row(1).QSODate, "2013/04/07");
        EXPECT_EQ(e.f.program().log.row(1).QSOTime, "02:30:10");
    }
    // A full log refuses the contact with a message and keeps every row.
    {
        QByteArray full;
        for (int i = 1; i <= 11000; ++i)
            full += Contact(QString("K%1").arg(i), "", "Adams", "2013/04/07", "10:00:00", "CW", "20");
        EntryLine e(1, full);
        e.w->entry().txtCall->setText("W1NEW");
        e.w->entry().txtSec->setText("Adams");
        e.w->entry().Mains();
        EXPECT_EQ(e.f.program().log.QSOCount, 11000);
        EXPECT_EQ(e.f.t.dialogs.titles(), std::vector<QString>{"Log Full"});
        EXPECT_EQ(e.w->entry().txtCall->text(), "W1NEW");
        EXPECT_EQ(e.f.program().log.row(11000).QSOCall, "K11000");
    }
    // A contact that log.txt cannot take is not counted either.
    {
        EntryLine e(0);
        const QString path = e.f.t.workFile("log.txt");
        QFile::remove(path);
        QDir().mkdir(path);  // a folder where the file belongs
        e.w->entry().txtCall->setText("W9XYZ");
        e.w->entry().txtCntry->setText("WI");
        e.w->entry().txtSec->setText("Dane");
        e.w->entry().Mains();
        EXPECT_EQ(e.f.program().log.QSOCount, 0);
        EXPECT_EQ(e.f.t.dialogs.titles(), std::vector<QString>{"Unable to write file."});
        EXPECT_EQ(e.f.program().tally.QSOPoints, 0);
        EXPECT_EQ(e.w->List2->count(), 0);
        // The contact stays on the entry line, to be logged once the file
        // can take it.
        EXPECT_EQ(e.w->entry().txtCall->text(), "W9XYZ");
        EXPECT_EQ(e.w->entry().txtSec->text(), "Dane");
    }
    // An Enter handled right after Mains, before the operator typed again,
    // logs nothing more.
    {
        EntryLine e(1);
        e.w->entry().txtCall->setText("K1ABC");
        e.w->entry().txtSec->setText("Adams");
        QTimer::singleShot(0, e.w, [&] { e.w->entry().Mains(); });
        e.w->entry().Mains();
        EntryLine::settle();
        EXPECT_EQ(e.f.program().log.QSOCount, 1);
    }
}

// The "Dupe" prompt is heard whole before the next prompt, and the window
// does not wait for it meanwhile.
TEST(Logging, DupePromptIsHeardBeforeAnythingElse) {
    const QByteArray log = Contact("K1ABC", "", "Adams", "2013/04/07", "18:00:00", "CW", "40");
    EntryLine e(1, log);
    e.f.t.CopyDataFile("Dupe.wav");
    e.f.t.CopyDataFile("Call.wav");
    e.f.program().station.VoiceNavMode = 2;
    keyers::BlindFrm& blind = e.f.program().blindFrm();
    e.f.t.sound.Clear();
    const std::int64_t before = e.f.t.clock.MonotonicMs();
    e.w->entry().txtCall->setText("K1ABC");
    e.w->entry().txtSec->setText("Adams");
    e.w->entry().Mains();
    EXPECT_EQ(e.f.t.clock.MonotonicMs(), before);
    EXPECT_TRUE(e.w->entry().lblDialog->text().startsWith("Duplicate K1ABC"));
    EXPECT_EQ(e.w->entry().txtCall->text(), "");
    EntryLine::settle();
    // The prompt of the call box, asked for next, waits for the end.
    blind.BlindKeyPhone("Call");
    const std::int64_t length = blind.MMControl1.LengthMs();
    ASSERT_GT(length, 0);
    e.f.t.clock.AdvanceMs(length - 1);
    EXPECT_EQ(e.f.t.sound.names().last(), "Dupe");
    EXPECT_EQ(e.f.t.sound.record->stops, 0);
    e.f.t.clock.AdvanceMs(1);
    EXPECT_EQ(e.f.t.sound.names().last(), "Call");
    EXPECT_FALSE(e.f.t.sound.names().mid(0, e.f.t.sound.names().size() - 1).contains("Call"));
}

// The call box has the focus when the window opens, and its prompt is due
// then, from the level "Call Only" up.
TEST(VoiceNavigation, CallBoxPromptIsSpokenWhenTheWindowOpens) {
    for (int side : {0, 1}) {
        for (std::uint8_t mode : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << "side " << side << " mode " << int(mode));
            MainWindowFixture f(side);
            f.t.CopyDataFile("Call.wav");
            f.WriteLog({});
            f.program().station.VoiceNavMode = mode;
            mainwindow::MainWindow& w = f.Load();
            w.activateWindow();  // the window manager activates a shown window
            ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
            EntryLine::settle();
            EXPECT_EQ(QApplication::focusWidget(), w.entry().txtCall);
            const QStringList spoken = f.t.sound.names();
            if (mode == 0) {
                EXPECT_TRUE(spoken.isEmpty()) << spoken.join(",").toStdString();
            } else {
                ASSERT_FALSE(spoken.isEmpty());
                EXPECT_EQ(spoken.last(), "Call");
                EXPECT_EQ(f.program().blindFrm().MMControl1.Mode(), platform::kModePlaying);
            }
        }
    }
}

TEST(EntryLine, ALogWithAnUncleanEndTakesTheNextContactWhole) {
    // Two contacts, then an end that an append would run into: blank lines,
    // no final line end, an unclosed quote in the last item. Loaded at
    // start-up or restored from an archive, the log then takes a contact,
    // a band change reloads it, and every contact is read back whole.
    const QByteArray two = Contact("K1AA", "", "Adams", "2013/04/07", "17:00:00", "CW", "40") +
                           Contact("K2BB", "", "Brown", "2013/04/07", "17:01:00", "CW", "40");
    QByteArray noLineEnd = two;
    noLineEnd.chop(2);
    QByteArray unclosedQuote = noLineEnd;
    unclosedQuote.chop(1);  // the last item's closing quote
    const std::pair<const char*, QByteArray> endings[] = {
        {"blank lines", two + "\r\n\r\n"},
        {"no line end", noLineEnd},
        {"unclosed quote", unclosedQuote + "\r\n"},
    };
    for (const auto& [name, bytes] : endings) {
        for (const bool restore : {false, true}) {
            SCOPED_TRACE(std::string(name) + (restore ? ", restored" : ", loaded"));
            EntryLine e(1, restore ? QByteArray() : bytes);
            if (restore) {
                const QString archive = e.f.t.root() + "/archive.log";
                TestProgram::WriteFile(archive, bytes);
                e.f.t.dialogs.fileAnswers.push_back(archive);
                e.w->mnuRestore->trigger();
                // The restored log.txt ends with the last record's line end.
                EXPECT_TRUE(e.logFile().endsWith("\"\"\r\n"));
                EXPECT_FALSE(e.logFile().endsWith("\r\n\r\n"));
            }
            ASSERT_EQ(e.f.program().log.QSOCount, 2);
            e.w->entry().txtCall->setFocus();
            e.type("k3cc ada\n");
            ASSERT_EQ(e.f.program().log.QSOCount, 3);
            e.w->bandItems[3]->trigger();  // "20": the log is read again
            EXPECT_EQ(e.f.t.endCalls, 0);
            ASSERT_EQ(e.f.program().log.QSOCount, 3);
            const char* calls[] = {"K1AA", "K2BB", "K3CC"};
            const char* counties[] = {"Adams", "Brown", "Adams"};
            for (int i = 1; i <= 3; ++i) {
                const logstore::ContactRecord& r = e.f.program().log.row(i);
                EXPECT_EQ(r.QSOCall, calls[i - 1]);
                EXPECT_EQ(r.QSOCounty, counties[i - 1]);
                EXPECT_EQ(r.QSOBand, "40");
                EXPECT_EQ(r.QSOFrequency, "");
            }
            // The next start reads the same log.
            EXPECT_TRUE(logstore::CleanLogBytes(e.logFile()).has_value());
            EXPECT_EQ(logstore::CleanLogBytes(e.logFile()), e.logFile());
        }
    }
}

TEST(EntryLine, ADigitInTheStateBoxGoesToTheCountyBoxAndThenOn) {
    // The digit is entered nowhere. The county box takes it as Space and
    // sends a Tab; the county box's own focus handler runs first. With a
    // country it sends the focus to the call box, from which the Tab
    // returns to the state box; with the party state it stays, and the Tab
    // moves on to the call box (the post-contest boxes are hidden).
    struct Case {
        const char* keys;
        const char* spc;
        bool backInStateBox;
    };
    const Case cases[] = {
        {"dl1ab 5", "Germany", true},
        {"k9abc wi5", "WI", false},
    };
    for (const Case& c : cases) {
        EntryLine e(0);
        e.type(c.keys);
        for (int i = 0; i < 3; ++i) EntryLine::settle();
        EXPECT_EQ(e.w->entry().txtCntry->text(), c.spc) << c.keys;
        EXPECT_TRUE(e.w->entry().txtSec->text().isEmpty()) << c.keys;
        EXPECT_EQ(e.focus(), c.backInStateBox ? static_cast<QWidget*>(e.w->entry().txtCntry)
                                              : static_cast<QWidget*>(e.w->entry().txtCall))
            << c.keys;
    }
}

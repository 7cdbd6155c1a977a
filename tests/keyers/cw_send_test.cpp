// Function-key messages through the send buffer: wildcards, "!", repeats,
// the echo on the main window and the failures of a send, read back from
// the keyed line on the fake clock.
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "keyers/cw_macros.h"
#include "logstore/county_table.h"
#include "mainwindow/main_window.h"
#include "support/cw_fixture.h"
#include "support/operating_loads.h"
#include "support/qstring_printer.h"

using keyers::ExpandCWMacros;
using keyers::MacroValues;
using testing_support::CWFixture;
using testing_support::TestProgram;

TEST(CWMacros, WildcardsAreReplacedInOrder) {
    logstore::CountyTable counties;
    counties.CountyNames = {"", "Dane", "Green Lake", "Vilas"};
    counties.CountyAbbrevs = {"", "DAN", "", "VILAS"};
    counties.CountyCount = 3;
    struct Case {
        QString message;
        MacroValues values;
        QString sent;
    };
    const Case cases[] = {
        {"TU $ ^", {"  W9XYZ ", "", "dane"}, "TU W9XYZ DAN"},
        {"$ *", {"K1ABC", "579", ""}, "K1ABC 579"},
        {"*", {"", "599", ""}, "5NN"},
        {"*", {"", "  ", ""}, "5NN"},
        {"NR # TU", {}, "NR  TU"},
        {"$$*", {"", "", ""}, "5NN"},
        {"$^", {"W9A", "", "Green Lake"}, "W9AGreen Lake"},  // no abbreviation
        {"^", {"", "", "Vilas"}, "Vilas"},                   // not shorter
        {"^", {"", "", "Nowhere"}, "Nowhere"},
        {"^ ^", {"", "", "DANE"}, "DAN DAN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandCWMacros(c.message, c.values, counties), c.sent) << c.message.toStdString();
}

TEST(CWSend, FunctionKeySendsTheMessageWithTheEntryLinesCallAndRst) {
    CWFixture c(1);  // out of state: the RST sent box feeds "*"
    c.cw->Text2->setText("TU $ *");
    c.w->entry().txtCall->setText("w9abc");
    c.w->entry().txtRSTS->setText("579");
    c.Key(Qt::Key_F2);
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "TU W9ABC 579");
    EXPECT_TRUE(c.program().keyer.CWBuffer.isEmpty());
    EXPECT_EQ(c.program().keyer.CWSending, 0);

    c.Forget();
    c.w->entry().txtRSTS->setText("599");
    c.Key(Qt::Key_F2);
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "TU W9ABC 5NN");
}

TEST(CWSend, CountyWildcardSendsTheOperatingCountyAbbreviated) {
    CWFixture c(0);
    c.program().station.OperatingCounty = "Dane";
    c.cw->Text3->setText("NR # ^");
    const std::int64_t start = c.f.t.clock.monotonic;
    c.Key(Qt::Key_F3);
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "NR DAN");
    // N R, two blanks, D A N: the blanks take 16 units.
    const int units = 8 + 10 + 16 + 10 + 8 + 8;
    EXPECT_EQ(c.f.t.clock.monotonic - start, units * 60);
}

TEST(CWSend, FunctionKeysChooseTheirBoxes) {
    CWFixture c;
    QLineEdit* boxes[] = {c.cw->Text1, c.cw->Text2, c.cw->Text3, c.cw->Text4, c.cw->Text5,
                          c.cw->Text6, c.cw->Text7, c.cw->Text8, c.cw->Text9, c.cw->Text12,
                          c.cw->Text13};
    const char* texts[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K"};
    for (int i = 0; i < 11; ++i) boxes[i]->setText(texts[i]);
    const std::pair<int, QString> cases[] = {{112, "A"}, {120, "I"}, {124, "J"}, {122, "K"},
                                             {121, ""},  {123, ""},  {125, ""}};
    for (const auto& [code, sent] : cases) {
        c.Forget();
        c.program().keyer.CWBuffer = "XYZ";
        c.cw->FKeyCW(code);
        c.WaitSent();
        EXPECT_EQ(c.Sent(), sent) << code;
        EXPECT_TRUE(c.program().keyer.CWBuffer.isEmpty()) << code;
    }
}

TEST(CWSend, InterfaceNoneOnlyEmptiesTheBuffer) {
    CWFixture c;
    c.cw->Option4->setChecked(true);
    c.cw->Text1->setText("CQ");
    c.program().keyer.CWBuffer = "XYZ";
    c.cw->FKeyCW(112);
    c.WaitSent();
    EXPECT_TRUE(c.program().keyer.CWBuffer.isEmpty());
    EXPECT_EQ(c.Writes(), 0u);
}

TEST(CWSend, ExclamationLogsTheContactAfterTheCharactersBeforeIt) {
    CWFixture c(0);
    c.cw->Text1->setText("TU!EE");
    c.w->entry().txtCall->setText("DL1AB");
    c.w->entry().txtCntry->setText("Germany");
    std::size_t writesAtLogging = 0;
    int clears = 0;
    QObject::connect(c.w->entry().txtCall, &QLineEdit::textChanged, c.w, [&](const QString& text) {
        if (!text.isEmpty()) return;
        ++clears;
        writesAtLogging = c.Writes();
    });
    c.Key(Qt::Key_F1);
    c.WaitSent();
    EXPECT_EQ(c.program().log.QSOCount, 1);
    EXPECT_EQ(c.program().log.row(1).QSOCall, "DL1AB");
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(writesAtLogging, 6u + 10u);  // the elements of T and U
    EXPECT_EQ(c.Sent(), "TUEE");

    // With an empty call box nothing is logged.
    c.Key(Qt::Key_F1);
    c.WaitSent();
    EXPECT_EQ(c.program().log.QSOCount, 1);
}

TEST(CWSend, FirstMessageRepeatsUntilAKeyIsPressed) {
    CWFixture c;
    c.cw->Text1->setText("CQ");
    c.cw->txtCWLoop->setText("5");
    c.cw->txtCWLoop_LostFocus();
    EXPECT_EQ(c.cw->tmrRepeat->interval(), 5000);
    c.cw->FKeyCW(112);
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "CQ");
    EXPECT_EQ(c.program().keyer.CWRepeatOn, 1);
    // Armed when the message has ended.
    EXPECT_TRUE(c.cw->tmrRepeat->isActive());

    // The tick sends F1 again and arms the timer anew.
    c.Forget();
    c.cw->tmrRepeat_Timer();
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "CQ");
    EXPECT_TRUE(c.cw->tmrRepeat->isActive());

    // Any key in the main window stops it and empties the buffer.
    c.program().keyer.CWBuffer = "CQ";
    c.Key(Qt::Key_Shift);
    EXPECT_EQ(c.program().keyer.CWRepeatOn, 0);
    EXPECT_FALSE(c.cw->tmrRepeat->isActive());
    EXPECT_TRUE(c.program().keyer.CWBuffer.isEmpty());
}

TEST(CWSend, RepeatSecondsOutOfRangeMeanNoRepeat) {
    for (const QString seconds : {"60", "75", "-1", "x", "0"}) {
        CWFixture c;
        c.cw->Text1->setText("E");
        c.cw->txtCWLoop->setText(seconds);
        c.cw->txtCWLoop_LostFocus();
        EXPECT_EQ(c.cw->txtCWLoop->text(), "0") << seconds.toStdString();
        EXPECT_EQ(c.cw->tmrRepeat->interval(), 0);
        c.cw->FKeyCW(112);
        c.WaitSent();
        EXPECT_EQ(c.program().keyer.CWRepeatOn, 0);
        EXPECT_FALSE(c.cw->tmrRepeat->isActive());
    }
    CWFixture c;
    c.cw->txtCWLoop->setText("2.5");
    c.cw->txtCWLoop_LostFocus();
    EXPECT_EQ(c.cw->tmrRepeat->interval(), 2500);
}

TEST(CWSend, EchoShowsTheWaitingTextAndEndsEmptyOrWithTheKeyboardNotice) {
    CWFixture c;
    c.cw->Text1->setText("ABC");
    c.cw->FKeyCW(112);
    c.WaitSent();
    EXPECT_EQ(c.w->entry().lblDialog->text(), "");
    c.program().keyer.KeyboardCWMode = 1;
    c.cw->FKeyCW(112);
    c.WaitSent();
    EXPECT_EQ(c.w->entry().lblDialog->text(), "Keyboard CW Mode is on.  Press F12 to exit.");
    c.cw->Check1->setChecked(false);
    c.w->entry().lblDialog->setText("kept");
    c.cw->FKeyCW(112);
    c.WaitSent();
    EXPECT_EQ(c.w->entry().lblDialog->text(), "kept");
}

TEST(CWSend, InvalidSpeedSendsNothingAndSaysSo) {
    for (const QString speed : {"0", "-3", "x"}) {
        CWFixture c;
        c.cw->Text11->setText(speed);
        c.cw->Text1->setText("TEST");
        c.cw->FKeyCW(112);
        c.WaitSent();
        EXPECT_EQ(c.Writes(), 0u) << speed.toStdString();
        EXPECT_TRUE(c.program().keyer.CWBuffer.isEmpty());
        EXPECT_EQ(c.w->entry().lblDialog->text(), "Invalid CW speed");
    }
}

TEST(CWSend, AKeyingPortThatWillNotOpenIsReportedOncePerMessage) {
    CWFixture c;
    c.serial.refuseOpen = true;
    c.cw->Option1->setChecked(true);
    c.cw->Text10->setText("3");
    c.cw->Text1->setText("TEST");
    bool shownAfter = false;
    // The settings window opens for correction once the drain is over.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, c.cw, [&] {
        if (!c.cw->isVisible()) return;
        shownAfter = c.program().keyer.CWSending == 0;
        c.cw->hide();
    });
    watch.start(5);
    c.cw->FKeyCW(112);
    c.WaitSent();
    ASSERT_EQ(c.f.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(c.f.t.dialogs.shown[0].title, "Invalid port.");
    EXPECT_EQ(c.f.t.dialogs.shown[0].text,
              "The port you have selected for CW keying is invalid.  Please select another or "
              "enter 0 for none.");
    EXPECT_EQ(c.f.t.dialogs.beeps, 1);
    EXPECT_TRUE(shownAfter);
    EXPECT_TRUE(c.program().keyer.CWBuffer.isEmpty());
    EXPECT_TRUE(c.serial.events.filter("rts 1").isEmpty());
}

// A keying port that will not open keys nothing, but the message runs its
// course: every character takes its time and "!" logs the contact.
TEST(CWSend, AMessageOnAPortThatWillNotOpenStillTimesAndLogs) {
    CWFixture c(0);
    c.cw->show();  // reported without the modal window
    c.serial.refuseOpen = true;
    c.cw->Option1->setChecked(true);
    c.cw->Text10->setText("3");
    c.cw->Text1->setText("TU!");
    c.w->entry().txtCall->setText("DL1AB");
    c.w->entry().txtCntry->setText("Germany");
    const std::int64_t start = c.f.t.clock.monotonic;
    c.cw->FKeyCW(112);
    c.WaitSent();
    EXPECT_EQ(c.program().log.QSOCount, 1);
    EXPECT_EQ(c.program().log.row(1).QSOCall, "DL1AB");
    // T and U: 6 and 10 units at 20 WPM.
    EXPECT_EQ(c.f.t.clock.monotonic - start, 16 * 60);
    ASSERT_EQ(c.f.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(c.f.t.dialogs.shown[0].title, "Invalid port.");
    EXPECT_TRUE(c.serial.events.filter("rts 1").isEmpty());
    EXPECT_TRUE(c.program().keyer.CWBuffer.isEmpty());
}

TEST(CWSend, RtsKeysTheOpenedPort) {
    CWFixture c;
    c.cw->Option1->setChecked(true);
    c.cw->Text10->setText("2");
    c.cw->Text1->setText("E");
    c.cw->FKeyCW(112);
    c.WaitSent();
    EXPECT_EQ(c.serial.port, 2);
    EXPECT_EQ(c.serial.events,
              (QStringList{"dtr 0", "rts 0", "open", "rts 1", "rts 0", "rts 0", "rts 0"}));
    EXPECT_TRUE(c.f.t.dialogs.shown.empty());

    // Unloading the window lets go of the lines and closes the port.
    c.program().UnloadCWFrm();
    EXPECT_FALSE(c.serial.open);
    EXPECT_FALSE(c.serial.rts);
}

TEST(CWSend, EscStopsTheMessageAfterTheCurrentCharacter) {
    CWFixture c;
    c.cw->Text1->setText("TEST");
    c.w->entry().txtCall->setText("W9XYZ");
    QTimer::singleShot(0, c.w, [&] { c.Key(Qt::Key_Escape); });
    c.Key(Qt::Key_F1);
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "T");
    EXPECT_EQ(c.w->entry().txtCall->text(), "W9XYZ");
    // Idle, Esc clears the entry line.
    c.Key(Qt::Key_Escape);
    EXPECT_EQ(c.w->entry().txtCall->text(), "");
}

TEST(CWSend, MainWindowStaysOpenWhileSending) {
    CWFixture c;
    c.cw->Text1->setText("TEST");
    bool refused = false;
    QTimer::singleShot(0, c.w, [&] {
        refused = !c.w->close();
    });
    c.Key(Qt::Key_F1);
    c.WaitSent();
    EXPECT_TRUE(refused);
    EXPECT_EQ(c.Sent(), "T");  // the close emptied the buffer
    EXPECT_TRUE(c.w->isVisible());
}

// The keyer times its elements on a thread of its own. Here it is held in
// the middle of C's first dah (the line keyed) while the window's thread
// goes on: keys queued as the window system queues them are handled then,
// not after the character, and the message still goes out whole.
TEST(CWSend, AKeyTypedWhileACharacterIsKeyedShowsAtOnce) {
    CWFixture c;
    c.cw->Text3->setText("CQ TEST");
    const std::int64_t start = c.f.t.clock.monotonic;
    c.f.t.clock.HoldSleepsFrom(start + 60);
    testing_support::PostKeyClick(c.w->windowHandle(), Qt::Key_F3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.f.t.clock.Held(); }, 5000));
    testing_support::PostKeyClick(c.w->windowHandle(), QChar(u'k'));
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.w->entry().txtCall->text() == "K"; }, 5000));
    EXPECT_TRUE(c.f.t.clock.Held());
    EXPECT_EQ(c.f.t.clock.monotonic, start + 60);
    ASSERT_FALSE(c.parallel->writes.empty());
    EXPECT_EQ(c.parallel->writes.back().value, 3);  // keyed
    c.f.t.clock.ReleaseSleeps();
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "CQ TEST");
    EXPECT_EQ(c.w->entry().txtCall->text(), "K");
}

// Esc typed while a character is keyed is handled at once: nothing after
// that character is keyed, the line is let go at its end, and the entry
// line keeps its call.
TEST(CWSend, EscWhileACharacterIsKeyedEndsTheMessageWithIt) {
    CWFixture c;
    c.cw->Text3->setText("CQ TEST");
    c.w->entry().txtCall->setText("W9XYZ");
    const std::int64_t start = c.f.t.clock.monotonic;
    c.f.t.clock.HoldSleepsFrom(start + 60);
    testing_support::PostKeyClick(c.w->windowHandle(), Qt::Key_F3);
    testing_support::PostKeyClick(c.w->windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return c.f.t.clock.Held() && c.program().keyer.CWBuffer.isEmpty(); }, 5000));
    EXPECT_EQ(c.f.t.clock.monotonic, start + 60);
    c.f.t.clock.ReleaseSleeps();
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "C");
    ASSERT_FALSE(c.parallel->writes.empty());
    EXPECT_EQ(c.parallel->writes.back().value, 2);
    EXPECT_EQ(c.w->entry().txtCall->text(), "W9XYZ");
}

// The program's end lets go of a line keyed in the middle of an element at
// once; the keyer keys nothing after it.
TEST(CWSend, ReleasingTheKeyingMidElementLetsGoOfTheLineAtOnce) {
    CWFixture c;
    c.cw->Option1->setChecked(true);
    c.cw->Text10->setText("2");
    c.cw->Text3->setText("CQ TEST");
    const std::int64_t start = c.f.t.clock.monotonic;
    c.f.t.clock.HoldSleepsFrom(start + 60);
    QTimer::singleShot(0, c.w, [&] { c.cw->FKeyCW(114); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.f.t.clock.Held(); }, 5000));
    EXPECT_TRUE(c.serial.rts);
    c.cw->ReleaseKeying();
    EXPECT_FALSE(c.serial.rts);
    EXPECT_FALSE(c.serial.open);
    const QStringList released = c.serial.events;
    c.f.t.clock.ReleaseSleeps();
    c.WaitSent();
    EXPECT_EQ(c.serial.events, released);
    EXPECT_FALSE(c.serial.rts);
}

// Exit, or the CW window unloaded, stops the keyer in the middle of a long
// character: its timing ends with the unit under way, whatever the line,
// also when the serial port was refused and nothing is keyed at all (a blank
// of 8 + 99 units at 5 WPM would take over 25 s), so the window's end does
// not wait for it.
TEST(CWSend, AStopEndsTheTimingAtTheNextUnitWhateverTheLine) {
    for (const bool refusedPort : {true, false}) {
        SCOPED_TRACE(refusedPort ? "refused serial port" : "printer port");
        CWFixture c;
        if (refusedPort) {
            c.serial.refuseOpen = true;
            c.cw->Option1->setChecked(true);
            c.cw->Text10->setText("2");
        }
        c.cw->Text11->setText("5");
        c.cw->txtSpace->setText("99");
        c.cw->Text3->setText(" ");
        const std::int64_t start = c.f.t.clock.monotonic;
        c.f.t.clock.HoldSleepsFrom(start + 240);
        c.cw->FKeyCW(114);
        EXPECT_TRUE(QTest::qWaitFor([&] { return c.f.t.clock.Held(); }, 5000));
        c.cw->ReleaseKeying();
        c.f.t.clock.ReleaseSleeps();
        // The window goes: its keyer's thread ends first.
        c.program().UnloadCWFrm();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(c.f.t.clock.monotonic, start + 2 * 240);
    }
}

// The keyer's thread reads the speed box as it stands at each unit: a speed
// stepped while T's dah is keyed (its second unit timed at 20 WPM, 60 ms)
// times the rest of the dah at 10 WPM, 120 ms a unit.
TEST(CWSend, ASpeedChangedWhileACharacterIsKeyedActsAtTheNextUnit) {
    CWFixture c;
    c.cw->Text3->setText("T");
    const std::int64_t start = c.f.t.clock.monotonic;
    c.f.t.clock.HoldSleepsFrom(start + 60);
    QTimer::singleShot(0, c.w, [&] { c.cw->FKeyCW(114); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.f.t.clock.Held(); }, 5000));
    c.cw->Text11->setText("10");
    c.f.t.clock.ReleaseSleeps();
    c.WaitSent();
    ASSERT_EQ(c.parallel->writes.size(), 6u);  // the dah and three silent units
    EXPECT_EQ(c.parallel->writes[0].at, start);
    EXPECT_EQ(c.parallel->writes[0].value, 3);
    EXPECT_EQ(c.parallel->writes[3].at, start + 60 + 60 + 120);
    EXPECT_EQ(c.parallel->writes[3].value, 2);
}

// Code practice: random groups, the send loop on the keyed line, stop, the
// type-ahead box, the speed buttons and closing.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "keyers/code_practice.h"
#include "keyers/cw_frm.h"
#include "support/cw_fixture.h"
#include "support/qstring_printer.h"

using keyers::frmCodePractice;
using testing_support::CWFixture;
using testing_support::TestProgram;

TEST(CodePractice, DesignTextsAndSpeed) {
    TestProgram t;
    t->cwFrm().Text11->setText("22");
    frmCodePractice p(t.program());
    EXPECT_EQ(p.windowTitle(), "On the Air Code Practice");
    EXPECT_EQ(p.Label8->text(), "22");
    EXPECT_EQ(p.Text3->text(), "10");
    EXPECT_EQ(p.Text4->text(), "5");
    EXPECT_TRUE(p.Option2->isChecked());
    EXPECT_EQ(p.Label1->text(),
              "You can transmit morse code practice using randomly generated characters, copying "
              "and pasting text or typing text into the \"Text to Send\" text box.  Click Send to "
              "send the characters.");
}

TEST(CodePractice, TheBoxesShowWhiteTextOnNavy) {
    TestProgram t;
    frmCodePractice p(t.program());
    for (QPlainTextEdit* box : {p.Text1, p.Text2}) {
        box->setPlainText("EEEE TTTT MMMM");
        const QImage shown = box->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(QColor(shown.pixel(shown.width() - 3, shown.height() - 3)), QColor(0, 0, 128))
            << box->objectName().toStdString();
        int white = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) white += shown.pixel(x, y) == qRgb(255, 255, 255);
        EXPECT_GT(white, 20) << box->objectName().toStdString();
    }
}

TEST(CodePractice, RandomGroups) {
    TestProgram t;
    frmCodePractice p(t.program());
    p.Option1->setChecked(true);
    p.Text3->setText("3");
    p.Text4->setText("4");
    p.Command2->click();
    EXPECT_EQ(p.Text1->toPlainText().size(), 15);
    EXPECT_TRUE(QRegularExpression("^([A-Z]{4} ){3}$").match(p.Text1->toPlainText()).hasMatch())
        << p.Text1->toPlainText().toStdString();

    p.Option2->setChecked(true);
    p.Text3->setText("x");
    p.Text4->setText("");
    p.Command2->click();
    EXPECT_EQ(p.Text3->text(), "10");
    EXPECT_EQ(p.Text4->text(), "5");
    EXPECT_EQ(p.Text1->toPlainText().size(), 60);
    EXPECT_TRUE(QRegularExpression("^([A-Z0-9.,?/-]{5} ){10}$").match(p.Text1->toPlainText()).hasMatch());

    p.Text3->setText("0");
    p.Command2->click();
    EXPECT_TRUE(p.Text1->toPlainText().isEmpty());
}

TEST(CodePractice, SendKeysTheCharactersOfTheBox) {
    CWFixture c;
    frmCodePractice p(c.program());
    p.Text1->setPlainText("CQ test 5");
    p.Command3->click();
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "CQ TEST 5");
    EXPECT_EQ(p.Text2->toPlainText(), "CQ test 5");
    EXPECT_EQ(c.program().keyer.PracticeSending, 0);
}

TEST(CodePractice, StopEndsTheSendAfterTheCurrentCharacter) {
    CWFixture c;
    frmCodePractice p(c.program());
    p.Text1->setPlainText("PARIS");
    QTimer::singleShot(0, &p, [&] { p.Command4->click(); });
    p.Command3->click();
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "P");
    EXPECT_EQ(p.Text2->toPlainText(), "P");
}

// The run goes on from the keyer's reports: the window is free while P is
// keyed (the keyer held in it here), and Stop acts then.
TEST(CodePractice, StopClickedWhileACharacterIsKeyedIsHandledAtOnce) {
    CWFixture c;
    frmCodePractice p(c.program());
    p.Text1->setPlainText("PARIS");
    const std::int64_t start = c.f.t.clock.monotonic;
    c.f.t.clock.HoldSleepsFrom(start + 60);
    QTimer::singleShot(0, &p, [&] { p.Command3->click(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.f.t.clock.Held(); }, 5000));
    p.Command4->click();
    EXPECT_TRUE(p.PracticeSendText.isEmpty());
    EXPECT_TRUE(c.f.t.clock.Held());
    c.f.t.clock.ReleaseSleeps();
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "P");
    EXPECT_EQ(p.Text2->toPlainText(), "P");
}

TEST(CodePractice, TypeAheadSendsEachKeyAndBackspaceTakesItBack) {
    CWFixture c;
    frmCodePractice p(c.program());
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    p.Text5->setFocus();
    QTest::keyClicks(p.Text5, "ab");
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "AB");
    EXPECT_EQ(p.Text2->toPlainText(), "AB");
    EXPECT_TRUE(p.Text5->text().isEmpty());
    QTest::keyClick(p.Text5, Qt::Key_Backspace);
    EXPECT_EQ(p.Text2->toPlainText(), "A");
}

// A keyer that cannot send (no WinKeyer answers, or the keying port will not
// open) is reported once; the run stops there and "Text Sent" lists nothing
// that did not leave. The type-ahead box lists nothing either.
TEST(CodePractice, AKeyerThatCannotSendIsReportedOnceAndStopsTheRun) {
    struct Case {
        const char* name;
        std::function<void(CWFixture&)> choose;
        const char* title;
    };
    const Case cases[] = {
        {"no WinKeyer", [](CWFixture& c) { c.cw->Option5->setChecked(true); },
         "Unable to establish connection with Winkey."},
        {"keying port refused",
         [](CWFixture& c) {
             c.serial.refuseOpen = true;
             c.cw->Option1->setChecked(true);
             c.cw->Text10->setText("3");
         },
         "Invalid port."},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        CWFixture c;
        c.cw->show();  // reported without the modal window
        k.choose(c);
        frmCodePractice p(c.program());
        p.Text1->setPlainText("CQ TEST");
        p.Command3->click();
        c.WaitSent();
        ASSERT_EQ(c.f.t.dialogs.shown.size(), 1u);
        EXPECT_EQ(c.f.t.dialogs.shown[0].title, k.title);
        EXPECT_EQ(p.Text2->toPlainText(), "");
        EXPECT_EQ(c.program().keyer.PracticeSending, 0);

        int key = 'a';
        p.Text5_KeyPress(key);
        c.WaitSent();
        EXPECT_EQ(c.f.t.dialogs.shown.size(), 2u);
        EXPECT_EQ(p.Text2->toPlainText(), "");
    }
}

TEST(CodePractice, SpeedButtonsStepTheKeyersSpeed) {
    CWFixture c;
    frmCodePractice p(c.program());
    p.Command7->click();
    EXPECT_EQ(c.cw->Text11->text(), "21");
    EXPECT_EQ(p.Label8->text(), "21");
    p.Command8->click();
    p.Command8->click();
    EXPECT_EQ(p.Label8->text(), "19");
}

TEST(CodePractice, TheMainWindowStaysOpenWhileASendRuns) {
    CWFixture c;
    frmCodePractice p(c.program());
    p.Text1->setPlainText("TEST");
    bool refused = false;
    QTimer::singleShot(0, c.w, [&] { refused = !c.w->close(); });
    p.Command3->click();
    c.WaitSent();
    EXPECT_TRUE(refused);
    EXPECT_TRUE(c.w->isVisible());
    EXPECT_EQ(c.Sent(), "TEST");
}

TEST(CodePractice, OpenedFromTheKeyerWindowAndUnloadedWhenClosed) {
    CWFixture c;
    QTimer watch;
    bool opened = false;
    QObject::connect(&watch, &QTimer::timeout, c.cw, [&] {
        frmCodePractice* p = c.cw->codePractice();
        if (!p || !p->isVisible()) return;
        opened = true;
        p->Text1->setPlainText("EE");
        p->Command3->click();
        c.WaitSent();
        c.program().keyer.CWBuffer = "LEFT";
        p->close();
    });
    watch.start(5);
    c.cw->Command7->click();
    watch.stop();
    EXPECT_TRUE(opened);
    EXPECT_EQ(c.cw->codePractice(), nullptr);
    EXPECT_TRUE(c.program().keyer.CWBuffer.isEmpty());
    EXPECT_EQ(c.Sent(), "EE");
}

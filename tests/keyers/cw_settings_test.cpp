// The CW keyer window's settings at work: CW.txt written by "Done" and read
// back, the speed boxes, the timing options, "&Test", the WinKeyer option and
// the port box.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "keyers/cw_frm.h"
#include "keyers/winkey_hook.h"
#include "platform/settings_store.h"
#include "support/cw_fixture.h"
#include "support/qstring_printer.h"
#include "support/test_program.h"

using keyers::CWFrm;
using keyers::LoadCWSettings;
using testing_support::CWFixture;
using testing_support::TestProgram;

namespace {

// A WinKeyer that records the calls made to it.
class RecordingWinKey final : public keyers::WinKeyHook {
public:
    explicit RecordingWinKey(QStringList& calls) : calls_(calls) {}
    void Load() override { calls_ << "load"; }
    void ShowModal() override { calls_ << "show"; }
    void Unload() override { calls_ << "unload"; }
    void WKTransmit() override { calls_ << "transmit"; }
    void wk_wpm(std::uint8_t wpm) override { calls_ << QStringLiteral("wpm %1").arg(wpm); }
    void wk_clearbuf() override { calls_ << "clearbuf"; }
    int wk_getstatus() override {
        calls_ << "status";
        return status;
    }
    void wk_backspace() override { calls_ << "backspace"; }
    int status = 0;

private:
    QStringList& calls_;
};

QString Setting(Program& program, const QString& key) {
    return program.settings().GetSetting(platform::kSettingsApp, platform::kSettingsSection, key,
                                         "(none)");
}

}  // namespace

// A message Windows-1252 cannot hold comes back from CW.txt as it was typed;
// one it can hold is written in it as before.
TEST(CWSettings, TextsOfAnyScriptSurviveDoneAndAReload) {
    TestProgram t;
    CWFrm& f = t->cwFrm();
    const QString russian = QStringLiteral("CQ \u0422\u0415\u0421\u0422");
    f.Text1->setText(russian);
    f.Text2->setText(QStringLiteral("TU \u00c9"));
    f.Command1_Click();
    const QList<QByteArray> lines = TestProgram::ReadFile(t.workFile("CW.txt")).split('\n');
    ASSERT_GE(lines.size(), 18);
    EXPECT_EQ(lines[1], "\"TU \xc9\"\r");
    EXPECT_FALSE(lines[0].contains('?'));
    t->UnloadCWFrm();
    ASSERT_TRUE(LoadCWSettings(t.program()));
    EXPECT_EQ(t->cwFrm().Text1->text(), russian);
    EXPECT_EQ(t->cwFrm().Text2->text(), QStringLiteral("TU \u00c9"));
}

TEST(CWSettings, FirstDoneWritesTheDefaultsAndF9ComesBackAsVVVDE) {
    TestProgram t;
    CWFrm& f = t->cwFrm();
    f.show();
    f.Command1->click();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("CW.txt")),
              QByteArray("\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
                         "\"0\"\r\n\"13\"\r\n\"\"\r\n\"\"\r\n\"0\"\r\n0\r\n\"&H378\"\r\n1\r\n\"0\"\r\n"));
    EXPECT_EQ(Setting(t.program(), "UserCWSelection"), "Timer");
    EXPECT_EQ(Setting(t.program(), "UserCWLoopOffset"), "0");

    TestProgram next;
    TestProgram::WriteFile(next.workFile("CW.txt"), TestProgram::ReadFile(t.workFile("CW.txt")));
    ASSERT_TRUE(LoadCWSettings(next.program()));
    EXPECT_EQ(next->cwFrm().Text9->text(), "VVV DE ");
    EXPECT_EQ(next->cwFrm().Text11->text(), "13");
}

TEST(CWSettings, DoneWritesWhatTheOperatorSetAndItReadsBack) {
    TestProgram t;
    CWFrm& f = t->cwFrm();
    f.Text1->setText("CQ WIQP");
    f.Text9->setText("VVV DE W9XYZ");
    f.Text12->setText("F10");
    f.Text13->setText("F11");
    f.Text10->setText("3");
    f.Text11->setText("28");
    f.txtSpace->setText("-2");
    f.Option3->setChecked(true);
    f.Text14->setText("&H278");
    f.Check1->setChecked(false);
    f.txtCWLoop->setText("2.5");
    f.OptSleep->setChecked(true);
    // A double quote pasted in cannot be stored: it is kept as an apostrophe.
    f.Text2->setText("SAY \"HI\"");
    f.Command1_Click();
    const QByteArray file = TestProgram::ReadFile(t.workFile("CW.txt"));
    EXPECT_EQ(file.count("\r\n"), 18);
    EXPECT_TRUE(file.contains("\r\n\"SAY 'HI'\"\r\n"));
    EXPECT_TRUE(file.contains("\r\n3\r\n\"&H278\"\r\n0\r\n\"2.5\"\r\n"));
    EXPECT_EQ(Setting(t.program(), "UserCWSelection"), "Sleep");

    TestProgram next;
    TestProgram::WriteFile(next.workFile("CW.txt"), file);
    ASSERT_TRUE(LoadCWSettings(next.program()));
    CWFrm& g = next->cwFrm();
    EXPECT_EQ(g.Text1->text(), "CQ WIQP");
    EXPECT_EQ(g.Text2->text(), "SAY 'HI'");
    EXPECT_EQ(g.Text9->text(), "VVV DE W9XYZ");
    EXPECT_EQ(g.Text11->text(), "28");
    EXPECT_EQ(g.txtSpace->text(), "-2");
    EXPECT_TRUE(g.Option3->isChecked());
    EXPECT_EQ(next->keyer.CWKeyingLine, 3);
    EXPECT_FALSE(g.Check1->isChecked());
    EXPECT_EQ(g.tmrRepeat->interval(), 2500);
}

TEST(CWSettings, AFileThatCannotBeWrittenIsReportedAndTheWindowStays) {
    TestProgram t;
    ASSERT_TRUE(QDir().mkpath(t.workFile("CW.txt")));  // a folder where the file goes
    CWFrm& f = t->cwFrm();
    f.show();
    f.Command1_Click();
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Unable to write file.");
    EXPECT_FALSE(t.dialogs.shown[0].text.isEmpty());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(Setting(t.program(), "UserCWSelection"), "(none)");
}

TEST(CWSettings, RepeatSecondsAndSpeedFromTheFileGetTheTypedChecks) {
    TestProgram t;
    QStringList lines(9, "\"\"");
    lines << "\"0\"" << "\"150\"" << "\"\"" << "\"\"" << "\"0\"" << "0" << "\"&H378\"" << "1"
          << "\"75\"";
    TestProgram::WriteLines(t.workFile("CW.txt"), lines);
    LoadCWSettings(t.program());
    EXPECT_EQ(t->cwFrm().txtCWLoop->text(), "0");
    EXPECT_EQ(t->cwFrm().tmrRepeat->interval(), 0);
    EXPECT_EQ(t->cwFrm().Text11->text(), "99");
}

TEST(CWSettings, TypedQuotesAndLettersInMessageBoxes) {
    TestProgram t;
    CWFrm& f = t->cwFrm();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    for (QLineEdit* box : {f.Text1, f.Text13, f.Text14}) {
        box->setFocus();
        QTest::keyClicks(box, "a\"b");
        EXPECT_EQ(box->text(), box == f.Text14 ? "&H378ab" : "AB");  // the address keeps its case
    }
    // The port and speed boxes take digits only.
    f.Text11->clear();
    QTest::keyClicks(f.Text11, "2x5");
    EXPECT_EQ(f.Text11->text(), "25");
}

TEST(CWSettings, SpeedBoxKeepsFiveToNinetyNine) {
    TestProgram t;
    CWFrm& f = t->cwFrm();
    const std::pair<QString, QString> cases[] = {
        {"150", "99"}, {"2", "5"}, {"0", "5"}, {"", "13"}, {"24", "24"}, {"5", "5"}};
    for (const auto& [typed, kept] : cases) {
        f.Text11->setText(typed);
        f.Text11_LostFocus();
        EXPECT_EQ(f.Text11->text(), kept) << typed.toStdString();
    }
}

TEST(CWSettings, WinKeyOptionLoadsTheWindowAndGetsEachSpeedWhileOpen) {
    TestProgram t;
    QStringList calls;
    t->winKey = std::make_unique<RecordingWinKey>(calls);
    CWFrm& f = t->cwFrm();
    EXPECT_TRUE(f.cmdConfWinkey->isHidden());
    f.Option5->setChecked(true);
    EXPECT_EQ(t->keyer.CWKeyingLine, 5);
    EXPECT_FALSE(f.cmdConfWinkey->isHidden());
    EXPECT_EQ(calls, QStringList{"load"});

    calls.clear();
    f.Text11->setText("18");  // closed: nothing goes to the device
    t->keyer.WKOpen = 23;
    for (const QString speed : {"4", "5", "99", "100", "25.6"}) f.Text11->setText(speed);
    EXPECT_EQ(calls, (QStringList{"wpm 5", "wpm 99", "wpm 26"}));

    // The button stays when another interface is chosen.
    f.Option1->setChecked(true);
    EXPECT_FALSE(f.cmdConfWinkey->isHidden());
    calls.clear();
    f.Text11->setText("20");
    EXPECT_TRUE(calls.isEmpty());
}

TEST(CWSettings, TestSendsTheF9MessageAndShowsSendingMeanwhile) {
    CWFixture c;
    c.cw->Text9->setText("VVV DE ");
    bool shownWhileSending = false;
    QTimer::singleShot(0, c.cw, [&] { shownWhileSending = c.cw->Label23->isVisibleTo(c.cw); });
    c.cw->Command4->click();
    c.WaitSent();
    EXPECT_TRUE(shownWhileSending);
    EXPECT_FALSE(c.cw->Label23->isVisibleTo(c.cw));
    EXPECT_EQ(c.Sent(), "VVV DE ");

    c.Forget();
    c.cw->Option4->setChecked(true);
    c.cw->Command4->click();
    EXPECT_EQ(c.Writes(), 0u);
}

TEST(CWSettings, LoopTimingCalibratesAndStepsItsCount) {
    TestProgram t;
    CWFrm& f = t->cwFrm();
    EXPECT_FALSE(f.txtLoop->isEnabled());
    // The fake clock shows no time passing: the calibration keeps its first
    // count.
    f.optLoop->setChecked(true);
    EXPECT_TRUE(f.txtLoop->isEnabled());
    EXPECT_TRUE(f.cmdLoopFaster->isEnabled());
    // Counted on the keyer's thread.
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.txtLoop->text() != "0"; }, 20000));
    EXPECT_EQ(f.txtLoop->text(), "5000000");
    f.cmdLoopFaster->click();
    EXPECT_EQ(f.txtLoop->text(), "4500000");
    EXPECT_EQ(t->keyer.CWLoopOffset, 4500000);
    f.cmdLoopSlower->click();
    EXPECT_EQ(f.txtLoop->text(), "5000000");
    f.txtLoop->setText("1234");
    EXPECT_EQ(t->keyer.CWLoopOffset, 1234);
    f.txtLoop->setText("many");
    EXPECT_EQ(t->keyer.CWLoopOffset, 1234);
    f.Command1_Click();
    EXPECT_EQ(Setting(t.program(), "UserCWSelection"), "Loop");
    EXPECT_EQ(Setting(t.program(), "UserCWLoopOffset"), "1234");

    // The next load restores the method and its count without calibrating.
    t->UnloadCWFrm();
    t->keyer.CWLoopOffset = 0;
    CWFrm& g = t->cwFrm();
    EXPECT_TRUE(g.optLoop->isChecked());
    EXPECT_EQ(g.txtLoop->text(), "1234");
    g.OptSleep->setChecked(true);
    EXPECT_FALSE(g.txtLoop->isEnabled());
}

TEST(CWSettings, PortBoxReopensThePortAndReportsABadOne) {
    CWFixture c;
    c.cw->Text10->setText("4");
    c.cw->Text10_LostFocus();
    EXPECT_TRUE(c.serial.open);
    EXPECT_EQ(c.serial.port, 4);
    EXPECT_TRUE(c.f.t.dialogs.shown.empty());

    c.cw->Text10->setText("x");
    c.cw->Text10_LostFocus();
    EXPECT_EQ(c.cw->Text10->text(), "0");
    EXPECT_FALSE(c.serial.open);  // port 0: none chosen
    EXPECT_TRUE(c.f.t.dialogs.shown.empty());

    c.serial.refuseOpen = true;
    c.cw->Text10->setText("7");
    c.cw->show();
    c.cw->Text10_LostFocus();
    ASSERT_EQ(c.f.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(c.f.t.dialogs.shown[0].title, "Invalid port.");
}

TEST(CWSettings, AStoredLoopCountNoProcessorReachesIsTakenAsNone) {
    for (const char* stored : {"1e15", "-5", "nan", "inf"}) {
        SCOPED_TRACE(stored);
        TestProgram t;
        t->settings().SaveSetting(platform::kSettingsApp, platform::kSettingsSection,
                                  "UserCWSelection", "Timer");
        t->settings().SaveSetting(platform::kSettingsApp, platform::kSettingsSection,
                                  "UserCWLoopOffset", stored);
        CWFrm& f = t->cwFrm();
        EXPECT_EQ(t->keyer.CWLoopOffset, 0);
        EXPECT_EQ(f.txtLoop->text(), "0");
    }
}

// A typed loop count gets the range of a stored one: a count out of it is
// not taken, as a text that is no number is not, and the keyer keeps the
// count it has; the ends of the range are taken.
TEST(CWSettings, ATypedLoopCountOutOfRangeIsNotTaken) {
    TestProgram t;
    CWFrm& f = t->cwFrm();
    f.txtLoop->setText("1234");
    for (const char* typed : {"1e15", "1000000001", "-5", "-0.5"}) {
        SCOPED_TRACE(typed);
        f.txtLoop->setText(typed);
        EXPECT_EQ(t->keyer.CWLoopOffset, 1234);
    }
    f.txtLoop->setText("1000000000");
    EXPECT_EQ(t->keyer.CWLoopOffset, 1e9);
    f.txtLoop->setText("0");
    EXPECT_EQ(t->keyer.CWLoopOffset, 0);
}

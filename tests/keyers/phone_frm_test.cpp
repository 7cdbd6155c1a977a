// The voice keyer window: its design defaults, and wave2.txt read into it
// as the station set-up's load does, independently of CW.txt.
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "support/test_program.h"

using keyers::LoadCWSettings;
using keyers::LoadVoiceSettings;
using keyers::PhoneFrm;
using testing_support::TestProgram;

namespace {

const QStringList kFilledWave2 = {
    R"("/home/op/cq.wav")", R"("/home/op/my call.wav")", R"("")", R"("/home/op/tu.wav")",
    R"("")", R"("")", R"("")", R"("")", R"("/home/op/f9.wav")",
    R"("3")", "1", R"("2.5")", R"("&H3BC")",
};

QStringList Paths(const PhoneFrm& f) {
    QStringList paths;
    for (const QLineEdit* box :
         {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7, f.Text8, f.Text9})
        paths << box->text();
    return paths;
}

void ExpectDesignDefaults(const PhoneFrm& f) {
    EXPECT_EQ(Paths(f), QStringList(9, QString()));
    EXPECT_EQ(f.txtPHLoop->text(), "0");
    EXPECT_EQ(f.Text10->text(), "0");
    EXPECT_EQ(f.Text11->text(), "&H378");
    EXPECT_TRUE(f.Option1->isChecked());
    EXPECT_FALSE(f.Option2->isChecked());
    EXPECT_FALSE(f.Option3->isChecked());
    EXPECT_EQ(f.tmrRepeat->interval(), 0);
    EXPECT_FALSE(f.tmrRepeat->isActive());
}

}  // namespace

TEST(PhoneFrm, DesignDefaultsAndCaptions) {
    TestProgram t;
    PhoneFrm& f = t->phoneFrm();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.windowTitle(), "Phone Wave Selections");
    ExpectDesignDefaults(f);
    EXPECT_EQ(f.Timer1->interval(), 40);
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_EQ(f.Option1->text(), "RTS");
    EXPECT_EQ(f.Option2->text(), "DTR");
    EXPECT_EQ(f.Option3->text(), "Parallel");
    EXPECT_EQ(f.Option1->parentWidget(), f.Frame1);
    for (QPushButton* browse : {f.Command2, f.Command3, f.Command4, f.Command5, f.Command6,
                                f.Command7, f.Command8, f.Command9, f.Command10})
        EXPECT_EQ(browse->text(), "Browse");
    EXPECT_EQ(f.Command11->text(), "Test");
    EXPECT_EQ(f.Command1->text(), "Done");
    auto* caution = f.findChild<QLabel*>("Label19");
    ASSERT_TRUE(caution);
    EXPECT_EQ(caution->text(), "Caution, RF feedback can damage your PC!");
    EXPECT_EQ(caution->palette().color(caution->foregroundRole()), QColor(192, 0, 0));
    // The repeat box sits on the F1 row, right of the F1 file.
    EXPECT_EQ(f.txtPHLoop->y(), f.Text1->y());
    EXPECT_GT(f.txtPHLoop->x(), f.Text1->x() + f.Text1->width() - 1);
    EXPECT_EQ(f.MMControl1.Mode(), platform::kModeNotOpen);
}

TEST(LoadVoiceSettings, FillsTheWindowFromWave2txt) {
    TestProgram t;
    TestProgram::WriteLines(t.workFile("wave2.txt"), kFilledWave2);
    ASSERT_TRUE(LoadVoiceSettings(t.program()));
    ASSERT_TRUE(t->PhoneFrmLoaded());
    PhoneFrm& f = t->phoneFrm();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(Paths(f), (QStringList{"/home/op/cq.wav", "/home/op/my call.wav", "",
                                     "/home/op/tu.wav", "", "", "", "", "/home/op/f9.wav"}));
    EXPECT_EQ(f.Text10->text(), "3");
    EXPECT_TRUE(f.Option2->isChecked());
    EXPECT_FALSE(f.Option1->isChecked());
    EXPECT_EQ(f.txtPHLoop->text(), "2.5");
    EXPECT_EQ(f.tmrRepeat->interval(), 2500);
    EXPECT_FALSE(f.tmrRepeat->isActive());
    EXPECT_EQ(f.Text11->text(), "&H3BC");
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(LoadVoiceSettings, PushToTalkLineAndRepeatSeconds) {
    struct Case {
        QString line;
        QString seconds;
        QRadioButton* PhoneFrm::*selected;
        int intervalMs;
        bool read;
    };
    const Case cases[] = {
        {"0", "0", &PhoneFrm::Option1, 0, true},
        {"1", "59.5", &PhoneFrm::Option2, 59500, true},
        {"2", "5", &PhoneFrm::Option3, 5000, true},
        {"7", "1", &PhoneFrm::Option1, 1000, true},       // no option: the design's RTS stays
        {"0", "0.0625", &PhoneFrm::Option1, 62, true},    // halves go to even
        {"0", "0.1875", &PhoneFrm::Option1, 188, true},
        // Checked as a typed entry is: 60 or more, or no number, becomes 0.
        {"0", "75", &PhoneFrm::Option1, 0, true},
        {"0", "60", &PhoneFrm::Option1, 0, true},
        {"0", "soon", &PhoneFrm::Option1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.line + " / " + c.seconds).toStdString());
        TestProgram t;
        QStringList lines = kFilledWave2;
        lines[10] = c.line;
        lines[11] = '"' + c.seconds + '"';
        TestProgram::WriteLines(t.workFile("wave2.txt"), lines);
        EXPECT_EQ(LoadVoiceSettings(t.program()), c.read);
        PhoneFrm& f = t->phoneFrm();
        EXPECT_TRUE((f.*c.selected)->isChecked());
        EXPECT_EQ(f.txtPHLoop->text(), c.intervalMs == 0 && c.seconds != "0" ? "0" : c.seconds);
        EXPECT_EQ(f.tmrRepeat->interval(), c.intervalMs);
    }
}

TEST(LoadVoiceSettings, AMissingOrShortFileFails) {
    TestProgram missing;
    EXPECT_FALSE(LoadVoiceSettings(missing.program()));
    EXPECT_FALSE(missing->PhoneFrmLoaded());

    TestProgram empty;
    TestProgram::WriteFile(empty.workFile("wave2.txt"), "");
    EXPECT_FALSE(LoadVoiceSettings(empty.program()));

    // Twelve values: everything but the address arrives.
    TestProgram shortFile;
    TestProgram::WriteLines(shortFile.workFile("wave2.txt"), kFilledWave2.mid(0, 12));
    EXPECT_FALSE(LoadVoiceSettings(shortFile.program()));
    PhoneFrm& f = shortFile->phoneFrm();
    EXPECT_EQ(f.Text1->text(), "/home/op/cq.wav");
    EXPECT_EQ(f.tmrRepeat->interval(), 2500);
    EXPECT_EQ(f.Text11->text(), "&H378");

    for (TestProgram* t : {&missing, &empty, &shortFile})
        EXPECT_TRUE(t->dialogs.shown.empty());  // the caller reports it
}

// The set-up's load runs both readers; a bad wave2.txt does not keep CW.txt
// from loading.
TEST(LoadVoiceSettings, AShortWave2txtLeavesCWtxtToLoad) {
    TestProgram t;
    TestProgram::WriteLines(t.workFile("wave2.txt"), kFilledWave2.mid(0, 5));
    QStringList cw(18, R"("")");
    cw[0] = R"("CQ WIQP")";
    cw[10] = R"("32")";
    cw[14] = "0";
    cw[16] = "1";
    cw[17] = R"("0")";
    TestProgram::WriteLines(t.workFile("CW.txt"), cw);

    const bool voice = LoadVoiceSettings(t.program());
    const bool cwRead = LoadCWSettings(t.program());
    EXPECT_FALSE(voice);
    EXPECT_TRUE(cwRead);
    EXPECT_EQ(t->cwFrm().Text1->text(), "CQ WIQP");
    EXPECT_EQ(t->cwFrm().Text11->text(), "32");
}

TEST(LoadVoiceSettings, TheShippedFileGivesTheDesignDefaults) {
    TestProgram t;
    t.CopyDataFile("wave2.txt");
    ASSERT_TRUE(LoadVoiceSettings(t.program()));
    ExpectDesignDefaults(t->phoneFrm());
}

// The close box only hides the window: what was loaded stays for Done.
TEST(PhoneFrm, CloseBoxKeepsTheSettings) {
    TestProgram t;
    TestProgram::WriteLines(t.workFile("wave2.txt"), kFilledWave2);
    ASSERT_TRUE(LoadVoiceSettings(t.program()));
    PhoneFrm* f = &t->phoneFrm();
    f->show();
    f->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(f->isVisible());
    ASSERT_TRUE(t->PhoneFrmLoaded());
    EXPECT_EQ(&t->phoneFrm(), f);
    EXPECT_EQ(f->Text1->text(), "/home/op/cq.wav");
    EXPECT_TRUE(f->Option2->isChecked());
}

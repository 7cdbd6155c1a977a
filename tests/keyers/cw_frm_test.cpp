// The CW keyer window: its design defaults, CW.txt read into its controls,
// the keying options, and the speed and word-space steps.
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "keyers/cw_frm.h"
#include "support/test_program.h"

using keyers::CWFrm;
using keyers::LoadCWSettings;
using testing_support::TestProgram;

namespace {

// An operator's CW.txt: every value differs from the design default.
const QStringList kFilledCW = {
    R"("CQ WIQP DE W9XYZ")", R"("$ 5NN ^")", R"("TU")", R"("AGN?")", R"("QRZ?")",
    R"("$")",                R"("NR?")",      R"("CTY?")", R"("")",
    R"("2")",                R"("28")",       R"("F10 MSG")", R"("F11 MSG")",
    R"("-12")",              "2",             R"("&H278")",   "0",
    R"("2.5")",
};

QStringList MessageTexts(const CWFrm& f) {
    QStringList texts;
    for (const QLineEdit* box : {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7,
                                 f.Text8, f.Text9, f.Text12, f.Text13})
        texts << box->text();
    return texts;
}

void ExpectDesignDefaults(const CWFrm& f) {
    EXPECT_EQ(MessageTexts(f), QStringList(11, QString()));
    EXPECT_EQ(f.txtCWLoop->text(), "0");
    EXPECT_EQ(f.Text10->text(), "0");
    EXPECT_EQ(f.Text14->text(), "&H378");
    EXPECT_EQ(f.Text11->text(), "13");
    EXPECT_EQ(f.txtSpace->text(), "0");
    EXPECT_EQ(f.txtLoop->text(), "0");
    EXPECT_TRUE(f.Option4->isChecked());
    EXPECT_TRUE(f.optTimer->isChecked());
    EXPECT_EQ(f.Check1->checkState(), Qt::Checked);
    EXPECT_EQ(f.tmrRepeat->interval(), 0);
    EXPECT_FALSE(f.tmrRepeat->isActive());
}

}  // namespace

TEST(CWFrm, DesignDefaultsAndCaptions) {
    TestProgram t;
    CWFrm& f = t->cwFrm();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.windowTitle(), "CW String Selections");
    ExpectDesignDefaults(f);

    EXPECT_EQ(f.Frame1->title(), "Keying Options");
    const std::pair<QRadioButton*, const char*> options[] = {
        {f.Option4, "None"},     {f.Option1, "RTS"},    {f.Option2, "DTR"},
        {f.Option5, "WinKey"},   {f.Option3, "Printer"}, {f.optTimer, "Timer"},
        {f.optLoop, "Loop"},     {f.OptSleep, "Sleep"},
    };
    for (const auto& [option, caption] : options) EXPECT_EQ(option->text(), caption);
    EXPECT_EQ(f.Option1->parentWidget(), f.Frame1);
    EXPECT_NE(f.optTimer->parentWidget(), f.Frame1);
    EXPECT_EQ(f.optLoop->toolTip(), "Times by a For Next loop.");

    const std::pair<QPushButton*, const char*> buttons[] = {
        {f.Command2, "Faster"}, {f.Command3, "Slower"},        {f.Command6, "More"},
        {f.Command5, "Less"},   {f.Command4, "&Test"},         {f.cmdConfWinkey, "Configure Winkey"},
        {f.Command7, "Send Code Practice"}, {f.Command1, "Done"}, {f.cmdLoopFaster, "F"},
        {f.cmdLoopSlower, "S"},
    };
    for (const auto& [button, caption] : buttons) EXPECT_EQ(button->text(), caption);
    EXPECT_EQ(f.cmdLoopFaster->toolTip(), "Speed up CW");
    EXPECT_EQ(f.Check1->text(), "Display CW text on main form (NA for WinKey).");
    EXPECT_EQ(f.Label23->text(), "Sending!");
    EXPECT_EQ(f.Label23->palette().color(f.Label23->backgroundRole()), QColor(255, 0, 0));
    EXPECT_TRUE(f.Label23->isHidden());
    EXPECT_TRUE(f.cmdConfWinkey->isHidden());
    EXPECT_EQ(f.lblLoop->text(), "Loop Delay");
    for (QWidget* idle : {static_cast<QWidget*>(f.txtLoop), static_cast<QWidget*>(f.lblLoop),
                          static_cast<QWidget*>(f.cmdLoopFaster),
                          static_cast<QWidget*>(f.cmdLoopSlower)})
        EXPECT_FALSE(idle->isEnabled());
    EXPECT_EQ(t->keyer.CWKeyingLine, 0);
}

TEST(LoadCWSettings, FillsTheWindowFromCWtxt) {
    TestProgram t;
    TestProgram::WriteLines(t.workFile("CW.txt"), kFilledCW);
    ASSERT_TRUE(LoadCWSettings(t.program()));
    ASSERT_TRUE(t->CWFrmLoaded());
    CWFrm& f = t->cwFrm();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(MessageTexts(f), (QStringList{"CQ WIQP DE W9XYZ", "$ 5NN ^", "TU", "AGN?", "QRZ?",
                                            "$", "NR?", "CTY?", "VVV DE ", "F10 MSG", "F11 MSG"}));
    EXPECT_EQ(f.Text10->text(), "2");
    EXPECT_EQ(f.Text11->text(), "28");
    EXPECT_EQ(f.txtSpace->text(), "-8");  // held at -8 by its change handler
    EXPECT_EQ(t->keyer.CWKeyingLine, 2);
    EXPECT_TRUE(f.Option2->isChecked());
    EXPECT_FALSE(f.Option4->isChecked());
    EXPECT_EQ(f.Text14->text(), "&H278");
    EXPECT_EQ(f.Check1->checkState(), Qt::Unchecked);
    EXPECT_EQ(f.txtCWLoop->text(), "2.5");
    EXPECT_EQ(f.tmrRepeat->interval(), 2500);
    EXPECT_FALSE(f.tmrRepeat->isActive());
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(LoadCWSettings, SelectsTheKeyingOptionOfTheFile) {
    struct Case {
        int line;
        QRadioButton* CWFrm::*selected;  // null: none of the five
        bool winkeyButton;
    };
    const Case cases[] = {
        {0, &CWFrm::Option4, false}, {1, &CWFrm::Option1, false}, {2, &CWFrm::Option2, false},
        {3, &CWFrm::Option3, false}, {5, &CWFrm::Option5, true},  {4, &CWFrm::Option4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TestProgram t;
        QStringList lines = kFilledCW;
        lines[14] = QString::number(c.line);
        TestProgram::WriteLines(t.workFile("CW.txt"), lines);
        ASSERT_TRUE(LoadCWSettings(t.program()));
        CWFrm& f = t->cwFrm();
        EXPECT_EQ(t->keyer.CWKeyingLine, c.line);
        for (QRadioButton* CWFrm::*option :
             {&CWFrm::Option1, &CWFrm::Option2, &CWFrm::Option3, &CWFrm::Option4, &CWFrm::Option5})
            EXPECT_EQ((f.*option)->isChecked(), option == c.selected);
        EXPECT_EQ(f.cmdConfWinkey->isHidden(), !c.winkeyButton);
    }
}

// A file that ends early keeps what was read; the rest keep their defaults
// and nothing is said.
TEST(LoadCWSettings, AShortFileStopsTheReadingSilently) {
    TestProgram t;
    TestProgram::WriteLines(t.workFile("CW.txt"), kFilledCW.mid(0, 11));
    EXPECT_FALSE(LoadCWSettings(t.program()));
    CWFrm& f = t->cwFrm();
    EXPECT_EQ(f.Text1->text(), "CQ WIQP DE W9XYZ");
    EXPECT_EQ(f.Text9->text(), "VVV DE ");
    EXPECT_EQ(f.Text11->text(), "28");
    EXPECT_EQ(f.Text12->text(), "");
    EXPECT_EQ(f.txtSpace->text(), "0");
    EXPECT_EQ(f.Text14->text(), "&H378");
    EXPECT_TRUE(f.Option4->isChecked());
    EXPECT_EQ(t->keyer.CWKeyingLine, 0);
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(LoadCWSettings, AMissingFileLeavesTheWindowForItsFirstUse) {
    TestProgram t;
    EXPECT_FALSE(LoadCWSettings(t.program()));
    EXPECT_FALSE(t->CWFrmLoaded());
    ExpectDesignDefaults(t->cwFrm());
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(LoadCWSettings, TheShippedFileGivesTheDesignDefaults) {
    TestProgram t;
    t.CopyDataFile("CW.txt");
    ASSERT_TRUE(LoadCWSettings(t.program()));
    CWFrm& f = t->cwFrm();
    EXPECT_EQ(f.Text9->text(), "VVV DE ");
    f.Text9->clear();
    ExpectDesignDefaults(f);
}

// The close box only hides the window: what was loaded stays for Done.
TEST(CWFrm, CloseBoxKeepsTheSettings) {
    TestProgram t;
    TestProgram::WriteLines(t.workFile("CW.txt"), kFilledCW);
    ASSERT_TRUE(LoadCWSettings(t.program()));
    CWFrm* f = &t->cwFrm();
    f->show();
    f->Text1->setText("CQ CQ");
    f->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(f->isVisible());
    ASSERT_TRUE(t->CWFrmLoaded());
    EXPECT_EQ(&t->cwFrm(), f);
    EXPECT_EQ(f->Text1->text(), "CQ CQ");
    EXPECT_EQ(f->Text11->text(), "28");
    EXPECT_TRUE(f->Option2->isChecked());
}

TEST(CWFrm, SpeedAndWordSpaceSteps) {
    struct Case {
        QPushButton* CWFrm::*button;
        QLineEdit* CWFrm::*box;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {&CWFrm::Command2, &CWFrm::Text11, "13", "14"},
        // The speed stays within 5 to 99 WPM.
        {&CWFrm::Command3, &CWFrm::Text11, "6", "5"},
        {&CWFrm::Command3, &CWFrm::Text11, "5", "5"},
        {&CWFrm::Command3, &CWFrm::Text11, "1", "5"},
        {&CWFrm::Command2, &CWFrm::Text11, "99", "99"},
        {&CWFrm::Command2, &CWFrm::Text11, "150", "99"},
        {&CWFrm::Command2, &CWFrm::Text11, "fast", "fast"},
        {&CWFrm::Command2, &CWFrm::Text11, "12.5", "13.5"},
        {&CWFrm::Command6, &CWFrm::txtSpace, "0", "1"},
        {&CWFrm::Command5, &CWFrm::txtSpace, "-7", "-8"},
        {&CWFrm::Command5, &CWFrm::txtSpace, "-8", "-8"},
        {&CWFrm::Command6, &CWFrm::txtSpace, "wide", "0"},
        {&CWFrm::Command5, &CWFrm::txtSpace, "", "0"},
    };
    TestProgram t;
    CWFrm& f = t->cwFrm();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (f.*c.button)->text().toStdString() << " on "
                                        << c.before);
        (f.*c.box)->setText(c.before);
        (f.*c.button)->click();
        EXPECT_EQ((f.*c.box)->text(), c.after);
    }
    f.txtSpace->setText("-20");
    EXPECT_EQ(f.txtSpace->text(), "-8");
    f.Text11->setText("20");
    f.UpDown1_DownClick();
    EXPECT_EQ(f.Text11->text(), "19");
}

TEST(CWFrm, KeyingOptionsSetTheKeyingLine) {
    TestProgram t;
    CWFrm& f = t->cwFrm();
    const std::pair<QRadioButton*, int> cases[] = {
        {f.Option1, 1}, {f.Option2, 2}, {f.Option3, 3}, {f.Option5, 5}, {f.Option4, 0},
    };
    for (const auto& [option, line] : cases) {
        option->click();
        EXPECT_EQ(t->keyer.CWKeyingLine, line) << option->text().toStdString();
    }
    EXPECT_FALSE(f.cmdConfWinkey->isHidden());  // stays once WinKey was chosen
}

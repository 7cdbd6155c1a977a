// The help page and the multiplier colour dialog, shown as the main
// windows' Help and Colors commands show them.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "platform/colors.h"
#include "program/program.h"
#include "setup/color_dialog.h"
#include "setup/help_page.h"
#include "setup/station.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"
#include "support/test_program.h"

using testing_support::TestProgram;

namespace {

// Shows the help page as the Help command does and returns its text.
QString helpText(TestProgram& t) {
    QString shown;
    QTimer::singleShot(0, [&] {
        setup::Form5& page = t->form5();
        EXPECT_TRUE(page.isVisible() && page.isModal());
        EXPECT_EQ(page.windowTitle(), "Help Page");
        shown = page.Text1->toPlainText();
        page.Command1->click();
    });
    setup::ShowHelpPage(t.program());
    testing_support::Settle();
    EXPECT_FALSE(t->Form5Loaded());
    return shown;
}

QString prefLine(TestProgram& t, int n) {
    const QList<QByteArray> lines = TestProgram::ReadFile(t.workFile("QSOpref.txt")).split('\n');
    return n <= lines.size() ? QString::fromLatin1(lines[n - 1]).trimmed() : QString();
}

}  // namespace

TEST(HelpPage, ShowsReadOstrelAsItStands) {
    TestProgram t;
    EXPECT_EQ(helpText(t), "");  // no file: an empty page, no message
    TestProgram::WriteFile(t.workFile("ReadOstrel.txt"), "");
    EXPECT_EQ(helpText(t), "");
    TestProgram::WriteFile(t.workFile("ReadOstrel.txt"), "OSTREL\r\n  Keys:\tF1 \xE9\r\n\r\nEnd");
    EXPECT_EQ(helpText(t), QString::fromUtf8("OSTREL\n  Keys:\tF1 \xC3\xA9\n\nEnd"));
    // Every opening reads the file again.
    TestProgram::WriteFile(t.workFile("ReadOstrel.txt"), "changed\n");
    EXPECT_EQ(helpText(t), "changed\n");
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(HelpPage, TheTextLiesOnLightGrey) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("ReadOstrel.txt"), "Help\r\n");
    setup::Form5& page = t->form5();
    page.Form_Load(QSizeF(9600, 7200));
    QWidget* viewport = page.Text1->viewport();
    const QImage shown = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QPoint at : {QPoint(shown.width() - 3, shown.height() - 3), QPoint(shown.width() / 2, shown.height() / 2)})
        EXPECT_EQ(QColor(shown.pixel(at)), QColor(224, 224, 224)) << at.x() << "," << at.y();
}

TEST(HelpPage, TheShippedTextIsShown) {
    TestProgram t;
    t.CopyDataFile("ReadOstrel.txt");
    const QString text = helpText(t);
    EXPECT_TRUE(text.startsWith("OSTREL")) << text.left(40).toStdString();
    EXPECT_TRUE(text.contains("log.txt"));
    EXPECT_FALSE(text.contains('\r'));
}

TEST(HelpPage, ScalesCentredOnTheScreen) {
    TestProgram t;
    setup::Form5& page = t->form5();
    const float width0 = page.Width;
    const float font0 = page.Ctl(page.Text1).Font.Size;
    page.Form_Load(QSizeF(14400, 7200));
    EXPECT_FLOAT_EQ(page.Width, width0 * 1.5f);
    EXPECT_FLOAT_EQ(page.Left, (14400 - page.Width) / 2);
    EXPECT_FLOAT_EQ(page.Ctl(page.Text1).Left, 240 * 1.5f);
    EXPECT_FLOAT_EQ(page.Ctl(page.Text1).Font.Size, font0);  // the smaller ratio
}

TEST(ColorDialog, PicksStartAtTheColourInUseAndACancelKeepsIt) {
    TestProgram t;
    setup::Station& st = t->station;
    st = setup::FirstRunStation();
    st.WorkedColor = 0x0000FF;    // red
    st.RemainingColor = 0x000000;  // black
    t.dialogs.colorAnswers.push_back(QColor(0, 128, 0));  // remaining: green
    t.dialogs.colorAnswers.push_back(std::nullopt);       // worked: cancelled
    QTimer::singleShot(0, [&] {
        setup::Form6& d = t->form6();
        EXPECT_EQ(d.windowTitle(), " Modify Multiplier Color Selections");
        EXPECT_EQ(d.Command1->text(), "Change \"Remaining\" Color");
        EXPECT_EQ(d.Command3->text(), "Change \"Worked\" Color");
        EXPECT_EQ(platform::ForeColor(d.Label1), QColor(255, 0, 0));
        EXPECT_EQ(platform::ForeColor(d.Label2), QColor(0, 0, 0));
        d.Command1->click();
        d.Command3->click();
        EXPECT_EQ(platform::ForeColor(d.Label2), QColor(0, 128, 0));
        EXPECT_EQ(platform::ForeColor(d.Label1), QColor(255, 0, 0));
        d.Command6->click();
    });
    setup::ShowColorDialog(t.program());
    testing_support::Settle();
    EXPECT_FALSE(t->Form6Loaded());
    ASSERT_EQ(t.dialogs.shown.size(), 2u);
    EXPECT_EQ(t.dialogs.shown[0].text, "#000000");  // the remaining colour in use
    EXPECT_EQ(t.dialogs.shown[1].text, "#ff0000");  // the worked colour in use
    EXPECT_EQ(st.RemainingColor, 0x008000);
    EXPECT_EQ(st.WorkedColor, 0x0000FF);
    // The Colors command saves the settings after Done: lines 16 and 17.
    ASSERT_TRUE(setup::SaveQSOPref(t.program()));
    EXPECT_EQ(prefLine(t, 16), QString::number(0x0000FF));
    EXPECT_EQ(prefLine(t, 17), QString::number(0x008000));
}

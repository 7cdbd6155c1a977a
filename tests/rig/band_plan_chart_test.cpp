// The privileges chart drawn from the shipped band plan and from small plans
// that show its rules: which bands get a bar, where bars and segments stand,
// their captions, tooltips and colours.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/colors.h"
#include "rig/band_plan_chart.h"
#include "support/qstring_printer.h"
#include "support/test_program.h"

namespace {

using rig::frmBandPlan;
using testing_support::TestProgram;

// A work area of 1280 x 984 pixels, on a screen 1280 pixels wide.
const QSizeF kArea(19200, 14760);
constexpr double kScreenWidth = 19200;

QLabel* ChartLabel(frmBandPlan& chart, const QString& name) {
    platform::Control* c = chart.Find(name);
    return c ? qobject_cast<QLabel*>(c->Widget.data()) : nullptr;
}

QStringList Captions(frmBandPlan& chart, const QString& prefix) {
    QStringList captions;
    for (const platform::Control& c : chart.Controls())
        if (c.Name.startsWith(prefix)) captions << qobject_cast<QLabel*>(c.Widget.data())->text();
    return captions;
}

// The bands the bars stand for: a bar shows no text (black on black), its
// accessible name is its band's.
QStringList Bands(frmBandPlan& chart) {
    QStringList bands;
    for (const platform::Control& c : chart.Controls())
        if (c.Name.startsWith("blbl")) {
            EXPECT_EQ(qobject_cast<QLabel*>(c.Widget.data())->text(), "") << c.Name.toStdString();
            bands << c.Widget->accessibleName();
        }
    return bands;
}

TEST(FormatChartMHzTest, GroupsWholeMegahertzAndKeepsThreeDecimals) {
    const std::pair<float, const char*> cases[] = {
        {14.15f, "14.150"}, {0.5f, ".500"},      {1240.f, "1,240.000"},
        {7.f, "7.000"},     {5.3305f, "5.331"},  {1295.5f, "1,295.500"},
    };
    for (const auto& [mhz, text] : cases) EXPECT_EQ(rig::FormatChartMHz(mhz), text) << mhz;
}

TEST(BandPlanChartTest, OpensOnTheExtraClassWithEveryBandOfTheShippedPlan) {
    TestProgram t;
    t.CopyDataFile("BandPlan.txt");
    frmBandPlan chart(t.program(), kArea, kScreenWidth);

    EXPECT_EQ(chart.windowTitle(), "Frequency Privileges");
    EXPECT_EQ(chart.Label2->text(), "Extra Frequency Privileges");
    EXPECT_EQ(chart.Label1->text(), "Frequencies Effective: January 8, 2024");
    EXPECT_EQ(Bands(chart),
              QStringList({"160", "80", "60", "40", "30", "20", "17", "15", "12", "10", "6", "2",
                           "1.25", "70cm", "33cm", "23cm"}));
    EXPECT_EQ(Captions(chart, "bnlb"), Bands(chart));

    // The last bar stands 80 % of the way from the rule to the bottom.
    const float lineTop = chart.Ctl(chart.Line1).Y1;
    const platform::Control& last = *chart.Find("blbl16");
    EXPECT_NEAR(last.Top, lineTop + 0.8f * (chart.Height - lineTop), 1);
    const platform::Control& first = *chart.Find("blbl1");
    EXPECT_NEAR(first.Top, lineTop + 0.8f * (chart.Height - lineTop) / 16, 1);
    EXPECT_EQ(ChartLabel(chart, "bnlb6")->toolTip(), "20  14.000 - 14.350");

    // The 20 m segments of the Extra class, to scale on their bar.
    const platform::Control& bar20 = *chart.Find("blbl6");
    QLabel* cw20 = nullptr;
    QLabel* ph20 = nullptr;
    for (platform::Control& c : chart.Controls()) {
        auto* label = qobject_cast<QLabel*>(c.Widget.data());
        if (!c.Name.startsWith("priv")) continue;
        if (label->text() == "14.000 - 14.150") cw20 = label;
        if (label->text() == "14.150 - 14.350") ph20 = label;
    }
    ASSERT_TRUE(cw20 && ph20);
    EXPECT_EQ(cw20->toolTip(), "CW  14.000 - 14.150");
    EXPECT_EQ(ph20->toolTip(), "PH  14.150 - 14.350");
    EXPECT_EQ(platform::BackColor(cw20), QColor(0, 0, 255));
    EXPECT_EQ(platform::ForeColor(cw20), QColor(Qt::white));
    EXPECT_EQ(platform::BackColor(ph20), QColor(0, 255, 0));
    const platform::Control& cwCtl = chart.Ctl(cw20);
    const platform::Control& phCtl = chart.Ctl(ph20);
    EXPECT_FLOAT_EQ(cwCtl.Top, bar20.Top);
    EXPECT_NEAR(cwCtl.Left, bar20.Left, 0.5);
    EXPECT_NEAR(cwCtl.Width, bar20.Width * 0.15f / 0.35f, 0.5);
    EXPECT_NEAR(phCtl.Left, bar20.Left + bar20.Width * 0.15f / 0.35f, 0.5);
    // The name boxes' font grows with the screen, but no more than 1.5 times.
    EXPECT_FLOAT_EQ(chart.Find("bnlb1")->Font.Size, 8 * 1.5f);
}

TEST(BandPlanChartTest, ClassButtonsRedrawTheChartAndKeepTheDesignControls) {
    TestProgram t;
    t.CopyDataFile("BandPlan.txt");
    frmBandPlan chart(t.program(), kArea, kScreenWidth);
    const auto designControls = chart.Controls().size() - Bands(chart).size() * 2 -
                                Captions(chart, "priv").size();

    chart.Command1->click();
    EXPECT_EQ(chart.Label2->text(), "Novice Frequency Privileges");
    EXPECT_EQ(Bands(chart), QStringList({"80", "40", "15", "10", "1.25", "23cm"}));
    EXPECT_EQ(Captions(chart, "priv"),
              QStringList({"3.525 - 3.600", "7.025 - 7.125", "21.025 - 21.200", "28.000 - 28.300",
                           "28.300 - 28.500", "222.000 - 225.000", "1,270.000 - 1,295.000"}));
    EXPECT_EQ(chart.Find("blbl7"), nullptr);

    chart.Command4->click();
    EXPECT_EQ(chart.Label2->text(), "General Frequency Privileges");
    EXPECT_TRUE(Captions(chart, "priv").contains("14.225 - 14.350"));
    EXPECT_FALSE(Captions(chart, "priv").contains("14.150 - 14.350"));
    chart.Command3->click();
    EXPECT_EQ(chart.Label2->text(), "Technician Plus Frequency Privileges");
    chart.Command2->click();
    EXPECT_EQ(chart.Label2->text(), "Technician Frequency Privileges");
    EXPECT_FALSE(Bands(chart).contains("20"));
    chart.Command5->click();
    EXPECT_EQ(chart.Label2->text(), "Advanced Frequency Privileges");
    chart.Command6->click();
    EXPECT_EQ(chart.Label2->text(), "Extra Frequency Privileges");
    EXPECT_EQ(chart.Controls().size() - Bands(chart).size() * 2 -
                  Captions(chart, "priv").size(),
              designControls);

    chart.show();
    chart.Command7->click();
    EXPECT_FALSE(chart.isVisible());
}

TEST(BandPlanChartTest, BarsFollowTheOutlineRowsAndStopAtABandOfNoWidth) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("BandPlan.txt"),
                           "\"test plan\"\r\n"
                           "\"20\",\"O\",\"PH\",14,14.35\r\n"
                           "\"20\",\"G\",\"CW\",14.025,14.15\r\n"
                           // a band without an outline row gets no bar
                           "\"17\",\"G\",\"CW\",18.068,18.11\r\n"
                           "\"X\",\"O\",\"PH\",5,5\r\n"
                           "\"X\",\"G\",\"PH\",5,5\r\n"
                           "\"15\",\"O\",\"PH\",21,21.45\r\n"
                           "\"15\",\"G\",\"PH\",21.275,21.45\r\n");
    frmBandPlan chart(t.program(), kArea, kScreenWidth);
    EXPECT_EQ(chart.Label1->text(), "Frequencies Effective: test plan");
    // Extra has no rows here: nothing is drawn.
    EXPECT_TRUE(Bands(chart).isEmpty());
    chart.Command4->click();
    EXPECT_EQ(Bands(chart), QStringList({"20", "X", "15"}));
    // The segments before the band of no width are drawn, the rest not.
    EXPECT_EQ(Captions(chart, "priv"), QStringList({"14.025 - 14.150"}));
}

TEST(BandPlanChartTest, WithoutTheFileTheOperatorIsToldAndNothingIsCharted) {
    TestProgram t;
    frmBandPlan chart(t.program(), kArea, kScreenWidth);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].text, "Band data not available.");
    EXPECT_EQ(t.dialogs.shown[0].title, "Band Data Not Available.");
    EXPECT_EQ(chart.Label2->text(), "Privelages");
    EXPECT_EQ(chart.Label1->text(), "Frequencies Effective");
    chart.Command6->click();
    EXPECT_TRUE(Bands(chart).isEmpty());
}

TEST(BandPlanChartTest, APlanOfMoreThan200RowsIsRefusedButShowsTheDateItHolds) {
    TestProgram t;
    QByteArray plan = "\"March 3, 2025\"\r\n";
    for (int i = 0; i < 201; ++i) plan += "\"20\",\"E\",\"CW\",14,14.15\r\n";
    TestProgram::WriteFile(t.workFile("BandPlan.txt"), plan);
    frmBandPlan chart(t.program(), kArea, kScreenWidth);
    ASSERT_EQ(t.dialogs.titles(), std::vector<QString>{"Band Data Not Available."});
    EXPECT_EQ(chart.Label1->text(), "Frequencies Effective: March 3, 2025");
    EXPECT_EQ(chart.Label2->text(), "Privelages");
    EXPECT_TRUE(Bands(chart).isEmpty());
}

}  // namespace

#include <QAction>
#include <QApplication>
#include <QTimer>

#include "mainwindow/main_window.h"
#include "support/main_window_fixture.h"

namespace {

TEST(BandPlanChartTest, PrivilegesMenuShowsTheChartModallyAndEachOpeningReadsTheFile) {
    testing_support::MainWindowFixture f(0);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    f.t.CopyDataFile("BandPlan.txt");
    QString title;
    bool modal = false;
    QObject pending;
    QTimer::singleShot(0, &pending, [&] {
        auto* chart = qobject_cast<frmBandPlan*>(QApplication::activeModalWidget());
        if (!chart) return;
        title = chart->Label2->text();
        modal = chart->windowModality() == Qt::ApplicationModal;
        chart->close();  // the close box ends the showing as "Done" does
    });
    w.mnuPrivileges->trigger();
    EXPECT_EQ(title, "Extra Frequency Privileges");
    EXPECT_TRUE(modal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace


// The rate graph: its slot values, band strip colours and labels, the
// window's message for a short log, and the background switch.
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/colors.h"
#include "scoring/rate_graph.h"
#include "support/scoring_fixture.h"
#include "support/test_program.h"

using scoring::ComputeRateGraph;
using scoring::GraphQSO;
using scoring::RateGraphData;
using testing_support::TestProgram;

namespace {

const std::array<QColor, scoring::kGraphBands> kBands = {
    QColor(255, 255, 255), QColor(0, 0, 255),   QColor(255, 0, 0), QColor(0, 255, 0),
    QColor(128, 255, 255), QColor(255, 0, 255), QColor(255, 255, 0)};

// Adds a contact on `band` at 2013/04/07 12:00:00 plus `seconds`.
void AddContact(logstore::ContactLog& log, int seconds, const QString& band = "40") {
    logstore::ContactRecord r = testing_support::MakeContact(QString("K%1").arg(log.QSOCount + 1), "CW", "MA");
    const QDateTime at = QDateTime(QDate(2013, 4, 7), QTime(12, 0), Qt::UTC).addSecs(seconds);
    r.QSODate = at.toString("yyyy/MM/dd");
    r.QSOTime = at.toString("HH:mm:ss");
    r.QSOBand = band;
    log.row(++log.QSOCount) = r;
}

logstore::ContactLog MinuteApart(int contacts) {
    logstore::ContactLog log;
    for (int i = 0; i < contacts; ++i) AddContact(log, 60 * i);
    return log;
}

}  // namespace

TEST(RateGraph, SevenContactsOneMinuteApart) {
    const std::optional<RateGraphData> g = ComputeRateGraph(MinuteApart(7), Qt::black, kBands);
    ASSERT_TRUE(g);
    // Contact i on slot (i - 1) x 250 with the rate 6 x i; contact 1 on slot 1.
    EXPECT_FLOAT_EQ(g->smoothed[1], 6);
    for (std::size_t s = 2; s <= 6; ++s) EXPECT_EQ(g->smoothed[s], 0) << s;
    EXPECT_FLOAT_EQ(g->smoothed[7], 6);
    // The ramp up to the contact on slot 250.
    for (std::size_t s = 235; s <= 249; ++s)
        EXPECT_NEAR(g->raw[s], 0.8 * static_cast<double>(s - 235), 1e-4) << s;
    EXPECT_FLOAT_EQ(g->raw[250], 12);
    struct Slot {
        std::size_t slot;
        double value;
    };
    for (Slot s : {Slot{236, 0.8}, Slot{243, 4.0}, Slot{250, 9.6}, Slot{256, 12.0}, Slot{257, 0},
                   Slot{400, 0}, Slot{1256, 36}, Slot{1500, 33.6}})
        EXPECT_NEAR(g->smoothed[s.slot], s.value, 1e-4) << s.slot;
    EXPECT_FLOAT_EQ(g->smallest, 0);
    EXPECT_FLOAT_EQ(g->largest, 36);
    EXPECT_EQ(g->values[0], "0.0");
    EXPECT_EQ(g->values[8], "18.0");
    EXPECT_EQ(g->values[16], "36.0");
    // Six minutes in fourteen steps of about 26 seconds.
    EXPECT_EQ(g->times[0], "12:00");
    EXPECT_EQ(g->times[7], "12:03");
    EXPECT_EQ(g->times[14], "12:06");
    EXPECT_TRUE(g->dates[0].startsWith("04")) << g->dates[0].toStdString();
    EXPECT_TRUE(g->dates[0].endsWith("07")) << g->dates[0].toStdString();
    // The band strip: 40 m red wherever a rate is drawn, the background in the gaps.
    EXPECT_EQ(g->colour[250], kBands[2]);
    EXPECT_EQ(g->colour[253], kBands[2]);  // carried after the contact
    EXPECT_EQ(g->colour[240], QColor(Qt::black));  // the ramp up carries the gap's background
    EXPECT_EQ(g->colour[300], QColor(Qt::black));
}

TEST(RateGraph, BandColoursAndCarrying) {
    // A burst of contacts ten slots apart (span 1500 s: one slot a second),
    // then a pause of more than 15 slots.
    logstore::ContactLog log;
    const char* bands[] = {"160", "80", "20", "15", "10", "6", "2"};
    int t = 0;
    for (const char* band : bands) {
        AddContact(log, t, band);
        t += 10;
    }
    AddContact(log, 1500, "40");
    const std::optional<RateGraphData> black = ComputeRateGraph(log, Qt::black, kBands);
    ASSERT_TRUE(black);
    EXPECT_EQ(black->colour[10], kBands[1]);
    EXPECT_EQ(black->colour[20], kBands[3]);
    EXPECT_EQ(black->colour[50], kBands[6]);  // 6 m: "Other"
    EXPECT_EQ(black->colour[60], kBands[6]);  // 2 m likewise
    EXPECT_EQ(black->colour[15], kBands[1]);  // ramp slots take the colour before
    // Once the burst has left the seven-slot mean, the gap stays at 0 and
    // the strip stays empty.
    for (std::size_t s = 67; s <= 1484; ++s) ASSERT_EQ(black->smoothed[s], 0) << s;
    EXPECT_EQ(black->colour[100], QColor(Qt::black));

    // On white, a 160 m slot (white) counts as a slot without colour and
    // takes the colour carried from the slots before it.
    logstore::ContactLog whiteLog;
    AddContact(whiteLog, 0, "80");
    AddContact(whiteLog, 10, "160");
    for (int i = 0; i < 5; ++i) AddContact(whiteLog, 20 + 10 * i, "80");
    AddContact(whiteLog, 1500, "80");
    const std::optional<RateGraphData> white = ComputeRateGraph(whiteLog, Qt::white, kBands);
    ASSERT_TRUE(white);
    EXPECT_EQ(white->colour[10], kBands[1]);
}

TEST(RateGraph, LogsThatCannotBeGraphed) {
    struct Case {
        const char* name;
        std::vector<int> seconds;
        bool unreadable = false;
    };
    const Case cases[] = {
        {"six contacts", {0, 60, 120, 180, 240, 300}},
        {"first and last at the same second", {0, 60, 120, 180, 240, 300, 0}},
        {"a contact before the first", {600, 660, 0, 720, 780, 840, 900}},
        {"a contact far after the last", {0, 60, 120, 600, 180, 240, 300}},
        {"an unreadable time", {0, 60, 120, 180, 240, 300, 360}, true},
    };
    for (const Case& c : cases) {
        logstore::ContactLog log;
        for (int s : c.seconds) AddContact(log, s);
        if (c.unreadable) log.row(3).QSOTime = "1x:00";
        EXPECT_FALSE(ComputeRateGraph(log, Qt::black, kBands)) << c.name;
    }
}

TEST(RateGraphWindow, SixContactsShowTheMessageAndNoGraph) {
    TestProgram t;
    t->log = MinuteApart(6);
    GraphQSO graph(t.program());
    graph.Form_Load(QSizeF(9600, 7200), 9600);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Not Enough Contacts to Graph.");
    EXPECT_EQ(t.dialogs.shown[0].text,
              "The graph will not display with less than 7 contacts.  The graph becomes more meaningful "
              "as several hours of contest logging are accumulated.");
    EXPECT_EQ(t.dialogs.shown[0].style, platform::vbOKOnly);
    EXPECT_EQ(graph.lblY[16]->text(), "0");
    EXPECT_EQ(graph.lblTime[3]->text(), "00:00");
    EXPECT_EQ(graph.lblDate[3]->text(), "MM/DD");
    EXPECT_FALSE(graph.Graph());
    // The canvas holds the background only.
    const QImage& canvas = graph.Canvas();
    for (int y = 0; y < canvas.height(); y += 7)
        for (int x = 0; x < canvas.width(); x += 7) ASSERT_EQ(canvas.pixel(x, y), qRgb(0, 0, 0));
}

TEST(RateGraphWindow, BackgroundSwitchRedrawsTheSameGraph) {
    TestProgram t;
    t->log = MinuteApart(7);
    GraphQSO graph(t.program());
    graph.Form_Load(QSizeF(9600, 7200), 9600);
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(graph.windowTitle(), " Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)");
    EXPECT_EQ(graph.Command1->text(), "Black Background");
    EXPECT_EQ(graph.lblY[16]->text(), "36.0");
    EXPECT_EQ(graph.lblTime[14]->text(), "12:06");
    ASSERT_TRUE(graph.Graph());
    const std::array<float, scoring::kRateSlotArray> smoothed = graph.Graph()->smoothed;

    auto count = [](const QImage& image, QRgb colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
        return n;
    };
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb red = qRgb(255, 0, 0);
    const QImage onBlack = graph.Canvas();
    EXPECT_EQ(onBlack.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_GT(count(onBlack, blue), 100);  // the rate line
    EXPECT_GT(count(onBlack, red), 10);    // the 40 m strip

    graph.Command1->click();
    EXPECT_EQ(graph.Command1->text(), "White Background");
    EXPECT_EQ(graph.Background(), QColor(Qt::white));
    const QImage onWhite = graph.Canvas();
    EXPECT_EQ(onWhite.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(count(onWhite, blue), count(onBlack, blue));
    EXPECT_EQ(graph.Graph()->smoothed, smoothed);
    EXPECT_EQ(platform::ForeColor(graph.lblY[0]), QColor(Qt::black));
    EXPECT_EQ(platform::ForeColor(graph.Label1), QColor(Qt::black));
    EXPECT_EQ(graph.gridLines[0]->color(), QColor(Qt::black));
    // The legend keeps its colours.
    EXPECT_EQ(platform::ForeColor(graph.lblBnd[2]), QColor(255, 0, 0));
    // What the window shows is the canvas, also after it is drawn again.
    const QImage shown = graph.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(2, 2), qRgb(255, 255, 255));

    graph.Command1->click();
    EXPECT_EQ(graph.Command1->text(), "Black Background");
    EXPECT_EQ(graph.Canvas().pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(platform::ForeColor(graph.lblY[0]), QColor(Qt::white));
}

TEST(RateGraphWindow, TheTimeLabelsFollowTheFirstAndLastContactEvenWithoutAGraph) {
    // The labels are set once the first and last moments are read; what
    // stops the graph after that leaves them showing.
    struct Case {
        const char* name;
        std::vector<int> seconds;
        int unreadable = 0;  // a contact whose time does not read
        const char* firstTime;
        const char* lastTime;
    };
    const Case cases[] = {
        {"first and last at the same second", {0, 60, 120, 180, 240, 300, 0}, 0, "12:00", "12:00"},
        {"a contact before the first", {600, 660, 0, 720, 780, 840, 900}, 0, "12:10", "12:15"},
        {"a contact far after the last", {0, 60, 120, 600, 180, 240, 300}, 0, "12:00", "12:05"},
        {"an unreadable time between", {0, 60, 120, 180, 240, 300, 360}, 3, "12:00", "12:06"},
        {"an unreadable first time", {0, 60, 120, 180, 240, 300, 360}, 1, "00:00", "00:00"},
        {"an unreadable last time", {0, 60, 120, 180, 240, 300, 360}, 7, "00:00", "00:00"},
    };
    for (const Case& c : cases) {
        TestProgram t;
        for (int s : c.seconds) AddContact(t->log, s);
        if (c.unreadable) t->log.row(c.unreadable).QSOTime = "1x:00";
        GraphQSO graph(t.program());
        graph.Form_Load(QSizeF(9600, 7200), 9600);
        EXPECT_TRUE(t.dialogs.shown.empty()) << c.name;
        EXPECT_FALSE(graph.Graph()) << c.name;
        EXPECT_EQ(graph.lblTime[0]->text(), QString(c.firstTime)) << c.name;
        EXPECT_EQ(graph.lblTime[14]->text(), QString(c.lastTime)) << c.name;
        const QString date = graph.lblDate[14]->text();
        if (c.unreadable == 1 || c.unreadable == 7)
            EXPECT_EQ(date, "MM/DD") << c.name;
        else
            EXPECT_TRUE(date.size() == 5 && date.startsWith("04") && date.endsWith("07")) << c.name;
    }
}

// The main window's band map and spot panel as the operator sees them: the
// scale under the axis, the spot labels above it with their age colours,
// the mouse on the labels, and the panel opening and closing.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <vector>

#include "mainwindow/form1.h"
#include "mainwindow/main_window.h"
#include "platform/form.h"
#include "spotting/band_map.h"
#include "spotting/packet_spot_frm.h"
#include "spotting/spectrum_map.h"
#include "spotting/spot_panel.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "spotting/spotting_fixture.h"

namespace {

using testing_support::MainWindowFixture;

void Post(Program& program, const QString& call, const QString& kHz) {
    QVariant c(call), f(kHz), r(QStringLiteral("de N0CALL:    %1  %2").arg(kHz, call));
    program.form1().BandMapSpots(c, f, r);
}

QStringList Texts(const std::array<QLabel*, 5>& labels) {
    QStringList out;
    for (const QLabel* label : labels) out << label->text();
    return out;
}

// A loaded main window on a band, with the band map open.
struct BandMapWindow {
    explicit BandMapWindow(int side = 0, const QString& band = QStringLiteral("20")) : f(side) {
        f.WriteLog("");
        f.Load();
        f.program().station.CurrentBand = band;
        w().spotPanel().PacketResize(QStringLiteral("Telnet"), false);
    }
    mainwindow::MainWindow& w() { return f.window(); }
    spotting::BandMap& map() { return w().bandMap(); }
    spotting::SpotLabel* label(int slot) { return map().lblDXSpot[static_cast<std::size_t>(slot)]; }
    // Spots redraw the band map from the event loop, once for all the spots
    // of one turn.
    void Redrawn() { ASSERT_TRUE(QTest::qWaitFor([&] { return !w().SpotViewsPending(); })); }
    std::vector<int> shownSlots() {
        std::vector<int> out;
        for (int i = 0; i <= spotting::kNewestSlot; ++i)
            if (!label(i)->isHidden()) out.push_back(i);
        return out;
    }
    // Where a label's centre lies along the axis, 0 at X1 and 1 at X2.
    double axisShare(int slot) {
        const QLine axis = map().LineDX->line();
        const double centre = label(slot)->geometry().left() + label(slot)->width() / 2.0;
        return (centre - axis.x1()) / (axis.x2() - axis.x1());
    }
    MainWindowFixture f;
};

TEST(BandMap, ScaleAndLabelsFollowTheBandAndItsSpots) {
    struct Case {
        const char* band;
        std::vector<const char*> spotsKHz;  // in arrival order, slot 49 last
        QStringList scale;
        std::vector<int> shown;
    };
    const Case cases[] = {
        {"40", {}, {"7.000", "7.075", "7.150", "7.225", "7.300"}, {}},
        {"20", {"14010", "14020"}, {"14.009", "14.012", "14.015", "14.018", "14.021"}, {48, 49}},
        // One spot, or two on one frequency: the whole band.
        {"20", {"14025"}, {"14.000", "14.088", "14.175", "14.263", "14.350"}, {49}},
        {"20", {"14025", "14025.0"}, {"14.000", "14.088", "14.175", "14.263", "14.350"}, {48, 49}},
        // Spots on the edges take no part and do not show.
        {"20", {"14000", "14350", "14100"}, {"14.000", "14.088", "14.175", "14.263", "14.350"}, {49}},
        // Another band's spots do not show.
        {"20", {"7010", "14100"}, {"14.000", "14.088", "14.175", "14.263", "14.350"}, {49}},
        {"222", {}, {"219.000", "220.500", "222.000", "223.500", "225.000"}, {}},
        {"432", {"432100"}, {"420.000", "427.500", "435.000", "442.500", "450.000"}, {49}},
        {"902", {"903100"}, {".000", ".000", ".000", ".000", ".000"}, {}},
        {"1.3 G", {}, {".000", ".000", ".000", ".000", ".000"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 with %2 spots").arg(c.band).arg(c.spotsKHz.size()).toStdString());
        BandMapWindow b(0, QString::fromLatin1(c.band));
        int n = 0;
        for (const char* kHz : c.spotsKHz) Post(b.f.program(), QStringLiteral("K%1AB").arg(++n), QString::fromLatin1(kHz));
        b.Redrawn();
        EXPECT_EQ(Texts(b.map().lblFreqSpot), c.scale);
        EXPECT_EQ(b.shownSlots(), c.shown);
    }
}

TEST(BandMap, SpotsStandAtTheirPointOfTheAxisAboveIt) {
    BandMapWindow b;
    Post(b.f.program(), "DL1AB", "14010");
    Post(b.f.program(), "JA1XYZ", "14020");
    b.Redrawn();
    EXPECT_NEAR(b.axisShare(48), 1.0 / 12, 0.01);
    EXPECT_NEAR(b.axisShare(49), 11.0 / 12, 0.01);
    EXPECT_EQ(b.label(48)->text(), "DL1");
    EXPECT_EQ(b.label(49)->text(), "JA1");
    EXPECT_LE(b.label(49)->geometry().bottom(), b.map().LineDX->line().y1());
    // The scale labels are centred on the axis's quarter points, below it.
    const QLine axis = b.map().LineDX->line();
    for (int k = 0; k < 5; ++k) {
        const QRect r = b.map().lblFreqSpot[static_cast<std::size_t>(k)]->geometry();
        EXPECT_NEAR(r.left() + r.width() / 2.0, axis.x1() + k * (axis.x2() - axis.x1()) / 4.0, 1.0);
        EXPECT_GT(r.top(), axis.y1());
    }
    // The slot-0 spot is left out of the zoom, and not shown off the scale.
    for (int i = 0; i < 47; ++i) Post(b.f.program(), QStringLiteral("W%1X").arg(i), "7010");
    Post(b.f.program(), "K1NEW", "14198");  // slot 49; DL1AB now in slot 0
    b.Redrawn();
    EXPECT_EQ(b.f.program().spotStore.DXSpotCall[0], "DL1AB");
    EXPECT_EQ(Texts(b.map().lblFreqSpot),
              QStringList({"14.019", "14.064", "14.109", "14.154", "14.199"}));
    EXPECT_EQ(b.shownSlots(), std::vector<int>({1, 49}));
}

TEST(BandMap, LabelColoursFollowTheAgeOnTheMonotonicClock) {
    BandMapWindow b;
    Post(b.f.program(), "K2OLD", "14020");
    b.f.t.clock.AdvanceMs(1000 * 1000);
    Post(b.f.program(), "K1NEW", "14010");
    const QColor yellow(255, 255, 128), white(255, 255, 255), grey(192, 192, 192);
    struct Case {
        int age;  // of the newer spot
        std::optional<QColor> newer;
        std::optional<QColor> older;  // 1000 s older
    };
    const Case cases[] = {
        {0, yellow, white},       {599, yellow, white},   {600, white, white},
        {1799, white, grey},      {1800, grey, grey},     {2599, grey, grey},
        {2600, grey, std::nullopt}, {3599, grey, std::nullopt}, {3600, std::nullopt, std::nullopt},
    };
    int now = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.age);
        b.f.t.clock.AdvanceMs(static_cast<std::int64_t>(c.age - now) * 1000);
        now = c.age;
        // A wall clock set back an hour (daylight saving) changes no age.
        b.f.t.clock.utc = b.f.t.clock.utc.addSecs(-3600);
        b.w().DisplayBandMapLabels();
        const auto colourOf = [&](int slot) -> std::optional<QColor> {
            if (b.label(slot)->isHidden()) return std::nullopt;
            return b.label(slot)->textColour();
        };
        EXPECT_EQ(colourOf(49), c.newer);
        EXPECT_EQ(colourOf(48), c.older);
    }
}

TEST(BandMap, RightClickTunesAndPutsTheCallOnTheEntryLine) {
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        BandMapWindow b(side);
        Program& program = b.f.program();
        std::vector<float> tuned;
        // A spot that arrives while the radio is tuned shifts the slots.
        program.ChangeFrequency = [&](float mhz) {
            tuned.push_back(mhz);
            Post(program, "OH2XX", "14070");
        };
        Post(program, "K1ABC", "14025");
        Post(program, "VE3AA", "14030");
        // Without an active window the offscreen platform moves no focus.
        b.w().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&b.w()));
        QTest::mouseClick(b.label(48), Qt::RightButton);
        EXPECT_EQ(tuned, std::vector<float>({14.025f}));
        EXPECT_EQ(b.w().entry().txtCall->text(), "K1ABC");
        EXPECT_FLOAT_EQ(program.spotStore.DXSpotFreq[47], 14.025f);
        // The Tab sent after it moves the entry line on from the call box.
        QTest::qWait(20);
        EXPECT_NE(QApplication::focusWidget(), b.w().entry().txtCall);
        EXPECT_TRUE(QApplication::focusWidget() != nullptr);
    }
}

TEST(BandMap, OtherClicksTakeTheSpotOffAndTheListKeepsItsRow) {
    BandMapWindow b;
    Program& program = b.f.program();
    bool tuned = false;
    program.ChangeFrequency = [&](float) { tuned = true; };
    Post(program, "K1ABC", "14025");
    Post(program, "VE3AA", "14030");
    Post(program, "DL1AB", "14040");
    b.Redrawn();
    QTest::mouseClick(b.label(48), Qt::LeftButton);
    QTest::mouseClick(b.label(49), Qt::MiddleButton);
    EXPECT_FALSE(tuned);
    EXPECT_EQ(program.spotStore.DXSpotFreq[48], 0.0f);
    EXPECT_EQ(program.spotStore.DXSpotFreq[49], 0.0f);
    EXPECT_EQ(program.spotStore.DXSpotCall[48], "VE3AA");
    EXPECT_EQ(b.shownSlots(), std::vector<int>({47}));
    EXPECT_EQ(b.w().txtDX->topLevelItemCount(), 3);
    // Only K1ABC is left: the scale is the whole band again.
    EXPECT_EQ(b.map().lblFreqSpot[0]->text(), "14.000");
}

TEST(BandMap, TheMouseOverASpotShowsItsCallFrequencyAndUtcTime) {
    BandMapWindow b(1);
    Post(b.f.program(), "K1ABC", "14025.5");
    b.Redrawn();
    QTest::mouseMove(b.label(49));
    // The fake clock stored the spot at 18:05:33 UTC.
    EXPECT_EQ(b.w().entry().lblDupe->text(), "K1ABC  14.026  18:05:33");
    EXPECT_EQ(b.label(49)->toolTip(), "K1ABC  14.026  18:05:33");
}

TEST(BandMap, SpotTimesAreTheLogsUtcTheLocalClockPlusTheOffset) {
    // The PC's clock reads 13:05:33 local (18:05:33 UTC). An operator who
    // declined the offset suggested at start-up logs with his own: the spot
    // tooltips of both maps show the time a contact logged then would carry.
    const struct {
        float offset;
        const char* time;
    } cases[] = {{5, "18:05:33"}, {4.25f, "17:20:33"}, {0, "13:05:33"}, {-3.5f, "09:35:33"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        BandMapWindow b(1);
        b.f.program().station.UTCOffsetHours = c.offset;
        Post(b.f.program(), "K1ABC", "14025");
        b.Redrawn();
        const QString tip = QStringLiteral("K1ABC  14.025  ") + c.time;
        EXPECT_EQ(b.label(49)->toolTip(), tip);
        QTest::mouseMove(&b.w(), QPoint(1, 1));  // from elsewhere onto the label
        QTest::mouseMove(b.label(49));
        EXPECT_EQ(b.w().entry().lblDupe->text(), tip);
        spotting::SpectrumMap map(b.f.program(), QSizeF(9600, 7200), QSizeF(9600, 6750));
        map.show();
        map.BandMapLabelDisplay();
        EXPECT_EQ(map.lblDXSpot[49]->toolTip(), tip);
    }
}

// Counts, per watched widget, the shows, hides and moves it is sent.
class WidgetEvents final : public QObject {
public:
    explicit WidgetEvents(const std::vector<QWidget*>& widgets) {
        for (QWidget* widget : widgets) widget->installEventFilter(this);
    }
    struct Counts {
        int shows = 0, hides = 0, moves = 0;
    };
    std::map<QObject*, Counts> counts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) ++counts[watched].shows;
        if (event->type() == QEvent::Hide) ++counts[watched].hides;
        if (event->type() == QEvent::Move) ++counts[watched].moves;
        return false;
    }
};

// A burst of spots in one turn of the event loop (a cluster's chunk, or a
// busy feed) redraws the band map once, after the turn, and a label is shown
// or hidden only when its visibility changes.
TEST(BandMap, ABurstOfSpotsRedrawsOnceAndTouchesOnlyLabelsThatChange) {
    BandMapWindow b;
    Program& program = b.f.program();
    Post(program, "K1ABC", "14025");
    Post(program, "K2ABC", "14030");
    b.Redrawn();
    ASSERT_EQ(b.shownSlots(), std::vector<int>({48, 49}));
    const QString scaleBefore = b.map().lblFreqSpot[0]->text();

    std::vector<QWidget*> labels;
    for (int i = 0; i <= spotting::kNewestSlot; ++i) labels.push_back(b.label(i));
    WidgetEvents events(labels);
    // Thirty spots, each on another frequency of the band, so each one
    // moves the zoomed scale and every label on it.
    for (int i = 0; i < 30; ++i)
        Post(program, QStringLiteral("W%1XYZ").arg(i), QString::number(14010 + 7 * i));
    // Nothing is redrawn inside the turn that brought the spots.
    EXPECT_EQ(b.shownSlots(), std::vector<int>({48, 49}));
    EXPECT_EQ(b.map().lblFreqSpot[0]->text(), scaleBefore);
    EXPECT_TRUE(events.counts.empty());
    EXPECT_TRUE(b.w().SpotViewsPending());

    b.Redrawn();
    std::vector<int> expected;
    for (int i = 18; i <= spotting::kNewestSlot; ++i) expected.push_back(i);
    EXPECT_EQ(b.shownSlots(), expected);
    EXPECT_EQ(b.map().lblFreqSpot[0]->text(), "14.009");
    EXPECT_EQ(b.label(49)->text(), "W29");
    for (int i = 0; i <= spotting::kNewestSlot; ++i) {
        SCOPED_TRACE(i);
        const WidgetEvents::Counts c = events.counts[b.label(i)];
        // Labels 48 and 49 showed before and show now: never hidden.
        const bool cameUp = i >= 18 && i < 48;
        EXPECT_EQ(c.shows, cameUp ? 1 : 0);
        EXPECT_EQ(c.hides, 0);
        // One redraw: a visible label is moved once at most.
        EXPECT_LE(c.moves, 1);
    }
    // A redraw with nothing new changes no label's visibility.
    events.counts.clear();
    b.w().DisplayBandMapLabels();
    for (QWidget* label : labels) {
        EXPECT_EQ(events.counts[label].shows, 0);
        EXPECT_EQ(events.counts[label].hides, 0);
    }
}

// Every control's numbers, by name.
struct Geometry {
    float left, top, width, height, x1, y1, x2, y2;
    bool operator==(const Geometry&) const = default;
};
std::map<QString, Geometry> Snapshot(platform::Form& window) {
    std::map<QString, Geometry> out;
    for (const platform::Control& c : window.Controls())
        out[c.Name] = {c.Left, c.Top, c.Width, c.Height, c.X1, c.Y1, c.X2, c.Y2};
    return out;
}

bool IsPanelControl(const QString& name) {
    return name == "txtDX" || name == "lblDX" || name == "LineDX" || name.startsWith("lblFreqSpot") ||
           name.startsWith("lblDXSpot");
}

TEST(SpotPanel, OpeningShrinksTheWindowContentAndFillsTheStrip) {
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        MainWindowFixture f(side);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        const std::map<QString, Geometry> before = Snapshot(w);
        w.spotPanel().PacketResize("Telnet", true);
        EXPECT_TRUE(w.spotPanel().ListShows());
        EXPECT_TRUE(w.txtDX->isVisible());
        EXPECT_FALSE(w.lblDX->isVisible());
        const platform::Control& call = w.Ctl(w.entry().txtCall);
        EXPECT_FLOAT_EQ(call.Top, before.at("txtCall").top * 0.9f);
        EXPECT_FLOAT_EQ(call.Height, before.at("txtCall").height * 0.9f);
        EXPECT_FLOAT_EQ(call.Left, before.at("txtCall").left);
        EXPECT_FLOAT_EQ(w.Ctl(w.Line3).Y1, before.at("Line3").y1 * 0.9f);
        // The county lists end at the layout line.
        const platform::Control& list1 = w.Ctl(w.List1);
        EXPECT_FLOAT_EQ(list1.Top + list1.Height, w.Ctl(w.Line3).Y1);
        // The list fills the strip below the lowest shrunk control.
        float lowest = 0;
        for (const platform::Control& c : w.Controls())
            if (!IsPanelControl(c.Name) && c.Kind != platform::ControlKind::Line &&
                c.Kind != platform::ControlKind::Timer && c.Kind != platform::ControlKind::Menu)
                lowest = std::max(lowest, c.Top + c.Height);
        const platform::Control& strip = w.Ctl(w.txtDX);
        EXPECT_GE(strip.Top, lowest);
        EXPECT_FLOAT_EQ(strip.Top + strip.Height, w.ScaleHeight());
        EXPECT_FLOAT_EQ(strip.Left, 0.01f * w.Width);
        EXPECT_FLOAT_EQ(strip.Width, 0.97f * w.Width);
        EXPECT_GT(strip.Height, 0);
        EXPECT_TRUE(w.txtDX->geometry().bottom() < w.height());
    }
}

TEST(SpotPanel, OpeningAndClosingManyTimesPutsEveryControlBackExactly) {
    MainWindowFixture f(0);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    const std::map<QString, Geometry> before = Snapshot(w);
    std::map<QString, QRect> pixels;
    for (const platform::Control& c : w.Controls())
        if (c.Widget && !IsPanelControl(c.Name)) pixels[c.Name] = c.Widget->geometry();
    for (int round = 0; round < 7; ++round) {
        w.spotPanel().PacketResize("Telnet", round % 2 == 0);
        if (round % 3 == 0) w.spotPanel().PacketResize("AGW Packet Engine", round % 2 != 0);
        w.spotPanel().PacketResize("None", round % 2 == 0);
    }
    EXPECT_FALSE(w.spotPanel().ListShows());
    EXPECT_FALSE(w.spotPanel().BandMapShows());
    const std::map<QString, Geometry> after = Snapshot(w);
    for (const auto& [name, g] : before) {
        if (IsPanelControl(name)) continue;
        EXPECT_EQ(after.at(name), g) << name.toStdString();
    }
    for (const platform::Control& c : w.Controls()) {
        if (!c.Widget) continue;
        if (IsPanelControl(c.Name)) {
            EXPECT_TRUE(c.Widget->isHidden()) << c.Name.toStdString();
            EXPECT_EQ(c.Kind == platform::ControlKind::Line ? c.Y1 : c.Top, spotting::SpotPanel::kParkingTop)
                << c.Name.toStdString();
        } else {
            EXPECT_EQ(c.Widget->geometry(), pixels.at(c.Name)) << c.Name.toStdString();
        }
    }
}

TEST(SpotPanel, SwitchingMovesNothingAndTheRefreshFlagFollowsTheBandMap) {
    MainWindowFixture f(1);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    f.program().station.CurrentBand = "20";
    QLabel* flag = dynamic_cast<mainwindow::MainWindowProxy&>(f.program().form1()).lblDX;
    // Straight into band-map mode: the periodic refresh runs.
    w.spotPanel().PacketResize("Telnet", false);
    EXPECT_TRUE(w.lblDX->isVisible());
    EXPECT_TRUE(w.bandMap().LineDX->isVisible());
    EXPECT_FALSE(w.txtDX->isVisible());
    EXPECT_FALSE(flag->isHidden());
    // Spot labels are placed by the redraw; nothing else moves.
    const auto fixed = [&] {
        std::map<QString, Geometry> out = Snapshot(w);
        std::erase_if(out, [](const auto& entry) { return entry.first.startsWith("lblDXSpot"); });
        return out;
    };
    const std::map<QString, Geometry> open = fixed();
    // A spot shows at once, and its label until a redraw says otherwise.
    Post(f.program(), "K1ABC", "14025");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.SpotViewsPending(); }));
    EXPECT_TRUE(w.bandMap().lblDXSpot[49]->isVisible());
    EXPECT_FALSE(w.bandMap().lblDXSpot[48]->isVisible());
    w.spotPanel().PacketResize("Telnet", true);
    EXPECT_TRUE(w.txtDX->isVisible());
    EXPECT_FALSE(w.lblDX->isVisible());
    EXPECT_FALSE(w.bandMap().lblDXSpot[49]->isVisible());
    EXPECT_TRUE(flag->isHidden());
    w.spotPanel().PacketResize("Packet TNC", false);
    EXPECT_TRUE(w.bandMap().lblDXSpot[49]->isVisible());
    EXPECT_FALSE(flag->isHidden());
    EXPECT_EQ(fixed(), open);
    // The spotting window's periodic refresh reaches the band map.
    f.t.clock.AdvanceMs(3600 * 1000);
    f.program().form1().DisplayBandMapLabels();
    EXPECT_FALSE(w.bandMap().lblDXSpot[49]->isVisible());
}

TEST(SpotPanel, TheSpottingWindowsDoneLaysThePanelOutForItsSource) {
    testing_support::SpottingFixture s;
    testing_support::SpotSettings settings;
    settings.source = "None";
    s.WriteSettings(settings);
    spotting::PacketSpotfrm& spotting = s.window();
    mainwindow::MainWindow& w = s.main.window();
    // "None" with the panel closed changes nothing.
    const std::map<QString, Geometry> before = Snapshot(w);
    spotting.cmdDone_Click();
    EXPECT_EQ(Snapshot(w), before);
    // With the panel open, Done with "None" closes it.
    w.spotPanel().PacketResize("Telnet", true);
    ASSERT_TRUE(w.txtDX->isVisible());
    spotting.OptList->setChecked(true);
    spotting.cmdDone_Click();
    EXPECT_FALSE(w.txtDX->isVisible());
    const std::map<QString, Geometry> after = Snapshot(w);
    for (const auto& [name, g] : before) {
        if (!IsPanelControl(name)) {
            EXPECT_EQ(after.at(name), g) << name.toStdString();
        }
    }
}

TEST(SpotPanel, TheBandChangeRescalesAnOpenBandMap) {
    BandMapWindow b(0, "40");
    Post(b.f.program(), "K1ABC", "14025");
    Post(b.f.program(), "K2ABC", "14035");
    b.Redrawn();
    EXPECT_EQ(b.map().lblFreqSpot[0]->text(), "7.000");
    EXPECT_TRUE(b.shownSlots().empty());
    b.w().BandCommand("20");
    EXPECT_EQ(Texts(b.map().lblFreqSpot), QStringList({"14.024", "14.027", "14.030", "14.033", "14.036"}));
    EXPECT_EQ(b.shownSlots(), std::vector<int>({48, 49}));
}

}  // namespace

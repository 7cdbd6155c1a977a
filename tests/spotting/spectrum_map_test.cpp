// The HF spectrum map as the operator sees it: eleven band lines with their
// tick captions, the spots on them with their age colours, and the mouse on
// the spots.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "mainwindow/main_window.h"
#include "program/main_window_proxy.h"
#include "spotting/spectrum_map.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"

namespace {

using testing_support::MainWindowFixture;

void Post(Program& program, const QString& call, const QString& kHz) {
    QVariant c(call), f(kHz), r(QStringLiteral("de N0CALL:    %1  %2").arg(kHz, call));
    program.form1().BandMapSpots(c, f, r);
}

// A loaded main window and the spectrum map, laid out for the design screen
// with a work area less a task bar, and shown.
struct MapWindow {
    explicit MapWindow(int side = 0) : f(side) {
        f.WriteLog("");
        f.Load();
    }
    spotting::SpectrumMap& open() {
        map = std::make_unique<spotting::SpectrumMap>(f.program(), QSizeF(9600, 7200), QSizeF(9600, 6750));
        map->show();
        return *map;
    }
    QStringList ticks(std::size_t band) {
        QStringList out;
        for (std::size_t i = 0; i < 5; ++i) out << map->lblFreqSpot[band * 5 + i]->text();
        return out;
    }
    std::vector<int> shownSlots() {
        std::vector<int> out;
        for (int i = 0; i <= spotting::kNewestSlot; ++i)
            if (!map->lblDXSpot[static_cast<std::size_t>(i)]->isHidden()) out.push_back(i);
        return out;
    }
    spotting::SpotLabel* label(int slot) { return map->lblDXSpot[static_cast<std::size_t>(slot)]; }
    MainWindowFixture f;
    std::unique_ptr<spotting::SpectrumMap> map;
};

TEST(SpectrumMap, AnEmptyStoreShowsEveryBandAtItsEdges) {
    MapWindow m;
    spotting::SpectrumMap& map = m.open();
    const char* const expected[] = {
        "1.800 1.850 1.900 1.950 2.000",           "3.500 3.625 3.750 3.875 4.000",
        "7.000 7.075 7.150 7.225 7.300",           "10.100 10.113 10.125 10.137 10.150",
        "14.000 14.088 14.175 14.263 14.350",      "18.068 18.093 18.118 18.143 18.168",
        "21.000 21.113 21.225 21.338 21.450",      "24.890 24.915 24.940 24.965 24.990",
        "28.000 28.425 28.850 29.275 29.700",      "50.000 51.000 52.000 53.000 54.000",
        "144.000 145.000 146.000 147.000 148.000",
    };
    for (std::size_t b = 0; b < spotting::kSpectrumBandCount; ++b)
        EXPECT_EQ(m.ticks(b).join(' '), QString::fromLatin1(expected[b])) << b;
    EXPECT_TRUE(m.shownSlots().empty());
    EXPECT_EQ(map.windowTitle(), " HF Spectrum Map");
    // Laid out on the work area, from the screen's top-left corner.
    EXPECT_FLOAT_EQ(map.Width, 9600);
    EXPECT_FLOAT_EQ(map.Height, 6750);
    EXPECT_EQ(map.pos(), QPoint(0, 0));
    for (QLabel* tick : map.lblFreqSpot) EXPECT_TRUE(tick->isVisible());
}

TEST(SpectrumMap, EachBandZoomsToItsSpots) {
    struct Case {
        std::vector<const char*> spotsKHz;
        std::size_t band;
        const char* ticks;
    };
    const Case cases[] = {
        {{"14025", "14030"}, 4, "14.024 14.026 14.027 14.029 14.031"},
        {{"14010", "14020"}, 4, "14.009 14.012 14.015 14.018 14.021"},
        {{"14000.5", "14100"}, 4, "13.999 14.025 14.050 14.076 14.101"},
        {{"14001", "14002"}, 4, "14.000 14.001 14.002 14.002 14.003"},
        // One spot, or two on one frequency, or one on an edge: no zoom.
        {{"14025"}, 4, "14.000 14.088 14.175 14.263 14.350"},
        {{"14025", "14025"}, 4, "14.000 14.088 14.175 14.263 14.350"},
        {{"14000", "14100"}, 4, "14.000 14.088 14.175 14.263 14.350"},
        {{"14025", "14030"}, 2, "7.000 7.075 7.150 7.225 7.300"},
    };
    for (const Case& c : cases) {
        MapWindow m;
        int n = 0;
        for (const char* kHz : c.spotsKHz) Post(m.f.program(), QStringLiteral("K%1AB").arg(++n), QString::fromLatin1(kHz));
        m.open();
        EXPECT_EQ(m.ticks(c.band).join(' '), QString::fromLatin1(c.ticks)) << c.spotsKHz.front();
    }
}

TEST(SpectrumMap, SpotsStandOnTheirBandLineByFrequency) {
    MapWindow m;
    Program& program = m.f.program();
    Post(program, "K1AA", "10100");    // the 30 m edge as stored: not shown
    Post(program, "K2AA", "7299.9");   // shown
    Post(program, "K3AA", "14000");    // an edge: not shown
    Post(program, "K4AA", "5000");     // no band: passed over
    Post(program, "DL1AB", "14010");
    Post(program, "JA1XYZ", "14020");
    spotting::SpectrumMap& map = m.open();
    EXPECT_EQ(m.shownSlots(), std::vector<int>({45, 48, 49}));
    const QLine line20 = map.lineHF[4]->line();
    const auto share = [&](int slot) {
        const QRect r = m.label(slot)->geometry();
        return (r.left() + r.width() / 2.0 - line20.x1()) / (line20.x2() - line20.x1());
    };
    EXPECT_NEAR(share(48), 1.0 / 12, 0.01);
    EXPECT_NEAR(share(49), 11.0 / 12, 0.01);
    EXPECT_NEAR(m.label(49)->geometry().bottom() + 1, line20.y1(), 1);
    EXPECT_NEAR(m.label(45)->geometry().bottom() + 1, map.lineHF[2]->line().y1(), 1);
    EXPECT_EQ(m.label(49)->text(), "JA1");
    EXPECT_EQ(m.label(49)->toolTip(), "JA1XYZ  14.020  18:05:33");
}

TEST(SpectrumMap, LabelColoursFollowTheAgeAndAnHourHidesTheRest) {
    MapWindow m;
    Program& program = m.f.program();
    Post(program, "K2OLD", "21020");
    m.f.t.clock.AdvanceMs(1000 * 1000);
    Post(program, "K1NEW", "5000");  // no band, but its age still counts
    Post(program, "K1NEW2", "14010");
    spotting::SpectrumMap& map = m.open();
    const QColor yellow(255, 255, 128), white(255, 255, 255), grey(192, 192, 192);
    struct Case {
        int age;
        std::optional<QColor> newer;
        std::optional<QColor> older;
    };
    const Case cases[] = {
        {599, yellow, white},      {600, white, white},     {1799, white, grey},
        {1800, grey, grey},        {2600, grey, std::nullopt}, {3599, grey, std::nullopt},
        {3600, std::nullopt, std::nullopt},
    };
    int now = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.age);
        m.f.t.clock.AdvanceMs(static_cast<std::int64_t>(c.age - now) * 1000);
        now = c.age;
        map.BandMapLabelDisplay();
        const auto colourOf = [&](int slot) -> std::optional<QColor> {
            if (m.label(slot)->isHidden()) return std::nullopt;
            return m.label(slot)->textColour();
        };
        EXPECT_EQ(colourOf(49), c.newer);
        EXPECT_FALSE(m.label(48)->isVisible());
        EXPECT_EQ(colourOf(47), c.older);
    }
}

TEST(SpectrumMap, RightClickTunesAndHandsTheCallToTheStationSidesWindow) {
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        MapWindow m(side);
        Program& program = m.f.program();
        std::vector<float> tuned;
        program.ChangeFrequency = [&](float mhz) {
            tuned.push_back(mhz);
            Post(program, "OH2XX", "14070");  // arrives while the rig is tuned
        };
        Post(program, "K1ABC", "14025");
        spotting::SpectrumMap& map = m.open();
        QTest::mouseClick(m.label(49), Qt::RightButton);
        EXPECT_EQ(tuned, std::vector<float>({14.025f}));
        EXPECT_EQ(m.f.window().entry().txtCall->text(), "K1ABC");
        EXPECT_FALSE(map.isVisible());
        EXPECT_FLOAT_EQ(program.spotStore.DXSpotFreq[48], 14.025f);
    }
}

TEST(SpectrumMap, OtherClicksTakeTheSpotOffBothMaps) {
    MapWindow m;
    Program& program = m.f.program();
    Post(program, "K1ABC", "14025");
    Post(program, "K2ABC", "7025");
    spotting::SpectrumMap& map = m.open();
    QTest::mouseClick(m.label(49), Qt::LeftButton);
    EXPECT_EQ(program.spotStore.DXSpotFreq[49], 0.0f);
    EXPECT_EQ(m.shownSlots(), std::vector<int>({48}));
    EXPECT_TRUE(map.isVisible());
    EXPECT_EQ(m.f.window().txtDX->topLevelItemCount(), 2);
}

TEST(SpectrumMap, TheMenuCtrlBAndDoubleClicksOpenItModallyAndUnloadIt) {
    MapWindow m;
    mainwindow::MainWindow& w = m.f.window();
    Post(m.f.program(), "K1ABC", "14025");
    const std::function<void()> openers[] = {
        [&] { w.mnuSpectrumMap->trigger(); },
        [&] { QTest::keyClick(w.entry().txtCall, Qt::Key_B, Qt::ControlModifier); },
        [&] { w.txtDX_DblClick(); },
    };
    int opening = 0;
    for (const auto& open : openers) {
        SCOPED_TRACE(opening);
        const QString call = QStringLiteral("OH%1XX").arg(++opening);
        bool seen = false, redrawn = false;
        // Acts once the map is on the screen, from the event loop of its
        // modal display.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!m.f.program().SpectrumMapVisible()) return;
            poll.stop();
            spotting::SpectrumMap& map = m.f.program().spectrumMap();
            seen = map.lblDXSpot[49]->isVisible();
            // A spot arriving while the map shows is drawn by the update
            // queued for it.
            Post(m.f.program(), call, "21025");
            EXPECT_TRUE(QTest::qWaitFor([&] { return !w.SpotViewsPending(); }));
            redrawn = map.lblDXSpot[49]->isVisible() && map.lblDXSpot[49]->text() == call.left(3) &&
                      map.lblDXSpot[48]->isVisible();
            map.close();
        });
        poll.start(1);
        open();
        EXPECT_TRUE(seen);
        EXPECT_TRUE(redrawn);
        EXPECT_FALSE(m.f.program().SpectrumMapLoaded());
        EXPECT_TRUE(w.entry().txtCall->text().isEmpty());
    }
}

}  // namespace

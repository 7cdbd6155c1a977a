// The county map: the generated picture and label rectangles, the flood fill,
// and the map window colouring the worked counties of the main window.
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "mainwindow/main_window.h"
#include "scoring/county_map.h"
#include "support/main_window_fixture.h"

using scoring::CountyMapWI;
using scoring::kCountyLabelRects;
using scoring::kCountyLabels;
using scoring::LabelSeed;
using testing_support::Contact;
using testing_support::MainWindowFixture;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

// The 4-connected white regions of the picture: a region number per pixel
// (-1 on black) and how many regions there are.
struct Regions {
    std::vector<int> id;
    int count = 0;
    int at(QPoint p) const { return id[static_cast<std::size_t>(p.y() * scoring::kCountyMapWidth + p.x())]; }
};

Regions WhiteRegions(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    Regions r;
    r.id.assign(static_cast<std::size_t>(w * h), -1);
    for (int y0 = 0; y0 < h; ++y0)
        for (int x0 = 0; x0 < w; ++x0) {
            if (image.pixel(x0, y0) != kWhite || r.at({x0, y0}) >= 0) continue;
            std::vector<QPoint> stack{{x0, y0}};
            r.id[static_cast<std::size_t>(y0 * w + x0)] = r.count;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                for (QPoint q : {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)}) {
                    if (!image.rect().contains(q) || image.pixel(q) != kWhite || r.at(q) >= 0) continue;
                    r.id[static_cast<std::size_t>(q.y() * w + q.x())] = r.count;
                    stack.push_back(q);
                }
            }
            ++r.count;
        }
    return r;
}

int RegionOf(const Regions& regions, const char* county) {
    for (const scoring::CountyLabelRect& rect : kCountyLabelRects)
        if (QString::fromLatin1(rect.name) == QLatin1String(county)) return regions.at(LabelSeed(rect));
    ADD_FAILURE() << "no label " << county;
    return -1;
}

// How many pixels of each region (by the regions of the plain picture;
// -1 the borders) differ between the two pictures.
std::map<int, int> ChangedPerRegion(const QImage& before, const QImage& after, const Regions& regions) {
    std::map<int, int> changed;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) ++changed[regions.at({x, y})];
    return changed;
}

int RegionSize(const Regions& regions, int id) {
    return static_cast<int>(std::count(regions.id.begin(), regions.id.end(), id));
}

QByteArray CountyLog(const QStringList& counties) {
    QByteArray log;
    int n = 0;
    for (const QString& county : counties)
        log += Contact(QString("K%1AB").arg(++n), "WI", county, "2013/04/07", "18:05:33", "CW", "40");
    return log;
}

}  // namespace

TEST(CountyMapPicture, TwoColoursInSeventyThreeSeparateRegions) {
    const QImage picture = scoring::CountyMapPicture();
    ASSERT_EQ(picture.size(), QSize(457, 451));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            ASSERT_TRUE(p == kWhite || p == kBlack) << x << "," << y;
        }
    const Regions regions = WhiteRegions(picture);
    EXPECT_EQ(regions.count, 73);
    // The surroundings: one region along the whole edge of the picture.
    const int outside = regions.at({0, 0});
    ASSERT_GE(outside, 0);
    for (int x = 0; x < picture.width(); ++x) {
        EXPECT_EQ(regions.at({x, 0}), outside);
        EXPECT_EQ(regions.at({x, picture.height() - 1}), outside);
    }
    for (int y = 0; y < picture.height(); ++y) {
        EXPECT_EQ(regions.at({0, y}), outside);
        EXPECT_EQ(regions.at({picture.width() - 1, y}), outside);
    }
    // Every label centre lies on white, each in a region of its own that is
    // not the surroundings.
    std::set<int> seen;
    for (const scoring::CountyLabelRect& rect : kCountyLabelRects) {
        const QPoint seed = LabelSeed(rect);
        ASSERT_TRUE(picture.rect().contains(seed)) << rect.name;
        const int id = regions.at(seed);
        EXPECT_GE(id, 0) << rect.name << " centre on a border";
        EXPECT_NE(id, outside) << rect.name << " centre outside the state";
        EXPECT_TRUE(seen.insert(id).second) << rect.name << " shares its region";
    }
    EXPECT_EQ(seen.size(), kCountyLabels);
}

TEST(CountyMapPicture, DesignedLabelRectanglesSitInTheirCounties) {
    struct Designed {
        std::size_t element;
        const char* county;
        int left, top, width, height;
    };
    const Designed designed[] = {
        {0, "Douglas", 960, 480, 495, 615},   {41, "Menominee", 4560, 2760, 375, 135},
        {53, "Milwaukee", 5640, 5760, 135, 375}, {55, "Kenosha", 5400, 6480, 495, 135},
        {63, "Dane", 3600, 5520, 855, 615},
    };
    const QImage picture = scoring::CountyMapPicture();
    const Regions regions = WhiteRegions(picture);
    for (const Designed& d : designed) {
        const scoring::CountyLabelRect& rect = kCountyLabelRects[d.element];
        EXPECT_STREQ(rect.name, d.county);
        EXPECT_EQ(rect.left, d.left) << d.county;
        EXPECT_EQ(rect.top, d.top) << d.county;
        EXPECT_EQ(rect.width, d.width) << d.county;
        EXPECT_EQ(rect.height, d.height) << d.county;
        // The centre and the pixels round it: any rounding of the centre
        // stays in the county.
        const QPoint seed = LabelSeed(rect);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                EXPECT_EQ(regions.at(seed + QPoint(dx, dy)), regions.at(seed)) << d.county;
    }
    // Where the counties lie against each other: Kenosha is the south-east
    // corner, Milwaukee north of it, Dane west of both, Douglas the north-west.
    const QPoint kenosha = LabelSeed(kCountyLabelRects[55]);
    const QPoint milwaukee = LabelSeed(kCountyLabelRects[53]);
    const QPoint dane = LabelSeed(kCountyLabelRects[63]);
    const QPoint douglas = LabelSeed(kCountyLabelRects[0]);
    EXPECT_LT(milwaukee.y(), kenosha.y());
    EXPECT_LT(dane.x(), milwaukee.x());
    EXPECT_LT(douglas.x(), dane.x());
    EXPECT_LT(douglas.y(), dane.y());
}

TEST(CountyMapPicture, FloodFillStaysInsideItsRegion) {
    QImage image(5, 5, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 5; ++y) image.setPixel(2, y, kBlack);
    // A diagonal step between two black pixels does not let a 4-fill through.
    image.setPixel(2, 2, kWhite);
    image.setPixel(1, 2, kBlack);
    image.setPixel(3, 2, kBlack);
    scoring::FloodFillSurface(image, {0, 0}, QColor(10, 20, 30));
    EXPECT_EQ(image.pixel(0, 4), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(4, 0), kWhite);
    EXPECT_EQ(image.pixel(2, 2), kWhite);
    // A seed off the image fills nothing.
    const QImage before = image;
    scoring::FloodFillSurface(image, {7, 1}, QColor(1, 2, 3));
    EXPECT_EQ(image, before);
}

TEST(CountyMapWindow, FillsTheWorkedCountiesAndNothingElse) {
    for (int side : {0, 1}) {
        MainWindowFixture f(side);
        // "milwaukee" differs from its label only in case; "Toronto" is no
        // county of the table and colours nothing.
        f.WriteLog(CountyLog({"Dane", "milwaukee", "Toronto"}));
        f.Load();
        CountyMapWI map(f.program());
        map.Form_Load();
        EXPECT_EQ(map.windowTitle(), " Dudurozuz County Map");
        EXPECT_EQ(map.lblCounty[63]->toolTip(), "Dane");
        EXPECT_EQ(map.lblCounty[63]->text(), "");
        map.Timer1_Timer();
        EXPECT_FALSE(map.Timer1->isActive());

        const QImage plain = scoring::CountyMapPicture();
        const Regions regions = WhiteRegions(plain);
        const int dane = RegionOf(regions, "Dane");
        const int milwaukee = RegionOf(regions, "Milwaukee");
        const std::map<int, int> changed = ChangedPerRegion(plain, map.Picture(), regions);
        EXPECT_EQ(changed, (std::map<int, int>{{dane, RegionSize(regions, dane)},
                                               {milwaukee, RegionSize(regions, milwaukee)}}))
            << "side " << side;
        // Each county in one colour of its own, never white.
        const QRgb daneColour = map.Picture().pixel(LabelSeed(kCountyLabelRects[63]));
        const QRgb milwaukeeColour = map.Picture().pixel(LabelSeed(kCountyLabelRects[53]));
        EXPECT_NE(daneColour, milwaukeeColour);
        for (QRgb c : {daneColour, milwaukeeColour}) {
            EXPECT_LE(qRed(c), 253);
            EXPECT_LE(qGreen(c), 253);
            EXPECT_LE(qBlue(c), 253);
        }
        // What the window shows, drawn again from scratch, still holds the fills.
        const QImage shown = map.Picture1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.pixel(LabelSeed(kCountyLabelRects[63])), daneColour);
        EXPECT_EQ(shown.pixel(LabelSeed(kCountyLabelRects[0])), kWhite);
    }
}

TEST(CountyMapWindow, OnlyLabelsWithinTheCountyTableAreSearched) {
    MainWindowFixture f(0);
    f.WriteLog(CountyLog({"Douglas", "Dane"}));
    f.Load();
    // A county table of ten rows: labels 10 on (Dane is 63) are never searched.
    f.program().counties.CountyCount = 10;
    CountyMapWI map(f.program());
    map.Form_Load();
    map.Timer1_Timer();
    const QImage plain = scoring::CountyMapPicture();
    const Regions regions = WhiteRegions(plain);
    const int douglas = RegionOf(regions, "Douglas");
    EXPECT_EQ(ChangedPerRegion(plain, map.Picture(), regions),
              (std::map<int, int>{{douglas, RegionSize(regions, douglas)}}));
}

TEST(CountyMapWindow, NoCountiesWorkedShowsNoColour) {
    MainWindowFixture f(1);
    f.WriteLog("");
    f.Load();
    CountyMapWI map(f.program());
    map.Form_Load();
    map.Timer1_Timer();
    EXPECT_EQ(map.Picture(), scoring::CountyMapPicture());
}

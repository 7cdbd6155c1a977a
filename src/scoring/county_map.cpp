#include "scoring/county_map.h"

#include <QLabel>
#include <QPixmap>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/twips.h"
#include "program/main_window_proxy.h"
#include "program/program.h"
#include "setup/resize.h"

namespace scoring {

QImage CountyMapPicture() {
    QImage image(kCountyMapWidth, kCountyMapHeight, QImage::Format_RGB32);
    const QRgb colours[2] = {qRgb(255, 255, 255), qRgb(0, 0, 0)};
    std::size_t run = 0;
    for (int y = 0; y < kCountyMapHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        int x = 0;
        for (int colour = 0; x < kCountyMapWidth; colour = 1 - colour) {
            const int length = kCountyMapRuns.at(run++);
            for (int end = std::min(x + length, kCountyMapWidth); x < end; ++x) line[x] = colours[colour];
        }
    }
    return image;
}

void FloodFillSurface(QImage& image, QPoint seed, const QColor& fill) {
    if (!image.rect().contains(seed)) return;
    const QRgb surface = image.pixel(seed);
    const QRgb paint = fill.rgb();
    if (surface == paint) return;
    // Row spans: fill the run of surface pixels through each point taken,
    // then look above and below it for the runs still to fill.
    std::vector<QPoint> stack{seed};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(p.y()));
        if (line[p.x()] != surface) continue;
        int left = p.x();
        while (left > 0 && line[left - 1] == surface) --left;
        int right = p.x();
        while (right + 1 < image.width() && line[right + 1] == surface) ++right;
        for (int x = left; x <= right; ++x) line[x] = paint;
        for (int y : {p.y() - 1, p.y() + 1}) {
            if (y < 0 || y >= image.height()) continue;
            const auto* next = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool take = next[x] == surface;
                if (take && !inRun) stack.emplace_back(x, y);
                inRun = take;
            }
        }
    }
}

QPoint LabelSeed(double left, double top, double width, double height) {
    const double x = (left + width / 2) / platform::kTwipsPerPixel;
    const double y = (top + height / 2) / platform::kTwipsPerPixel;
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

QPoint LabelSeed(const CountyLabelRect& rect) {
    return LabelSeed(rect.left, rect.top, rect.width, rect.height);
}

CountyMapWI::CountyMapWI(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Dudurozuz County Map"));
    SetDesignClientSize(6900, 6825);
    picture_ = CountyMapPicture();
    // Within the client area, which the design's box overhangs by 2 px: the
    // map's 457 x 451 pixels fit either way.
    Picture1 = AddPictureBox(QStringLiteral("Picture1"), 0, 60, 6900, 6765);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (std::size_t i = 0; i < kCountyLabels; ++i) {
        const CountyLabelRect& r = kCountyLabelRects[i];
        lblCounty[i] = AddLabel(QStringLiteral("lblCounty(%1)").arg(i), QString::fromLatin1(r.name),
                                static_cast<float>(r.left), static_cast<float>(r.top),
                                static_cast<float>(r.width), static_cast<float>(r.height), Picture1);
    }
    Timer1 = AddTimer(QStringLiteral("Timer1"), 1);
    connect(Timer1, &QTimer::timeout, this, &CountyMapWI::Timer1_Timer);
    showPicture();
}

CountyMapWI::~CountyMapWI() = default;

void CountyMapWI::Form_Load() { Form_Load(platform::PrimaryScreenTwips()); }

void CountyMapWI::Form_Load(const platform::ScreenTwips& screen) {
    // Centred on the screen, not scaled.
    Left = static_cast<float>((screen.size.width() - Width) / 2);
    Top = static_cast<float>((screen.size.height() - Height) / 2);
    setup::KeepInWorkArea(*this, screen.workArea);
    setFixedSize(size());
    // The labels become invisible hot spots that name their county.
    for (QLabel* label : lblCounty) {
        label->setToolTip(label->text());
        label->setText(QString());
        label->setAutoFillBackground(false);
    }
    Timer1->start();
}

void CountyMapWI::Timer1_Timer() {
    Timer1->stop();
    if (program_.station.StationSide == 1)
        ColorWorkedCountiesOut();
    else
        ColorWorkedCountiesIn();
}

void CountyMapWI::ColorWorkedCountiesOut() { colorWorkedCounties(program_.form1().WorkedCountiesOut()); }

void CountyMapWI::ColorWorkedCountiesIn() { colorWorkedCounties(program_.form1().WorkedCountiesIn()); }

void CountyMapWI::colorWorkedCounties(const QStringList& worked) {
    // Only the labels of the first CountyCount elements are searched.
    const int searched = std::min<int>(program_.counties.CountyCount, static_cast<int>(kCountyLabels));
    // One generator seeded from the clock for the whole colouring, so that
    // counties filled within the same moment still get colours of their own.
    QRandomGenerator random(static_cast<quint32>(program_.clock().MonotonicMs()) ^
                            static_cast<quint32>(program_.clock().UtcNow().toMSecsSinceEpoch()));
    for (const QString& item : worked) {
        for (int i = 0; i < searched; ++i) {
            const std::size_t element = static_cast<std::size_t>(i);
            if (lblCounty[element]->toolTip().compare(item, Qt::CaseInsensitive) != 0) continue;
            const int red = static_cast<int>(random.generateDouble() * 254);
            const int green = static_cast<int>(random.generateDouble() * 254);
            const int blue = static_cast<int>(random.generateDouble() * 254);
            const platform::Control& label = Ctl(lblCounty[element]);
            FloodFillSurface(picture_, LabelSeed(label.Left, label.Top, label.Width, label.Height),
                             QColor(red, green, blue));
            break;
        }
    }
    showPicture();
}

void CountyMapWI::showPicture() { Picture1->setPixmap(QPixmap::fromImage(picture_)); }

}  // namespace scoring

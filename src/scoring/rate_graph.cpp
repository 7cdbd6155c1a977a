#include "scoring/rate_graph.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <cmath>
#include <vector>

#include "platform/colors.h"
#include "platform/dialogs.h"
#include "platform/twips.h"
#include "program/program.h"
#include "scoring/worked.h"
#include "setup/resize.h"

namespace scoring {

namespace {

constexpr std::array<const char*, kGraphBands> kBandCaptions = {"160", "80", "40", "20", "15", "10", "Other"};
// Colours as the design stores them (&HBBGGRR).
constexpr std::array<std::int32_t, kGraphBands> kBandStoredColours = {
    0xFFFFFF, 0xFF0000, 0x0000FF, 0x00FF00, 0xFFFF80, 0xFF00FF, 0x00FFFF};
const QColor kRateLine = platform::FromStoredColor(0xFF0000);
const QColor kGrey = platform::FromStoredColor(0x808080);

// The plot's left edge. The design has it at 480 twips; the value column
// beside it is made wide enough for a rate of four digits and a decimal
// ("3600.0") at the smallest screen the window is met at.
constexpr float kPlotLeft = 600;
constexpr float kPlotRight = 9240;

const QString kBlackCaption = QStringLiteral("Black Background");
const QString kWhiteCaption = QStringLiteral("White Background");

// The legend element of a band text: the six bands of their own, else "Other".
std::size_t BandElement(const QString& band) {
    for (std::size_t k = 0; k + 1 < kGraphBands; ++k)
        if (band.compare(QLatin1String(kBandCaptions[k]), Qt::CaseInsensitive) == 0) return k;
    return kGraphBands - 1;
}

// The system's date separator, from its short date format ("/" when it has none).
QString DateSeparator() {
    for (QChar c : QLocale::system().dateFormat(QLocale::ShortFormat))
        if (!c.isLetterOrNumber() && !c.isSpace()) return QString(c);
    return QStringLiteral("/");
}

// A whole number of slots or seconds, halves to the even neighbour.
long long RoundEven(double value) { return static_cast<long long>(std::nearbyint(value)); }

}  // namespace

std::optional<RateGraphTimes> ComputeRateGraphTimes(const logstore::ContactLog& log) {
    if (log.QSOCount < 1) return std::nullopt;
    const std::optional<QDateTime> first = ContactMoment(log.row(1));
    const std::optional<QDateTime> last = ContactMoment(log.row(log.QSOCount));
    if (!first || !last) return std::nullopt;
    const qint64 span = first->secsTo(*last);
    const QString separator = DateSeparator();
    RateGraphTimes axis;
    for (std::size_t i = 0; i < axis.times.size(); ++i) {
        const QDateTime moment = first->addSecs(RoundEven(static_cast<double>(i) * static_cast<double>(span) / 14));
        axis.times[i] = moment.toString(QStringLiteral("hh:mm"));
        axis.dates[i] = moment.toString(QStringLiteral("MM")) + separator + moment.toString(QStringLiteral("dd"));
    }
    return axis;
}

std::optional<RateGraphData> ComputeRateGraph(const logstore::ContactLog& log, const QColor& background,
                                              const std::array<QColor, kGraphBands>& bandColours) {
    const int count = log.QSOCount;
    if (count <= 6) return std::nullopt;
    std::vector<QDateTime> moments(static_cast<std::size_t>(count) + 1);
    for (int i = 1; i <= count; ++i) {
        std::optional<QDateTime> moment = ContactMoment(log.row(i));
        if (!moment) return std::nullopt;
        moments[static_cast<std::size_t>(i)] = *moment;
    }
    auto at = [&moments](int i) -> const QDateTime& { return moments[static_cast<std::size_t>(i)]; };

    RateGraphData g;
    g.colour.fill(background);
    const QDateTime first = at(1);
    const qint64 span = first.secsTo(at(count));
    if (span == 0) return std::nullopt;
    const RateGraphTimes axis = *ComputeRateGraphTimes(log);
    g.times = axis.times;
    g.dates = axis.dates;

    const double slotLength = static_cast<double>(span) / kRateSlots;
    g.raw[1] = 6;
    g.smoothed[1] = 6;
    for (int i = 1; i <= count; ++i) {
        // Contacts of the ten minutes up to this one, counted back in log order.
        int recent = 0;
        for (int j = i; j >= 1 && at(j).secsTo(at(i)) < 600; --j) ++recent;
        const long long slot = i == 1 ? 1 : RoundEven(static_cast<double>(first.secsTo(at(i))) / slotLength);
        if (slot < 0 || slot >= static_cast<long long>(kRateSlotArray)) return std::nullopt;
        const auto s = static_cast<std::size_t>(slot);
        g.raw[s] = static_cast<float>(6 * recent);
        g.colour[s] = bandColours[BandElement(log.row(i).QSOBand)];
    }

    // Gaps of up to 15 slots before a contact ramp up (or down) to it.
    for (std::size_t i = 2; i <= kRateSlots; ++i) {
        if (g.raw[i] != 0) {
            g.smoothed[i] = g.raw[i];
            continue;
        }
        for (std::size_t k = i + 1; k <= i + 15; ++k) {
            if (g.raw[k] <= 0) continue;
            const float slope = (g.raw[k] - g.raw[i - 1]) / static_cast<float>(k - i);
            const float start = g.raw[i - 1];
            for (std::size_t m = i; m < k; ++m) {
                g.smoothed[m] = start + static_cast<float>(m - i) * slope;
                g.raw[m] = g.smoothed[m];
            }
            break;
        }
    }

    // The mean of the non-zero rates of the last seven slots.
    for (std::size_t i = 7; i <= kRateSlots; ++i) {
        double sum = 0;
        int taken = 0;
        for (std::size_t m = i - 6; m <= i; ++m)
            if (g.raw[m] > 0) {
                sum += g.raw[m];
                ++taken;
            }
        if (taken > 0) g.smoothed[i] = static_cast<float>(sum / taken);
    }

    g.smallest = g.smoothed[1];
    g.largest = g.smoothed[1];
    for (std::size_t i = 1; i <= kRateSlots; ++i) {
        g.smallest = std::min(g.smallest, g.smoothed[i]);
        g.largest = std::max(g.largest, g.smoothed[i]);
    }
    // A rate that never changes gives no vertical scale.
    if (g.largest == g.smallest) return std::nullopt;

    // A slot drawn without a band colour of its own takes the one before it.
    QColor carried(Qt::black);
    for (std::size_t i = 1; i <= kRateSlots; ++i) {
        if (g.smoothed[i] > 0) {
            if (g.colour[i] == background)
                g.colour[i] = carried;
            else
                carried = g.colour[i];
        } else {
            carried = background;
        }
    }

    for (std::size_t i = 0; i < g.values.size(); ++i) {
        const float v = g.smallest + static_cast<float>(i) * (g.largest - g.smallest) / 16;
        g.values[i] = QString::number(static_cast<double>(i == 16 ? g.largest : v), 'f', 1);
    }
    return g;
}

GraphQSO::GraphQSO(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    SetDesignClientSize(9465, 6825);
    buildControls();
    Apply();
    paintCanvas();
}

GraphQSO::~GraphQSO() = default;

void GraphQSO::buildControls() {
    Line1 = AddLine(QStringLiteral("Line1"), kPlotLeft, 120, kPlotRight, 120);
    Line2 = AddLine(QStringLiteral("Line2"), kPlotLeft, 5880, kPlotRight, 5880);
    Line3 = AddLine(QStringLiteral("Line3"), kPlotRight, 120, kPlotRight, 5880);
    Line4 = AddLine(QStringLiteral("Line4"), kPlotLeft, 120, kPlotLeft, 5880);
    for (platform::LineControl* edge : {Line1, Line2, Line3, Line4}) edge->SetColor(Qt::white);
    const std::array<int, 15> gridNumbers = {5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    for (std::size_t k = 0; k < gridLines.size(); ++k) {
        const float y = 5520 - 360 * static_cast<float>(k);
        gridLines[k] = AddLine(QStringLiteral("Line%1").arg(gridNumbers[k]), kPlotLeft, y, kPlotRight, y);
        gridLines[k]->SetColor(kGrey);
    }
    Line8 = AddLine(QStringLiteral("Line8"), kPlotLeft, 5900, kPlotRight, 5900);
    Line9 = AddLine(QStringLiteral("Line9"), kPlotLeft, 6000, kPlotRight, 6000);
    Line8->hide();
    Line9->hide();

    for (std::size_t i = 0; i < lblY.size(); ++i) {
        const float top = 5740 - static_cast<float>(i) * (5740 - 30) / 16;
        lblY[i] = AddLabel(QStringLiteral("lblY(%1)").arg(i), QStringLiteral("0"), 0, top, kPlotLeft - 30, 240);
        lblY[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (std::size_t i = 0; i < lblTime.size(); ++i) {
        const float centre = kPlotLeft + static_cast<float>(i) * (kPlotRight - kPlotLeft) / 14;
        // Centred under their moments; the last one, at the window's edge,
        // takes the room between the one before and the edge.
        const float before = kPlotLeft + static_cast<float>(i) * (kPlotRight - kPlotLeft) / 14 - (kPlotRight - kPlotLeft) / 14.0f + 300;
        const float left = centre + 300 > 9465.0f ? before : centre - 300;
        const float width = std::min(600.0f, 9465.0f - left);
        lblTime[i] = AddLabel(QStringLiteral("lblTime(%1)").arg(i), QStringLiteral("00:00"), left, 6040, width, 220);
        lblDate[i] = AddLabel(QStringLiteral("lblDate(%1)").arg(i), QStringLiteral("MM/DD"), left, 6260, width, 220);
        lblTime[i]->setAlignment(Qt::AlignCenter);
        lblDate[i]->setAlignment(Qt::AlignCenter);
    }
    Label1 = AddLabel(QStringLiteral("Label1"), QStringLiteral("Band "), 480, 6540, 540, 240);
    for (std::size_t k = 0; k < kGraphBands; ++k) {
        lblBnd[k] = AddLabel(QStringLiteral("lblBnd(%1)").arg(k), QString::fromLatin1(kBandCaptions[k]),
                             1020 + 540 * static_cast<float>(k), 6540, 500, 240);
        platform::SetForeColor(lblBnd[k], platform::FromStoredColor(kBandStoredColours[k]));
    }
    for (QLabel* label : lblY) platform::SetForeColor(label, Qt::white);
    for (QLabel* label : lblTime) platform::SetForeColor(label, Qt::white);
    for (QLabel* label : lblDate) platform::SetForeColor(label, Qt::white);
    platform::SetForeColor(Label1, Qt::white);

    Command1 = AddCommandButton(QStringLiteral("Command1"), kBlackCaption, 7440, 6480, 1800, 315);
    connect(Command1, &QPushButton::clicked, this, &GraphQSO::Command1_Click);
}

std::array<platform::LineControl*, 21> GraphQSO::allLines() const {
    std::array<platform::LineControl*, 21> lines{};
    std::size_t n = 0;
    for (platform::LineControl* line : {Line1, Line2, Line3, Line4, Line8, Line9}) lines[n++] = line;
    for (platform::LineControl* line : gridLines) lines[n++] = line;
    return lines;
}

void GraphQSO::Form_Load() { Form_Load(platform::PrimaryScreenTwips()); }

void GraphQSO::Form_Load(QSizeF workAreaTwips, double screenWidthTwips) {
    Form_Load({QSizeF(screenWidthTwips, workAreaTwips.height()), QRectF(QPointF(0, 0), workAreaTwips)});
}

void GraphQSO::Form_Load(const platform::ScreenTwips& screen) {
    setup::ScaleToArea(*this, screen.workArea.size(), screen.size.width(), 2);
    // The design is a little taller than the design screen: kept on the
    // work area, title bar and all.
    setup::KeepInWorkArea(*this, screen.workArea);
    DrawRateGraph();
}

void GraphQSO::DrawRateGraph() {
    if (program_.log.QSOCount <= 6) {
        program_.dialogs().MsgBox(
            QStringLiteral("The graph will not display with less than 7 contacts.  The graph becomes more "
                           "meaningful as several hours of contest logging are accumulated."),
            platform::vbOKOnly, QStringLiteral("Not Enough Contacts to Graph."));
        return;
    }
    std::array<QColor, kGraphBands> bandColours;
    for (std::size_t k = 0; k < kGraphBands; ++k) bandColours[k] = platform::ForeColor(lblBnd[k]);
    // The times along the bottom stand once the first and last contact
    // read, whatever stops the graph after that.
    if (const std::optional<RateGraphTimes> axis = ComputeRateGraphTimes(program_.log)) {
        for (std::size_t i = 0; i < lblTime.size(); ++i) {
            lblTime[i]->setText(axis->times[i]);
            lblDate[i]->setText(axis->dates[i]);
        }
    }
    // The graph is computed whole first: a log that cannot be graphed leaves
    // nothing half drawn.
    graph_ = ComputeRateGraph(program_.log, background_, bandColours);
    if (graph_) {
        for (std::size_t i = 0; i < lblY.size(); ++i) lblY[i]->setText(graph_->values[i]);
    }
    paintCanvas();
}

void GraphQSO::paintCanvas() {
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(background_);
    if (graph_) {
        const RateGraphData& g = *graph_;
        QPainter painter(&canvas);
        // The design's twips, as the controls now stand, onto the pixels.
        painter.scale(1 / platform::kTwipsPerPixel, 1 / platform::kTwipsPerPixel);
        const double left = Ctl(Line4).X1;
        const double bottom = Ctl(Line2).Y1;
        const double step = (Ctl(Line3).X1 - left) / kRateSlots;
        const double plotHeight = bottom - Ctl(Line1).Y1;
        const double scale = plotHeight / static_cast<double>(g.largest - g.smallest) * 0.995;
        const double stripTop = Ctl(Line8).Y1;
        const double stripBottom = Ctl(Line9).Y1;
        auto x = [&](std::size_t n) { return left + 10 + (static_cast<double>(n) - 2) * step; };
        auto y = [&](float v) {
            return bottom - scale * static_cast<double>(v - g.smallest) - 0.0025 * plotHeight;
        };
        QPen pen(kRateLine);
        pen.setCosmetic(true);
        for (std::size_t i = 1; i <= kRateSlots; ++i) {
            const float previous = i == 1 ? 0.0f : g.smoothed[i - 1];
            painter.setPen(pen);
            painter.drawLine(QPointF(x(i - 1), y(previous)), QPointF(x(i), y(g.smoothed[i])));
            if (g.smoothed[i] > 0 || previous > 0)
                painter.fillRect(QRectF(QPointF(x(i - 1), stripTop), QPointF(x(i), stripBottom)), g.colour[i]);
        }
    }
    canvas_ = canvas;
    update();
}

void GraphQSO::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
}

void GraphQSO::Command1_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool toBlack = Command1->text() != kBlackCaption;
    Command1->setText(toBlack ? kBlackCaption : kWhiteCaption);
    background_ = toBlack ? QColor(Qt::black) : QColor(Qt::white);
    const QColor fore = toBlack ? QColor(Qt::white) : QColor(Qt::black);
    for (QLabel* label : lblDate) platform::SetForeColor(label, fore);
    for (QLabel* label : lblTime) platform::SetForeColor(label, fore);
    for (QLabel* label : lblY) platform::SetForeColor(label, fore);
    platform::SetForeColor(Label1, fore);
    for (platform::LineControl* line : allLines()) line->SetColor(fore);
    DrawRateGraph();
    QApplication::restoreOverrideCursor();
}

}  // namespace scoring

#include "spotting/spot_maps.h"

#include <QMouseEvent>
#include <QPalette>
#include <cmath>
#include <limits>

#include "platform/clock.h"
#include "platform/form.h"

namespace spotting {

QString ScaleCaption(double mhz) {
    // nearbyint rounds to the even neighbour at exactly one half.
    const double thousandths = std::nearbyint(mhz * 1000.0);
    QString text = QString::number(thousandths / 1000.0, 'f', 3);
    if (text == QStringLiteral("-0.000")) text = QStringLiteral("0.000");
    if (text.startsWith(QStringLiteral("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QStringLiteral("-0.")))
        text.remove(1, 1);
    return text;
}

float CaptionValue(const QString& caption) {
    bool ok = false;
    const double value = caption.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? static_cast<float>(value) : 0.0f;
}

std::array<QString, 5> ScaleCaptions(BandEdges edges) {
    std::array<QString, 5> captions;
    const double lo = edges.lo;
    const double hi = edges.hi;
    for (std::size_t k = 0; k < captions.size(); ++k)
        captions[k] = ScaleCaption(lo + (hi - lo) * 0.25 * static_cast<double>(k));
    return captions;
}

void ZoomToSpots(const DXSpotStore& store, BandEdges& edges) {
    float mn = edges.hi;
    float mx = edges.lo;
    for (std::size_t s = 1; s <= kNewestSlot; ++s) {
        const float f = store.DXSpotFreq[s];
        if (!InsideBand(f, edges)) continue;
        mn = std::min(mn, f);
        mx = std::max(mx, f);
    }
    if (mx > mn) {
        edges.hi = static_cast<float>(static_cast<double>(mx) + 0.001);
        edges.lo = static_cast<float>(static_cast<double>(mn) - 0.001);
    }
}

std::int64_t SpotAge(const DXSpotStore& store, int slot, const platform::Clock& clock) {
    if (slot < 0 || slot >= kSpotSlots) return std::numeric_limits<std::int64_t>::max();
    if (!store.DXSpotTime[static_cast<std::size_t>(slot)].isValid())
        return std::numeric_limits<std::int64_t>::max();
    return store.AgeSeconds(slot, clock);
}

std::optional<QColor> SpotAgeColour(std::int64_t ageSeconds) {
    if (ageSeconds < 600) return QColor(255, 255, 128);
    if (ageSeconds < 1800) return QColor(255, 255, 255);
    if (ageSeconds < kSpotShownSeconds) return QColor(192, 192, 192);
    return std::nullopt;
}

QString SpotTooltip(const DXSpotStore& store, int slot) {
    const auto i = static_cast<std::size_t>(slot);
    return store.DXSpotCall[i] + QStringLiteral("  ") + ScaleCaption(store.DXSpotFreq[i]) +
           QStringLiteral("  ") + store.DXSpotTime[i].toString(QStringLiteral("HH:mm:ss"));
}

SpotLabel::SpotLabel(int slot, QWidget* parent) : QLabel(parent), slot_(slot) {
    // The mouse moving over the label is reported without a button held.
    setMouseTracking(true);
}

void SpotLabel::SetTextColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

QColor SpotLabel::textColour() const { return palette().color(QPalette::WindowText); }

void SpotLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (onMouseDown) onMouseDown(slot_, event->button());
}

void SpotLabel::mouseMoveEvent(QMouseEvent* event) {
    // Taken here, so the window beneath does not see the move as its own.
    event->accept();
    if (onMouseMove) onMouseMove(slot_);
}

void SetUpMapLabel(platform::Form& form, QLabel* label, const QColor& colour) {
    platform::FontModel font;
    font.Name = QString::fromLatin1(kMapLabelFont);
    font.Size = kMapLabelPoints;
    form.SetFont(label, font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    label->setAutoFillBackground(false);
    label->hide();
}

void ShowOnly(const SpotLabels& labels, const ShownSlots& shown) {
    for (std::size_t slot = 0; slot < labels.size(); ++slot)
        if (labels[slot]->isHidden() == shown[slot]) labels[slot]->setVisible(shown[slot]);
}

}  // namespace spotting

#include "spotting/band_map.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <exception>

#include "platform/form.h"
#include "platform/key_adapter.h"
#include "program/program.h"
#include "setup/station.h"

namespace spotting {

namespace {


// Spot and scale labels, twips at the design size.
constexpr float kSpotLabelWidth = 600;
constexpr float kSpotLabelHeight = 255;
constexpr float kScaleLabelWidth = 615;
constexpr float kScaleLabelHeight = 255;

}  // namespace

BandEdges BandMapEdges(const QString& band) {
    struct Band {
        const char* code;
        BandEdges edges;
    };
    static const Band kBands[] = {
        {"160", {1.8f, 2.0f}},   {"80", {3.5f, 4.0f}},      {"40", {7.0f, 7.3f}},
        {"20", {14.0f, 14.35f}}, {"15", {21.0f, 21.45f}},   {"10", {28.0f, 29.7f}},
        {"6", {50.0f, 54.0f}},   {"2", {144.0f, 148.0f}},   {"222", {219.0f, 225.0f}},
        {"432", {420.0f, 450.0f}},
    };
    for (const Band& b : kBands)
        if (band == QLatin1String(b.code)) return b.edges;
    return {};
}

void BandMapPanel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (afterDoubleClick_) {
        afterDoubleClick_ = false;
        return;
    }
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

void BandMapPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    afterDoubleClick_ = true;
    if (event->button() == Qt::LeftButton && onDoubleClick) onDoubleClick();
}

BandMap::BandMap(platform::Form& window, Program& program, QLineEdit* txtCall, QLabel* lblDupe,
                 QRectF panel)
    : window_(window), program_(program), txtCall_(txtCall), lblDupe_(lblDupe) {
    lblDX = new BandMapPanel(&window);
    window.Register(platform::ControlKind::Label, QStringLiteral("lblDX"), lblDX,
                    static_cast<float>(panel.left()), static_cast<float>(panel.top()),
                    static_cast<float>(panel.width()), static_cast<float>(panel.height()));
    lblDX->setAutoFillBackground(true);
    QPalette back = lblDX->palette();
    back.setColor(QPalette::Window, kMapNavy);
    lblDX->setPalette(back);
    lblDX->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblDX->hide();

    // Until the spot panel first lays it out, the axis runs through the
    // middle of the panel and the labels stand at its left end.
    const auto left = static_cast<float>(panel.left());
    const auto middle = static_cast<float>(panel.top() + panel.height() / 2);
    LineDX = window.AddLine(QStringLiteral("LineDX"), left + kSpotLabelWidth / 2, middle,
                            static_cast<float>(panel.right()) - kSpotLabelWidth / 2, middle);
    LineDX->SetColor(Qt::white);
    LineDX->hide();
    for (std::size_t k = 0; k < lblFreqSpot.size(); ++k) {
        lblFreqSpot[k] = window.AddLabel(QStringLiteral("lblFreqSpot(%1)").arg(k), QString(), left,
                                         middle, kScaleLabelWidth, kScaleLabelHeight);
        SetUpMapLabel(window, lblFreqSpot[k], Qt::white);
    }
    for (std::size_t i = 0; i < lblDXSpot.size(); ++i) {
        const int slot = static_cast<int>(i);
        auto* label = new SpotLabel(slot, &window);
        window.Register(platform::ControlKind::Label, QStringLiteral("lblDXSpot(%1)").arg(slot),
                        label, left, middle - kSpotLabelHeight, kSpotLabelWidth, kSpotLabelHeight);
        label->setText(QStringLiteral("DXLBL"));
        SetUpMapLabel(window, label, Qt::white);
        label->onMouseDown = [this](int index, Qt::MouseButton button) {
            lblDXSpot_MouseDown(index, button);
        };
        label->onMouseMove = [this](int index) { lblDXSpot_MouseMove(index); };
        lblDXSpot[i] = label;
    }
}

bool BandMap::Shows() const { return !lblDX->isHidden(); }

std::vector<QWidget*> BandMap::Widgets() const {
    std::vector<QWidget*> widgets{lblDX, LineDX};
    widgets.insert(widgets.end(), lblFreqSpot.begin(), lblFreqSpot.end());
    widgets.insert(widgets.end(), lblDXSpot.begin(), lblDXSpot.end());
    return widgets;
}

void BandMap::SetShown(bool shown) {
    lblDX->setVisible(shown);
    LineDX->setVisible(shown);
    for (QLabel* label : lblFreqSpot) label->setVisible(shown);
    if (!shown)
        for (QLabel* label : lblDXSpot) label->hide();
}

void BandMap::SetBandMapScale() {
    try {
        BandEdges edges = BandMapEdges(program_.station.CurrentBand);
        ZoomToSpots(program_.spotStore, edges);
        const std::array<QString, 5> captions = ScaleCaptions(edges);
        for (std::size_t k = 0; k < lblFreqSpot.size(); ++k) lblFreqSpot[k]->setText(captions[k]);
    } catch (const std::exception&) {
        // The labels keep what they got.
    }
}

void BandMap::DisplayBandMapLabels() {
    if (!Shows()) return;
    // Which labels the redraw shows; only those whose visibility changes
    // are shown or hidden, at the end.
    ShownSlots shown{};
    try {
        SetBandMapScale();
        const DXSpotStore& store = program_.spotStore;
        const platform::Control& line = window_.Ctl(LineDX);
        const BandEdges scale{CaptionValue(lblFreqSpot.front()->text()),
                              CaptionValue(lblFreqSpot.back()->text())};
        for (int i = kNewestSlot; i >= 0; --i) {
            const auto slot = static_cast<std::size_t>(i);
            const float f = store.DXSpotFreq[slot];
            if (!InsideBand(f, scale)) continue;
            SpotLabel* label = lblDXSpot[slot];
            platform::Control& c = window_.Ctl(label);
            const QString tip = SpotTooltip(store, i);
            if (label->toolTip() != tip) label->setToolTip(tip);
            label->setText(store.DXSpotLabel[slot]);
            c.Top = line.Y1 - c.Height - 0.004f * window_.Height;
            c.Left = line.X1 + (f - scale.lo) / (scale.hi - scale.lo) * (line.X2 - line.X1) -
                     c.Width / 2;
            window_.Apply(c);
            // Slots are in arrival order: from the first spot an hour old,
            // every lower slot is older still.
            const std::optional<QColor> colour = SpotAgeColour(SpotAge(store, i, program_.clock()));
            if (!colour) break;
            if (label->textColour() != *colour) label->SetTextColour(*colour);
            shown[slot] = true;
        }
    } catch (const std::exception&) {
        // Labels done keep what they got; the others are hidden.
    }
    ShowOnly(lblDXSpot, shown);
}

void BandMap::RefreshBandMap() {
    if (Shows()) DisplayBandMapLabels();
}

void BandMap::lblDXSpot_MouseDown(int index, Qt::MouseButton button) {
    if (index < 0 || index > kNewestSlot) return;
    const auto slot = static_cast<std::size_t>(index);
    DXSpotStore& store = program_.spotStore;
    if (button == Qt::RightButton) {
        // Call and frequency are taken first: tuning lets other events run,
        // and a spot arriving meanwhile shifts the slots.
        const QString call = store.DXSpotCall[slot];
        const float mhz = store.DXSpotFreq[slot];
        program_.TuneToSpot(mhz);
        txtCall_->setFocus();
        txtCall_->setText(call);
        platform::KeyAdapter::SendTab();
        return;
    }
    store.RemoveSpot(index);
    DisplayBandMapLabels();
}

void BandMap::lblDXSpot_MouseMove(int index) {
    if (index < 0 || index > kNewestSlot) return;
    lblDupe_->setText(lblDXSpot[static_cast<std::size_t>(index)]->toolTip());
}

}  // namespace spotting

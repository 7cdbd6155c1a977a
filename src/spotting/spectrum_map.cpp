#include "spotting/spectrum_map.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <algorithm>
#include <exception>

#include "mainwindow/form1.h"
#include "mainwindow/main_window.h"
#include "platform/twips.h"
#include "program/program.h"
#include "setup/resize.h"

namespace spotting {

const std::array<SpectrumBand, kSpectrumBandCount> SpectrumBands = {{
    {"160 m", {1.8f, 2.0f}},
    {"80 m", {3.5f, 4.0f}},
    {"40 m", {7.0f, 7.3f}},
    {"30 m", {10.1f, 10.15f}},
    {"20 m", {14.0f, 14.35f}},
    {"17 m", {18.068f, 18.168f}},
    {"15 m", {21.0f, 21.45f}},
    {"12 m", {24.89f, 24.99f}},
    {"10 m", {28.0f, 29.7f}},
    {"6 m", {50.0f, 54.0f}},
    {"2 m", {144.0f, 148.0f}},
}};

int SpectrumBandOf(float mhz) {
    for (std::size_t b = 0; b < SpectrumBands.size(); ++b)
        if (InsideBand(mhz, SpectrumBands[b].edges)) return static_cast<int>(b);
    return -1;
}

namespace {

constexpr float kBandPitch = 600;
// The window's design size and the screen it was designed for, twips.
constexpr float kDesignClientWidth = 9480;
constexpr float kDesignClientHeight = 6795;
constexpr double kDesignScreenWidth = 9600;
constexpr double kDesignScreenHeight = 7200;
constexpr double kMaxFontGrowth = 1.5;
// Tick labels stand this share of the window's height below their line.
constexpr float kTickGap = 0.004f;
// The tick labels are read at a glance: the system's default size rather
// than the spot labels' small face.
constexpr float kTickPoints = 8.25f;
// The strips' border, twips: the tick labels stand inside it.
constexpr float kStripBorder = 15;

}  // namespace

SpectrumMap::SpectrumMap(Program& program)
    : SpectrumMap(program, platform::ScreenSizeTwips(), platform::WorkAreaTwips()) {}

SpectrumMap::SpectrumMap(Program& program, QSizeF screenTwips, QSizeF workAreaTwips)
    : program_(program) {
    setWindowTitle(QStringLiteral(" HF Spectrum Map"));
    // A fixed single border: no resizing, no minimize or maximize button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    SetDesignClientSize(kDesignClientWidth, kDesignClientHeight);
    buildControls();
    Apply();
    Form_Load(screenTwips, workAreaTwips);
}

void SpectrumMap::buildControls() {
    for (std::size_t b = 0; b < kSpectrumBandCount; ++b) {
        const float y = static_cast<float>(b) * kBandPitch;
        QLabel* strip = AddLabel(QStringLiteral("lblHFSpots(%1)").arg(b), QString(), 120, 120 + y, 9255, 495);
        strip->setAutoFillBackground(true);
        QPalette back = strip->palette();
        back.setColor(QPalette::Window, kMapNavy);
        strip->setPalette(back);
        strip->setFrameStyle(QFrame::Box | QFrame::Plain);
        lblHFSpots[b] = strip;
    }
    for (std::size_t b = 0; b < kSpectrumBandCount; ++b) {
        const float y = 360 + static_cast<float>(b) * kBandPitch;
        lineHF[b] = AddLine(QStringLiteral("lineHF(%1)").arg(b), 360, y, 9120, y);
        lineHF[b]->SetColor(Qt::white);
    }
    for (std::size_t t = 0; t < lblFreqSpot.size(); ++t) {
        const float height = (t == 0 || t == 2 || t == 3) ? 180 : 255;
        const float y = 360 + static_cast<float>(t / kTicksPerBand) * kBandPitch;
        lblFreqSpot[t] = AddLabel(QStringLiteral("lblFreqSpot(%1)").arg(t), QString(), 360, y, 615, height);
        SetUpMapLabel(*this, lblFreqSpot[t], Qt::white);
        SetFontSize(lblFreqSpot[t], kTickPoints);
    }
    for (std::size_t i = 0; i < lblDXSpot.size(); ++i) {
        const int slot = static_cast<int>(i);
        auto* label = new SpotLabel(slot, this);
        Register(platform::ControlKind::Label, QStringLiteral("lblDXSpot(%1)").arg(slot), label, 360,
                 180, 600, 180);
        label->setText(QStringLiteral("DXLBL"));
        SetUpMapLabel(*this, label, Qt::white);
        label->onMouseDown = [this](int index, Qt::MouseButton button) {
            lblDXSpot_MouseDown(index, button);
        };
        lblDXSpot[i] = label;
    }
}

void SpectrumMap::Form_Load(QSizeF screenTwips, QSizeF workAreaTwips) {
    try {
        const double sx = screenTwips.width() / kDesignScreenWidth;
        const double sy = screenTwips.height() / kDesignScreenHeight;
        Width = static_cast<float>(Width * sx);
        Height = static_cast<float>(Height * sy);
        setup::ScaleControls(*this, {.x = sx,
                                     .y = sy,
                                     .font = static_cast<float>(std::min(sx, kMaxFontGrowth)),
                                     .keepComboHeight = false,
                                     .fontName = {}});
        // The newest spot lies on top of any it overlaps.
        lblDXSpot.back()->raise();
        ScaleBandLabels();
        for (QLabel* tick : lblFreqSpot) tick->show();
        FitToWorkArea(workAreaTwips);
        setFixedSize(size());
    } catch (const std::exception&) {
        // The window opens with the layout done so far.
    }
}

void SpectrumMap::FitToWorkArea(QSizeF workAreaTwips) {
    const float h0 = Height;
    const float w0 = Width;
    if (workAreaTwips.width() > 0 && workAreaTwips.height() > 0) {
        Width = static_cast<float>(workAreaTwips.width());
        Height = static_cast<float>(workAreaTwips.height());
    }
    // The screen's top-left corner, whatever the work area's own origin.
    Left = 0;
    Top = 0;
    // Positions and sizes follow the window; the fonts keep their scale.
    setup::ScaleControls(*this, {.x = static_cast<double>(Width) / w0,
                                 .y = static_cast<double>(Height) / h0,
                                 .font = 1,
                                 .keepComboHeight = false,
                                 .fontName = {}});
}

void SpectrumMap::ScaleBandLabels() {
    for (std::size_t b = 0; b < kSpectrumBandCount; ++b) {
        BandEdges edges = SpectrumBands[b].edges;
        ZoomToSpots(program_.spotStore, edges);
        const std::array<QString, 5> captions = ScaleCaptions(edges);
        const platform::Control& line = Ctl(lineHF[b]);
        for (std::size_t i = 0; i < kTicksPerBand; ++i) {
            QLabel* tick = lblFreqSpot[b * kTicksPerBand + i];
            tick->setText(captions[i]);
            platform::Control& c = Ctl(tick);
            // Centred under its quarter point, as wide as its caption, and
            // on its strip: the end ticks move in as far as they must to
            // stay inside the strip's border, and each reaches down to it.
            const platform::Control& strip = Ctl(lblHFSpots[b]);
            const float inLeft = strip.Left + kStripBorder;
            const float inRight = strip.Left + strip.Width - kStripBorder;
            const auto textWidth = static_cast<float>(
                platform::PixelsToTwips(tick->fontMetrics().horizontalAdvance(captions[i]) + 4));
            c.Width = std::min(textWidth, inRight - inLeft);
            c.Top = line.Y1 + kTickGap * Height;
            c.Height = strip.Top + strip.Height - kStripBorder - c.Top;
            const float centred = line.X1 + (line.X2 - line.X1) * static_cast<float>(i) * 0.25f - c.Width / 2;
            c.Left = std::clamp(centred, inLeft, inRight - c.Width);
            Apply(c);
        }
    }
}

void SpectrumMap::BandMapLabelDisplay() {
    setCursor(Qt::WaitCursor);
    // Which labels the redraw shows; only those whose visibility changes
    // are shown or hidden, at the end.
    ShownSlots shown{};
    try {
        ScaleBandLabels();
        const DXSpotStore& store = program_.spotStore;
        for (int i = kNewestSlot; i >= 0; --i) {
            const auto slot = static_cast<std::size_t>(i);
            SpotLabel* label = lblDXSpot[slot];
            bool placed = false;
            const QString tip = SpotTooltip(store, i);
            if (label->toolTip() != tip) label->setToolTip(tip);
            label->setText(store.DXSpotLabel[slot]);
            const float f = store.DXSpotFreq[slot];
            const int b = SpectrumBandOf(f);
            if (b >= 0) {
                const auto band = static_cast<std::size_t>(b);
                const platform::Control& line = Ctl(lineHF[band]);
                platform::Control& c = Ctl(label);
                const float lo = CaptionValue(lblFreqSpot[band * kTicksPerBand]->text());
                const float hi = CaptionValue(lblFreqSpot[band * kTicksPerBand + 4]->text());
                c.Top = line.Y1 - c.Height;
                c.Left = (f - lo) / (hi - lo) * (line.X2 - line.X1) + line.X1 - c.Width / 2;
                Apply(c);
                placed = true;
            }
            // Slots are in arrival order: from the first spot an hour old,
            // every lower slot is older still.
            const std::optional<QColor> colour = SpotAgeColour(SpotAge(store, i, program_.clock()));
            if (!colour) break;
            if (label->textColour() != *colour) label->SetTextColour(*colour);
            shown[slot] = placed;
        }
    } catch (const std::exception&) {
        // Labels done keep what they got; the others are hidden.
    }
    ShowOnly(lblDXSpot, shown);
    unsetCursor();
}

void SpectrumMap::lblDXSpot_MouseDown(int index, Qt::MouseButton button) {
    if (index < 0 || index > kNewestSlot) return;
    const auto slot = static_cast<std::size_t>(index);
    DXSpotStore& store = program_.spotStore;
    if (button != Qt::RightButton) {
        store.RemoveSpot(index);
        BandMapLabelDisplay();
        return;
    }
    // Call and frequency are taken first: tuning lets other events run, and
    // a spot arriving meanwhile shifts the slots.
    const float mhz = store.DXSpotFreq[slot];
    const QString call = store.DXSpotCall[slot];
    program_.TuneToSpot(mhz);
    mainwindow::MainWindow* window = program_.form1().target();
    if (window) window->entry().txtCall->setText(call);
    hide();
    if (window) window->entry().txtCall->setFocus();
}

void SpectrumMap::Form_Activate() { BandMapLabelDisplay(); }

void SpectrumMap::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
    platform::Form::changeEvent(event);
}

void SpectrumMap::showEvent(QShowEvent* event) {
    // Shown: drawn from the store at once, whether or not the window system
    // makes it the active window.
    platform::Form::showEvent(event);
    Form_Activate();
}

}  // namespace spotting

#include "spotting/spot_panel.h"

#include <QLabel>
#include <QTreeWidget>
#include <algorithm>
#include <exception>

#include "platform/form.h"
#include "platform/same_text.h"
#include "program/main_window_proxy.h"
#include "program/program.h"

namespace spotting {

namespace {

constexpr float kShrink = 0.9f;
constexpr float kGrow = 1.1111111f;
// Share of the window's outer width left of the panel, and its width.
constexpr float kPanelLeft = 0.01f;
constexpr float kPanelWidth = 0.97f;
// Gap between the axis and the scale labels, share of the window's height.
constexpr float kScaleGap = 0.004f;

// The kinds the panel's layout shrinks by their top and height.
bool HasBox(platform::ControlKind kind) {
    using platform::ControlKind;
    return kind == ControlKind::Label || kind == ControlKind::TextBox ||
           kind == ControlKind::CommandButton || kind == ControlKind::ListBox ||
           kind == ControlKind::ListView;
}

// What a value became when the panel shrank it: restored exactly while it
// still holds that, else grown back by the inverse factor.
float Restored(float now, float shrunk, float before) { return now == shrunk ? before : now * kGrow; }

}  // namespace

struct SpotPanel::Saved {
    platform::Control* control;
    // Top and height, or a line's Y1 and Y2: before and after shrinking.
    float a0, b0, a1, b1;
};

SpotPanel::SpotPanel(platform::Form& window, Program& program, QTreeWidget* txtDX,
                     QLineEdit* txtCall, QLabel* lblDupe, std::function<void()> fitCountyLists)
    : window_(window),
      program_(program),
      txtDX_(txtDX),
      fitCountyLists_(std::move(fitCountyLists)),
      bandMap_(window, program, txtCall, lblDupe, [&] {
          const platform::Control& list = window.Ctl(txtDX);
          return QRectF(list.Left, list.Top, list.Width, list.Height);
      }()) {}

SpotPanel::~SpotPanel() = default;

bool SpotPanel::ListShows() const { return !txtDX_->isHidden(); }

void SpotPanel::PacketResize(const QString& source, bool listOption) {
    try {
        const bool none = platform::SameText(source, QStringLiteral("None"));
        // Switch while open.
        if (ListShows() && !listOption)
            showBandMap();
        else if (listOption && BandMapShows())
            showList();
        // Open.
        if (!ListShows() && !BandMapShows() && !none) {
            float bottom = 0;
            shrink(bottom);
            fitCountyLists_();
            layOut(bottom);
            if (listOption)
                showList();
            else
                showBandMap();
        }
        // Close.
        if (none && (ListShows() || BandMapShows())) {
            restore();
            fitCountyLists_();
            park();
            setRefreshFlag(false);
        }
    } catch (const std::exception&) {
        // What was moved or shown stays so.
    }
}

void SpotPanel::shrink(float& largestBottom) {
    saved_.clear();
    for (platform::Control& c : window_.Controls()) {
        if (c.Kind == platform::ControlKind::Line) {
            const float y1 = c.Y1, y2 = c.Y2;
            c.Y1 *= kShrink;
            c.Y2 *= kShrink;
            saved_.push_back({&c, y1, y2, c.Y1, c.Y2});
        } else if (HasBox(c.Kind)) {
            const float top = c.Top, height = c.Height;
            c.Top *= kShrink;
            c.Height *= kShrink;
            saved_.push_back({&c, top, height, c.Top, c.Height});
            largestBottom = std::max(largestBottom, c.Top + c.Height);
        } else {
            continue;
        }
        window_.Apply(c);
    }
}

void SpotPanel::restore() {
    for (const Saved& s : saved_) {
        platform::Control& c = *s.control;
        if (c.Kind == platform::ControlKind::Line) {
            c.Y1 = Restored(c.Y1, s.a1, s.a0);
            c.Y2 = Restored(c.Y2, s.b1, s.b0);
        } else {
            c.Top = Restored(c.Top, s.a1, s.a0);
            c.Height = Restored(c.Height, s.b1, s.b0);
        }
        window_.Apply(c);
    }
    saved_.clear();
}

void SpotPanel::layOut(float top) {
    platform::Control& list = window_.Ctl(txtDX_);
    list.Top = top;
    list.Height = window_.ScaleHeight() - top;
    list.Left = kPanelLeft * window_.Width;
    list.Width = kPanelWidth * window_.Width;
    window_.Apply(list);
    platform::Control& panel = window_.Ctl(bandMap_.lblDX);
    panel.Left = list.Left;
    panel.Top = list.Top;
    panel.Width = list.Width;
    panel.Height = list.Height;
    window_.Apply(panel);
    // The axis ends half a spot label inside the panel at each side.
    const float halfSpot = window_.Ctl(bandMap_.lblDXSpot[0]).Width / 2;
    platform::Control& line = window_.Ctl(bandMap_.LineDX);
    line.X1 = panel.Left + halfSpot;
    line.X2 = panel.Left + panel.Width - halfSpot;
    line.Y1 = line.Y2 = panel.Top + panel.Height / 2;
    window_.Apply(line);
    for (QLabel* label : bandMap_.lblFreqSpot) window_.Ctl(label).Top = line.Y1 + kScaleGap * window_.Height;
    bandMap_.SetBandMapScale();
    // Each scale label centred on its quarter point of the axis.
    for (std::size_t k = 0; k < bandMap_.lblFreqSpot.size(); ++k) {
        platform::Control& c = window_.Ctl(bandMap_.lblFreqSpot[k]);
        c.Left = line.X1 + static_cast<float>(k) * 0.25f * (line.X2 - line.X1) - c.Width / 2;
        window_.Apply(c);
    }
}

void SpotPanel::showList() {
    bandMap_.SetShown(false);
    txtDX_->show();
    setRefreshFlag(false);
}

void SpotPanel::showBandMap() {
    txtDX_->hide();
    bandMap_.SetShown(true);
    // The periodic refresh runs whenever the band map shows, and the spot
    // labels are drawn at once rather than with their last captions.
    setRefreshFlag(true);
    bandMap_.DisplayBandMapLabels();
}

void SpotPanel::park() {
    txtDX_->hide();
    bandMap_.SetShown(false);
    for (QWidget* widget : bandMap_.Widgets()) {
        platform::Control& c = window_.Ctl(widget);
        if (c.Kind == platform::ControlKind::Line)
            c.Y1 = c.Y2 = kParkingTop;
        else
            c.Top = kParkingTop;
        window_.Apply(c);
    }
    platform::Control& list = window_.Ctl(txtDX_);
    list.Top = kParkingTop;
    window_.Apply(list);
}

void SpotPanel::setRefreshFlag(bool on) { program_.form1().SetBandMapRefresh(on); }

}  // namespace spotting

#pragma once
// The band map of a main window: a navy panel with a frequency axis for the
// current band, five scale labels under the axis and one label per spot of
// the store above it, placed by frequency and coloured by age. A right click
// on a spot tunes the rig and puts the call on the entry line; any other
// click takes the spot off the maps. The panel itself opens the spotting
// window on a click and the spectrum map on a double click.
//
// The controls are registered with the main window, so that its scaling and
// the spot panel's layout move them with every other control.
#include <QLabel>
#include <QRectF>
#include <array>
#include <functional>

#include "spotting/spot_maps.h"

class Program;
class QLineEdit;

namespace platform {
class Form;
class LineControl;
}  // namespace platform

namespace spotting {

// The scale edges of a main window's band, in MHz; 0 to 0 for a band the map
// has no scale for ("902", "1.3 G").
BandEdges BandMapEdges(const QString& band);

// The panel: reports clicks and double clicks.
class BandMapPanel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    std::function<void()> onClick;
    std::function<void()> onDoubleClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The release that ends a double click is no click of its own.
    bool afterDoubleClick_ = false;
};

class BandMap {
public:
    static constexpr std::size_t kScaleLabels = 5;

    // Builds the panel, axis and labels in `window` on the design rectangle
    // `panel` (twips), hidden. `txtCall` and `lblDupe` are the window's call
    // box and notice label.
    BandMap(platform::Form& window, Program& program, QLineEdit* txtCall, QLabel* lblDupe,
            QRectF panel);

    // Whether the band map shows (its panel is not hidden).
    bool Shows() const;

    // The scale of the current band, zoomed to its spots, into the five scale
    // labels.
    void SetBandMapScale();
    // Redraws scale and spot labels while the band map shows.
    void DisplayBandMapLabels();
    // The window became active: redraws while the band map shows.
    void RefreshBandMap();

    // Mouse on spot label `index` (its store slot).
    void lblDXSpot_MouseDown(int index, Qt::MouseButton button);
    void lblDXSpot_MouseMove(int index);

    // Shows or hides the panel with its axis and scale labels; hiding also
    // hides the spot labels.
    void SetShown(bool shown);
    // Every control of the band map, panel first.
    std::vector<QWidget*> Widgets() const;

    BandMapPanel* lblDX = nullptr;
    platform::LineControl* LineDX = nullptr;
    std::array<QLabel*, kScaleLabels> lblFreqSpot{};
    std::array<SpotLabel*, kNewestSlot + 1> lblDXSpot{};

private:
    platform::Form& window_;
    Program& program_;
    QLineEdit* txtCall_;
    QLabel* lblDupe_;
};

}  // namespace spotting

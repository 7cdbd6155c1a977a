#pragma once
// What the main window's band map and the spectrum map share: frequency
// scales written as "#.000" captions and read back, the zoom of a scale to
// the spots inside a band, the age colours and tooltip of a spot label, and
// the label widget with its mouse.
#include <QColor>
#include <QLabel>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "spotting/spot_store.h"

namespace platform {
class Clock;
class Form;
}  // namespace platform

namespace spotting {

// The background of the map panels and band strips: navy.
inline const QColor kMapNavy(0, 0, 128);

// The edges of a band in MHz, single precision as the store keeps spots.
struct BandEdges {
    float lo = 0;
    float hi = 0;
};

// A scale caption: MHz taken to the nearest 0.001 (a value exactly halfway
// goes to the even neighbour) and written "#.000", with "." as the decimal
// point and no leading zero below 1 (".000" for 0).
QString ScaleCaption(double mhz);
// The number a scale caption shows, in single precision; 0 when it shows
// none.
float CaptionValue(const QString& caption);

// The five captions of a scale from lo to hi at its quarter points,
// computed in double precision from the single-precision ends.
std::array<QString, 5> ScaleCaptions(BandEdges edges);

// Narrows `edges` to the spots strictly inside them: when at least two
// different frequencies of slots 1 to 49 lie inside (slot 0, the oldest, is
// not looked at, nor are removed spots), the range becomes 1 kHz beyond the
// lowest and the highest of them. Spots of any age count.
void ZoomToSpots(const DXSpotStore& store, BandEdges& edges);

// Whether `mhz` lies strictly between the edges.
inline bool InsideBand(float mhz, BandEdges edges) { return edges.lo < mhz && mhz < edges.hi; }

// The age of the spot of `slot` in whole seconds, on the monotonic clock; a
// slot that never held a spot is older than any spot.
std::int64_t SpotAge(const DXSpotStore& store, int slot, const platform::Clock& clock);

// A spot label's text colour for a spot of `ageSeconds`: light yellow below
// 600 s, white from 600 s, light grey from 1800 s; nothing from 3600 s, when
// the spot is no longer shown.
std::optional<QColor> SpotAgeColour(std::int64_t ageSeconds);
inline constexpr std::int64_t kSpotShownSeconds = 3600;

// The tooltip of the spot of `slot`: call, two blanks, MHz "#.000", two
// blanks, the UTC time it was stored "hh:mm:ss".
QString SpotTooltip(const DXSpotStore& store, int slot);

// One spot label of a map: a small centred caption, transparent, that
// reports mouse presses and the mouse moving over it with its store slot.
class SpotLabel final : public QLabel {
    Q_OBJECT
public:
    SpotLabel(int slot, QWidget* parent);

    int slot() const { return slot_; }
    std::function<void(int slot, Qt::MouseButton button)> onMouseDown;
    std::function<void(int slot)> onMouseMove;

    // Sets the text colour.
    void SetTextColour(const QColor& colour);
    QColor textColour() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int slot_;
};

// The small serif face of the map labels.
inline constexpr const char* kMapLabelFont = "MS Serif";
inline constexpr float kMapLabelPoints = 6.75f;

// Registers a map label (spot or scale) with `form`: the map's font, centred
// text in `colour`, hidden.
void SetUpMapLabel(platform::Form& form, QLabel* label, const QColor& colour);

// The spot labels of a map, one per store slot, and which of them a redraw
// shows.
using SpotLabels = std::array<SpotLabel*, kNewestSlot + 1>;
using ShownSlots = std::array<bool, kNewestSlot + 1>;

// Shows the labels of the slots in `shown` and hides the others, touching
// only those whose visibility changes: each show or hide costs a round trip
// to the X server.
void ShowOnly(const SpotLabels& labels, const ShownSlots& shown);

}  // namespace spotting

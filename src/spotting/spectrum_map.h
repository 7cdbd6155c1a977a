#pragma once
// The HF spectrum map: the kept DX spots on eleven band lines at once, 160 m
// at the top to 2 m at the bottom, each line with five frequency ticks. Each
// band's scale narrows itself to the spread of the spots inside the band. A
// right click on a spot tunes the rig, puts the call on the entry line of the
// station side's main window and hides the map; any other click takes the
// spot off the maps.
//
// The main window shows it modally and unloads it when it closes, so every
// opening lays it out afresh.
#include <QSizeF>
#include <array>

#include "platform/form.h"
#include "spotting/spot_maps.h"

class Program;
class QLabel;

namespace spotting {

inline constexpr std::size_t kSpectrumBandCount = 11;

// The eleven bands of the map, top to bottom, with their edges in MHz.
struct SpectrumBand {
    const char* name;
    BandEdges edges;
};
extern const std::array<SpectrumBand, kSpectrumBandCount> SpectrumBands;

// The band of the map a frequency lies strictly inside, or -1.
int SpectrumBandOf(float mhz);

class SpectrumMap final : public platform::Form {
    Q_OBJECT
public:
    static constexpr std::size_t kTicksPerBand = 5;

    // Builds the window and lays it out for the primary screen and its work
    // area.
    explicit SpectrumMap(Program& program);
    // The same for a screen and work area of the given sizes in twips.
    SpectrumMap(Program& program, QSizeF screenTwips, QSizeF workAreaTwips);

    void Form_Load(QSizeF screenTwips, QSizeF workAreaTwips);
    void Form_Activate();
    void Form_Unload() {}
    void FitToWorkArea(QSizeF workAreaTwips);
    // Every band's scale from the store, into its tick labels.
    void ScaleBandLabels();
    // Redraws the spot labels from the store.
    void BandMapLabelDisplay();
    void lblDXSpot_MouseDown(int index, Qt::MouseButton button);

    std::array<QLabel*, kSpectrumBandCount> lblHFSpots{};
    std::array<platform::LineControl*, kSpectrumBandCount> lineHF{};
    std::array<QLabel*, kSpectrumBandCount * kTicksPerBand> lblFreqSpot{};
    std::array<SpotLabel*, kNewestSlot + 1> lblDXSpot{};

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();

    Program& program_;
};

}  // namespace spotting

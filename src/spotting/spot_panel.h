#pragma once
// The spot panel of a main window: a strip across the bottom of the window
// that shows either the spot list or the band map. It opens when a spot
// source is chosen, by shrinking the window's content vertically to 90 %, and
// closes when the source is "None", giving the room back.
//
// Opening notes every control's top and height (and a line's ends) before it
// shrinks them, and closing puts back exactly those numbers, so that opening
// and closing any number of times never moves a control by a pixel. A
// control that something else has moved meanwhile (the window's own
// re-layout) grows back by the inverse factor instead.
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "spotting/band_map.h"

class Program;
class QTreeWidget;

namespace platform {
struct Control;
class Form;
}  // namespace platform

namespace spotting {

class SpotPanel {
public:
    // `txtDX` is the window's spot list; the band map is built on its
    // rectangle. `fitCountyLists` stretches the window's county lists down
    // to their layout line.
    SpotPanel(platform::Form& window, Program& program, QTreeWidget* txtDX, QLineEdit* txtCall,
              QLabel* lblDupe, std::function<void()> fitCountyLists);
    ~SpotPanel();

    BandMap& bandMap() { return bandMap_; }
    bool ListShows() const;
    bool BandMapShows() const { return bandMap_.Shows(); }

    // Lays the panel out for the spotting window's source (`source`, "None"
    // for none) and display option (`listOption`: the spot list, else the
    // band map): opens, switches or closes it.
    void PacketResize(const QString& source, bool listOption);

    // Twips at which the controls of a closed panel are parked.
    static constexpr float kParkingTop = 1000;

private:
    struct Saved;
    void shrink(float& largestBottom);
    void restore();
    void layOut(float top);
    void showList();
    void showBandMap();
    void park();
    // The band-map refresh flag of the spotting window's poll.
    void setRefreshFlag(bool on);

    platform::Form& window_;
    Program& program_;
    QTreeWidget* txtDX_;
    std::function<void()> fitCountyLists_;
    BandMap bandMap_;
    std::vector<Saved> saved_;
};

}  // namespace spotting

#pragma once
// The spot list of the main windows: one row per accepted spot, newest on
// top, at most 200 rows. Rows are not tied to store slots: a row stays when
// its spot leaves the store or is removed from a map.
#include "spotting/spot_store.h"

class QTreeWidget;

namespace spotting {

// Puts `row` on top of the list; past 199 rows the oldest goes first. The
// list holds its painting until ShowSpotRows, so that a stream of spots
// costs it one repaint a frame, not one a spot.
void AddSpotRow(QTreeWidget& list, const SpotRow& row);
// Paints the rows added since the last call, once (the frame's redraw).
void ShowSpotRows(QTreeWidget& list);

}  // namespace spotting

#pragma once
// The start-up's windows under test: a working folder seeded from data/ as
// scripts/run seeds it, a QSOpref.txt of a station inside the party state,
// and the station set-up dialog loaded over them.
#include <QByteArray>
#include <QString>

#include "support/test_program.h"

class QLineEdit;
class QWidget;

namespace setup {
class frmStationID;
}
namespace entry {
class frmCountyList;
}

namespace testing_support {

// Copies every file of data/ that the working folder does not have yet.
void SeedWorkingFolder(TestProgram& t);

// A QSOpref.txt of K9ABC, inside the party state, home county DAN,
// operating county MIL, 5 hours to UTC (what the fake clock implies), not a
// rover, on 40 m PH.
extern const QByteArray kInStatePrefs;
// The same with other values: the station outside, a rover.
QByteArray PrefsWith(int stationSide, int roverMode);

// The road's work before the dialog (folders, shared preferences), then the
// dialog loaded for the design screen and shown.
setup::frmStationID& LoadStationID(TestProgram& t);

// Makes the window the active one, so that focus moves as an operator's
// keys and clicks move it.
bool Activate(QWidget& window);

// Gives `box` the focus as a click does and types `text` there, key by key.
void TypeInto(QLineEdit* box, const QString& text);

// Types `keys` into whichever box of `window` has the focus, as the keyboard
// would (a blank is Space, a line end Enter, "\x1b" Esc), and lets queued
// work run after each key.
void TypeKeys(QWidget& window, const QString& keys);

// Clicks the row of the county `name` in the pick list, as the operator does.
void ClickCounty(entry::frmCountyList& list, const QString& name);

// Lets queued work run: timers of zero interval, deferred deletes.
void Settle();

}  // namespace testing_support

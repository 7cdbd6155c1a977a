#pragma once
// The entry line of a main window: the boxes a contact is typed into, the
// status line under them and the partial-dupe line beside them. The window
// creates these controls where its layout puts them and hands them over.
#include <QColor>
#include <QObject>

class QLabel;
class QLineEdit;

namespace entry {

// The status line's colour: teal normally, red for a duplicate.
inline const QColor kStatusTeal{0, 192, 192};
inline const QColor kStatusRed{255, 0, 0};

class EntryLine final : public QObject {
    Q_OBJECT
public:
    EntryLine() = default;

    // The boxes: call, state/province/country (in-state; a hidden, empty one
    // out-of-state), county, the RST sent and received (out-of-state, hidden)
    // and the post-contest time and date with their captions.
    QLineEdit* txtCall = nullptr;
    QLineEdit* txtCntry = nullptr;
    QLineEdit* txtSec = nullptr;
    QLineEdit* txtRSTS = nullptr;
    QLineEdit* txtRSTR = nullptr;
    QLabel* lblPostConTime = nullptr;
    QLabel* lblPostConDate = nullptr;
    QLineEdit* txtPostConTime = nullptr;
    QLineEdit* txtPostConDate = nullptr;
    // The status line, and the partial-dupe line with its heading.
    QLabel* lblDialog = nullptr;
    QLabel* lblDupe = nullptr;
    QLabel* lblPossDup = nullptr;
    // The "New" flags: a country not yet worked on the band (in-state,
    // Label3), a county not yet worked (out-of-state, lblNew).
    QLabel* Label3 = nullptr;
    QLabel* lblNew = nullptr;
    // The lookup of the call: continent, bearing and miles (in-state).
    QLabel* Label19 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label23 = nullptr;
};

}  // namespace entry

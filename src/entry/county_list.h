#pragma once
// The county pick list "County List": the party state's counties with their
// abbreviations. A click on a county writes it into the county box that asked
// for it, chosen by StationSide: the main window's txtSec (the county's name;
// 0 Infrm, 1 Outfrm) or the set-up dialog's Text8 (its abbreviation in
// capitals; 2), and hides the list, which returns control to the caller.
#include <QSizeF>

#include "platform/form.h"

class Program;
class QTreeWidget;

namespace entry {

class frmCountyList final : public platform::Form {
public:
    // Builds the window; Form_Load lays it out and fills it.
    explicit frmCountyList(Program& program);
    ~frmCountyList() override;

    // Events.
    void Form_Load(QSizeF screenTwips);
    void Form_Load();
    void Form_Unload() {}
    void ListView1_Click();

    QTreeWidget* ListView1 = nullptr;

private:
    Program& program_;
};

// Loads the pick list, shows it modally and unloads it when it returns, as
// its callers do: the main windows' "L&ist" menu and the set-up dialog's
// "&List" (which sets StationSide to 2 first).
void ShowCountyList(Program& program);

}  // namespace entry

#pragma once
// What the entry line needs of the window that holds it: the panels that
// follow a logged contact, the recent-contacts list, two commands and the
// screen the window was laid out for. The main windows implement it.
#include <QSizeF>
#include <vector>

namespace entry {

class EntryWindow {
public:
    // The score panel, the rates, the recent-contacts list and the worked
    // lists, brought up to date after a contact; the window also runs them
    // on its own (the rates on its clock, everything at a reload).
    virtual void ShowScore() = 0;
    virtual void ComputeRates() = 0;
    virtual void ListRecentContacts() = 0;
    virtual void UpdateCountyLists() = 0;
    // In-state: the logged contact's country into the DX list, its state
    // or province into the grid of those worked.
    virtual void ShowDXList() = 0;
    virtual void UpdateStatesWorked() = 0;

    // The Time On button: logging a contact before Time On presses it.
    virtual void cmdLogOn_Click() = 0;

    // The recent-contacts list: how many rows it shows, the edit and delete
    // buttons a selected row shows, and whether the List Previous Contacts
    // option is on and the rows it lists for a call.
    virtual int RecentRowCount() const = 0;
    virtual void HideEditButtons() = 0;
    virtual bool ListPrevious() const = 0;
    virtual void ListPreviousContacts(const std::vector<int>& records) = 0;

    // The Post Contest command's check mark, which follows the entry line's
    // post-contest boxes.
    virtual void ShowPostContestCheck(bool on) = 0;

    // The screen the window was laid out for at its load, in twips: the
    // size of the texts the entry line writes later follows it.
    virtual QSizeF ScreenTwips() const = 0;

protected:
    ~EntryWindow() = default;
};

}  // namespace entry

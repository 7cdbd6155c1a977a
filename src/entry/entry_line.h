#pragma once
// The entry line of a main window: the boxes a contact is typed into, the
// status line under them and the partial-dupe line beside them, with their
// key, change and focus handlers, the dupe checks, logging (Mains), the pick
// lists and post-contest entry.
//
// The window creates the controls where its layout puts them (they stay
// registered with the window, which scales them) and hands them over, with
// the county caption, the pick lists and the state grid that the entry line
// reads; then it calls Attach. What else the entry line needs of the window
// (the score, the rates, the recent-contacts and worked lists, Time On) it
// reaches through EntryWindow.
#include <QColor>
#include <QObject>
#include <QString>
#include <array>
#include <vector>

class Program;
class QEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

namespace platform {
class Form;
class KeyAdapter;
}  // namespace platform

namespace entry {

class EntryWindow;

// The status line's colour: teal normally, red for a duplicate.
inline const QColor kStatusTeal{0, 192, 192};
inline const QColor kStatusRed{255, 0, 0};

class EntryLine final : public QObject {
    Q_OBJECT
public:
    // The entry line of `form`, an in-state (Infrm) or out-of-state (Outfrm)
    // window, which implements `window`.
    EntryLine(platform::Form& form, EntryWindow& window, Program& program, bool inState);
    ~EntryLine() override;

    // Wires the boxes handed over to their key, change and focus handlers
    // (their keys go through the window's key adapter, after its preview),
    // and the pick lists and grid to theirs.
    void Attach(platform::KeyAdapter& keys);

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
    // The county box's caption (lblStation(4) of the window), enabled while
    // the county box applies to the entry.
    QLabel* countyCaption = nullptr;
    // The window's lists that a click picks an entry from: DX countries
    // (in-state) or counties to go (out-of-state), counties worked, and
    // (in-state) counties to go; and the in-state grid of state and
    // province codes, elements 1 to 63.
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QListWidget* List3 = nullptr;
    const std::array<QLabel*, 64>* Label10 = nullptr;

    // Logging: checks the entry and stores it as a contact.
    void Mains();
    // Empties the entry line, the status line and the partial-dupe line.
    void ClearEntry();

    // The boxes' handlers.
    void txtCall_KeyPress(int& KeyAscii);
    void txtCall_Change();
    void txtCall_GotFocus();
    void txtCall_LostFocus();
    void txtCntry_KeyPress(int& KeyAscii);
    void txtCntry_Change();
    void txtCntry_GotFocus();
    void txtSec_KeyPress(int& KeyAscii);
    void txtSec_Change();
    void txtSec_GotFocus();
    // The RST boxes take two characters on phone, three otherwise.
    void setRSTLength();
    // The window's first activation after its load puts the focus in the
    // call box: that focus runs the call box's GotFocus whatever its reason.
    void AwaitOpeningFocus() { openingFocus_ = true; }

    // The log was read again: its rows may have changed in place, so the
    // partial dupes are looked for afresh.
    void LogReloaded() { partialCount_ = -1; }

    // Dupe checks: per key in the call box, on leaving it, and at logging.
    void CheckCallAsTyped(int KeyAscii);
    void DupCheck2();
    void CheckFullDupe();
    // The hold after a duplicate: true while it runs, until three seconds
    // (on the monotonic clock) after the duplicate was reported; then
    // DupeFlag is cleared. Nothing waits: keys typed into the entry line
    // meanwhile are kept by the window's key adapter and take effect, in
    // their order, when the hold ends; timers and other events go on.
    bool WaitDupeTimeout();
    // Called when the hold has run out: the status line as the next key in
    // the call box would leave it, then the keys kept meanwhile.
    void EndDupeHold();

    // The in-state prefix lookup of the call box, and bearing and distance
    // from the station to a position (degrees, positive north and west).
    void LookupCallPrefix();
    void ShowBearingDistance(float latitude, float longitude);

    // Pick lists and the state grid: a click copies the entry into its box;
    // hovering over a grid code shows its name and contact count.
    void List1_Click();
    void List2_Click();
    void List3_Click();
    void Label10_Click(int k);
    void Label10_MouseMove(int k);

    // Post-contest entry: the command switches the Time and Date boxes of
    // the entry line on and off; while they show, logging takes the
    // contact's date and time from them.
    void mnuPostContest_Click();
    void txtPostConTime_GotFocus();
    void txtPostConDate_GotFocus();
    void txtPostConTime_KeyPress(int& KeyAscii);
    void txtPostConDate_KeyPress(int& KeyAscii);
    bool PostContestMode() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs the boxes' focus handlers once the handler that moved the focus
    // has finished.
    bool entryFocusEvent(QObject* watched, QEvent* event);
    bool postContestFocusEvent(QObject* watched, QEvent* event);
    // The pick lists' clicks, and the grid's clicks and mouse moves.
    void attachPickLists();
    bool gridEvent(QObject* watched, QEvent* event);
    // The number of codes in the grid.
    int gridCodes() const;
    // The post-contest boxes' keys.
    void postContestKey(int& KeyAscii, int first, int last);
    // Checks and rewrites the post-contest boxes; false when logging stops.
    bool PostContestCheck();
    void CheckRequiredFields();
    void CheckSection();
    void CheckCounty();
    // Empties the entry boxes and the lookup labels after a contact or a
    // duplicate, and puts the focus in the call box.
    void emptyEntryLine();
    void setStatus(const QString& text, const QColor& back);
    void resetDupeLine();
    // The partial-dupe line's text size, as the window's screen and form
    // size make `points`.
    void scaleDupeFont(double points);
    // Speaks a voice-navigation prompt when the level asks for it.
    void speak(const QString& prompt, int fromLevel);
    // Stores the entry as a new contact; false when it could not be stored
    // (the log is full or log.txt did not take it; the operator was told).
    bool storeContact();
    // Puts off the end of the duplicate's hold until its three seconds are
    // over.
    void holdDupe();
    // Whether the duplicate's hold runs now; and whether a key for `box`
    // waits for it to end.
    bool dupeHoldRuns() const;
    bool holdsKey(const QWidget* box);
    // The contacts of the current band and mode (and, in-state, county
    // sent) in log order: the only ones the partial dupes of a key can list.
    // Kept between keys, extended as contacts are logged, and made afresh
    // when the log is reloaded or the band, mode or county sent changes.
    const std::vector<int>& partialDupeRows();

    platform::Form& form_;
    EntryWindow& window_;
    Program& program_;
    const bool in_;
    // Set while the loaded window waits for its first activation.
    bool openingFocus_ = false;
    // Set while Mains runs: a second Mains from inside it must not log again.
    bool inMains_ = false;
    // The window's key adapter, which keeps the keys typed during the hold;
    // and whether the hold's end is timed already.
    platform::KeyAdapter* keys_ = nullptr;
    bool holdTimed_ = false;
    std::vector<int> partialRows_;
    QString partialKey_;
    int partialCount_ = -1;
};

}  // namespace entry

#pragma once
// "Edit Contact Entry": the modal dialog in which the operator corrects one
// logged contact, the one EditRecordNo names. WIEditInfrm serves a station
// inside the party state (call, county, state/province/country, date, time,
// mode, band, county sent); EditNoRstNoPtsOut one outside it (call, county,
// date, time, mode, band). A box the operator changed is checked when he
// leaves it and again at Done, which also tests the edited contact against
// the rest of the log for a duplicate and writes the row of the contact
// table; a value the log already holds is never refused, so a contact can
// always be corrected. Esc and the close box leave without writing. The
// dialog never touches log.txt: its caller rewrites the file and reloads.
#include <QSizeF>
#include <QString>
#include <initializer_list>
#include <map>

#include "platform/form.h"

class Program;
class QLabel;
class QLineEdit;
class QPushButton;

namespace entry {

enum class EditSide { In, Out };

class ContactEditDialog : public platform::Form {
public:
    ContactEditDialog(Program& program, EditSide side);
    ~ContactEditDialog() override;

    EditSide side() const { return side_; }

    // Events.
    void Form_Load(QSizeF screenTwips);
    void Form_Load();
    void Form_Unload() {}
    void cmdDone_Click();
    void cmdDeleteDupe_Click();

    // The county scans' counter.
    int i = 0;
    // Key filters: letters to capitals; digits and Backspace only.
    static void Cap2(int& KeyAscii);
    static void number(int& KeyAscii);

    // The checks made when the operator leaves a box; true when it passes.
    // A box that still holds the stored value passes without a check.
    bool CountyReceivedCheck();  // txtEditSec in-state, txtEditPre out-of-state
    bool CountySentCheck();      // Text3 (in-state)
    bool ModeCheck();            // txtEditBnd
    bool BandCheck();            // Text1
    bool DateCheck();            // txtEditDate
    bool TimeCheck();            // txtEditTime

    QLabel* lblEditTitle = nullptr;
    QLabel* Image1 = nullptr;  // in-state only
    QLabel* lblcall = nullptr;
    QLabel* lblSec = nullptr;  // in-state only
    QLabel* lblPre = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* lblTime = nullptr;
    QLabel* lblBnd = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label8 = nullptr;  // in-state only
    QLineEdit* txtEditCall = nullptr;
    QLineEdit* txtEditSec = nullptr;  // in-state: county received
    QLineEdit* txtEditPre = nullptr;  // in-state: SPC; out-of-state: county received
    QLineEdit* txtEditDate = nullptr;
    QLineEdit* txtEditTime = nullptr;
    QLineEdit* txtEditBnd = nullptr;  // the mode
    QLineEdit* Text1 = nullptr;       // the band
    QLineEdit* Text3 = nullptr;       // in-state: county sent
    QLineEdit* txtEditNum = nullptr;  // RST sent, never shown
    QLineEdit* txtEditCk = nullptr;   // RST received, never shown
    QLabel* Label1 = nullptr;  // "  Dupe!"
    QLabel* Label2 = nullptr;  // SPC (in) or county (out)
    QLabel* Label3 = nullptr;  // mode
    QLabel* Label6 = nullptr;  // band
    QLabel* Label7 = nullptr;  // in-state county
    QLabel* Label9 = nullptr;  // in-state county sent
    QPushButton* cmdDone = nullptr;
    QPushButton* cmdDeleteDupe = nullptr;

    // The county box that takes the contact's county received.
    QLineEdit* countyBox() const { return side_ == EditSide::In ? txtEditSec : txtEditPre; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildInState();
    void buildOutState();
    struct Row;
    // The rows from `top` down, 360 twips apart, then Done and Delete Dupe;
    // the tab order runs through the boxes in row order, then the buttons.
    void addRows(float top, std::initializer_list<Row> rows, float doneLeft, float doneTop,
                 float deleteTop);
    void attachKeys();
    void countyTypeAhead(QLineEdit* box, int& KeyAscii);
    void countryTypeAhead(int& KeyAscii);
    // Runs the check of the box the operator left.
    void leaveCheck(QLineEdit* box);
    // Whether the box holds something other than the stored value.
    bool changed(const QLineEdit* box) const;
    // The text that Done writes from the box: out of the party state the
    // call, the county and the reports without blanks around them.
    QString savedText(const QLineEdit* box) const;
    // The row of the contact under edit.
    int record() const;
    bool isDuplicateOf(int n) const;

    Program& program_;
    EditSide side_;
    // Done lets boxes show; a second Enter meanwhile runs nothing.
    bool inDone_ = false;
    // The boxes' texts as the load filled them from the contact.
    std::map<const QLineEdit*, QString> stored_;
};

class WIEditInfrm final : public ContactEditDialog {
public:
    explicit WIEditInfrm(Program& program) : ContactEditDialog(program, EditSide::In) {}
};

class EditNoRstNoPtsOut final : public ContactEditDialog {
public:
    explicit EditNoRstNoPtsOut(Program& program) : ContactEditDialog(program, EditSide::Out) {}
};

// Loads the edit dialog of the station side for EditRecordNo, shows it
// modally and unloads it once Done or Delete Dupe has hidden it (or it was
// closed). The caller then rewrites log.txt and reloads the log.
void ShowContactEditDialog(Program& program);

}  // namespace entry

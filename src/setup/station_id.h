#pragma once
// The station set-up dialog " Setup Information": the operator confirms or
// enters call, state or province, home and operating county, UTC offset,
// country, position and continent, whether the station is inside the party
// state and whether it is a rover. Its load reads the station settings
// (QSOpref.txt) and the reference tables and fills the keyer windows'
// settings; "Done" validates, stores and saves the settings and the shared
// keys, and opens the main window of the station side.
//
// Every step of the load stands on its own: a file that fails is named in a
// message and the load goes on with the next step. A first start, with no
// QSOpref.txt yet, is no failure: the dialog opens with first-run settings
// and the offset the PC clock implies. Closing the dialog by its close box
// ends the program and writes nothing.
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <array>
#include <deque>

#include "platform/form.h"

class Program;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace platform {
class KeyAdapter;
}

namespace setup {

inline constexpr int kStateOptions = 50;

class frmStationID final : public platform::Form {
    Q_OBJECT
public:
    explicit frmStationID(Program& program);
    ~frmStationID() override;

    // The key filters of the boxes.
    // Lower-case letters become capitals (Tab passes).
    static void Cap3(int& KeyAscii);
    // Backspace and the codes from "-" to "9" (minus, full stop, slash and
    // the digits) pass; every other key is dropped.
    static void NumBerr(int& KeyAscii);

    // Events.
    void Form_Load(QSizeF screenTwips);
    void Form_Load();
    void Form_Unload();
    void Command1_Click();  // "Done"
    void Command2_Click();  // "&List"
    void Option1_Click();
    void Option2_Click();
    void optState_Click(int Index);
    // The country type-ahead of Text2.
    void Text2_KeyPress(int& KeyAscii);
    // The checks made when the operator leaves a box; false when the box
    // refused and took the focus back.
    bool Text6_LostFocus();
    bool Text8_LostFocus();
    bool Text9_LostFocus();

    QLineEdit* Text1 = nullptr;   // own call
    QLineEdit* Text5 = nullptr;   // own state or province
    QLineEdit* Text8 = nullptr;   // home county abbreviation
    QLineEdit* Text6 = nullptr;   // hours added for UTC
    QLineEdit* Text2 = nullptr;   // country
    QLineEdit* Text3 = nullptr;   // longitude
    QLineEdit* Text4 = nullptr;   // latitude
    QLineEdit* Text7 = nullptr;   // continent
    QLineEdit* Text9 = nullptr;   // operating county abbreviation
    QLineEdit* Text10 = nullptr;  // name (hidden)
    QLineEdit* Text11 = nullptr;  // category (hidden)
    QLineEdit* Text12 = nullptr;  // city (hidden)
    QPushButton* Command1 = nullptr;  // "Done"
    QPushButton* Command2 = nullptr;  // "&List"
    QGroupBox* Frame2 = nullptr;      // "Are you in Dudurozuz?"
    QRadioButton* Option1 = nullptr;  // "Yes"
    QRadioButton* Option2 = nullptr;  // "No"
    QGroupBox* Frame3 = nullptr;      // "Are you operating as a Rover?"
    QRadioButton* Option4 = nullptr;  // "Yes"
    QRadioButton* Option3 = nullptr;  // "No"
    // The party-state choice beyond the window's right edge, never seen.
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, kStateOptions> optState{};

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildRows();
    void buildFrames();
    void attachKeys();
    void fillBoxes();
    // Runs one step of the load; a failure names `file` in a message.
    template <typename Step>
    void loadStep(const QString& file, Step&& step);
    // The county boxes' check; `other` takes a valid text when empty.
    bool checkCounty(QLineEdit* box, QLineEdit* other);
    bool partyStation() const;
    // False, after a message and with the focus back in the hours box, when
    // that box holds an offset outside -14 to 14 hours.
    bool offsetInRange();
    // The checks of boxes the operator has left and that have not run yet
    // (they run once the click or key that moved the focus is done, or
    // before "Done"); false when one refused.
    bool runLeaveChecks();
    bool leaveCheck(QLineEdit* box);
    void saveAndOpenMainWindow();

    Program& program_;
    platform::KeyAdapter* keys_ = nullptr;
    QSizeF screen_;
    bool firstStart_ = false;
    bool unloading_ = false;
    bool inDone_ = false;
    std::deque<QPointer<QLineEdit>> leftBoxes_;
};

}  // namespace setup

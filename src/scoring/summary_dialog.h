#pragma once
// The summary dialog "Summary Sheet Information": what the Cabrillo file
// needs beyond the log (name, address, e-mail, club, operators, soapbox,
// entry class and power class). "Write Cabrillo File" writes the file through
// WriteSubmissionFile, which also remembers the address block for the next
// opening; "Done" hides the dialog. The menu that opens it shows it modally
// and unloads it afterwards, so every opening starts from a fresh load. The
// close box, like "Done", only hides it.
#include <QSizeF>
#include <array>
#include <optional>

#include "platform/form.h"
#include "scoring/cabrillo.h"

class Program;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace platform {
class KeyAdapter;
}

namespace scoring {

class WICabrilloOut final : public platform::Form {
    Q_OBJECT
public:
    // Builds the dialog hidden and runs its load, scaled to `screenTwips`
    // (the primary screen when none is given).
    explicit WICabrilloOut(Program& program, std::optional<QSizeF> screenTwips = std::nullopt);
    ~WICabrilloOut() override;

    // What the boxes and options hold now.
    SummaryInputs Inputs() const;

    // Events.
    void Form_Load(QSizeF screenTwips);
    void Command4_Click();  // "Write Cabrillo File"
    void Command3_Click();  // "Done"
    void Text1_KeyPress(int& KeyAscii);
    void Text2_KeyPress(int& KeyAscii);

    // Controls, in tab order.
    QLineEdit* Text5 = nullptr;   // "Your Name:"
    QLineEdit* Text6 = nullptr;   // "Address Line 1:"
    QLineEdit* Text7 = nullptr;   // "Address Line 2:"
    QLineEdit* Text8 = nullptr;   // "Email Address:"
    QLineEdit* Text11 = nullptr;  // soapbox
    QLineEdit* Text1 = nullptr;   // "Club Affiliation:"
    QGroupBox* Frame1 = nullptr;  // "Entry Class"
    std::array<QRadioButton*, kEntryClasses.size()> OptClass{};
    QGroupBox* Frame2 = nullptr;    // "Power:"
    QRadioButton* Option4 = nullptr;  // "High"
    QRadioButton* Option3 = nullptr;  // "Low (150W)"
    QRadioButton* Option1 = nullptr;  // "QRP (5W)"
    QLineEdit* Text2 = nullptr;       // "Operators (If Multi):"
    QPushButton* Command4 = nullptr;  // "Write Cabrillo File"
    QPushButton* Command3 = nullptr;  // "Done"

private:
    void buildControls();
    void buildTabOrder();
    PowerClass power() const;

    Program& program_;
    platform::KeyAdapter* keys_ = nullptr;
};

}  // namespace scoring

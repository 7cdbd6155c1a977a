#pragma once
// The window "On the Air Code Practice": random code groups, pasted or typed
// text sent as CW through the send buffer, so it goes out on whichever keyer
// is set; each character handed over is copied to "Text Sent". The CW keyer
// window shows it modally and unloads it when it closes.
#include <QString>
#include <array>

#include "platform/form.h"
#include "platform/twips.h"

class Program;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace platform {
class KeyAdapter;
}

namespace keyers {

class frmCodePractice final : public platform::Form {
public:
    // Builds the window hidden and runs its load.
    // Built and laid out for `screen`.
    explicit frmCodePractice(Program& program,
                   const platform::ScreenTwips& screen = platform::PrimaryScreenTwips());
    ~frmCodePractice() override;

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    // Empties CWBuffer and the text being sent; false (the close refused)
    // while the software keyer is in the middle of a character.
    bool Form_Unload();
    void Command1_Click();  // "&Paste from Clipboard"
    void Command2_Click();  // "&Generate Random Characters"
    void Command3_Click();  // "&Send"
    void Command4_Click();  // "S&top"
    void Command5_Click();  // "Cl&ear"
    void Command6_Click();  // "&Clear"
    void Command7_Click();  // "&Faster"
    void Command8_Click();  // "S&lower"
    void Text1_KeyPress(int& KeyAscii);
    void Text5_KeyPress(int& KeyAscii);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* Text1 = nullptr;  // text to send
    QPushButton* Command6 = nullptr;
    QLabel* Label3 = nullptr;
    QPlainTextEdit* Text2 = nullptr;  // text sent
    QPushButton* Command5 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QLabel* Label8 = nullptr;  // the CW speed
    QLabel* Label7 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLineEdit* Text3 = nullptr;  // number of groups
    QLineEdit* Text4 = nullptr;  // characters per group
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr;  // "Letters Only"
    QRadioButton* Option2 = nullptr;  // "All"
    QLabel* Label9 = nullptr;
    QLineEdit* Text5 = nullptr;  // type-ahead

    // The text being sent; emptied to end a send.
    QString PracticeSendText;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build();
    void AppendSent(const QString& character);
    void SendPractice();
    void EndPractice();
    // Goes on once the WinKeyer's open under way has ended.
    void AfterWinKeyOpen();
    // The last character of "Text Sent" taken back.
    void TakeBackSent();

    Program& program_;
    platform::KeyAdapter* keys_ = nullptr;
    // Indexes 1 to 26 the letters, 27 to 36 the digits, 37 to 41 ". , ? / -".
    std::array<QString, 46> PracticeCharacters{};
    // The place in the text of the character the run sends next, from 1.
    qsizetype practiceNext_ = 1;
    bool running_ = false;
};

}  // namespace keyers

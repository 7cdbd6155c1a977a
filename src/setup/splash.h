#pragma once
// The start of the program: the start-up window frmSplash, whose load is the
// start-up road, and the logo window frmTavikLogo that the road shows first.
//
// The road: the logo (modal), the start-up window scaled, the data and
// shared folders found or made, the shared preferences loaded, the BACKUP
// folder made, VersionText recorded, and then "Continue": the start-up window
// hides, the station set-up dialog loads and shows (modeless), and the
// start-up window goes. It is never seen; the operator sees the logo and then
// the set-up dialog. The working folder is the program's from its creation
// (the current folder when the program starts).
#include <QSizeF>
#include <QString>

#include "platform/form.h"

class Program;
class QLabel;
class QPushButton;
class QTimer;

namespace setup {

// The optional picture that replaces the logo, in the shared folder.
inline const QString kSplashPicture = QStringLiteral("splash.jpg");

// Timings of the logo window, in milliseconds from its load.
inline constexpr int kLogoMarkMs = 1100;           // the program's mark shows
inline constexpr int kLogoCloseMs = 1900;          // the window closes
inline constexpr int kSplashPictureCloseMs = 2700;  // ... when splash.jpg replaced the logo

// The borderless logo window: the maker's logo (or splash.jpg) over the whole
// window and beyond its edges, and the program's mark that appears after
// 1.1 s. It closes after 1.9 s (2.7 s with splash.jpg, whose window shows no
// mark) or at a click on the picture. Its size is the design's, not scaled.
class frmTavikLogo final : public platform::Form {
public:
    explicit frmTavikLogo(Program& program);
    ~frmTavikLogo() override;

    // Events.
    void Form_Load(QSizeF screenTwips);
    void Form_Load();
    void Form_Unload();
    void Image1_Click();
    void Timer1_Timer();
    void Timer2_Timer();

    // Whether splash.jpg took the logo's place.
    bool ShowsSplashPicture() const { return splashPicture_; }

    QLabel* Image1 = nullptr;  // the logo, or splash.jpg
    QLabel* Image2 = nullptr;  // the program's mark
    QTimer* Timer1 = nullptr;  // closes the window
    QTimer* Timer2 = nullptr;  // shows the mark

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Program& program_;
    bool splashPicture_ = false;
};

// The start-up window. Its load runs the whole road; "Continue" is its last
// step and "Cancel" ends the program.
class frmSplash final : public platform::Form {
public:
    explicit frmSplash(Program& program);
    ~frmSplash() override;

    void Form_Load(QSizeF screenTwips);
    void Form_Load();
    void Command1_Click();  // "Continue"
    void Command2_Click();  // "Cancel"

    QLabel* lblCompanyName = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblVersion1 = nullptr;
    QLabel* lblWarning = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    Program& program_;
    QSizeF screen_;  // the screen the road lays its windows out for
};

// Starts the program: runs the start-up road from the logo to the station
// set-up dialog, which stays on the screen when this returns (unless the
// program has ended on the way). main() then runs the event loop.
void StartUp(Program& program);

}  // namespace setup

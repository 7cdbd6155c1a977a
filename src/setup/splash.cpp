#include "setup/splash.h"

#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "platform/colors.h"
#include "platform/modal.h"
#include "platform/twips.h"
#include "program/program.h"
#include "setup/folders.h"
#include "setup/logo.h"
#include "setup/resize.h"
#include "setup/station_id.h"

namespace setup {

// ---- frmTavikLogo ----

frmTavikLogo::frmTavikLogo(Program& program) : program_(program) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // Closing the logo never ends the program: the road goes on after it.
    setAttribute(Qt::WA_QuitOnClose, false);
    platform::SetBackColor(this, Qt::black);
    SetDesignSize(14355, 7920, 14355, 7920);

    // The logo runs over the window's edges on every side.
    Image1 = AddImage(QStringLiteral("Image1"), -480, -240, 15060, 8505);
    Image1->setPixmap(QPixmap::fromImage(MakerLogo()));
    Image1->installEventFilter(this);
    Image2 = AddImage(QStringLiteral("Image2"), 9000, 6120, 4740, 1275);
    Image2->setPixmap(QPixmap::fromImage(ProgramMark()));
    Image2->hide();

    Timer2 = AddTimer(QStringLiteral("Timer2"), kLogoMarkMs);
    Timer1 = AddTimer(QStringLiteral("Timer1"), kLogoCloseMs);
    // Never early: the operator is promised the whole time.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer2->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &frmTavikLogo::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &frmTavikLogo::Timer2_Timer);
}

frmTavikLogo::~frmTavikLogo() = default;

void frmTavikLogo::Form_Load() { Form_Load(platform::ScreenSizeTwips()); }

void frmTavikLogo::Form_Load(QSizeF screenTwips) {
    // Centred, 170 twips above the middle of the screen.
    Left = static_cast<float>((screenTwips.width() - Width) / 2);
    Top = static_cast<float>((screenTwips.height() - Height) / 2 - 170);
    Apply();

    // The search makes the shared folder when it is missing. It may show a
    // message box, so the timers count from after it: the logo is never
    // closed before it was shown.
    const QString root = FindDataFolder(program_, kMakerFolder, kSharedSubFolder);
    const QFileInfo splash(root + kSharedSubFolder + "/" + kSplashPicture);
    // A file that does not read as a picture is passed over: the logo shows
    // for its usual time.
    const QImage picture = splash.isFile() && !splash.isHidden() ? QImage(splash.filePath()) : QImage();
    if (picture.isNull()) {
        Timer2->start();
        Timer1->start();
        return;
    }
    Image1->setPixmap(QPixmap::fromImage(picture));
    splashPicture_ = true;
    Timer1->setInterval(kSplashPictureCloseMs);
    Timer1->start();
}

void frmTavikLogo::Form_Unload() {
    Timer1->stop();
    Timer2->stop();
    hide();
}

void frmTavikLogo::Image1_Click() { Form_Unload(); }

void frmTavikLogo::Timer1_Timer() { Form_Unload(); }

// The timer stays enabled; later ticks change nothing.
void frmTavikLogo::Timer2_Timer() { Image2->show(); }

bool frmTavikLogo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Image1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Image1_Click();
        return true;
    }
    return platform::Form::eventFilter(watched, event);
}

// ---- frmSplash ----

frmSplash::frmSplash(Program& program)
    : program_(program), screen_(platform::ScreenSizeTwips()) {
    // A fixed dialog frame without caption text.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    platform::SetBackColor(this, QColor(0, 0, 128));
    SetDesignSize(7305, 4440, 7215, 4350);

    const QColor text(Qt::white);
    platform::FontModel title{.Name = QStringLiteral("Arial"), .Size = 18, .Bold = true};
    lblCompanyName = AddLabel(QStringLiteral("lblCompanyName"), QStringLiteral("Tavik's"), 2400,
                              240, 4560, 480);
    lblProductName = AddLabel(QStringLiteral("lblProductName"),
                              QStringLiteral("Dudurozuz QSO Party"), 2400, 720, 4560, 600);
    Label13 = AddLabel(QStringLiteral("Label13"), QStringLiteral("Ostrel"), 2400, 1320, 4560, 600);
    for (QLabel* label : {lblCompanyName, lblProductName, Label13}) SetFont(label, title);
    Label1 = AddLabel(QStringLiteral("Label1"), QStringLiteral("Version"), 2400, 2040, 900, 300);
    lblVersion1 = AddLabel(QStringLiteral("lblVersion1"), QStringLiteral(OSTREL_VERSION), 3360, 2040, 900, 300);
    Image2 = AddImage(QStringLiteral("Image2"), 240, 240, 2055, 2025);
    Image2->setPixmap(QPixmap::fromImage(CountyMapPicture()));
    AddLine(QStringLiteral("Line1"), 240, 2520, 6975, 2520);
    lblWarning = AddLabel(
        QStringLiteral("lblWarning"),
        QStringLiteral("This program is provided as it is, without warranty of any kind, express "
                       "or implied.  In no event shall its author be liable for any damages "
                       "arising from its use."),
        240, 2640, 6735, 900);
    lblWarning->setWordWrap(true);
    for (QLabel* label : {lblCompanyName, lblProductName, Label13, Label1, lblVersion1, lblWarning})
        platform::SetForeColor(label, text);
    Command1 = AddCommandButton(QStringLiteral("Command1"), QStringLiteral("Continue"), 3840, 3720,
                                1455, 420);
    Command2 = AddCommandButton(QStringLiteral("Command2"), QStringLiteral("Cancel"), 5520, 3720,
                                1455, 420);
    connect(Command1, &QPushButton::clicked, this, &frmSplash::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSplash::Command2_Click);
}

frmSplash::~frmSplash() = default;

void frmSplash::Form_Load() { Form_Load(platform::ScreenSizeTwips()); }

void frmSplash::Form_Load(QSizeF screenTwips) {
    screen_ = screenTwips;
    {
        frmTavikLogo logo(program_);
        logo.Form_Load(screenTwips);
        platform::ShowModal(logo);
    }
    ResizeForm(*this, screenTwips);
    // The data and shared folders, the shared preferences and BACKUP.
    PrepareFolders(program_);
    RemoveStaleTemporaryFiles(program_);
    program_.VersionText = lblVersion1->text();
    Command1_Click();
}

void frmSplash::Command1_Click() {
    program_.VersionText = lblVersion1->text();
    hide();
    frmStationID& setupDialog = program_.frmStationID();
    setupDialog.Form_Load(screen_);
    if (program_.ended() || program_.quitting()) return;
    setupDialog.show();
    setupDialog.activateWindow();
    // The start-up window goes with its owner, the road.
}

void frmSplash::Command2_Click() { program_.Quit(); }

void StartUp(Program& program) {
    frmSplash splash(program);
    splash.Form_Load();
}

}  // namespace setup

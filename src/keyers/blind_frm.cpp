#include "keyers/blind_frm.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "keyers/keyer_window.h"
#include "platform/option_buttons.h"
#include "program/program.h"
#include "setup/station.h"

namespace keyers {

using platform::ClearOption;
using platform::OnSelected;

namespace {

const QString kFolderNote =
    QStringLiteral("Put the audio wave files in this program's working directory: ");

}  // namespace

BlindFrm::BlindFrm(Program& program, const platform::ScreenTwips& screen)
    : MMControl1(program.clock(), program.sound().OpenChannel()), program_(program) {
    setWindowTitle(QStringLiteral("Voice Navigation Settings"));
    SetDesignClientSize(7200, 5400);

    AddHeading(*this, "Label1", "Background:", 240, 120, 3000, 255);
    AddLabel("Label2",
             "Once the navigation wave files are copied into place and one of the options "
             "below is chosen, a recorded voice identifies each data entry field as it "
             "receives the focus.",
             240, 420, 6720, 660);
    AddLabel("Label3",
             "Additional suggestions and ideas for supporting visually impaired hams are "
             "welcome and appreciated.",
             240, 1140, 6720, 450);
    AddLine("Line1", 120, 1680, 7080, 1680);
    AddHeading(*this, "Label4", "To Enable Voice Navigation:", 240, 1800, 3000, 255);
    AddLabel("Label5",
             "The navigation audio wave files must be added to the working directory of this "
             "program.",
             240, 2100, 6720, 450);
    Label7 = AddLabel("Label7", kFolderNote, 240, 2580, 6720, 660);
    AddLabel("Label6",
             "Choose one of the options below.  Select Off to turn the navigation function "
             "off, Call to indicate the Call field only and All Data Fields to provide verbal "
             "prompts through all the data fields.",
             240, 3300, 6720, 660);
    Frame1 = AddFrame("Frame1", "Choose your preferred option:", 240, 4020, 6720, 720);
    Option1 = AddOptionButton("Option1", "Off", 240, 300, 1800, 285, Frame1);
    Option2 = AddOptionButton("Option2", "Call Only", 2400, 300, 1800, 285, Frame1);
    Option3 = AddOptionButton("Option3", "All Data Fields", 4560, 300, 1980, 285, Frame1);
    Command1 = AddCommandButton("Command1", "Done", 2880, 4860, 1440, 420);

    OnSelected(Option1, [this] { Option1_Click(); });
    OnSelected(Option2, [this] { Option2_Click(); });
    OnSelected(Option3, [this] { Option3_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    Form_Load(screen);
}

BlindFrm::~BlindFrm() = default;

void BlindFrm::Form_Load(const platform::ScreenTwips& screen) {
    ScaleToScreen(*this, screen);
    Label7->setText(kFolderNote + program_.folders.WorkingFolder);
    // Selecting an option runs its click handler, so the window speaks the
    // prompt of the stored mode.
    switch (program_.station.VoiceNavMode) {
    case 0:
        Option1->setChecked(true);
        ClearOption(Option2);
        ClearOption(Option3);
        break;
    case 1: Option2->setChecked(true); break;
    case 2: Option3->setChecked(true); break;
    default: break;
    }
}

void BlindFrm::Form_Unload() {
    waiting_.clear();
    holding_ = false;
    MMControl1.Close();
}

void BlindFrm::closeEvent(QCloseEvent* event) {
    event->accept();
    if (program_.BlindFrmLoaded() && &program_.blindFrm() == this)
        program_.UnloadBlindFrm();
    else
        Form_Unload();
}

void BlindFrm::BlindKeyPhone(const QString& q, bool heardWhole) {
    if (holding_) {
        waiting_.push_back({q, heardWhole});
        return;
    }
    play({q, heardWhole});
}

void BlindFrm::play(const Prompt& prompt) {
    MMControl1.Close();
    MMControl1.Open(program_.folders.WorkingFolder + "/" + prompt.name + ".wav");
    MMControl1.Play();
    if (!prompt.heardWhole) return;
    holding_ = true;
    // Called at once when nothing plays (no file).
    MMControl1.WhenEnded([this] {
        holding_ = false;
        playWaiting();
    });
}

void BlindFrm::playWaiting() {
    while (!holding_ && !waiting_.empty()) {
        const Prompt next = waiting_.front();
        waiting_.pop_front();
        play(next);
    }
}

// The options preview the choice; only Done changes the mode.
void BlindFrm::Option1_Click() { BlindKeyPhone(QStringLiteral("NavDis")); }

void BlindFrm::Option2_Click() {
    // "Call" follows when "NavEn" has been heard.
    BlindKeyPhone(QStringLiteral("NavEn"), true);
    BlindKeyPhone(QStringLiteral("Call"));
}

void BlindFrm::Option3_Click() { BlindKeyPhone(QStringLiteral("NavEn")); }

void BlindFrm::Command1_Click() {
    std::uint8_t mode = 0;
    if (Option2->isChecked()) mode = 1;
    if (Option3->isChecked()) mode = 2;
    program_.station.VoiceNavMode = mode;
    hide();
    setup::SaveQSOPref(program_);
}

}  // namespace keyers

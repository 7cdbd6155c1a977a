#include "keyers/phone_frm.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "keyers/keyer_window.h"
#include "keyers/settings_file.h"
#include "platform/colors.h"
#include "program/program.h"

namespace keyers {

namespace {

constexpr float kRowHeight = 285;

}  // namespace

PhoneFrm::PhoneFrm(Program& program)
    : MMControl1(program.clock(), program.sound().OpenChannel()), program_(program) {
    setWindowTitle(QStringLiteral("Phone Wave Selections"));
    SetDesignClientSize(8880, 6780);
    BuildSetup();
    BuildKeys();
    Timer1 = AddTimer("Timer1", 40);
    tmrRepeat = AddTimer("tmrRepeat", 0);
    Form_Load();
}

PhoneFrm::~PhoneFrm() = default;

// The top part, "Setup:": recording and connection help, and the
// push-to-talk interface.
void PhoneFrm::BuildSetup() {
    AddHeading(*this, "Label1", "Setup:", 120, 60, 1200, 255);
    AddLabel("Label2",
             "First, record and save your wave files.  You can use the Windows recorder by "
             "clicking Start, Programs, Accessories, Entertainment, Sound Recorder.",
             120, 330, 8640, 420);
    AddLabel("Label3",
             "Make sure your correct input is selected by clicking Edit, Audio Properties, click "
             "the microphone icon and select the appropriate input (usually microphone or line "
             "in).  Then click Advanced Properties under the microphone icon and set your "
             "hardware acceleration to full and your sample conversion rate quality to best.  "
             "Record a wave file by clicking the red button.  For best recording quality with "
             "Sound Recorder, click File, Properties, Convert Now, and select CD Quality from "
             "the drop down list.  Then click OK.  Click File, Save, select a folder, give the "
             "file a name and save it.",
             120, 780, 8640, 1200);
    AddLabel("Label4",
             "Connect the line-out of your sound card to the audio input of your transceiver.  "
             "Be VERY CAREFUL to start with your sound card's audio output on the lowest "
             "setting.  GRADUALLY increase the sound card's output while playing a wave file "
             "until your transceiver responds appropriately.  Overdriving your radio will cause "
             "a poor transmitted signal at best and the potential for permanent damage to your "
             "radio!  If you connect directly to the mic input of your radio, an interface may "
             "be required to prevent overdriving and/or damage.",
             120, 2040, 8640, 1140);
    AddLabel("Label5",
             "When playing the wave file, you can either key your transmitter manually, use VOX "
             "or an interface connected to your PC's serial port.  To use the serial port, "
             "please enter the valid comm setting (or 0 for none) and select whether you want "
             "to use the RTS or DTR line to key your radio.",
             120, 3300, 5400, 1080);
    Text10 = AddTextBox("Text10", "0", 5640, 3330, 840, kRowHeight);
    Text11 = AddTextBox("Text11", "&H378", 5640, 3720, 1080, kRowHeight);
    Frame1 = AddFrame("Frame1", "", 6840, 3240, 1920, 1080);
    Option1 = AddOptionButton("Option1", "RTS", 120, 180, 1560, 255, Frame1);
    Option2 = AddOptionButton("Option2", "DTR", 120, 480, 1560, 255, Frame1);
    Option3 = AddOptionButton("Option3", "Parallel", 120, 780, 1560, 255, Frame1);
    Option1->setChecked(true);
    AddLine("Line1", 0, 4440, 8880, 4440);
}

// The bottom part, "To Use:": a row per function key in three columns, then
// Test and Done.
void PhoneFrm::BuildKeys() {
    AddHeading(*this, "Label6", "To Use:", 120, 4500, 900, 255);
    AddLabel("Label7", "(You  must be in Phone mode)", 1080, 4500, 3000, 255);
    AddLabel("Label8",
             "Each wave file corresponds to a function key.  Select the wave file you would "
             "like to associate with the function key. From the main logging page, key your "
             "transmitter and press the appropriate function key each time you wish to play a "
             "wave file.",
             120, 4770, 8640, 600);

    QLineEdit** const boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5,
                                 &Text6, &Text7, &Text8, &Text9};
    QPushButton** const browse[] = {&Command2, &Command3, &Command4, &Command5, &Command6,
                                    &Command7, &Command8, &Command9, &Command10};
    for (int key = 1; key <= 9; ++key) {
        const float left = 120 + static_cast<float>((key - 1) / 3) * 2880;
        const float top = 5430 + static_cast<float>((key - 1) % 3) * 350;
        AddLabel(QString("Label%1").arg(key + 8), QString("F%1").arg(key), left, top + 30, 360,
                 255);
        *boxes[key - 1] = AddTextBox(QString("Text%1").arg(key), "", left + 360, top,
                                     key == 1 ? 1200 : 1680, kRowHeight);
        *browse[key - 1] =
            AddCommandButton(QString("Command%1").arg(key + 1), "Browse", left + 2100, top, 720, 300);
    }
    // The F1 repeat seconds, on the F1 row right of its file.
    txtPHLoop = AddTextBox("txtPHLoop", "0", 1720, 5430, 440, kRowHeight);

    Command11 = AddCommandButton("Command11", "Test", 120, 6480, 900, 300);
    AddLabel("Label18", "Plays F1 Command", 1080, 6505, 1700, 255);
    Command1 = AddCommandButton("Command1", "Done", 3000, 6480, 1200, 300);
    platform::SetForeColor(
        AddLabel("Label19", "Caution, RF feedback can damage your PC!", 4440, 6505, 4320, 255),
        QColor(192, 0, 0));
}

void PhoneFrm::Form_Load() { ScaleToScreen(*this); }

void PhoneFrm::Form_Unload() {
    MMControl1.Close();
    Timer1->stop();
    tmrRepeat->stop();
}

void PhoneFrm::FKeyPhone(int KeyCode) {
    if (KeyCode < 112 || KeyCode > 120) return;
    QLineEdit* const boxes[] = {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9};
    MMControl1.Close();
    if (!MMControl1.Open(boxes[KeyCode - 112]->text())) {
        program_.dialogs().Beep();
        return;
    }
    MMControl1.Play();
}

bool LoadVoiceSettings(Program& program) {
    std::optional<SettingsFileReader> file =
        SettingsFileReader::Open(program.WorkPath(kVoiceSettingsFile));
    if (!file) return false;
    PhoneFrm& f = program.phoneFrm();

    for (QLineEdit* box : {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7, f.Text8,
                           f.Text9, f.Text10})
        if (!file->Text(box)) return false;
    // The push-to-talk line: 0 RTS, 1 DTR, 2 parallel port; another value
    // leaves the option that is selected.
    std::optional<int> line = file->Whole(-32768, 32767);
    if (!line) return false;
    QRadioButton* const lines[] = {f.Option1, f.Option2, f.Option3};
    if (*line >= 0 && *line <= 2) lines[*line]->setChecked(true);
    if (!file->Text(f.txtPHLoop)) return false;
    if (!SetRepeatInterval(*f.tmrRepeat, f.txtPHLoop->text())) return false;
    return file->Text(f.Text11);
}

}  // namespace keyers

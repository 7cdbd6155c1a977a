#pragma once
// Voice navigation: the prompt player that names an entry field as it takes
// the focus (and announces a duplicate), and its settings window, where the
// operator chooses how much is announced (VoiceNavMode: 0 off, 1 call only,
// 2 all data fields). Each prompt is a wave file of the working folder named
// after it.
#include <QString>
#include <deque>

#include "platform/form.h"
#include "platform/twips.h"
#include "platform/wave_player.h"

class Program;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace keyers {

class BlindFrm final : public platform::Form {
public:
    // Builds the window hidden and runs its load, which speaks the prompt of
    // the stored mode.
    // Built and laid out for `screen`.
    explicit BlindFrm(Program& program,
                   const platform::ScreenTwips& screen = platform::PrimaryScreenTwips());
    ~BlindFrm() override;

    // Plays the prompt `q` (WorkingFolder/q.wav) and returns while it plays,
    // cutting short a prompt that plays now. Whether to ask for a prompt is
    // the caller's choice: VoiceNavMode is not looked at here. A prompt
    // without a file plays nothing, silently.
    //
    // A prompt asked for `heardWhole` is heard to its end: the prompts asked
    // for after it wait, and play in turn when it has ended (each cutting
    // short the one before, as usual). Nothing else waits for it: the
    // windows go on meanwhile.
    void BlindKeyPhone(const QString& q, bool heardWhole = false);

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Unload();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Command1_Click();

    // Controls.
    QLabel* Label7 = nullptr;  // where the prompt files belong
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr;  // "Off"
    QRadioButton* Option2 = nullptr;  // "Call Only"
    QRadioButton* Option3 = nullptr;  // "All Data Fields"
    QPushButton* Command1 = nullptr;  // "Done"
    platform::WavePlayer MMControl1;  // the prompt player

protected:
    // The close box unloads the window; the next use creates it afresh.
    void closeEvent(QCloseEvent* event) override;

private:
    struct Prompt {
        QString name;
        bool heardWhole;
    };
    void play(const Prompt& prompt);
    // Plays the prompts that waited, up to the next one heard whole.
    void playWaiting();

    Program& program_;
    // While a prompt is heard whole: the prompts asked for meanwhile.
    bool holding_ = false;
    std::deque<Prompt> waiting_;
};

}  // namespace keyers

#pragma once
// The CAT engine of the rig link: it opens the rig's serial port, runs the
// poll cycle (a send tick writes the radio family's polls, the next tick
// reads what has arrived and hands it to the family's reply parser), reports
// frequency and mode to the main window, and tunes the radio and sets its
// mode on request. It has no window of its own: RigControlfrm owns it and
// wires its controls to it; tests drive it directly.
#include <QByteArray>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "rig/band_plan.h"
#include "rig/rig_settings.h"

namespace platform {
class Clock;
class Dialogs;
class SerialPort;
}  // namespace platform

namespace rig {

class RigEngine {
public:
    // What the engine asks of the program around it. Every hook may be left
    // empty.
    struct Hooks {
        // The rig's frequency in MHz and its mode, for the main window's
        // band and mode selection (Form1.BandFreqConversion, ModeSelection).
        std::function<void(float& frequencyMHz)> reportFrequency;
        std::function<void(QString& mode)> reportMode;
        // A read tick with data has been parsed: the owner shows the reading
        // (FrequencyDisplayText, RigModeText, ReplyDisplayText).
        std::function<void()> showReading;
        // The rig port could not be opened; the message has been shown.
        std::function<void()> portOpenFailed;
        // Polling has stopped: End Test, a port error (its message shown
        // once) or a frequency change that failed (its message shown).
        std::function<void()> pollingStopped;
    };

    RigEngine(platform::SerialPort& port, platform::Clock& clock, platform::Dialogs& dialogs,
              Hooks hooks);
    ~RigEngine();
    RigEngine(const RigEngine&) = delete;
    RigEngine& operator=(const RigEngine&) = delete;

    // The link's settings (RigCntrl.txt) and the radio model. The owner
    // changes them; they take effect at the next OpenRigPort and tick.
    RigSettings settings;
    // The Extra-class rows of the band plan, for the sideband rule.
    BandPlanTable bandPlan;
    // The folder that stands for c:\Pegasus (PEGASUS.IN / PEGASUS.OUT).
    QString pegasusFolder;

    // (Re)opens the rig port with the settings; on failure shows "Invalid
    // Comm Settings." and runs the portOpenFailed hook. True when open.
    bool OpenRigPort();
    // Sets the tick interval from the poll rate and starts the poll timer.
    void StartPolling();
    // Stops the poll timer, ends a change under way and closes the port
    // (End Test).
    void EndPolling();
    // Writes the Yaesu CAT-off bytes when a 5-byte Yaesu is being polled,
    // then stops polling and closes the port: the end of the rig link.
    void Shutdown();
    bool Polling() const;
    int PollIntervalMs() const;
    // One tick of the poll timer: a send tick or a read tick in turn.
    void tmrGetData_Timer();

    // Tunes the radio to `qChangeFreq` MHz while polling runs: the band
    // plan's mode first, then the family's frequency command, with the poll
    // held off meanwhile. Reports its own failures ("Error Changing
    // Frequency"). It returns at once; the change goes on from timers, its
    // pauses and output waits never blocking the thread. A change asked for
    // while another runs follows it.
    void ChangeFrequency(float qChangeFreq);
    // Sets the radio's mode: `ModeToChangeTo` is a mode name ("CW", "USB",
    // ...) or empty, which takes the band plan's mode for
    // `qChangeFrequency`. Reports its own failures ("Error Changing Mode").
    // Like a frequency change, it returns at once and goes on from timers.
    void ChangeMode(float qChangeFrequency, const QString& ModeToChangeTo);
    // Writes `bytes` to the rig port as they stand, at once (the raw command
    // test). False when the port is closed or refuses them.
    bool RawOutput(const QByteArray& bytes);

    // The last reading: frequency in MHz (0 until the radio answered), mode
    // ("CW", "PH", "AM", "FM" or ""), the Kenwood active VFO (10 when none
    // was reported).
    float RigFrequencyMHz() const { return frequencyMHz_; }
    const QString& RigModeText() const { return modeText_; }
    void ClearRigModeText() { modeText_.clear(); }
    int RigActiveVFO() const { return activeVFO_; }
    // The lblFreq text of the reading ("14.02500"); empty while the
    // frequency is 0.
    QString FrequencyDisplayText() const;
    // What the last read tick took from the port, as the raw display shows
    // it (hex pairs when "Convert from Hex" is ticked).
    QString ReplyDisplayText() const { return replyDisplay_; }

    platform::SerialPort& port() { return port_; }

private:
    void sendTick();
    void readTick();
    void parseReply();
    bool writePolls(QString* error);
    // Every stop of polling: the poll timer stops and the owner hears of it.
    void stopPolling();
    void stopOnPortError(const QString& systemText);
    // The time in ms the line takes to carry `pollBytes` and the longest
    // reply to them (0 when the settings give no baud rate).
    std::int64_t lineMs(qsizetype pollBytes) const;

    // A change of frequency or mode runs as steps, one after the other. A
    // step that waits hands the thread back to the event loop, so window
    // events run meanwhile, and the next runs from the clock's timer; Stop
    // drops the rest of its change.
    struct Step {
        enum Kind { Next, Wait, Again, Stop };
        Kind kind = Next;
        int ms = 0;
    };
    struct QueuedStep {
        int change;
        std::function<Step()> run;
    };
    void addStep(std::function<Step()> step);
    // Pause: `ms` pass, the thread handed back meanwhile.
    void addPause(int ms);
    // Output wait: until the port's output has left, at most 2000 ms, looked
    // at each 1 ms, the thread handed back between looks; nothing when *skip
    // is set by then.
    void addOutputWait(std::shared_ptr<const bool> skip = {});
    // The mode change's steps; a command the port refuses leaves its text in
    // *error.
    void addModeChange(float qChangeFrequency, const QString& ModeToChangeTo, std::shared_ptr<QString> error);
    void runSteps();
    bool writePegasus(float mhz);

    platform::SerialPort& port_;
    platform::Clock& clock_;
    platform::Dialogs& dialogs_;
    Hooks hooks_;
    QTimer tmrGetData_;

    QByteArray replyBuffer_;
    // The start of a reply still arriving at the last read tick.
    QByteArray replyRest_;
    // The last poll has had no whole reply yet; the line has carried it
    // and its reply by replyDueMs_ (on the clock's monotonic ms).
    bool replyDue_ = false;
    std::int64_t replyDueMs_ = 0;
    QString replyDisplay_;
    float frequencyMHz_ = 0;
    QString modeText_;
    int activeVFO_ = 10;
    bool readTickDue_ = false;
    bool modePollDue_ = false;
    // A port error has been reported since the port last opened.
    bool portErrorReported_ = false;

    std::deque<QueuedStep> steps_;
    int changeNumber_ = 0;  // of the change whose steps are being added
    bool stepsRunning_ = false;
    // Counts the times the steps were dropped (polling ended, shutdown).
    std::uint64_t stepsDropped_ = 0;
    // The steps' timers: none runs once the engine is gone.
    QObject stepTimers_;
};

}  // namespace rig

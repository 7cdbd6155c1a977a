#pragma once
// A station at work around one program with a loaded main window: a Kenwood
// radio on a pseudo-terminal polled at "100 ms", a DX cluster on loopback
// sending spots on the current band to the band map, and F3's message keyed
// by the WinKeyer (a simulator on a pseudo-terminal) or by the software keyer
// on RTS of a pseudo-terminal port. Each load starts when asked, so a caller
// can add them one by one; the devices and the cluster run on threads of
// their own, whatever the window's thread is doing.
#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "rig/radio_emulator.h"
#include "spotting/loopback_cluster.h"
#include "support/pty_pair.h"
#include "support/winkey_simulator.h"

class Program;
class QLineEdit;
class QTimer;
class QWindow;

namespace logstore {
struct CountyTable;
}

namespace testing_support {

class OperatingLoads {
public:
    static constexpr int kRigPort = 3;
    static constexpr int kWinKeyPort = 5;
    static constexpr int kKeyingPort = 6;

    explicit OperatingLoads(Program& program);
    ~OperatingLoads();

    // The radio chosen in the rig window on its port and polled at "100 ms"
    // (the window hidden again). False when the radio did not take a poll.
    bool StartRig(int waitMs = 5000);
    // The spotting window opened on the Telnet source to the cluster (which
    // shows the band map); false when the link did not come up in `waitMs`.
    bool ConnectCluster(int waitMs = 10000);
    // Spots a second from the cluster, on the current band; 0 stops them.
    void SetSpotRate(int perSecond);
    long long SpotsSent() const;

    // F3's message, keyed by the WinKeyer at `charMs` a character; false when
    // the device did not open.
    bool UseWinKeyer(const QString& f3, int charMs);
    // F3's message, keyed by the software keyer on RTS at `wpm` (the WinKeyer
    // closed if it was open).
    void UseSoftwareKeyer(const QString& f3, int wpm);
    // Neither keyer has a message under way.
    bool KeyerIdle() const;
    // The characters the WinKeyer has keyed.
    QString WinKeyerKeyed() const;

private:
    Program& program_;
    std::unique_ptr<RadioEmulator> radio_;
    std::unique_ptr<ClusterFeed> cluster_;
    std::unique_ptr<PtyPair> winKeyPty_;
    std::unique_ptr<WinKeySimulator> winKeyer_;
    std::unique_ptr<PtyPair> keyingPty_;
};

// County names an operator can type in full: none is the start of another
// county's name (the box would complete it to the longer one) or holds a
// space (which moves on to the next box).
QStringList TypableCounties(const logstore::CountyTable& table);

// The n-th contact an operator types: a call of its own ("k0aa", "k1ab"...,
// never in the logs the fixtures write) and a county of `counties`.
struct TypedContact {
    QString call;
    QString county;
    // The keys: the call, Space, the county in small letters, Enter.
    QString Keys() const { return call + u' ' + county.toLower() + u'\n'; }
};
TypedContact ContactNumber(int n, const QStringList& counties);

// What the operator sees of the window, for a thread that types: updated on
// the window's thread whenever it runs events (every 2 ms) and whenever the
// call box changes.
struct WindowState {
    std::atomic<int> logged{0};
    std::atomic<bool> callBoxEmpty{true};
    std::atomic<bool> keyerIdle{true};
};

class WindowWatcher {
public:
    WindowWatcher(Program& program, QLineEdit* callBox, const OperatingLoads& loads, WindowState& state);
    ~WindowWatcher();
    void Update();

private:
    Program& program_;
    QLineEdit* callBox_;
    const OperatingLoads& loads_;
    WindowState& state_;
    std::unique_ptr<QTimer> timer_;
};

// The operator at the keyboard, on a thread of its own while the calling
// (window's) thread runs events until the typing is over: types contacts at a
// key each `keyEvery`, whatever the window's thread is doing, as keys queue in
// the window system while a program is busy. Each contact is F3, its keys,
// and Esc once the contact is logged and the entry line is clear. With
// `typeAhead` the operator goes straight on after Enter; without, the
// operator waits (up to `waitBound`) for the logged contact and for the
// keyer to stop after Esc. Stops after `bound` in any case.
struct Typing {
    std::chrono::milliseconds keyEvery{160};
    bool typeAhead = false;
    std::chrono::milliseconds waitBound{5000};
    std::chrono::milliseconds bound{60000};
    // Called just before each key of a contact is queued: the key, the call
    // box's text once it is handled ("" after the call), and the count of
    // contacts after its Enter.
    std::function<void(QChar key, const QString& callBox, int loggedAfter)> beforeKey;
};
void TypeContacts(QWindow* window, const WindowState& state, const std::vector<TypedContact>& contacts,
                  const Typing& typing);

// A key pressed and released as the window system delivers it: both events
// queued for `window`, handled when its thread next runs events. Characters
// are typed as the keyboard types them; '\n' is Enter and '\x1b' Esc.
void PostKeyClick(QWindow* window, QChar character);
void PostKeyClick(QWindow* window, Qt::Key key);

}  // namespace testing_support

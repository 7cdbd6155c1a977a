// The keyboard of the main window while a station works, on an X server of
// its own (Xvfb: the offscreen platform would hide the round trips to the X
// server): a log of 10,800 contacts, and contacts typed as an operator types
// them, a key each 160 ms (F3, the call, Space, the county, Enter; after
// Enter the operator waits for the logged contact, then Esc). Each key of the
// call box is timed in process from its event to the box's new text, each
// Enter from its event to the contact logged and the entry line cleared.
// A probe thread queues an event every 2 ms; the longest any of them waited
// is the longest time the event loop was held.
//
// Phases, each load added to the one before: idle (band map shown, cluster
// connected and silent), the rig (a Kenwood on a pseudo-terminal polled at
// "100 ms"), spots (a loopback cluster sending 100 spots a second), the
// WinKeyer (a simulator on a pseudo-terminal keying a long F3 message) -- the
// full load -- and the software keyer on RTS of a pseudo-terminal port at 30
// WPM in place of the WinKeyer.
//
// Prints "ratio key-under-load/key-idle", "ratio enter-under-load/enter-idle",
// "ratio key-under-softkeyer/key-idle" (each of the 99th percentiles, as a
// probe of the keyboard reports them; a key that never showed counts as the
// phase's bound of 5 s), the same of the medians ("ratio key-p50-...", steadier
// on a busy machine), "max-stall-under-load-ms" (the full load: the longest
// hold in 3 s with F3 sent and no other key) and one
// "max-stall-under-load-ms/<load>" line for each phase.
//
// The X server is Xvfb on OSTREL_BENCH_DISPLAY (e.g. ":44") when that is
// set, else on a free display Xvfb picks itself. Every phase is bounded and a
// watchdog ends the run with what was measured, should the window's thread
// never come back.
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <unistd.h>

#include "logstore/contact_log.h"
#include "mainwindow/main_window.h"
#include "platform/clock.h"
#include "platform/twips.h"
#include "setup/reference_tables.h"
#include "support/main_window_fixture.h"
#include "support/operating_loads.h"
#include "support/x_server.h"

namespace {

using Clock = std::chrono::steady_clock;
using testing_support::OperatingLoads;

constexpr double kNotShownMs = 5000;
constexpr auto kRunBound = std::chrono::seconds(240);
const QString kF3 = QStringLiteral("CQ TEST DE N0CALL N0CALL TEST CQ TEST DE N0CALL N0CALL TEST");

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// --- What was measured ------------------------------------------------------

struct PhaseResult {
    QString name;
    std::vector<double> keyMs;  // shown keys
    int keysNotShown = 0;
    std::vector<double> enterMs;
    int entersNotLogged = 0;
    double maxStallMs = 0;    // while the load ran with F3 sent and no other key
    double typingHoldMs = 0;  // while the contacts were typed (Enter's own work included)
    long long spots = 0;
    bool finished = false;

    // The nearest-rank percentile, keys that never showed counted at the bound.
    static double Percentile(std::vector<double> values, int missing, double p) {
        values.insert(values.end(), static_cast<std::size_t>(missing), kNotShownMs);
        if (values.empty()) return 0;
        std::sort(values.begin(), values.end());
        const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size())));
        return values[std::max<std::size_t>(rank, 1) - 1];
    }
    double Key(double p) const { return Percentile(keyMs, keysNotShown, p); }
    double Enter(double p) const { return Percentile(enterMs, entersNotLogged, p); }
};

std::mutex gResultsMutex;
std::vector<PhaseResult> gResults;

class Probe;
// What the watchdog needs should it end the run: the phase under way, its
// probe, and the working folder to remove.
std::mutex gRunMutex;
Probe* gRunProbe = nullptr;
QString gRunPhase;
std::string gRunFolder;

void PrintResults() {
    std::lock_guard lock(gResultsMutex);
    for (const PhaseResult& r : gResults) {
        std::printf("%-10s keys %3zu shown, %d not shown in 5 s: p50 %7.1f ms p99 %7.1f ms;"
                    " enter %2zu logged, %d not: p50 %7.1f ms p99 %7.1f ms;"
                    " longest hold %7.1f ms (%7.1f ms while typing); %lld spots%s\n",
                    qPrintable(r.name), r.keyMs.size(), r.keysNotShown, r.Key(0.5), r.Key(0.99),
                    r.enterMs.size(), r.entersNotLogged, r.Enter(0.5), r.Enter(0.99), r.maxStallMs,
                    r.typingHoldMs, r.spots, r.finished ? "" : " (cut short)");
    }
    const auto find = [](const char* name) -> const PhaseResult* {
        for (const PhaseResult& r : gResults)
            if (r.name == QLatin1String(name)) return &r;
        return nullptr;
    };
    const PhaseResult* idle = find("idle");
    const PhaseResult* load = find("load");
    const PhaseResult* soft = find("softkeyer");
    if (idle && load) {
        std::printf("ratio key-under-load/key-idle %.3f\n", load->Key(0.99) / idle->Key(0.99));
        std::printf("ratio enter-under-load/enter-idle %.3f\n", load->Enter(0.99) / idle->Enter(0.99));
    }
    if (idle && soft)
        std::printf("ratio key-under-softkeyer/key-idle %.3f\n", soft->Key(0.99) / idle->Key(0.99));
    // The medians: steadier than the 99th percentiles of a few dozen keys
    // on a machine that does other work.
    if (idle && load) {
        std::printf("ratio key-p50-under-load/key-p50-idle %.3f\n", load->Key(0.5) / idle->Key(0.5));
        std::printf("ratio enter-p50-under-load/enter-p50-idle %.3f\n", load->Enter(0.5) / idle->Enter(0.5));
    }
    if (idle && soft)
        std::printf("ratio key-p50-under-softkeyer/key-p50-idle %.3f\n", soft->Key(0.5) / idle->Key(0.5));
    if (load) std::printf("max-stall-under-load-ms %.1f\n", load->maxStallMs);
    for (const PhaseResult& r : gResults)
        std::printf("max-stall-under-load-ms/%s %.1f\n", qPrintable(r.name), r.maxStallMs);
    std::fflush(stdout);
}

// --- Probes on the window's thread ------------------------------------------

// Keys waiting for their text in the call box and Enters waiting for their
// contact (registered by the typing thread, met on the window's thread), and
// the longest wait of the events a ticker thread queues every 2 ms.
class Probe : public QObject {
public:
    static inline const QEvent::Type kTick = static_cast<QEvent::Type>(QEvent::registerEventType());
    struct TickEvent : QEvent {
        explicit TickEvent(Clock::time_point at) : QEvent(kTick), queuedAt(at) {}
        Clock::time_point queuedAt;
    };

    Probe(mainwindow::MainWindow& window, Program& program) : program_(program) {
        connect(window.entry().txtCall, &QLineEdit::textChanged, this, [this](const QString& text) {
            CallBoxChanged(text);
        });
        ticker_ = std::thread([this] {
            while (!stop_) {
                QCoreApplication::postEvent(this, new TickEvent(Clock::now()));
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    ~Probe() override {
        stop_ = true;
        ticker_.join();
    }

    // Called by the driver before it queues a key of the call box / an Enter.
    void ExpectCallBox(const QString& text) {
        std::lock_guard lock(mutex_);
        keys_.push_back({Clock::now(), text});
    }
    void ExpectLogged(int count) {
        std::lock_guard lock(mutex_);
        enterAt_ = Clock::now();
        enterCount_ = count;
        enterPending_ = true;
    }

    // The phase's figures so far, and a fresh start for the next phase.
    void TakeInto(PhaseResult& result) {
        std::lock_guard lock(mutex_);
        result.keyMs = std::move(keyMs_);
        result.enterMs = std::move(enterMs_);
        result.keysNotShown = keysNotShown_ + static_cast<int>(keys_.size());
        result.entersNotLogged = entersNotLogged_ + (enterPending_ ? 1 : 0);
        result.maxStallMs = static_cast<double>(maxStallUs_.exchange(0)) / 1000.0;
        keyMs_.clear();
        enterMs_.clear();
        keys_.clear();
        keysNotShown_ = entersNotLogged_ = 0;
        enterPending_ = false;
    }
    // The longest wait since the last call, in ms; starts again.
    double TakeStallMs() { return static_cast<double>(maxStallUs_.exchange(0)) / 1000.0; }

private:
    struct Pending {
        Clock::time_point at;
        QString text;
    };

    bool event(QEvent* e) override {
        if (e->type() != kTick) return QObject::event(e);
        const auto now = Clock::now();
        const auto waited = std::chrono::duration_cast<std::chrono::microseconds>(
                                now - static_cast<TickEvent*>(e)->queuedAt)
                                .count();
        long long seen = maxStallUs_;
        while (waited > seen && !maxStallUs_.compare_exchange_weak(seen, waited)) {}
        return true;
    }

    void CallBoxChanged(const QString& text) {
        const auto now = Clock::now();
        std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            if (keys_[i].text != text) continue;
            // The keys before this one never showed their text.
            keysNotShown_ += static_cast<int>(i);
            keyMs_.push_back(MsBetween(keys_[i].at, now));
            keys_.erase(keys_.begin(), keys_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            break;
        }
        if (enterPending_ && text.isEmpty() && program_.log.QSOCount >= enterCount_) {
            enterMs_.push_back(MsBetween(enterAt_, now));
            enterPending_ = false;
        }
    }

    Program& program_;
    std::mutex mutex_;
    std::vector<Pending> keys_;
    Clock::time_point enterAt_;
    int enterCount_ = 0;
    bool enterPending_ = false;
    std::vector<double> keyMs_;
    std::vector<double> enterMs_;
    int keysNotShown_ = 0;
    int entersNotLogged_ = 0;
    std::atomic<long long> maxStallUs_{0};
    std::atomic<bool> stop_{false};
    std::thread ticker_;
};

// The longest the event loop was held by the load alone: F3 pressed, 3 s
// with no other key, then Esc, with the keyer's stop awaited (up to 5 s).
double QuietHold(QWindow* window, Probe& probe, const OperatingLoads& loads) {
    probe.TakeStallMs();
    testing_support::PostKeyClick(window, Qt::Key_F3);
    std::optional<double> held;
    QEventLoop loop;
    QTimer::singleShot(3000, &loop, [&] {
        held = probe.TakeStallMs();
        testing_support::PostKeyClick(window, Qt::Key_Escape);
    });
    QTimer::singleShot(8000, &loop, &QEventLoop::quit);
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (held && loads.KeyerIdle()) loop.quit();
    });
    check.start(10);
    loop.exec();
    return held.value_or(8000);
}

// Runs events until `done` or `ms` pass.
template <class F>
bool RunUntil(F done, int ms) {
    return QTest::qWaitFor(done, ms);
}

}  // namespace

int main(int argc, char** argv) {
    const auto started = Clock::now();
    testing_support::XServer x;
    if (!x.Start(qgetenv("OSTREL_BENCH_DISPLAY"))) {
        std::fprintf(stderr, "keys_under_load: Xvfb did not start\n");
        return 1;
    }
    qputenv("DISPLAY", x.display());
    qputenv("QT_QPA_PLATFORM", "xcb");

    // Whatever the window's thread does, the run ends: the figures so far,
    // then out.
    std::atomic<bool> finished{false};
    std::thread watchdog([&finished, started] {
        while (!finished && Clock::now() - started < kRunBound)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (finished) return;
        std::printf("keys_under_load: the run passed %lld s and was cut short\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(kRunBound).count()));
        {
            std::lock_guard lock(gRunMutex);
            if (gRunProbe) {
                PhaseResult r;
                r.name = gRunPhase;
                gRunProbe->TakeInto(r);
                std::lock_guard results(gResultsMutex);
                gResults.push_back(std::move(r));
            }
            std::error_code ignored;
            if (!gRunFolder.empty()) std::filesystem::remove_all(gRunFolder, ignored);
        }
        PrintResults();
        // The X server goes with the bench.
        ::_exit(2);
    });

    int result = 0;
    {
        QApplication app(argc, argv);
        // The working folder in memory where there is a memory file system:
        // logging a contact waits for log.txt to reach the disk, and the disk of
        // a machine that does other work would time the Enter instead of the
        // program.
        if (::access("/dev/shm", W_OK) == 0) qputenv("TMPDIR", "/dev/shm");
        platform::SystemClock clock;
        testing_support::TestProgram::Options options;
        options.clock = &clock;
        testing_support::MainWindowFixture f(1, options);
        Program& program = f.program();
        f.t.CopyDataFile("arrlpre2.txt");
        f.t.CopyDataFile("states.txt");
        setup::LoadPrefixTable(program);
        setup::LoadStatePositionTable(program);
        QByteArray log;
        const char* const counties[] = {"Adams", "Dane", "Brown", "Iron", "Vilas", "Sauk"};
        for (int i = 1; i <= logstore::kMaxContacts - 200; ++i)
            log += testing_support::Contact(QStringLiteral("W%1AB%2").arg(i % 10).arg(QChar(u'A' + i % 26)) +
                                                QString::number(i),
                                            QString(), QString::fromLatin1(counties[i % 6]), "2013/04/07",
                                            QStringLiteral("%1:%2:00").arg(12 + i / 3600 % 12).arg(i / 60 % 60, 2, 10, QChar(u'0')),
                                            i % 3 ? "CW" : "PH", i % 2 ? "40" : "20");
        f.WriteLog(log);
        f.t.dialogs.msgAnswers.push_back(platform::vbYes);
        mainwindow::MainWindow& w = program.OpenMainWindow();
        w.Form_Load(platform::ScreenSizeTwips());
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w, 5000)) std::printf("keys_under_load: the window is not active\n");
        w.cmdLogOn_Click();
        w.entry().txtCall->setFocus();
        std::printf("keys_under_load: %s, %d contacts in the log, window %dx%d\n", x.display().constData(),
                    program.log.QSOCount, w.width(), w.height());

        OperatingLoads loads(program);
        if (!loads.ConnectCluster()) std::printf("keys_under_load: the cluster did not connect\n");
        Probe probe(w, program);
        {
            std::lock_guard lock(gRunMutex);
            gRunProbe = &probe;
            gRunFolder = f.t.root().toStdString();
        }
        testing_support::WindowState state;
        testing_support::WindowWatcher watcher(program, w.entry().txtCall, loads, state);
        const QStringList typable = testing_support::TypableCounties(program.counties);
        int contactNumber = 0;

        const auto phase = [&](const char* name, int contacts) {
            std::vector<testing_support::TypedContact> list;
            for (int i = 0; i < contacts; ++i) list.push_back(testing_support::ContactNumber(contactNumber++, typable));
            RunUntil([] { return false; }, 300);  // the load settles
            PhaseResult r;
            r.name = QString::fromLatin1(name);
            {
                PhaseResult discard;
                probe.TakeInto(discard);
                std::lock_guard lock(gRunMutex);
                gRunPhase = r.name;
            }
            const long long spotsBefore = loads.SpotsSent();
            testing_support::Typing typing;
            typing.bound = std::chrono::seconds(8) * contacts;
            typing.beforeKey = [&probe](QChar key, const QString& callBox, int loggedAfter) {
                if (!callBox.isEmpty()) probe.ExpectCallBox(callBox);
                if (key == u'\n') probe.ExpectLogged(loggedAfter);
            };
            testing_support::TypeContacts(w.windowHandle(), state, list, typing);
            probe.TakeInto(r);
            r.typingHoldMs = r.maxStallMs;
            r.maxStallMs = QuietHold(w.windowHandle(), probe, loads);
            r.spots = loads.SpotsSent() - spotsBefore;
            r.finished = true;
            if (r.name == QLatin1String("warm-up")) return;
            std::lock_guard lock(gResultsMutex);
            gResults.push_back(std::move(r));
        };

        // The first contacts after the load build what later ones reuse.
        phase("warm-up", 2);
        phase("idle", 12);
        if (!loads.StartRig()) std::printf("keys_under_load: the radio took no poll\n");
        phase("rig", 5);
        loads.SetSpotRate(100);
        phase("rig+spots", 5);
        if (!loads.UseWinKeyer(kF3, 300)) std::printf("keys_under_load: the WinKeyer did not open\n");
        phase("load", 12);
        loads.UseSoftwareKeyer(kF3, 30);
        phase("softkeyer", 10);
        loads.SetSpotRate(0);
        std::printf("keys_under_load: %d contacts in the log at the end\n", program.log.QSOCount);
        {
            std::lock_guard lock(gRunMutex);
            finished = true;
            gRunProbe = nullptr;
        }
        PrintResults();
        w.close();
    }
    watchdog.join();
    x.Stop();
    return result;
}

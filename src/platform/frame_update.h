#pragma once
// The redraw of a view fed by a stream (spots arriving many a second): new
// data marks the view dirty, and one queued update redraws it from the event
// loop, no sooner than a frame after the update before. Any number of marks
// before the update runs make one redraw, so the view costs at most one
// redraw a frame however fast the data comes.
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace platform {

class FrameUpdate {
public:
    // The shortest time between two queued redraws: one frame at 60 Hz.
    static constexpr int kFrameMs = 16;

    // `redraw` runs on the thread of `context`, and never once `context` is
    // gone.
    FrameUpdate(QObject* context, std::function<void()> redraw);

    // Asks for one redraw.
    void Mark();
    // Drops a redraw asked for and not run yet (the view was redrawn
    // another way meanwhile).
    void Cancel() { timer_.stop(); }
    // Whether a redraw has been asked for and has not run yet.
    bool Pending() const { return timer_.isActive(); }

private:
    void run();

    std::function<void()> redraw_;
    QTimer timer_;
    QElapsedTimer last_;  // since the last queued redraw
};

}  // namespace platform

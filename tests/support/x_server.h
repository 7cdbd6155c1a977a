#pragma once
// An X server of a test's or a benchmark's own: Xvfb, started before the
// program talks to X, and ended with this object (or with the process that
// started it, however that ends).
#include <QByteArray>
#include <sys/types.h>

namespace testing_support {

class XServer {
public:
    // Starts Xvfb with `screen` ("1280x1024x24") on `display` (":44"), or on
    // a display of its choosing when `display` is empty; false when it did
    // not come up in 15 s.
    bool Start(const QByteArray& display, const QByteArray& screen = "1280x1024x24");
    // Starts it on the first display from :100 up that no other X server
    // holds; false when none came up.
    bool StartOnFreeDisplay(const QByteArray& screen);
    void Stop();
    ~XServer() { Stop(); }

    QByteArray display() const { return display_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    QByteArray display_;
};

}  // namespace testing_support

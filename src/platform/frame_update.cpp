#include "platform/frame_update.h"

#include <algorithm>

namespace platform {

FrameUpdate::FrameUpdate(QObject* context, std::function<void()> redraw)
    : redraw_(std::move(redraw)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, context, [this] { run(); });
}

void FrameUpdate::Mark() {
    if (timer_.isActive()) return;
    const qint64 since = last_.isValid() ? last_.elapsed() : kFrameMs;
    timer_.start(static_cast<int>(std::max<qint64>(0, kFrameMs - since)));
}

void FrameUpdate::run() {
    last_.start();
    redraw_();
}

}  // namespace platform

#include "platform/modal.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

// Ends the modal loop once the window is no longer visible. A minimized
// window stays visible and keeps the loop going.
class HideWatcher final : public QObject {
public:
    explicit HideWatcher(QEventLoop& loop) : loop_(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && !static_cast<QWidget*>(watched)->isVisible())
            loop_.quit();
        return false;
    }

private:
    QEventLoop& loop_;
};

}  // namespace

void ShowModal(QWidget& window) {
    QPointer<QWidget> alive(&window);
    QEventLoop loop;
    HideWatcher watcher(loop);
    window.installEventFilter(&watcher);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    const Qt::WindowModality previous = window.windowModality();
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    if (window.isVisible()) loop.exec(QEventLoop::DialogExec);
    if (!alive) return;
    window.removeEventFilter(&watcher);
    window.setWindowModality(previous);
}

}  // namespace platform

#include "platform/modal.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

// Ends the modal loop when the window is hidden from the program (not when
// the window system hides it, as when it is minimised).
class HideWatch final : public QObject {
public:
    explicit HideWatch(QEventLoop& loop) : loop_(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && !event->spontaneous()) loop_.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
};

}  // namespace

void ShowModal(QWidget& window) {
    QPointer<QWidget> guard(&window);
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    // A window whose load or show already hid it again has nothing to wait for.
    if (window.isHidden()) return;

    QEventLoop loop;
    HideWatch watch(loop);
    window.installEventFilter(&watch);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
    if (guard) guard->removeEventFilter(&watch);
}

}  // namespace platform

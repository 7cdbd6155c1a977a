#include "platform/modal.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
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

// Whether the window's title bar carries a close box.
bool HasCloseBox(const QWidget& window) {
    const Qt::WindowFlags flags = window.windowFlags();
    if (flags.testFlag(Qt::FramelessWindowHint)) return false;
    return !flags.testFlag(Qt::CustomizeWindowHint) || flags.testFlag(Qt::WindowCloseButtonHint);
}

// Esc pressed anywhere in the window closes it as its close box does, before
// any control sees the key (a box that filters its keys would otherwise
// swallow it), so an operator at the keyboard always has a way out. A window
// without a close box is left by its own buttons alone.
class EscapeCloser final : public QObject {
public:
    explicit EscapeCloser(QWidget& window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier) return false;
        if (static_cast<QWidget*>(watched)->window() != &window_ || !HasCloseBox(window_))
            return false;
        window_.close();
        return true;
    }

private:
    QWidget& window_;
};

}  // namespace

void ShowModal(QWidget& window) {
    QPointer<QWidget> alive(&window);
    QEventLoop loop;
    HideWatcher watcher(loop);
    EscapeCloser escape(window);
    window.installEventFilter(&watcher);
    qApp->installEventFilter(&escape);
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

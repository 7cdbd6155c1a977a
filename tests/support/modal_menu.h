#pragma once
// Driving a menu item that shows a window modally: the test's checks run on
// the window while it is shown, and the window is closed afterwards whatever
// they did, so a failing check never leaves the test waiting.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace testing_support {

// Triggers `item` and runs `operate` on the modal window of class W that it
// shows. Returns that window (null once it has been unloaded).
template <class W>
QPointer<W> OpenFromMenu(QAction* item, const std::function<void(W&)>& operate) {
    QPointer<W> shown;
    QObject pending;  // a menu that shows nothing leaves no timer behind
    QTimer::singleShot(0, &pending, [&] {
        shown = dynamic_cast<W*>(QApplication::activeModalWidget());
        if (!shown) return;
        operate(*shown);
        if (shown && shown->isVisible()) shown->close();
    });
    item->trigger();
    return shown;
}

// Whether no top-level window of class W is left once deferred deletions ran.
template <class W>
bool NoWindowLeft() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (dynamic_cast<W*>(widget)) return false;
    return true;
}

}  // namespace testing_support

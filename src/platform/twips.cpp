#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

QSizeF ScreenSizeTwips() {
    QScreen* screen = QGuiApplication::primaryScreen();
    QSize px = screen ? screen->size() : QSize(640, 480);
    return QSizeF(PixelsToTwips(px.width()), PixelsToTwips(px.height()));
}

QSizeF WorkAreaTwips() {
    QScreen* screen = QGuiApplication::primaryScreen();
    QSize px = screen ? screen->availableSize() : QSize(640, 480);
    return QSizeF(PixelsToTwips(px.width()), PixelsToTwips(px.height()));
}

}  // namespace platform

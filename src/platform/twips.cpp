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

ScreenTwips PrimaryScreenTwips() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {QSizeF(9600, 7200), QRectF(0, 0, 9600, 7200)};
    const QRect work = screen->availableGeometry().translated(-screen->geometry().topLeft());
    return {ScreenSizeTwips(), QRectF(PixelsToTwips(work.left()), PixelsToTwips(work.top()),
                                      PixelsToTwips(work.width()), PixelsToTwips(work.height()))};
}

}  // namespace platform

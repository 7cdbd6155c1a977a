#include "platform/colors.h"

#include <QPalette>
#include <QWidget>

namespace platform {

void SetForeColor(QWidget* widget, const QColor& color) {
    // An unchanged colour costs nothing: no new palette, no repaint.
    if (widget->palette().color(widget->foregroundRole()) == color) return;
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), color);
    widget->setPalette(palette);
}

void SetBackColor(QWidget* widget, const QColor& color) {
    if (widget->autoFillBackground() && widget->palette().color(widget->backgroundRole()) == color)
        return;
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor ForeColor(const QWidget* widget) { return widget->palette().color(widget->foregroundRole()); }

QColor BackColor(const QWidget* widget) { return widget->palette().color(widget->backgroundRole()); }

}  // namespace platform

#include "platform/colors.h"

#include <QPalette>
#include <QWidget>

namespace platform {

void SetForeColor(QWidget* widget, const QColor& color) {
    // An unchanged colour costs nothing: no new palette, no repaint.
    if (widget->palette().color(QPalette::WindowText) == color) return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

void SetBackColor(QWidget* widget, const QColor& color) {
    if (widget->autoFillBackground() && widget->palette().color(QPalette::Window) == color) return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor ForeColor(const QWidget* widget) { return widget->palette().color(QPalette::WindowText); }

QColor BackColor(const QWidget* widget) { return widget->palette().color(QPalette::Window); }

}  // namespace platform

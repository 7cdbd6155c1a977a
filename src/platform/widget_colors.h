#pragma once
// A control's fore and back colours, as a window's design sets them.
#include <QColor>
#include <QPalette>
#include <QWidget>

namespace platform {

inline void SetForeColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), color);
    widget->setPalette(palette);
}

inline void SetBackColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace platform

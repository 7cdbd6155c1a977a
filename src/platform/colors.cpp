#include "platform/colors.h"

#include <QAbstractScrollArea>
#include <QPalette>
#include <QWidget>

namespace platform {

namespace {

// The roles a widget's text and background are painted with. A box of
// several lines or a list paints both in its viewport, with the Text and
// Base colours; the frame around it keeps the window's.
QPalette::ColorRole foreRole(const QWidget* widget) {
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(widget))
        return area->viewport()->foregroundRole();
    return widget->foregroundRole();
}

QPalette::ColorRole backRole(const QWidget* widget) {
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(widget))
        return area->viewport()->backgroundRole();
    return widget->backgroundRole();
}

}  // namespace

void SetForeColor(QWidget* widget, const QColor& color) {
    // An unchanged colour costs nothing: no new palette, no repaint.
    if (ForeColor(widget) == color && widget->palette().color(widget->foregroundRole()) == color) return;
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), color);
    palette.setColor(foreRole(widget), color);
    widget->setPalette(palette);
}

void SetBackColor(QWidget* widget, const QColor& color) {
    if (widget->autoFillBackground() && BackColor(widget) == color &&
        widget->palette().color(widget->backgroundRole()) == color)
        return;
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), color);
    // The viewport takes the colour from its box's palette.
    palette.setColor(backRole(widget), color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor ForeColor(const QWidget* widget) { return widget->palette().color(foreRole(widget)); }

QColor BackColor(const QWidget* widget) { return widget->palette().color(backRole(widget)); }

}  // namespace platform

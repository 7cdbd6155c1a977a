#pragma once
// Colours as the settings files keep them: one number, red in the low byte,
// then green, then blue.
#include <QColor>
#include <cstdint>

class QWidget;

namespace platform {

inline QColor FromStoredColor(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

inline std::int32_t ToStoredColor(const QColor& color) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                     (static_cast<std::uint32_t>(color.green()) << 8) |
                                     (static_cast<std::uint32_t>(color.blue()) << 16));
}

// Sets the text colour of a label or other widget.
void SetForeColor(QWidget* widget, const QColor& color);
void SetBackColor(QWidget* widget, const QColor& color);
QColor ForeColor(const QWidget* widget);
QColor BackColor(const QWidget* widget);

}  // namespace platform

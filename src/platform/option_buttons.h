#pragma once
// Option buttons as the windows use them: an option's click handler runs when
// the option becomes selected, by the operator's click or from code, and an
// option can be cleared from code even though the options of a container
// exclude each other.
#include <QRadioButton>
#include <functional>

namespace platform {

// Runs `click` each time `option` becomes selected.
inline void OnSelected(QRadioButton* option, std::function<void()> click) {
    QObject::connect(option, &QRadioButton::toggled, option,
                     [click = std::move(click)](bool selected) {
                         if (selected) click();
                     });
}

// Clears `option` without selecting another one of its container.
inline void ClearOption(QRadioButton* option) {
    if (!option->isChecked()) return;
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

}  // namespace platform

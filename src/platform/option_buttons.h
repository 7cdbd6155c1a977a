#pragma once
// Option buttons as the windows use them: an option's click handler runs when
// the option becomes selected, by the operator's click or from code, and an
// option can be cleared from code even though the options of a container
// exclude each other.
#include <QRadioButton>
#include <functional>
#include <memory>
#include <span>
#include <vector>

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

// Makes the options of one container a single tab stop, as on Windows: Tab
// reaches the selected option only (the first one while none is selected);
// the arrow keys still move between the options.
inline void TabStopOnSelected(std::span<QRadioButton* const> group) {
    if (group.empty()) return;
    auto options = std::make_shared<std::vector<QRadioButton*>>(group.begin(), group.end());
    auto update = [options] {
        bool any = false;
        for (QRadioButton* option : *options) any = any || option->isChecked();
        for (QRadioButton* option : *options) {
            const bool stop = any ? option->isChecked() : option == options->front();
            option->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    };
    for (QRadioButton* option : *options)
        QObject::connect(option, &QRadioButton::toggled, option, update);
    update();
}

}  // namespace platform

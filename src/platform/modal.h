#pragma once
// Showing a window modally, as the menus open their dialogs: the call returns
// when the window is hidden again (its own button or its close box) or goes
// away. Meanwhile events run: the program's timers go on, and the other
// windows take no input.
class QWidget;

namespace platform {

void ShowModal(QWidget& window);

}  // namespace platform

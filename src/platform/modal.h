#pragma once
// A window shown modally, as a VB form shown with vbModal: every other window
// of the program is blocked, and the call returns once the window is hidden
// (by one of its handlers, its close box or an unload) or deleted. Events run
// meanwhile, the window's timers among them.
class QWidget;

namespace platform {

void ShowModal(QWidget& window);

}  // namespace platform

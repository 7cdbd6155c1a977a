#pragma once
// The caret of a text box as the windows' key handlers read it: the start of
// the selection when text is selected (Qt leaves the cursor at the end a
// selection was made towards), else the cursor position.
#include <QLineEdit>

namespace platform {

inline int SelStart(const QLineEdit* box) {
    return box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
}

}  // namespace platform

#pragma once
// The key model the windows are written in, on top of Qt's key events.
//
// For every key of a window: the window's key preview (form-level handlers)
// runs first, then the handlers of the control that has the focus.
//   1. KeyDown(KeyCode, Shift): preview, then control. KeyCode is the Windows
//      virtual-key code, Shift the mask 1 Shift, 2 Ctrl, 4 Alt. A handler that
//      sets KeyCode to 0 swallows the key-down: later KeyDown handlers do not
//      run and the control's own handling of the key (an arrow moving the
//      caret, Delete, Home...) does not happen.
//   2. KeyPress(KeyAscii), for keys that type a character (printable text,
//      Backspace 8, Enter 13, Esc 27, Ctrl+letter 1 to 26, and Tab 9 for a
//      control that takes Tab; Alt with a key types none, as on Windows):
//      preview, then control. A handler may change
//      KeyAscii (the control then gets the new character) or set it to 0 (the
//      control gets nothing). The KeyPress runs even when the KeyDown was
//      swallowed, as on Windows.
//   3. KeyUp(KeyCode, Shift) on release, in the same way as KeyDown.
// A character left non-zero takes effect in the control that had the focus
// when the key went down, as typing would: a text box inserts it at the caret
// (replacing a selection), Backspace deletes, Enter and Esc insert nothing.
//
// Tab is Qt's: it moves the focus to the next tab stop and no handler sees it,
// unless the focused control is attached with `takesTab`; then Tab runs the
// three steps as a key like any other and the focus stays.
//
// KeyAscii is the character's UTF-16 code; for the letters of Latin-1 that is
// their Windows-1252 code as well.
#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <map>
#include <memory>

class QKeyEvent;
class QWidget;

namespace platform {

// Windows virtual-key codes that the windows compare with.
enum VirtualKey : int {
    vbKeyBack = 8,
    vbKeyTab = 9,
    vbKeyReturn = 13,
    vbKeyShift = 16,
    vbKeyControl = 17,
    vbKeyMenu = 18,  // Alt
    vbKeyEscape = 27,
    vbKeySpace = 32,
    vbKeyPageUp = 33,
    vbKeyPageDown = 34,
    vbKeyEnd = 35,
    vbKeyHome = 36,
    vbKeyLeft = 37,
    vbKeyUp = 38,
    vbKeyRight = 39,
    vbKeyDown = 40,
    vbKeyInsert = 45,
    vbKeyDelete = 46,
    vbKeyA = 65,
    vbKeyZ = 90,
    vbKeyNumpad0 = 96,
    vbKeyF1 = 112,
    vbKeyF12 = 123,
};

// Bits of the Shift argument.
enum ShiftMask : int {
    vbShiftMask = 1,
    vbCtrlMask = 2,
    vbAltMask = 4,
};

struct KeyHandlers {
    std::function<void(int& KeyCode, int& Shift)> keyDown{};
    std::function<void(int& KeyAscii)> keyPress{};
    std::function<void(int& KeyCode, int& Shift)> keyUp{};
    // Tab reaches the handlers (KeyCode 9, KeyAscii 9) and does not move the
    // focus. Only for controls; the preview sees Tab when the control does.
    bool takesTab = false;
};

// The virtual-key code of a Qt key (US keyboard layout for the punctuation
// keys); 0 for a key Windows has no code for.
int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// One adapter per window, a child of it. The handlers may set the focus, send
// a Tab, show modal boxes, pump events, or delete the control or the window.
class KeyAdapter final : public QObject {
public:
    explicit KeyAdapter(QWidget* window);

    // The window's key preview; handlers left empty see nothing.
    void SetKeyPreview(KeyHandlers handlers);
    // The control's own handlers (a control of this window; an earlier set is
    // replaced). Keys of a widget inside the control (the line edit of a combo
    // box) count as the control's.
    void Attach(QWidget* control, KeyHandlers handlers);
    void Detach(QWidget* control);

    // Keys kept waiting: while `hold` answers true for the widget a key from
    // the keyboard is for, that key (its press and its release) is kept
    // instead of handled, and so is every later key from the keyboard for the
    // window while kept ones wait.
    // ReleaseKeys() hands them on in their order, one at a time, each to the
    // widget that has the focus by then and after the one before, and what it
    // queued, has been handled: exactly as if they were typed then. A key
    // that `hold` holds again at its turn stops the release until the next.
    void SetKeyHold(std::function<bool(QWidget* receiver)> hold);
    void ReleaseKeys();

    // A Tab keystroke sent from code: queued, it acts once the running handler
    // (and the key that called it) is done and the focus handlers queued
    // meanwhile have run, on the focused control of the active window,
    // exactly as a Tab typed then would.
    static void SendTab();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Target {
        QPointer<QWidget> receiver;  // the widget Qt gave the key to
        QPointer<QWidget> control;   // the attached control it belongs to, if any
        KeyHandlers handlers;        // a copy: handlers may attach or detach
    };

    Target targetFor(QWidget* receiver) const;
    void handleKeyPress(const QKeyEvent& event, Target target);
    void handleKeyRelease(const QKeyEvent& event, Target target);
    // Gives the control a copy of `event` that this adapter lets pass.
    void deliver(QWidget* receiver, const QKeyEvent& event);
    // Hands on the first kept key, then asks for the next.
    void releaseNext();

    struct HeldKey {
        QPointer<QWidget> receiver;
        std::unique_ptr<QKeyEvent> event;
    };

    QWidget* window_;
    KeyHandlers preview_;
    std::map<const QWidget*, KeyHandlers> controls_;
    const QEvent* delivering_ = nullptr;
    std::function<bool(QWidget*)> hold_;
    std::deque<HeldKey> held_;
    bool releasePosted_ = false;
};

}  // namespace platform

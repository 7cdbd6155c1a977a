#include "platform/key_adapter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <utility>

namespace platform {

namespace {

constexpr int kEscape = 27;

// Keys whose Windows code is not the Qt code itself (letters and digits are
// the same in both numberings).
int namedKeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Alt: return vbKeyMenu;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return vbKeyInsert;
    case Qt::Key_Delete: return vbKeyDelete;
    case Qt::Key_Meta: return 91;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    // Shifted digits of a US keyboard: the code of the digit key.
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    // Punctuation keys of a US keyboard, either case.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return 0;
    }
}

// The number pad has codes of its own.
int keypadKeyCode(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vbKeyNumpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    default: return 0;
    }
}

int modifierBit(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Shift: return vbShiftMask;
    case Qt::Key_Control: return vbCtrlMask;
    case Qt::Key_Alt: return vbAltMask;
    default: return 0;
    }
}

// The Shift argument. A modifier key counts itself held while it is down and
// no longer on its release, as on Windows (Qt platforms differ here).
int shiftState(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= vbShiftMask;
    if (modifiers & Qt::ControlModifier) shift |= vbCtrlMask;
    if (modifiers & Qt::AltModifier) shift |= vbAltMask;
    const int own = modifierBit(event.key());
    return event.type() == QEvent::KeyPress ? shift | own : shift & ~own;
}

bool isTab(const QKeyEvent& event) {
    return event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab;
}

// The character code a key types, 0 for a key that types none. Alt with a key
// is a menu key on Windows and types nothing; Ctrl with a letter types the
// control character 1 to 26; AltGr (Ctrl+Alt) types what the layout gives.
int characterCode(const QKeyEvent& event, bool takesTab) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    if (alt && !ctrl) return 0;
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return takesTab ? vbKeyTab : 0;
    default: break;
    }
    if (ctrl && !alt) return key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + 1 : 0;
    const QString text = event.text();
    if (text.isEmpty()) return 0;
    const int code = text.front().unicode();
    return code >= ' ' && code != 0x7F ? code : 0;
}

// The key event that types `code` in place of the key the operator pressed;
// nullptr for Tab, which a control never gets as a character, and for the
// control codes that no key types alone.
std::unique_ptr<QKeyEvent> characterEvent(int code) {
    const QString text(QChar(static_cast<char16_t>(code)));
    auto make = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, key, modifiers, text);
    };
    switch (code) {
    case vbKeyBack: return make(Qt::Key_Backspace);
    case vbKeyTab: return nullptr;
    case vbKeyReturn: return make(Qt::Key_Return);
    case kEscape: return make(Qt::Key_Escape);
    default: break;
    }
    if (code <= 26) return make(Qt::Key_A + code - 1, Qt::ControlModifier);
    if (code < ' ') return nullptr;
    return make(QChar(static_cast<char16_t>(code)).toUpper().unicode());
}

// The same key without its text, for a key that types no character.
QKeyEvent withoutText(const QKeyEvent& event) {
    return QKeyEvent(event.type(), event.key(), event.modifiers(), event.nativeScanCode(),
                     event.nativeVirtualKey(), event.nativeModifiers(), QString(),
                     event.isAutoRepeat(), static_cast<quint16>(event.count()), event.device());
}

bool hasAny(const KeyHandlers& handlers) {
    return handlers.keyDown || handlers.keyPress || handlers.keyUp;
}

// Runs KeyDown or KeyUp: the preview, then the control unless the preview
// swallowed the key. True when the control's own handling of the key may
// follow: no handler set the code to 0 (a key Windows has no code for goes
// to no handler and always follows).
bool runKeyHandlers(const QKeyEvent& event, const std::function<void(int&, int&)>& preview,
                    const std::function<void(int&, int&)>& control,
                    const QPointer<QObject>& alive) {
    int keyCode = VirtualKeyCode(event.key(), event.modifiers());
    if (keyCode == 0) return true;
    int shift = shiftState(event);
    if (preview) preview(keyCode, shift);
    if (alive && keyCode != 0 && control) control(keyCode, shift);
    return keyCode != 0;
}

// Queued by SendTab: a Tab press and release on the focused control of the
// active window, as the keyboard would deliver them.
void typeTab() {
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QWidget* target = QApplication::focusWidget();
        if (!target) target = QApplication::activeWindow();
        if (!target) return;
        QKeyEvent tab(type, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        QCoreApplication::sendEvent(target, &tab);
    }
}

// A posted event of a type registered for one purpose.
template <int Purpose>
class QueuedEvent final : public QEvent {
public:
    static QEvent::Type kind() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    QueuedEvent() : QEvent(kind()) {}
};

// Carries a Tab sent from code through the event queue.
using TabEvent = QueuedEvent<0>;
// Asks a key adapter to hand on the next key it keeps.
using ReleaseEvent = QueuedEvent<1>;

// Types the queued Tabs; one lives as long as the application.
class TabTyper final : public QObject {
public:
    using QObject::QObject;
    bool event(QEvent* event) override {
        if (event->type() != TabEvent::kind()) return QObject::event(event);
        typeTab();
        return true;
    }
};

}  // namespace

int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (const int code = keypadKeyCode(qtKey)) return code;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vbKeyF1 + (qtKey - Qt::Key_F1);
    return namedKeyCode(qtKey);
}

KeyAdapter::KeyAdapter(QWidget* window) : QObject(window), window_(window) {
    // Keys go to the focused widget first; only the application sees them
    // before any widget of the window does.
    QCoreApplication::instance()->installEventFilter(this);
}

void KeyAdapter::SetKeyPreview(KeyHandlers handlers) { preview_ = std::move(handlers); }

void KeyAdapter::Attach(QWidget* control, KeyHandlers handlers) {
    if (!controls_.contains(control)) {
        connect(control, &QObject::destroyed, this,
                [this, control] { controls_.erase(control); });
    }
    controls_[control] = std::move(handlers);
}

void KeyAdapter::Detach(QWidget* control) {
    if (controls_.erase(control) != 0) disconnect(control, &QObject::destroyed, this, nullptr);
}

void KeyAdapter::SendTab() {
    // Posted below the ordinary events, the Tab acts after the focus
    // handlers that the running handler's focus changes have queued: a
    // handler that moves the focus on by itself has done so when the Tab
    // arrives, as on the keyboard.
    static QPointer<TabTyper> typer;
    if (!typer) typer = new TabTyper(QCoreApplication::instance());
    QCoreApplication::postEvent(typer, new TabEvent, Qt::LowEventPriority);
}

void KeyAdapter::SetKeyHold(std::function<bool(QWidget* receiver)> hold) { hold_ = std::move(hold); }

void KeyAdapter::ReleaseKeys() {
    if (held_.empty() || releasePosted_) return;
    // Below the ordinary events, as a Tab sent from code is: the key before
    // has had its focus handlers and its Tab when the next one comes.
    releasePosted_ = true;
    QCoreApplication::postEvent(this, new ReleaseEvent, Qt::LowEventPriority);
}

bool KeyAdapter::event(QEvent* event) {
    if (event->type() != ReleaseEvent::kind()) return QObject::event(event);
    releasePosted_ = false;
    releaseNext();
    return true;
}

void KeyAdapter::releaseNext() {
    if (held_.empty()) return;
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) target = held_.front().receiver;
    if (target == nullptr) {
        held_.pop_front();
        ReleaseKeys();
        return;
    }
    if (hold_ && target->window() == window_ && hold_(target)) return;
    HeldKey key = std::move(held_.front());
    held_.pop_front();
    const QPointer<QObject> alive(this);
    QCoreApplication::sendEvent(target, key.event.get());
    if (alive) ReleaseKeys();
}

KeyAdapter::Target KeyAdapter::targetFor(QWidget* receiver) const {
    Target target{receiver, nullptr, {}};
    for (QWidget* w = receiver; w != nullptr; w = w->parentWidget()) {
        if (auto found = controls_.find(w); found != controls_.end()) {
            target.control = w;
            target.handlers = found->second;
            break;
        }
        if (w == window_) break;
    }
    return target;
}

bool KeyAdapter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    if (event == delivering_ || !watched->isWidgetType()) return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver->window() != window_) return false;

    auto& key = static_cast<QKeyEvent&>(*event);
    // Only keys from the keyboard are kept: a Tab sent from code, a kept key
    // handed on, and the copies this adapter delivers act when they come.
    if (event->spontaneous() && (!held_.empty() || (hold_ && hold_(receiver)))) {
        held_.push_back({receiver, std::unique_ptr<QKeyEvent>(key.clone())});
        key.accept();
        return true;
    }
    Target target = targetFor(receiver);
    if (isTab(key) && !target.handlers.takesTab) return false;
    if (!hasAny(preview_) && !hasAny(target.handlers)) return false;

    // The key is ours from here: whatever survives the handlers is delivered
    // anew, so Qt must not hand the original on to the parents.
    key.accept();
    if (type == QEvent::KeyPress)
        handleKeyPress(key, std::move(target));
    else
        handleKeyRelease(key, std::move(target));
    return true;
}

void KeyAdapter::handleKeyPress(const QKeyEvent& event, Target target) {
    // Handlers may delete the window and this adapter with it: run copies of
    // them and touch no member once `alive` is gone.
    const KeyHandlers preview = preview_;
    const QPointer<QObject> alive(this);

    const bool keyGoesOn = runKeyHandlers(event, preview.keyDown, target.handlers.keyDown, alive);
    if (!alive) return;

    const int typed = characterCode(event, target.handlers.takesTab);
    if (typed == 0) {
        // A key without a character: the control handles it unless swallowed.
        if (keyGoesOn) deliver(target.receiver, withoutText(event));
        return;
    }
    int keyAscii = typed;
    if (preview.keyPress) preview.keyPress(keyAscii);
    if (alive && keyAscii != 0 && target.handlers.keyPress) target.handlers.keyPress(keyAscii);
    if (!alive || keyAscii == 0) return;
    if (keyAscii == typed) {
        if (typed != vbKeyTab) deliver(target.receiver, event);
    } else if (const auto changed = characterEvent(keyAscii)) {
        deliver(target.receiver, *changed);
    }
}

void KeyAdapter::handleKeyRelease(const QKeyEvent& event, Target target) {
    // Windows sends no key-up between the repeats of a held key.
    if (event.isAutoRepeat()) {
        deliver(target.receiver, event);
        return;
    }
    const std::function<void(int&, int&)> previewKeyUp = preview_.keyUp;
    const QPointer<QObject> alive(this);
    const bool keyGoesOn = runKeyHandlers(event, previewKeyUp, target.handlers.keyUp, alive);
    if (alive && keyGoesOn && !isTab(event)) deliver(target.receiver, event);
}

void KeyAdapter::deliver(QWidget* receiver, const QKeyEvent& event) {
    if (receiver == nullptr) return;
    const std::unique_ptr<QKeyEvent> copy(event.clone());
    const QEvent* outer = std::exchange(delivering_, copy.get());
    const QPointer<QObject> alive(this);
    QCoreApplication::sendEvent(receiver, copy.get());
    if (alive) delivering_ = outer;
}

}  // namespace platform

#pragma once
// The program-wide values of the keyers and voice aids.
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>

namespace keyers {

// The characters waiting to be sent in CW. Emptying it (Esc, Stop, any key
// that ends a repeat, closing the program) takes back everything not yet
// keyed, the character the software keyer holds ready next included: whoever
// drains it learns of the clear at once. Assigning new text replaces what
// waits without that.
class SendBuffer : public QString {
public:
    SendBuffer() = default;
    SendBuffer(const SendBuffer&) = delete;
    SendBuffer& operator=(const SendBuffer&) = delete;
    SendBuffer& operator=(const QString& text) {
        QString::operator=(text);
        return *this;
    }
    void clear() {
        QString::clear();
        if (onClear_) onClear_();
    }
    // What runs after each clear (none: nothing is drained).
    void OnClear(std::function<void()> fn) { onClear_ = std::move(fn); }

private:
    std::function<void()> onClear_;
};

// WKOpen while the WinKeyer's open waits for the device's answers.
inline constexpr int kWKOpening = -1;

struct KeyerState {
    // Characters waiting to be sent in CW.
    SendBuffer CWBuffer;
    // 1 while the software keyer drains CWBuffer.
    std::uint8_t CWSending = 0;
    // The CW keying interface: 0 none, 1 RTS, 2 DTR, 3 parallel port,
    // 5 WinKeyer (4 is not used). Mirrors the keying option of CWFrm.
    std::uint8_t CWKeyingLine = 0;
    // 1 while the F1 CW message is to repeat.
    std::uint8_t CWRepeatOn = 0;
    // 1 while the F1 voice message is to repeat.
    std::uint8_t VoiceRepeatOn = 0;
    // 1 while F12 keyboard CW is on.
    std::uint8_t KeyboardCWMode = 0;
    // The WinKeyer's version while it is open, kWKOpening while its open is
    // under way, 0 while it is closed.
    int WKOpen = 0;
    // The WinKeyer status last read.
    int WKStatus = 0;
    // Passes of the "Loop" timing per 60 ms; 0 until calibrated.
    double CWLoopOffset = 0;
    // Above 0 while a code-practice send loop runs.
    std::uint8_t PracticeSending = 0;
    // 1 while the WinKeyer layer waits for the device to send CWBuffer.
    std::uint8_t WKSending = 0;
};

}  // namespace keyers

#pragma once
// What the CW keyer and the main windows ask of the WinKeyer: its window and
// the device calls. The WinKeyer layer installs its implementation in the
// program (Program::winKey); while none is installed the WinKeyer is never
// open (WKOpen stays 0) and choosing it keys nothing.
#include <cstdint>
#include <functional>

namespace keyers {

class WinKeyHook {
public:
    virtual ~WinKeyHook() = default;
    // Loads the WinKeyer window without showing it ("WinKey" chosen).
    virtual void Load() = 0;
    // Shows the WinKeyer window modally ("Configure Winkey").
    virtual void ShowModal() = 0;
    // Unloads the WinKeyer window, closing the device.
    virtual void Unload() = 0;
    // Starts feeding CWBuffer to the device and returns at once; the buffer
    // drains from timers, one character at a time, as the device has room.
    // While it drains, WKSending is 1 and more text put into CWBuffer follows.
    virtual void WKTransmit() = 0;
    // Calls `fn` once CWBuffer has drained (sent, emptied by Esc or Stop, or
    // the device given up), at once when nothing is being sent.
    virtual void WhenSent(std::function<void()> fn) {
        if (fn) fn();
    }
    // Calls `fn` once the device's open under way has ended (answered, or
    // closed meanwhile), at once when none is under way.
    virtual void WhenOpenEnded(std::function<void()> fn) {
        if (fn) fn();
    }
    // Closes the device, as the window's "Close" does (the voice keyer, before
    // it opens its push-to-talk port).
    virtual void CloseDevice() {}
    virtual void wk_wpm(std::uint8_t wpm) = 0;
    virtual void wk_clearbuf() = 0;
    // The device's status: above 0 while it is busy sending; 0 when closed.
    virtual int wk_getstatus() = 0;
    virtual void wk_backspace() = 0;
};

}  // namespace keyers

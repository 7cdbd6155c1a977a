#pragma once
// What the CW keyer window gives its Morse keyer: the lines it keys (on the
// keyer's thread, under the window's lines lock). Private to the window's
// sources.
#include "keyers/cw_frm.h"
#include "platform/parallel_port.h"
#include "platform/serial_port.h"
#include "program/program.h"

namespace keyers {

// The keying port's RTS and DTR lines, and the parallel port.
class CWFrm::Lines final : public KeyingLines {
public:
    explicit Lines(CWFrm& f) : f_(f) {}
    bool SetRTS(bool on) override {
        f_.comm_->SetRts(on);
        return true;
    }
    bool SetDTR(bool on) override {
        f_.comm_->SetDtr(on);
        return true;
    }
    bool WriteParallelControl(std::uint16_t baseAddress, std::uint8_t value) override {
        return f_.program_.parallelPort->WriteControl(baseAddress, value);
    }

private:
    CWFrm& f_;
};

}  // namespace keyers

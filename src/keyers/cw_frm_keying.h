#pragma once
// What the CW keyer window gives its Morse keyer: the lines it keys and the
// controls it reads. Private to the window's sources.
#include <QLineEdit>
#include <QRadioButton>

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

// The window's controls as the keyer reads them, afresh each time.
class CWFrm::Controls final : public KeyerControls {
public:
    explicit Controls(CWFrm& f) : f_(f) {}
    int KeyingInterface() override { return f_.program_.keyer.CWKeyingLine; }
    KeyLine Line() override {
        if (f_.Option1->isChecked()) return KeyLine::RTS;
        if (f_.Option2->isChecked()) return KeyLine::DTR;
        if (f_.Option3->isChecked()) return KeyLine::Printer;
        return KeyLine::None;
    }
    QString Speed() override { return f_.Text11->text(); }
    QString WordSpace() override { return f_.txtSpace->text(); }
    QString ParallelAddress() override { return f_.Text14->text(); }
    TimingMethod Method() override {
        if (f_.optLoop->isChecked()) return TimingMethod::Loop;
        if (f_.OptSleep->isChecked()) return TimingMethod::Sleep;
        return TimingMethod::Timer;
    }
    double LoopOffset() override { return f_.program_.keyer.CWLoopOffset; }
    bool PortOpen() override { return f_.comm_->IsOpen(); }
    bool OpenPort() override { return f_.OpenKeyingPort(); }
    void LogContact() override { f_.LogContact(); }

private:
    CWFrm& f_;
};

}  // namespace keyers

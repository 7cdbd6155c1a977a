#pragma once
// A loaded main window with the CW keyer on a fake parallel port and a fake
// serial port, sending with the "Sleep" timing on the fake clock at 20 WPM,
// so that what goes out can be read back as text.
#include <QString>
#include <memory>

#include "keyers/cw_frm.h"
#include "support/fake_parallel_port.h"
#include "support/fake_serial_port.h"
#include "support/main_window_fixture.h"

namespace testing_support {

class CWFixture {
public:
    explicit CWFixture(int stationSide = 0);

    // Before the program: the keyer window's port writes here to its end.
    FakeSerialPort::State serial;
    MainWindowFixture f;
    Program& program() { return f.program(); }
    mainwindow::MainWindow* w = nullptr;
    keyers::CWFrm* cw = nullptr;
    FakeParallelPort* parallel = nullptr;

    // What the parallel port keyed since the last Forget(), as text.
    QString Sent() const;
    // The register writes so far, as keyed (true) or released.
    std::size_t Writes() const { return parallel->writes.size(); }
    void Forget();

    // A key pressed and released on the main window, as the keyboard would.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Type(const QString& text);
    static void Settle();
    // Runs events until the software keyer's message and any code-practice
    // run are over.
    void WaitSent();
};

// Runs events until the software keyer's message and any code-practice run
// are over; false when they are not within a generous bound.
bool WaitForKeyer(Program& program);

}  // namespace testing_support

#pragma once
// A radio on COM3 of a fresh program's working folder (a pseudo-terminal),
// chosen in the shown rig window and polled every 10 s, so that only a
// test's own ticks run; the radio has taken the first poll.
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "rig/radio_emulator.h"
#include "rig/rig_codec.h"
#include "rig/rig_control_frm.h"
#include "support/test_program.h"

namespace testing_support {

struct PolledRig {
    PolledRig(RadioEmulator::Protocol protocol, const QString& rigType) : emu(protocol) {
        emu.MapAsPort(t.work(), 3);
        rig::RigControlfrm& w = t->rigControlfrm();
        w.show();
        w.List1->setCurrentRow(int(rig::RigTypeNames().indexOf(rigType)));
        w.optComm[2]->click();
        w.optReallySlow->click();
        w.Command1->click();
        EXPECT_FALSE(emu.Pump().isEmpty());
    }
    rig::RigControlfrm& rigWindow() { return t->rigControlfrm(); }

    TestProgram t;
    RadioEmulator emu;
};

}  // namespace testing_support

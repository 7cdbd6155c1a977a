#include "support/cw_fixture.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "setup/reference_tables.h"
#include "support/morse_decoder.h"

namespace testing_support {

CWFixture::CWFixture(int stationSide) : f(stationSide) {
    f.t.CopyDataFile("arrlpre2.txt");
    f.t.CopyDataFile("states.txt");
    setup::LoadPrefixTable(f.program());
    setup::LoadStatePositionTable(f.program());
    auto port = std::make_unique<FakeParallelPort>(f.t.clock);
    parallel = port.get();
    program().parallelPort = std::move(port);
    program().serialPortFactory = [this] { return std::make_unique<FakeSerialPort>(serial); };
    f.WriteLog({});
    w = &f.Load();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    w->cmdLogOn_Click();
    w->entry().txtCall->setFocus();
    Settle();
    cw = &program().cwFrm();
    cw->Option3->setChecked(true);
    cw->OptSleep->setChecked(true);
    cw->Text11->setText("20");
    f.t.dialogs.shown.clear();
    f.t.dialogs.beeps = 0;
}

QString CWFixture::Sent() const {
    std::vector<LineSetting> settings;
    for (const FakeParallelPort::Write& write : parallel->writes)
        settings.push_back({write.at, write.value == 3});
    return DecodeMorse(ElementsOf(settings, f.t.clock.monotonic, 60));
}

void CWFixture::Forget() { parallel->writes.clear(); }

void CWFixture::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(w->windowHandle(), key, modifiers);
    Settle();
}

void CWFixture::Type(const QString& text) {
    for (QChar c : text) {
        QTest::keyClick(w->windowHandle(), c.toLatin1());
        Settle();
    }
}

void CWFixture::Settle() { QCoreApplication::processEvents(); }

void CWFixture::WaitSent() { EXPECT_TRUE(WaitForKeyer(program())); }

bool WaitForKeyer(Program& program) {
    return QTest::qWaitFor(
        [&] { return program.keyer.CWSending == 0 && program.keyer.PracticeSending == 0; }, 20000);
}

}  // namespace testing_support

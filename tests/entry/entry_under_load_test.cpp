// The entry line while a station works: a radio polled at "100 ms", a DX
// cluster sending 100 spots a second to the band map, and F3's message keyed
// by the WinKeyer (or the software keyer) while the operator types. Fifty
// contacts are typed through key events queued for the window as the window
// system queues them, with F3 started before each call and Esc after it is
// logged; every contact must be in log.txt exactly as typed.
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>

#include "mainwindow/main_window.h"
#include "platform/clock.h"
#include "support/main_window_fixture.h"
#include "support/operating_loads.h"
#include "support/qstring_printer.h"

using testing_support::MainWindowFixture;
using testing_support::OperatingLoads;
using testing_support::TestProgram;
using testing_support::TypableCounties;
using testing_support::TypedContact;
using testing_support::Typing;
using testing_support::WindowState;

namespace {

constexpr int kContacts = 50;
const QString kF3 = QStringLiteral("CQ TEST DE N0CALL N0CALL TEST CQ TEST DE N0CALL N0CALL TEST");

TestProgram::Options RealClock(platform::Clock& clock) {
    TestProgram::Options options;
    options.clock = &clock;
    return options;
}

// Types the contacts with every load running and the keyer chosen by
// `useKeyer`, as `typing` says, and checks log.txt.
void TypeContactsUnderLoad(const std::function<bool(OperatingLoads&)>& useKeyer, const Typing& typing) {
    platform::SystemClock realClock;
    MainWindowFixture f(1, RealClock(realClock));
    f.WriteLog({});
    mainwindow::MainWindow& w = f.Load();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.cmdLogOn_Click();
    w.entry().txtCall->setFocus();
    f.t.dialogs.shown.clear();

    OperatingLoads loads(f.program());
    ASSERT_TRUE(loads.StartRig());
    ASSERT_TRUE(loads.ConnectCluster());
    loads.SetSpotRate(100);
    ASSERT_TRUE(useKeyer(loads));

    const QStringList counties = TypableCounties(f.program().counties);
    ASSERT_GE(counties.size(), 10);
    std::vector<TypedContact> contacts;
    QStringList expected;
    for (int i = 0; i < kContacts; ++i) {
        contacts.push_back(testing_support::ContactNumber(i, counties));
        expected << QStringLiteral("\"%1\",\"\",\"\",\"\",\"%2\",")
                        .arg(contacts.back().call.toUpper(), contacts.back().county);
    }
    WindowState state;
    testing_support::WindowWatcher watcher(f.program(), w.entry().txtCall, loads, state);
    testing_support::TypeContacts(w.windowHandle(), state, contacts, typing);
    // The last Esc stops the last message.
    EXPECT_TRUE(QTest::qWaitFor([&] { return loads.KeyerIdle(); }, 20000));
    loads.SetSpotRate(0);
    EXPECT_GT(loads.SpotsSent(), 100);

    const QStringList lines = QString::fromLatin1(TestProgram::ReadFile(f.t.workFile("log.txt")))
                                  .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), kContacts) << lines.join(u'\n').toStdString();
    for (int i = 0; i < std::min<int>(kContacts, static_cast<int>(lines.size())); ++i)
        EXPECT_TRUE(lines[i].startsWith(expected[i])) << lines[i].toStdString() << " is not "
                                                      << expected[i].toStdString();
    EXPECT_EQ(f.program().log.QSOCount, kContacts);
    EXPECT_TRUE(w.entry().txtCall->text().isEmpty());
    EXPECT_EQ(f.t.dialogs.titles(), std::vector<QString>{});
}

bool WinKeyer(OperatingLoads& loads) { return loads.UseWinKeyer(kF3, 20); }

bool SoftwareKeyer(OperatingLoads& loads) {
    loads.UseSoftwareKeyer(kF3, 30);
    return true;
}

// The operator types straight on, a key each 40 ms.
Typing TypingAhead() {
    Typing typing;
    typing.keyEvery = std::chrono::milliseconds(40);
    typing.typeAhead = true;
    typing.bound = std::chrono::milliseconds(kContacts * 4000);
    return typing;
}

}  // namespace

// The operator waits for each contact to be logged before the next call.
TEST(EntryUnderLoad, EveryContactTypedWhileTheWinKeyerSendsIsLogged) {
    Typing typing;
    typing.keyEvery = std::chrono::milliseconds(20);
    typing.waitBound = std::chrono::milliseconds(20000);
    typing.bound = std::chrono::milliseconds(kContacts * 4000);
    TypeContactsUnderLoad(WinKeyer, typing);
}

// Typed ahead while a keyer keys F3, keys handled in their order, each after
// the handler before it has returned, log every contact as typed.
TEST(EntryUnderLoad, EveryContactTypedAheadWhileTheWinKeyerSendsIsLogged) {
    TypeContactsUnderLoad(WinKeyer, TypingAhead());
}

TEST(EntryUnderLoad, EveryContactTypedAheadWhileTheSoftwareKeyerSendsIsLogged) {
    TypeContactsUnderLoad(SoftwareKeyer, TypingAhead());
}

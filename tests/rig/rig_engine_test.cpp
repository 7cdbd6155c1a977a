// The CAT engine against a radio emulator on a pseudo-terminal pair, opened
// through the working folder's Ports.txt as an operator's port is: the
// bytes of every family on the wire, replies read back, the pauses before
// set commands; and on an in-process port what a pty cannot show.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

#include "platform/serial_port.h"
#include "rig/radio_emulator.h"
#include "rig/rig_codec.h"
#include "rig/rig_engine.h"
#include "support/fake_serial_port.h"
#include "support/qstring_printer.h"
#include "support/test_program.h"

using testing_support::FakeSerialPort;
using testing_support::RadioEmulator;
using testing_support::TestProgram;
using Protocol = RadioEmulator::Protocol;

namespace {

QByteArray hex(const char* spaced) { return rig::SpacedHexToBytes(QString::fromLatin1(spaced)); }

// A radio on COM3 of the working folder and the engine polling it.
struct Rig {
    Rig(Protocol protocol, const QString& rigType, const QString& freqPoll, const QString& modePoll,
        const QString& commSettings)
        : emu(protocol, [this] { return t.clock.monotonic; }) {
        emu.MapAsPort(t.work(), 3);
        port = platform::NewSystemSerialPort(t.work());
        rig::RigEngine::Hooks hooks;
        // While a change waits, the radio takes what was sent.
        t.clock.duringPause = [this] {
            if (hangUpAtEvents) emu.Hangup();
            emu.Pump(20);
        };
        hooks.reportFrequency = [this](float& mhz) { reportedMHz.push_back(mhz); };
        hooks.reportMode = [this](QString& mode) { reportedModes.push_back(mode); };
        engine = std::make_unique<rig::RigEngine>(*port, t.clock, t.dialogs, hooks);
        rig::RigSettings& s = engine->settings;
        s.RigType = rigType;
        s.FreqPollString = freqPoll;
        s.ModePollString = modePoll;
        s.RigPortNumber = 3;
        s.RigCommSettings = commSettings;
    }
    // The shipped band plan, for the sideband rule.
    void LoadBandPlan() {
        t.CopyDataFile("BandPlan.txt");
        engine->bandPlan = rig::BandPlanTable::Load(t.workFile("BandPlan.txt"));
    }
    // One send tick, the radio's answer, one read tick.
    QByteArray PollCycle() {
        engine->tmrGetData_Timer();
        const QByteArray sent = emu.Pump();
        engine->tmrGetData_Timer();
        return sent;
    }

    TestProgram t;
    RadioEmulator emu;
    std::unique_ptr<platform::SerialPort> port;
    std::unique_ptr<rig::RigEngine> engine;
    std::vector<float> reportedMHz;
    std::vector<QString> reportedModes;
    // The serial adapter is pulled out at the next pause.
    bool hangUpAtEvents = false;
};

struct Family {
    const char* rigType;
    Protocol protocol;
    const char* freqPoll;
    const char* modePoll;
    const char* comm;
    QByteArray openBytes;
    std::vector<QByteArray> polls;  // one per send tick of a full cycle
    int radioMode;                  // what the emulated radio is set to
    const char* mode;               // what the poll reads
    QByteArray tune;                // frequency command for 14.025 MHz
    QByteArray usb;                 // mode command for USB ("" none)
    QByteArray closeBytes;
};

std::vector<Family> families() {
    return {
        {"Kenwood", Protocol::Kenwood, "FA;", "MD;", "4800,N,8,2", "", {"FA;MD;"}, 3, "CW", "FA00014025000;", "MD2;", ""},
        {"Elecraft", Protocol::Kenwood, "FA;", "MD;", "4800,N,8,2", "", {"FA;MD;"}, 2, "PH", "FA00014025000;", "MD2;", ""},
        {"Kenwood 2", Protocol::Kenwood, "IF;", "", "4800,N,8,2", "", {"IF;"}, 7, "CW", "FA00014025000;", "MD2;", ""},
        {"Yaesu FTdx9000", Protocol::FTdx9000, "FA;", "MD0;", "4800,N,8,2", "", {"FA;", "MD0;"}, 3, "CW",
         "FA14025000;", "MD02;", ""},
        {"Ten Tec Orion", Protocol::Orion, "?AF", "?RMM", "56000,N,8,1", "X\r", {"?AF\r?RMM\r"}, 3, "CW",
         "*AF14.025\r", "", ""},
        {"Ten Tec Fnt Pnl", Protocol::TenTecPanel, "3F 41 0D", "3F 4D 0D", "56000,N,8,1", "",
         {hex("3F 41 0D"), hex("3F 4D 0D")}, 3, "CW", hex("2A 41 00 D6 01 28 0D"), "", ""},
        {"Icom", Protocol::Civ, "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", "1200,N,8,1", "",
         {hex("FE FE 64 E0 03 FD"), hex("FE FE 64 E0 04 FD")}, 7, "CW", hex("FE FE 64 E0 05 00 50 02 14 00 FD"),
         hex("FE FE 64 E0 06 01 FD"), ""},
        {"Icom 735", Protocol::Civ735, "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", "1200,N,8,1", "",
         {hex("FE FE 64 E0 03 FD"), hex("FE FE 64 E0 04 FD")}, 2, "PH", hex("FE FE 64 E0 05 00 50 02 14 FD"), "",
         ""},
        {"Ten Tec Omni VI", Protocol::Civ, "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", "1200,N,8,1", "",
         {hex("FE FE 04 E0 03 FD"), hex("FE FE 04 E0 04 FD")}, 3, "CW", hex("FE FE 04 E0 05 00 50 02 14 00 FD"),
         hex("FE FE 04 E0 06 01 FD"), ""},
        {"Yaesu", Protocol::Yaesu5, "00 00 00 00 03", "", "4800,N,8,2", QByteArray(5, '\0'), {hex("00 00 00 00 03")},
         3, "CW", hex("01 40 25 00 01"), hex("01 00 00 00 07"), hex("00 00 00 00 80")},
        {"Yaesu 990", Protocol::YaesuOld, "00 00 00 02 10", "", "4800,N,8,2", QByteArray(5, '\0'),
         {hex("00 00 00 02 10")}, 3, "CW", hex("00 25 40 01 0A"), hex("00 00 00 01 0C"), hex("00 00 00 00 80")},
        {"Yaesu 1000", Protocol::YaesuOld, "00 00 00 02 10", "", "4800,N,8,2", QByteArray(5, '\0'),
         {hex("00 00 00 02 10")}, 2, "PH", hex("00 25 40 01 0A"), hex("00 00 00 01 0C"), hex("00 00 00 00 80")},
    };
}

}  // namespace

TEST(RigEngineOnPty, EveryFamilyPollsTunesSetsModeAndClosesWithItsOwnBytes) {
    for (const Family& f : families()) {
        SCOPED_TRACE(f.rigType);
        Rig rig(f.protocol, f.rigType, f.freqPoll, f.modePoll, f.comm);
        if (QString(f.rigType) == "Ten Tec Omni VI") rig.emu.civAddress = 0x04;
        if (QString(f.rigType) == "Yaesu 1000") rig.emu.ft1000Layout = true;
        rig.emu.frequencyHz = 14025000;
        rig.emu.mode = f.radioMode;

        ASSERT_TRUE(rig.engine->OpenRigPort());
        EXPECT_TRUE(rig.t.dialogs.shown.empty());
        EXPECT_EQ(rig.port->GetHandshaking(), QString(f.rigType).startsWith("Ten Tec") && QString(f.rigType) != "Ten Tec Omni VI"
                                                  ? platform::Handshaking::RtsCts
                                                  : platform::Handshaking::None);
        EXPECT_EQ(rig.emu.Pump(f.openBytes.isEmpty() ? 50 : 1000), f.openBytes);

        // A full poll cycle: the polls as the family writes them, then the
        // reading.
        for (const QByteArray& poll : f.polls) EXPECT_EQ(rig.PollCycle(), poll);
        EXPECT_FLOAT_EQ(rig.engine->RigFrequencyMHz(), 14.025f);
        EXPECT_EQ(rig.engine->RigModeText(), f.mode);
        ASSERT_FALSE(rig.reportedMHz.empty());
        EXPECT_FLOAT_EQ(rig.reportedMHz.back(), 14.025f);

        // Tuning from 7 MHz to 14.025 MHz moves the radio there.
        rig.emu.frequencyHz = 7000000;
        rig.engine->StartPolling();
        rig.engine->ChangeFrequency(14.025f);
        rig.emu.Pump();
        EXPECT_EQ(rig.emu.received(), f.openBytes + [&] {
            QByteArray all;
            for (const QByteArray& p : f.polls) all += p;
            return all;
        }() + f.tune);
        EXPECT_EQ(rig.emu.frequencyHz.load(), 14025000);
        EXPECT_TRUE(rig.engine->Polling());

        // USB, for the families that have a mode command.
        rig.emu.clearWrites();
        rig.engine->ChangeMode(0, QStringLiteral("USB"));
        rig.emu.Pump(f.usb.isEmpty() ? 50 : 1000);
        EXPECT_EQ(rig.emu.received(), f.usb);
        if (!f.usb.isEmpty()) {
            EXPECT_EQ(rig.emu.mode.load(), 2);
        }

        // The end of the link: the Yaesu leaves CAT mode.
        rig.emu.clearWrites();
        rig.engine->Shutdown();
        rig.emu.Pump(f.closeBytes.isEmpty() ? 50 : 1000);
        EXPECT_EQ(rig.emu.received(), f.closeBytes);
        EXPECT_FALSE(rig.port->IsOpen());
        EXPECT_FALSE(rig.engine->Polling());
        EXPECT_TRUE(rig.t.dialogs.shown.empty());
    }
}

TEST(RigEngineOnPty, BandPlanSidebandGoesOutBeforeTheFrequencyAfterItsPauses) {
    Rig rig(Protocol::Kenwood, "Kenwood", "FA;", "MD;", "4800,N,8,2");
    rig.LoadBandPlan();
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.engine->StartPolling();
    const std::int64_t t0 = rig.t.clock.monotonic;
    rig.engine->ChangeFrequency(14.2f);
    rig.emu.Pump();
    const auto writes = rig.emu.writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].bytes, "MD2;");
    EXPECT_EQ(writes[0].ms - t0, 99);
    EXPECT_EQ(writes[1].bytes, "FA00014200000;");
    EXPECT_EQ(writes[1].ms - t0, 99 + 205);
    EXPECT_EQ(rig.emu.mode.load(), 2);

    // 40 m phone is lower sideband; 160 m sets no mode.
    rig.emu.clearWrites();
    rig.engine->ChangeFrequency(7.2f);
    rig.emu.Pump();
    EXPECT_EQ(rig.emu.received(), "MD1;FA00007200000;");
    rig.emu.clearWrites();
    rig.engine->ChangeFrequency(1.9f);
    rig.emu.Pump();
    EXPECT_EQ(rig.emu.received(), "FA00001900000;");
}

TEST(RigEngineOnPty, ElecraftAndOmniWaitTheirLongerPauses) {
    struct Case {
        const char* rigType;
        Protocol protocol;
        const char* freqPoll;
        int pause;
    };
    const Case cases[] = {{"Elecraft", Protocol::Kenwood, "FA;", 205 + 1000},
                          {"Ten Tec Omni VI", Protocol::Civ, "FE FE 04 E0 03 FD", 140 + 220},
                          {"Icom", Protocol::Civ, "FE FE 64 E0 03 FD", 140},
                          {"Yaesu 1000", Protocol::YaesuOld, "00 00 00 02 10", 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rigType);
        Rig rig(c.protocol, c.rigType, c.freqPoll, "", "4800,N,8,2");
        ASSERT_TRUE(rig.engine->OpenRigPort());
        rig.emu.Pump(50);
        rig.emu.clearWrites();
        rig.engine->StartPolling();
        const std::int64_t t0 = rig.t.clock.monotonic;
        rig.engine->ChangeFrequency(10.12f);  // no band-plan mode: the pauses alone
        rig.emu.Pump();
        ASSERT_EQ(rig.emu.writes().size(), 1u);
        EXPECT_EQ(rig.emu.writes()[0].ms - t0, c.pause);
    }
}

TEST(RigEngineOnPty, AKenwoodReplySplitAcrossReadTicksIsReadWhenWhole) {
    Rig rig(Protocol::Kenwood, "Kenwood", "FA;", "MD;", "4800,N,8,2");
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.emu.splitNextReply = true;
    rig.PollCycle();
    EXPECT_EQ(rig.engine->RigFrequencyMHz(), 0.0f);
    // A radio that has not answered whole yet puts no frequency anywhere.
    EXPECT_TRUE(rig.reportedMHz.empty());
    rig.PollCycle();
    EXPECT_FLOAT_EQ(rig.engine->RigFrequencyMHz(), 14.025f);
    EXPECT_EQ(rig.engine->RigModeText(), "CW");
    EXPECT_EQ(rig.engine->FrequencyDisplayText(), "14.02500");
}

TEST(RigEngineOnPty, NothingIsSentForFrequenciesTheFamilyCannotCarry) {
    Rig rig(Protocol::Yaesu5, "Yaesu", "00 00 00 00 03", "", "4800,N,8,2");
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.emu.Pump();
    rig.emu.clearWrites();
    rig.engine->StartPolling();
    for (float mhz : {1270.0f, 0.0f, -14.0f}) rig.engine->ChangeFrequency(mhz);
    rig.emu.Pump(50);
    EXPECT_EQ(rig.emu.received(), QByteArray());
    EXPECT_TRUE(rig.engine->Polling());
    EXPECT_TRUE(rig.t.dialogs.shown.empty());
}

TEST(RigEngineOnPty, AbsurdFrequenciesSendNothingWithASignOrAnythingElse) {
    // 9.3e12 MHz and up overflow whole Hz; every family refuses them.
    for (const Family& f : families()) {
        SCOPED_TRACE(f.rigType);
        Rig rig(f.protocol, f.rigType, f.freqPoll, f.modePoll, f.comm);
        ASSERT_TRUE(rig.engine->OpenRigPort());
        rig.emu.Pump(f.openBytes.isEmpty() ? 50 : 1000);
        rig.emu.clearWrites();
        rig.engine->StartPolling();
        for (float mhz : {1e13f, 9.3e12f, 3.4e38f}) rig.engine->ChangeFrequency(mhz);
        rig.emu.Pump(50);
        EXPECT_EQ(rig.emu.received(), QByteArray());
        EXPECT_TRUE(rig.engine->Polling());
        EXPECT_TRUE(rig.t.dialogs.shown.empty());
    }
}

TEST(RigEngineOnPty, AYaesuBlockSplitAcrossReadTicksIsReadWhenWhole) {
    Rig rig(Protocol::Yaesu5, "Yaesu", "00 00 00 00 03", "", "4800,N,8,2");
    rig.emu.frequencyHz = 14025000;
    rig.emu.mode = 3;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.emu.Pump();  // CAT on
    // 01 40 | 25 00 02 would read 250.00201 MHz, 01 40 25 | 00 02 0.2014 MHz.
    for (int cut : {2, 3}) {
        SCOPED_TRACE(cut);
        rig.emu.splitNextReply = true;
        rig.emu.splitAfter = cut;
        for (int cycle = 0; cycle < 3; ++cycle) rig.PollCycle();
        ASSERT_FALSE(rig.reportedMHz.empty());
        for (float mhz : rig.reportedMHz) EXPECT_FLOAT_EQ(mhz, 14.025f);
        EXPECT_EQ(rig.engine->RigModeText(), "CW");
    }
}

TEST(RigEngineOnPty, A1200BaudIcomPolledEvery100MsIsReadAndNeverPolledOverItsReply) {
    Rig rig(Protocol::Civ, "Icom", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", "1200,N,8,1");
    rig.emu.lineByteMs = 1000.0 * 10 / 1200;  // 8N1: ten bits a byte
    rig.emu.frequencyHz = 14025000;
    rig.emu.mode = 3;
    rig.engine->settings.RigPollRate = "F";
    ASSERT_TRUE(rig.engine->OpenRigPort());
    // The "100 ms" rate ticks every 50 ms: three seconds of ticks.
    for (int tick = 0; tick < 60; ++tick) {
        rig.emu.Pump(0);  // what the line has carried by now reaches the port
        rig.engine->tmrGetData_Timer();
        rig.emu.Pump(5);  // the radio hears what was written
        rig.t.clock.monotonic += 50;
    }
    EXPECT_EQ(rig.emu.collisions, 0);
    ASSERT_FALSE(rig.reportedMHz.empty());
    for (float mhz : rig.reportedMHz) EXPECT_FLOAT_EQ(mhz, 14.025f);
    EXPECT_EQ(rig.engine->RigModeText(), "CW");
    // Frequency and mode are both polled, over and over.
    const QByteArray sent = rig.emu.received();
    EXPECT_GE(sent.count(hex("FE FE 64 E0 03 FD")), 3);
    EXPECT_GE(sent.count(hex("FE FE 64 E0 04 FD")), 3);
}

TEST(RigEngineOnPty, ATenTecPollStringEndingInALoneDigitIsPolledAndAMistypedOneStopsPollingWithAWord) {
    Rig rig(Protocol::TenTecPanel, "Ten Tec Fnt Pnl", "3F 41 D", "3F 4D D", "56000,N,8,1");
    rig.emu.frequencyHz = 14025000;
    rig.emu.mode = 3;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.engine->StartPolling();
    EXPECT_EQ(rig.PollCycle(), hex("3F 41 0D"));
    EXPECT_EQ(rig.PollCycle(), hex("3F 4D 0D"));
    EXPECT_FLOAT_EQ(rig.engine->RigFrequencyMHz(), 14.025f);
    EXPECT_EQ(rig.engine->RigModeText(), "CW");
    EXPECT_TRUE(rig.t.dialogs.shown.empty());

    // A pair that is no hex number: polling stops, and the operator is
    // told once which string it is, not left with "Polling Rig" shown.
    rig.engine->settings.FreqPollString = "3F 4G 0D";
    for (int tick = 0; tick < 3; ++tick) rig.engine->tmrGetData_Timer();
    EXPECT_FALSE(rig.engine->Polling());
    ASSERT_EQ(rig.t.dialogs.titles(), std::vector<QString>{"Polling Rig Stopped"});
    EXPECT_TRUE(rig.t.dialogs.shown[0].text.contains("\"3F 4G 0D\"")) << rig.t.dialogs.shown[0].text.toStdString();
}

TEST(RigEngineOnPty, APortLostDuringAFrequencyChangeIsToldInOneBox) {
    Rig rig(Protocol::Kenwood, "Kenwood", "FA;", "MD;", "4800,N,8,2");
    rig.LoadBandPlan();
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.engine->StartPolling();
    rig.hangUpAtEvents = true;
    rig.engine->ChangeFrequency(14.2f);  // USB, then the frequency
    ASSERT_EQ(rig.t.dialogs.titles(), std::vector<QString>{"Error Changing Frequency"});
    EXPECT_FALSE(rig.t.dialogs.shown[0].text.isEmpty());
    EXPECT_FALSE(rig.engine->Polling());
}

TEST(RigEngineOnPty, APortThatDoesNotExistIsRefusedWithTheOperatorsMessage) {
    TestProgram t;
    TestProgram::WriteLines(t.workFile("Ports.txt"), {"COM9=/dev/nonexistent-rig-port"});
    auto port = platform::NewSystemSerialPort(t.work());
    bool failedHook = false;
    rig::RigEngine::Hooks hooks;
    hooks.portOpenFailed = [&] { failedHook = true; };
    rig::RigEngine engine(*port, t.clock, t.dialogs, hooks);
    engine.settings.RigType = "Kenwood";
    engine.settings.RigPortNumber = 9;
    engine.settings.RigCommSettings = "4800,N,8,2";
    EXPECT_FALSE(engine.OpenRigPort());
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Invalid Comm Settings.");
    EXPECT_EQ(t.dialogs.shown[0].text,
              "The comm port that you selected for rig interface is either in use, invalid or the settings that you "
              "have selected are invalid.  Please select another combination or choose None for your rig "
              "selection.");
    EXPECT_EQ(t.dialogs.beeps, 1);
    EXPECT_TRUE(failedHook);
}

TEST(RigEngineOnPty, PollRatesSetTheTickInterval) {
    const std::pair<const char*, int> rates[] = {{"F", 50}, {"M", 250}, {"S", 1000}, {"R", 5000}, {"X", 5000}};
    Rig rig(Protocol::Kenwood, "Kenwood", "FA;", "MD;", "4800,N,8,2");
    for (const auto& [rate, ms] : rates) {
        rig.engine->settings.RigPollRate = rate;
        rig.engine->StartPolling();
        EXPECT_EQ(rig.engine->PollIntervalMs(), ms) << rate;
    }
}

namespace {

// The engine on an in-process port whose output can stay pending.
struct FakeRig {
    FakeRig() : port(state) {
        rig::RigEngine::Hooks hooks;
        t.clock.duringPause = [this] { ++handedBack; };
        hooks.pollingStopped = [this] { ++stopped; };
        hooks.reportFrequency = [this](float& mhz) { reportedMHz.push_back(mhz); };
        hooks.reportMode = [this](QString& mode) { reportedModes.push_back(mode); };
        engine = std::make_unique<rig::RigEngine>(port, t.clock, t.dialogs, hooks);
        engine->settings.RigType = "Kenwood";
        engine->settings.FreqPollString = "FA;";
        engine->settings.ModePollString = "MD;";
        engine->settings.RigCommSettings = "4800,N,8,2";
    }
    TestProgram t;
    FakeSerialPort::State state;
    FakeSerialPort port;
    std::unique_ptr<rig::RigEngine> engine;
    int handedBack = 0;  // pauses in which the thread was handed back
    int stopped = 0;
    std::vector<float> reportedMHz;
    std::vector<QString> reportedModes;
};

}  // namespace

TEST(RigEngineOutputWait, APortThatNeverDrainsHoldsEachWaitTwoSecondsNoMore) {
    FakeRig rig;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.state.pendingOutput = 12;
    const std::int64_t t0 = rig.t.clock.monotonic;
    rig.engine->ChangeMode(0, "CW");
    // Wait, 99 ms pause, the command, wait again.
    EXPECT_EQ(rig.t.clock.monotonic - t0, 2000 + 99 + 2000);
    EXPECT_EQ(rig.state.written, "MD3;");
    EXPECT_GT(rig.handedBack, 100);  // the thread was handed back while it waited
}

TEST(RigEngineOutputWait, TheWaitEndsAsSoonAsTheOutputHasLeft) {
    FakeRig rig;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.state.pendingOutput = 3;
    rig.state.onOutCount = [](FakeSerialPort::State& s) {
        if (s.pendingOutput > 0) --s.pendingOutput;
    };
    const std::int64_t t0 = rig.t.clock.monotonic;
    rig.engine->ChangeMode(0, "USB");
    EXPECT_EQ(rig.t.clock.monotonic - t0, 2 + 99);
    EXPECT_EQ(rig.state.written, "MD2;");
}

TEST(RigEngineOutputWait, ASendTickSkipsThePollWhileOutputIsPendingAndReadsNext) {
    FakeRig rig;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.state.pendingOutput = 1;
    rig.engine->tmrGetData_Timer();
    EXPECT_EQ(rig.state.written, "");
    rig.state.pendingOutput = 0;
    rig.state.input = "FA00007025000;MD1;";
    rig.engine->tmrGetData_Timer();  // the read tick
    EXPECT_FLOAT_EQ(rig.engine->RigFrequencyMHz(), 7.025f);
    rig.engine->tmrGetData_Timer();
    EXPECT_EQ(rig.state.written, "FA;MD;");
}

TEST(RigEngineOutputWait, ALostPortStopsPollingAndTellsTheOperatorOnce) {
    FakeRig rig;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.engine->StartPolling();
    rig.state.open = false;  // the adapter is pulled out
    rig.engine->tmrGetData_Timer();
    rig.engine->tmrGetData_Timer();
    EXPECT_FALSE(rig.engine->Polling());
    EXPECT_EQ(rig.stopped, 1);
    ASSERT_EQ(rig.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.t.dialogs.shown[0].title, "Polling Rig Stopped");
}

// The operator ends polling while the error box of a change is up and asks
// for a mode change meanwhile: the first change's steps are gone, the mode
// change is told as failing once, and a later change runs whole.
TEST(RigEngineOutputWait, PollingEndedWhileAnErrorBoxIsUpDropsOnlyThatChange) {
    FakeRig rig;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.engine->StartPolling();
    rig.state.open = false;
    int boxes = 0;
    rig.t.dialogs.onMessage = [&](const auto&) {
        if (++boxes == 1) {
            rig.engine->EndPolling();
            rig.engine->ChangeMode(0, "CW");  // asked for while the box is up
        }
    };
    rig.engine->ChangeFrequency(14.025f);
    EXPECT_EQ(rig.t.dialogs.titles(),
              (std::vector<QString>{"Error Changing Frequency", "Error Changing Mode"}));
    EXPECT_FALSE(rig.engine->Polling());
    // Polling again, a later change goes out whole.
    rig.t.dialogs.onMessage = nullptr;
    rig.state.open = true;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.engine->StartPolling();
    rig.state.written.clear();
    rig.engine->ChangeFrequency(7.025f);
    EXPECT_TRUE(rig.state.written.contains("FA00007025000;")) << rig.state.written.toStdString();
    EXPECT_EQ(boxes, 2);
}

TEST(RigEngineOutputWait, AChangeOnAClosedPortReportsAndLeavesPollingOff) {
    FakeRig rig;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.engine->StartPolling();
    rig.state.open = false;
    rig.engine->ChangeFrequency(14.025f);
    ASSERT_EQ(rig.t.dialogs.titles(), std::vector<QString>{"Error Changing Frequency"});
    EXPECT_FALSE(rig.engine->Polling());
    rig.engine->ChangeMode(0, "CW");
    ASSERT_EQ(rig.t.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.t.dialogs.shown[1].title, "Error Changing Mode");
    EXPECT_TRUE(rig.t.dialogs.shown[1].text.endsWith(" CW"));
}

TEST(RigEngineOutputWait, HandshakingIsSetForEveryRigNotLeftFromTheLastOne) {
    FakeRig rig;
    rig.engine->settings.RigType = "Ten Tec Orion";
    rig.engine->OpenRigPort();
    EXPECT_EQ(rig.state.handshaking, platform::Handshaking::RtsCts);
    rig.engine->settings.RigType = "Kenwood";
    rig.engine->OpenRigPort();
    EXPECT_EQ(rig.state.handshaking, platform::Handshaking::None);
    // The power line comes up after the open, the other stays down.
    rig.engine->settings.RigPowerLine = "D";
    rig.state.events.clear();
    rig.engine->OpenRigPort();
    EXPECT_EQ(rig.state.events, (QStringList{"close", "dtr 0", "rts 0", "open", "dtr 1"}));
}

TEST(RigEngineReports, AReplyWithAnExponentOrAStrayByteLeavesTheMainWindowOnTheEarlierFrequency) {
    struct Case {
        const char* rigType;
        const char* freqPoll;
        const char* modePoll;
        QByteArray good, bad;
    };
    const QByteArray ifTail = QByteArray(16, '0') + "20;";
    const Case cases[] = {
        {"Elecraft", "FA;", "MD;", "FA00014025000;MD3;", "FA00000001E40;MD3;"},
        {"Kenwood", "FA;", "MD;", "FA00014025000;MD3;", "FA00000001E40;MD3;"},
        {"Kenwood 2", "IF;", "", "IF00014025000" + ifTail, "IF00000001E40" + ifTail},
        {"Yaesu FTdx9000", "FA;", "MD0;", "FA14025000;", "FA0001E400;"},
        {"Ten Tec Orion", "?AF", "?RMM", "@AF14025000\r", "@AF1E40\r"},
        {"Icom", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", rig::SpacedHexToBytes("FE FE E0 64 03 00 50 02 14 00 FD"),
         rig::SpacedHexToBytes("FE FE E0 64 03 00 E1 02 14 00 FD")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rigType);
        FakeRig rig;
        rig.engine->settings.RigType = c.rigType;
        rig.engine->settings.FreqPollString = c.freqPoll;
        rig.engine->settings.ModePollString = c.modePoll;
        ASSERT_TRUE(rig.engine->OpenRigPort());
        // Ticks a second apart: an unanswered poll does not hold the next.
        const auto tick = [&rig] {
            rig.t.clock.monotonic += 1000;
            rig.engine->tmrGetData_Timer();
        };
        for (const QByteArray& reply : {c.good, c.bad, c.bad}) {
            tick();  // the polls (the frequency poll for the Icom)
            rig.state.input = reply;
            tick();
            if (QString(c.rigType) == "Icom") {  // the mode poll's turn, unanswered
                tick();
                tick();
            }
        }
        EXPECT_EQ(rig.reportedMHz, std::vector<float>(3, 14.025f));
        EXPECT_EQ(rig.engine->FrequencyDisplayText(), "14.02500");
    }
}

TEST(RigEngineReports, UseFrequencyAndModeByDecideWhatTheMainWindowHears) {
    struct Case {
        const char* what;
        bool useFrequency;
        rig::ModeSource source;
        QByteArray reply;
        std::vector<float> mhz;
        std::vector<QString> modes;
    };
    const Case cases[] = {
        {"rig mode", true, rig::ModeSource::Rig, "FA00007200000;MD3;", {7.2f}, {"CW"}},
        {"mode by frequency", true, rig::ModeSource::Frequency, "FA00007200000;MD3;", {7.2f}, {"PH"}},
        {"frequency between sub-bands keeps the rig's mode", true, rig::ModeSource::Frequency,
         "FA00010200000;MD2;", {10.2f}, {"PH"}},
        {"don't use", true, rig::ModeSource::DontUse, "FA00007200000;MD3;", {7.2f}, {}},
        {"frequency not used", false, rig::ModeSource::Rig, "FA00007200000;MD3;", {}, {"CW"}},
        // No frequency yet: nothing but the mode goes out.
        {"no frequency yet", true, rig::ModeSource::Rig, "MD3;", {}, {"CW"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRig rig;
        rig.engine->settings.UseFrequency = c.useFrequency;
        rig.engine->settings.RigModeSource = c.source;
        ASSERT_TRUE(rig.engine->OpenRigPort());
        rig.engine->tmrGetData_Timer();
        rig.state.input = c.reply;
        rig.engine->tmrGetData_Timer();
        EXPECT_EQ(rig.reportedMHz, c.mhz);
        EXPECT_EQ(rig.reportedModes, c.modes);
    }
    // A read tick with nothing received reports nothing.
    FakeRig rig;
    ASSERT_TRUE(rig.engine->OpenRigPort());
    rig.engine->tmrGetData_Timer();
    rig.engine->tmrGetData_Timer();
    EXPECT_TRUE(rig.reportedModes.empty());
}

TEST(RigEngineOnPty, AChangeOnTheRealClockReturnsAtOnceAndSendsItsBytesInOrderWhileEventsRun) {
    TestProgram t;
    RadioEmulator emu(Protocol::Kenwood);
    emu.MapAsPort(t.work(), 3);
    emu.Serve();
    auto port = platform::NewSystemSerialPort(t.work());
    platform::SystemClock clock;
    rig::RigEngine engine(*port, clock, t.dialogs, {});
    engine.settings = {.ModePollString = "MD;",
                       .FreqPollString = "FA;",
                       .RigCommSettings = "4800,N,8,2",
                       .RigPortNumber = 3,
                       .RigPollRate = "R",
                       .RigType = "Kenwood"};
    t.CopyDataFile("BandPlan.txt");
    engine.bandPlan = rig::BandPlanTable::Load(t.workFile("BandPlan.txt"));
    ASSERT_TRUE(engine.OpenRigPort());
    engine.StartPolling();
    int otherTicks = 0;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] { ++otherTicks; });
    other.start(10);

    const std::int64_t t0 = clock.MonotonicMs();
    engine.ChangeFrequency(14.2f);
    // Nothing has gone out yet: the 99 ms pause before the mode command
    // runs from the event loop.
    EXPECT_EQ(emu.received(), QByteArray());
    EXPECT_FALSE(engine.Polling());
    QElapsedTimer waited;
    waited.start();
    while (!engine.Polling() && waited.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(engine.Polling());
    QElapsedTimer drained;
    drained.start();
    while (emu.received().size() < 18 && drained.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(emu.received(), "MD2;FA00014200000;");
    // Each read by the radio at or after the time it was due (a loaded
    // machine may read both at once).
    for (const RadioEmulator::Write& w : emu.writes()) {
        if (w.bytes.contains("MD2;")) {
            EXPECT_GE(w.ms - t0, 99);
        }
        if (w.bytes.contains("FA")) {
            EXPECT_GE(w.ms - t0, 99 + 205);
        }
    }
    EXPECT_GT(otherTicks, 0);  // the window's other timers ran meanwhile
    engine.EndPolling();
}

TEST(RigEngineOnPty, ThePollTimerFollowsTheRadioWithoutAnyoneTicking) {
    // Real time: the radio answers on its own thread while the event loop
    // runs the poll timer at its fastest rate.
    TestProgram t;
    RadioEmulator emu(Protocol::Kenwood);
    emu.MapAsPort(t.work(), 3);
    emu.frequencyHz = 21025000;
    emu.Serve();
    auto port = platform::NewSystemSerialPort(t.work());
    std::vector<float> reported;
    rig::RigEngine::Hooks hooks;
    hooks.reportFrequency = [&](float& mhz) { reported.push_back(mhz); };
    platform::SystemClock clock;
    rig::RigEngine engine(*port, clock, t.dialogs, hooks);
    engine.settings.RigType = "Kenwood";
    engine.settings.FreqPollString = "FA;";
    engine.settings.ModePollString = "MD;";
    engine.settings.RigPortNumber = 3;
    engine.settings.RigCommSettings = "4800,N,8,2";
    engine.settings.RigPollRate = "F";
    ASSERT_TRUE(engine.OpenRigPort());
    engine.StartPolling();
    QElapsedTimer waited;
    waited.start();
    while (reported.size() < 3 && waited.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_GE(reported.size(), 3u);
    EXPECT_FLOAT_EQ(reported.back(), 21.025f);
    engine.EndPolling();
}

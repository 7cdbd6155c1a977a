#include "support/operating_loads.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <thread>

#include "keyers/cw_frm.h"
#include "keyers/keyer_state.h"
#include "keyers/winkey_frm.h"
#include "keyers/winkey_hook.h"
#include "logstore/county_table.h"
#include "program/program.h"
#include "rig/rig_control_frm.h"
#include "rig/rig_engine.h"
#include "rig/rig_settings.h"
#include "spotting/dx_spot_lines.h"
#include "spotting/packet_spot_frm.h"
#include "spotting/spotting_fixture.h"

namespace testing_support {

namespace {

// Where spots of the current band fall: the band's CW end onward.
double BandStartKHz(const QString& band) {
    const std::pair<const char*, double> starts[] = {
        {"160", 1800}, {"80", 3500}, {"40", 7000},  {"20", 14000},
        {"15", 21000}, {"10", 28000}, {"6", 50000}, {"2", 144000}};
    for (const auto& [name, kHz] : starts)
        if (band == QLatin1String(name)) return kHz;
    return 7000;
}

}  // namespace

OperatingLoads::OperatingLoads(Program& program) : program_(program) {}

OperatingLoads::~OperatingLoads() = default;

bool OperatingLoads::StartRig(int waitMs) {
    radio_ = std::make_unique<RadioEmulator>(RadioEmulator::Protocol::Kenwood);
    // Tuned in the current band, so that the rig keeps the band of the spots.
    radio_->frequencyHz = static_cast<long long>(BandStartKHz(program_.station.CurrentBand) + 25) * 1000;
    radio_->MapAsPort(program_.folders.WorkingFolder, kRigPort);
    radio_->Serve();
    rig::RigControlfrm& w = program_.rigControlfrm();
    w.show();
    w.List1->setCurrentRow(int(rig::RigTypeNames().indexOf(QStringLiteral("Kenwood"))));
    w.optComm[kRigPort - 1]->click();
    w.optPollFast->click();
    w.Command1->click();
    w.hide();
    return QTest::qWaitFor([this] { return radio_->received().contains("FA;"); }, waitMs) &&
           w.engine().Polling();
}

bool OperatingLoads::ConnectCluster(int waitMs) {
    const double fromKHz = BandStartKHz(program_.station.CurrentBand);
    cluster_ = std::make_unique<ClusterFeed>(
        [fromKHz](long long i) { return VariedSpotLine(i, fromKHz, 2000); });
    const QStringList lines = TelnetTo(cluster_->port()).Lines();
    QFile file(program_.WorkPath(QStringLiteral("PackSpot.txt")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    file.write((lines.join("\r\n") + "\r\n").toLatin1());
    file.close();
    program_.packetSpotfrm();  // its load opens the saved source
    return QTest::qWaitFor([this] { return cluster_->connected(); }, waitMs);
}

void OperatingLoads::SetSpotRate(int perSecond) {
    if (cluster_) cluster_->SetRate(perSecond);
}

long long OperatingLoads::SpotsSent() const { return cluster_ ? cluster_->sent() : 0; }

bool OperatingLoads::UseWinKeyer(const QString& f3, int charMs) {
    winKeyPty_ = std::make_unique<PtyPair>();
    if (!winKeyPty_->ok()) return false;
    winKeyPty_->MapAsPort(program_.folders.WorkingFolder, kWinKeyPort);
    winKeyer_ = std::make_unique<WinKeySimulator>(winKeyPty_->masterFd(), charMs);
    QDir().mkpath(program_.folders.DataFolder);
    keyers::CWFrm& cw = program_.cwFrm();
    cw.Text3->setText(f3);
    cw.Option5->setChecked(true);
    auto& layer = static_cast<keyers::WinKeyLayer&>(*program_.winKey);
    keyers::frmWinKey& wk = layer.window();
    wk.txtWKComPort->setText(QString::number(kWinKeyPort));
    wk.txtWKComPort_LostFocus();
    wk.cmdOpenWinkey_Click();
    // The open goes on from the device's answers.
    if (!QTest::qWaitFor([&layer] { return !layer.device().Opening(); }, 5000)) return false;
    return program_.keyer.WKOpen > 0 && program_.keyer.CWKeyingLine == 5;
}

void OperatingLoads::UseSoftwareKeyer(const QString& f3, int wpm) {
    if (program_.winKey) program_.winKey->CloseDevice();
    keyingPty_ = std::make_unique<PtyPair>();
    keyingPty_->MapAsPort(program_.folders.WorkingFolder, kKeyingPort);
    keyers::CWFrm& cw = program_.cwFrm();
    cw.Text3->setText(f3);
    cw.Text10->setText(QString::number(kKeyingPort));
    cw.Text11->setText(QString::number(wpm));
    cw.optTimer->setChecked(true);
    cw.Option1->setChecked(true);
    cw.CWSetup();
}

bool OperatingLoads::KeyerIdle() const {
    const keyers::KeyerState& k = program_.keyer;
    return k.CWSending == 0 && k.WKSending == 0;
}

QString OperatingLoads::WinKeyerKeyed() const { return winKeyer_ ? winKeyer_->Keyed() : QString(); }

QStringList TypableCounties(const logstore::CountyTable& table) {
    QStringList names;
    for (int i = 1; i <= table.CountyCount; ++i) names << table.CountyNames[static_cast<std::size_t>(i)];
    QStringList typable;
    for (const QString& name : names) {
        if (name.contains(u' ')) continue;
        bool prefix = false;
        for (const QString& other : names)
            if (other != name && other.startsWith(name, Qt::CaseInsensitive)) prefix = true;
        if (!prefix) typable << name;
    }
    return typable;
}

TypedContact ContactNumber(int n, const QStringList& counties) {
    return {QStringLiteral("k%1%2%3").arg(n % 10).arg(QChar(u'a' + n / 26 % 26)).arg(QChar(u'a' + n % 26)),
            counties[n % counties.size()]};
}

WindowWatcher::WindowWatcher(Program& program, QLineEdit* callBox, const OperatingLoads& loads,
                             WindowState& state)
    : program_(program), callBox_(callBox), loads_(loads), state_(state), timer_(std::make_unique<QTimer>()) {
    QObject::connect(callBox, &QLineEdit::textChanged, timer_.get(), [this] { Update(); });
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { Update(); });
    timer_->start(2);
    Update();
}

WindowWatcher::~WindowWatcher() = default;

void WindowWatcher::Update() {
    state_.logged = program_.log.QSOCount;
    state_.callBoxEmpty = callBox_->text().isEmpty();
    state_.keyerIdle = loads_.KeyerIdle();
}

namespace {

void TypeOnThisThread(QWindow* window, const WindowState& state, const std::vector<TypedContact>& contacts,
                      const Typing& typing) {
    using clock = std::chrono::steady_clock;
    const auto end = clock::now() + typing.bound;
    auto next = clock::now();
    const auto key = [&](auto k) {
        std::this_thread::sleep_until(next);
        PostKeyClick(window, k);
        next = clock::now() + typing.keyEvery;
    };
    const auto waitFor = [&](auto&& condition) {
        const auto until = std::min(clock::now() + typing.waitBound, end);
        while (!condition() && clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        next = clock::now() + typing.keyEvery;
    };
    int logged = state.logged;
    for (const TypedContact& contact : contacts) {
        if (clock::now() >= end) break;
        key(Qt::Key_F3);
        QString callBox;
        bool inCall = true;
        ++logged;
        for (QChar c : contact.Keys()) {
            if (c == u' ') inCall = false;
            if (inCall) callBox += c.toUpper();
            std::this_thread::sleep_until(next);
            if (typing.beforeKey) typing.beforeKey(c, inCall ? callBox : QString(), logged);
            key(c);
        }
        if (!typing.typeAhead) waitFor([&] { return state.logged >= logged && state.callBoxEmpty; });
        key(Qt::Key_Escape);
        if (!typing.typeAhead) waitFor([&] { return state.keyerIdle.load(); });
    }
}

}  // namespace

void TypeContacts(QWindow* window, const WindowState& state, const std::vector<TypedContact>& contacts,
                  const Typing& typing) {
    QEventLoop loop;
    std::thread typist([&] {
        TypeOnThisThread(window, state, contacts, typing);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    typist.join();
}

void PostKeyClick(QWindow* window, Qt::Key key) {
    QString text;
    if (key == Qt::Key_Return) text = QStringLiteral("\r");
    if (key == Qt::Key_Escape) text = QStringLiteral("\x1b");
    if (key == Qt::Key_Space) text = QStringLiteral(" ");
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

void PostKeyClick(QWindow* window, QChar character) {
    const char16_t c = character.toUpper().unicode();
    if (character == u'\n') return PostKeyClick(window, Qt::Key_Return);
    if (character == u'\x1b') return PostKeyClick(window, Qt::Key_Escape);
    if (character == u' ') return PostKeyClick(window, Qt::Key_Space);
    const int key = (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ? int(c) : int(Qt::Key_unknown);
    const QString text(character);
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

}  // namespace testing_support

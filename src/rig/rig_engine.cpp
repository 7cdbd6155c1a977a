#include "rig/rig_engine.h"

#include <QDir>
#include <QFileInfo>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/text_file.h"
#include "rig/rig_codec.h"

namespace rig {

namespace {

const QString kInvalidCommText = QStringLiteral(
    "The comm port that you selected for rig interface is either in use, invalid or the settings "
    "that you have selected are invalid.  Please select another combination or choose None for your "
    "rig selection.");

// A file of `folder` by its name, whatever the letter case of the name on disk.
QString findFile(const QString& folder, const QString& name) {
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::Files))
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    return {};
}

}  // namespace

RigEngine::RigEngine(platform::SerialPort& port, platform::Clock& clock, platform::Dialogs& dialogs,
                     Hooks hooks)
    : port_(port), clock_(clock), dialogs_(dialogs), hooks_(std::move(hooks)) {
    tmrGetData_.setInterval(1000);
    QObject::connect(&tmrGetData_, &QTimer::timeout, [this] { tmrGetData_Timer(); });
}

RigEngine::~RigEngine() = default;

bool RigEngine::Polling() const { return tmrGetData_.isActive(); }

int RigEngine::PollIntervalMs() const { return tmrGetData_.interval(); }

bool RigEngine::OpenRigPort() {
    if (port_.IsOpen()) port_.Close();
    port_.SetPortNumber(settings.RigPortNumber);
    // Set for every rig, so that one rig's handshaking never stays on for
    // the next.
    const bool tenTec = settings.RigType == u"Ten Tec Fnt Pnl" || settings.RigType == u"Ten Tec Orion";
    port_.SetHandshaking(tenTec ? platform::Handshaking::RtsCts : platform::Handshaking::None);
    port_.SetSettings(settings.RigCommSettings);
    port_.SetDtr(false);
    port_.SetRts(false);
    QString error;
    bool ok = port_.Open(&error);
    if (ok) {
        if (settings.RigPowerLine == u"R")
            port_.SetRts(true);
        else if (settings.RigPowerLine == u"D")
            port_.SetDtr(true);
        if (IsFiveByteYaesu(settings.RigType))
            ok = port_.Output(QByteArray(5, '\0'), &error);
        else if (settings.RigType == u"Ten Tec Orion")
            ok = port_.Output(QByteArrayLiteral("X\r"), &error);
    }
    if (ok) portErrorReported_ = false;
    if (!ok) {
        dialogs_.Beep();
        dialogs_.MsgBox(kInvalidCommText, platform::vbInformation, QStringLiteral("Invalid Comm Settings."));
        if (hooks_.portOpenFailed) hooks_.portOpenFailed();
    }
    return port_.IsOpen();
}

void RigEngine::StartPolling() {
    const QString& rate = settings.RigPollRate;
    if (rate == u"F")
        tmrGetData_.setInterval(50);
    else if (rate == u"M")
        tmrGetData_.setInterval(250);
    else if (rate == u"S")
        tmrGetData_.setInterval(1000);
    else if (rate == u"R")
        tmrGetData_.setInterval(5000);
    tmrGetData_.start();
}

void RigEngine::EndPolling() {
    // A change under way stops with the link.
    steps_.clear();
    ++stepsDropped_;
    stopPolling();
    if (port_.IsOpen()) port_.Close();
}

void RigEngine::Shutdown() {
    // A change still under way ends here.
    steps_.clear();
    ++stepsDropped_;
    if (Polling() && IsFiveByteYaesu(settings.RigType) && port_.IsOpen()) {
        QString error;
        port_.Output(QByteArray(4, '\0') + char(0x80), &error);
    }
    // Closing the port lets the system send what it still holds first.
    EndPolling();
}

void RigEngine::tmrGetData_Timer() {
    if (readTickDue_)
        readTick();
    else
        sendTick();
}

void RigEngine::stopPolling() {
    tmrGetData_.stop();
    if (hooks_.pollingStopped) hooks_.pollingStopped();
}

void RigEngine::stopOnPortError(const QString& systemText) {
    if (port_.IsOpen()) port_.Close();
    // Told once since the port last opened: a tick that finds polling
    // already stopped has nothing more to stop or say.
    if (portErrorReported_ && !Polling()) return;
    stopPolling();
    if (portErrorReported_) return;
    portErrorReported_ = true;
    dialogs_.MsgBox(systemText, platform::vbInformation, QStringLiteral("Polling Rig Stopped"));
}

std::int64_t RigEngine::lineMs(qsizetype pollBytes) const {
    platform::LineSettings line;
    if (!platform::ParseLineSettings(settings.RigCommSettings, &line)) return 0;
    // Start bit, data bits, parity, stop bits.
    const int bitsPerByte = 1 + line.dataBits + (line.parity == 'N' ? 0 : 1) + line.stopBits;
    // Longer than any family's reply to one send tick's polls, the bus echo
    // of a CI-V poll included.
    constexpr qsizetype kLongestReply = 40;
    return ((pollBytes + kLongestReply) * bitsPerByte * 1000 + line.baud - 1) / line.baud;
}

bool RigEngine::writePolls(QString* error) {
    bool modePollDue = modePollDue_;
    QString badPoll;
    const std::optional<QByteArray> bytes =
        PollBytes(settings.RigType, {settings.FreqPollString, settings.ModePollString}, settings.ConvertToHex,
                  modePollDue, &badPoll);
    if (!bytes) {
        // A byte poll string with a pair that is no hex number can never be
        // sent: polling stops, and the operator is told which string it is.
        *error = QStringLiteral("The poll string \"%1\" is not hexadecimal byte pairs.").arg(badPoll);
        return false;
    }
    if (!bytes->isEmpty()) {
        if (!port_.Output(*bytes, error)) return false;
        replyDue_ = true;
        replyDueMs_ = clock_.MonotonicMs() + lineMs(bytes->size());
    }
    modePollDue_ = modePollDue;
    readTickDue_ = true;
    return true;
}

void RigEngine::sendTick() {
    const bool usesPort = settings.RigType != u"Ten Tec Pegasus";
    if (usesPort && !port_.IsOpen()) {
        stopOnPortError(QStringLiteral("The port is not open."));
        return;
    }
    // A poll written over a reply still on the line would garble both (a
    // slow line polled fast): until the line has had the time to carry the
    // last poll and its reply, a poll without a whole reply holds the next.
    const bool replyOnTheLine = usesPort && replyDue_ && clock_.MonotonicMs() < replyDueMs_;
    if (usesPort && (port_.OutBufferCount() != 0 || replyOnTheLine)) {
        readTickDue_ = true;
    } else {
        // A new poll: what is left of an earlier reply will not be whole.
        replyRest_.clear();
        replyDue_ = false;
        QString error;
        if (!writePolls(&error)) {
            stopOnPortError(error);
            return;
        }
    }
    if (readTickDue_) replyBuffer_.clear();
}

void RigEngine::readTick() {
    const bool pegasus = settings.RigType == u"Ten Tec Pegasus";
    if (!pegasus) {
        if (!port_.IsOpen()) {
            stopOnPortError(QStringLiteral("The port is not open."));
            return;
        }
        // A reply cut by the tick is read when whole, at a later tick.
        ReplySplit split = SplitReplies(settings.RigType, replyRest_ + port_.Input());
        replyBuffer_ = std::move(split.whole);
        replyRest_ = std::move(split.rest);
        if (split.answered) replyDue_ = false;
    }
    if (pegasus || !replyBuffer_.isEmpty()) {
        parseReply();
        if (settings.RigModeSource == ModeSource::Frequency) {
            const QString byFrequency = ModeByFrequency(frequencyMHz_);
            if (!byFrequency.isEmpty()) modeText_ = byFrequency;
        }
        replyDisplay_ = settings.ConvertFromHex ? HexDisplay(replyBuffer_) : QString::fromLatin1(replyBuffer_);
        if (hooks_.showReading) hooks_.showReading();
        // A radio that has not answered yet has no frequency to report.
        if (settings.UseFrequency && frequencyMHz_ > 0 && hooks_.reportFrequency) {
            float f = frequencyMHz_;
            hooks_.reportFrequency(f);
        }
        if (settings.RigModeSource != ModeSource::DontUse && hooks_.reportMode) {
            QString mode = modeText_;
            hooks_.reportMode(mode);
        }
    }
    replyBuffer_.clear();
    readTickDue_ = false;
}

void RigEngine::parseReply() {
    RigReading reading{frequencyMHz_, modeText_, activeVFO_};
    if (settings.RigType == u"Ten Tec Pegasus") {
        const QString path = findFile(pegasusFolder, QStringLiteral("PEGASUS.OUT"));
        if (path.isEmpty()) return;
        const std::optional<QByteArray> file = platform::ReadWholeFile(path);
        if (!file) return;
        PegasusData(*file, reading);
    } else {
        ParseReply(settings.RigType, replyBuffer_, {settings.FreqPollString, settings.ModePollString},
                   modePollDue_, reading);
    }
    frequencyMHz_ = reading.frequencyMHz;
    modeText_ = reading.mode;
    activeVFO_ = reading.activeVFO;
}

QString RigEngine::FrequencyDisplayText() const {
    return frequencyMHz_ > 0 ? FrequencyText(frequencyMHz_) : QString();
}

void RigEngine::addStep(std::function<Step()> step) { steps_.push_back({changeNumber_, std::move(step)}); }

void RigEngine::addPause(int ms) {
    addStep([ms] { return Step{Step::Wait, ms}; });
}

void RigEngine::addOutputWait(std::shared_ptr<const bool> skip) {
    auto start = std::make_shared<std::int64_t>(0);
    addStep([this, start, skip] {
        if (!(skip && *skip)) *start = clock_.MonotonicMs();
        return Step{};
    });
    addStep([this, start, skip] {
        if (skip && *skip) return Step{};
        if (clock_.MonotonicMs() >= *start + 2000) return Step{};
        if (!port_.IsOpen() || port_.OutBufferCount() < 1) return Step{};
        return Step{Step::Again, 1};
    });
}

void RigEngine::runSteps() {
    stepsRunning_ = true;
    while (!steps_.empty()) {
        const int change = steps_.front().change;
        const std::uint64_t dropped = stepsDropped_;
        const Step step = steps_.front().run();
        // A step that showed a box let the operator stop polling or exit
        // meanwhile: the steps it belonged to are gone, and what stands now
        // (a change asked for since) starts from its own first step.
        if (dropped != stepsDropped_) continue;
        switch (step.kind) {
        case Step::Next:
            steps_.pop_front();
            break;
        case Step::Stop:
            while (!steps_.empty() && steps_.front().change == change) steps_.pop_front();
            break;
        case Step::Wait:
            steps_.pop_front();
            [[fallthrough]];
        case Step::Again:
            // The runner stays marked running while its timer is due.
            clock_.After(step.ms, &stepTimers_, [this] { runSteps(); });
            return;
        }
    }
    stepsRunning_ = false;
}

bool RigEngine::writePegasus(float mhz) {
    if (!QFileInfo(pegasusFolder).isDir()) return false;
    QString path = findFile(pegasusFolder, QStringLiteral("PEGASUS.IN"));
    if (path.isEmpty()) path = QDir(pegasusFolder).filePath(QStringLiteral("PEGASUS.IN"));
    const QString text = ShortestMHzText(mhz) + QStringLiteral("\r\n") + modeText_ + QStringLiteral("\r\n");
    QString error;
    return platform::WriteFileAtomically(path, platform::EncodeAnsi(text), &error);
}

void RigEngine::ChangeFrequency(float qChangeFreq) {
    if (!Polling()) return;
    const QString& type = settings.RigType;
    // A frequency the family's command cannot carry would misframe it.
    if (type != u"None" && type != u"Other" && !FrequencyFits(type, qChangeFreq)) return;
    tmrGetData_.stop();
    const bool pegasus = type == u"Ten Tec Pegasus";
    // A failed change leaves polling off until the next Test.
    const auto fail = [this](const QString& systemText) {
        stopPolling();
        dialogs_.MsgBox(systemText, platform::vbOKOnly, QStringLiteral("Error Changing Frequency"));
    };
    if (!pegasus) {
        if (!port_.IsOpen()) return fail(QStringLiteral("The port is not open."));
        port_.DiscardInput();
    }
    replyBuffer_.clear();
    replyRest_.clear();
    replyDue_ = false;
    ++changeNumber_;
    // A port lost in the middle of the change is told once, as the frequency
    // change's failure; the mode change's own box stands only when the
    // frequency then goes out.
    auto modeError = std::make_shared<QString>();
    addModeChange(qChangeFreq, QString(), modeError);
    addOutputWait();
    const std::vector<int> pauses = FrequencyPauses(type);
    for (const int pause : pauses) addPause(pause);
    addStep([this, qChangeFreq, pegasus, modeError, fail] {
        if (pegasus) {
            writePegasus(qChangeFreq);
        } else if (const std::optional<QByteArray> command =
                       FrequencyCommand(settings.RigType, qChangeFreq,
                                        {settings.FreqPollString, settings.ModePollString}, activeVFO_)) {
            QString error;
            if (!command->isEmpty() && !port_.Output(*command, &error)) {
                fail(error);
                return Step{Step::Stop};
            }
        }
        if (!modeError->isEmpty())
            dialogs_.MsgBox(*modeError, platform::vbOKOnly, QStringLiteral("Error Changing Mode"));
        return Step{};
    });
    addOutputWait();
    addStep([this] {
        tmrGetData_.start();
        return Step{};
    });
    if (!stepsRunning_) runSteps();
}

void RigEngine::ChangeMode(float qChangeFrequency, const QString& ModeToChangeTo) {
    ++changeNumber_;
    auto error = std::make_shared<QString>();
    addModeChange(qChangeFrequency, ModeToChangeTo, error);
    addStep([this, error] {
        if (!error->isEmpty()) dialogs_.MsgBox(*error, platform::vbOKOnly, QStringLiteral("Error Changing Mode"));
        return Step{};
    });
    if (!stepsRunning_) runSteps();
}

void RigEngine::addModeChange(float qChangeFrequency, const QString& ModeToChangeTo, std::shared_ptr<QString> error) {
    const QString& type = settings.RigType;
    if (type == u"None") return;
    QString mode = ModeToChangeTo;
    if (mode.isEmpty() && FrequencyFits(type, qChangeFrequency)) mode = bandPlan.SidebandForFrequency(qChangeFrequency);
    if (mode.isEmpty()) {
        addOutputWait();
        return;
    }
    const std::optional<QByteArray> command =
        ModeCommand(type, mode, {settings.FreqPollString, settings.ModePollString});
    addOutputWait();
    addPause(99);
    auto refused = std::make_shared<bool>(false);
    addStep([this, command, mode, error, refused] {
        if (command && !command->isEmpty()) {
            QString systemText;
            if (!port_.IsOpen()) systemText = QStringLiteral("The port is not open.");
            if (!systemText.isEmpty() || !port_.Output(*command, &systemText)) {
                *error = systemText + u' ' + mode;
                *refused = true;
            }
        }
        return Step{};
    });
    addOutputWait(refused);
}

bool RigEngine::RawOutput(const QByteArray& bytes) {
    QString error;
    return port_.IsOpen() && port_.Output(bytes, &error);
}

}  // namespace rig

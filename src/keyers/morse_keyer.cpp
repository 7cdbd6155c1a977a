#include "keyers/morse_keyer.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "keyers/settings_file.h"
#include "platform/clock.h"

namespace keyers {

namespace {

// International Morse code, and the punctuation and prosigns the keyer
// knows ("-" is sent as BT, as "=" is; "\" is CL as one character).
const std::map<QChar, const char*>& Patterns() {
    static const std::map<QChar, const char*> patterns = {
        {u'A', ".-"},     {u'B', "-..."},   {u'C', "-.-."},   {u'D', "-.."},    {u'E', "."},
        {u'F', "..-."},   {u'G', "--."},    {u'H', "...."},   {u'I', ".."},     {u'J', ".---"},
        {u'K', "-.-"},    {u'L', ".-.."},   {u'M', "--"},     {u'N', "-."},     {u'O', "---"},
        {u'P', ".--."},   {u'Q', "--.-"},   {u'R', ".-."},    {u'S', "..."},    {u'T', "-"},
        {u'U', "..-"},    {u'V', "...-"},   {u'W', ".--"},    {u'X', "-..-"},   {u'Y', "-.--"},
        {u'Z', "--.."},   {u'0', "-----"},  {u'1', ".----"},  {u'2', "..---"},  {u'3', "...--"},
        {u'4', "....-"},  {u'5', "....."},  {u'6', "-...."},  {u'7', "--..."},  {u'8', "---.."},
        {u'9', "----."},  {u'.', ".-.-.-"}, {u',', "--..--"}, {u'?', "..--.."}, {u'/', "-..-."},
        {u'-', "-...-"},  {u'=', "-...-"},  {u'[', ".-.-."},  {u']', "...-.-"}, {u';', "-.--."},
        {u'\\', "-.-..-.."},
    };
    return patterns;
}

// How long before the end of a "Timer" wait the thread stops sleeping and
// reads the counter until the end comes: a sleep may end a little late, and
// the reading it starts from may be up to a millisecond old.
constexpr double kReadCounterMs = 2;

}  // namespace

QString MorseElements(QChar character) {
    if (character == u' ') return QStringLiteral("00000000");
    const auto it = Patterns().find(character.toUpper());
    if (it == Patterns().end()) return {};
    QString elements;
    for (const char* p = it->second; *p; ++p) {
        if (!elements.isEmpty()) elements += u'0';
        elements += *p == '.' ? QStringLiteral("1") : QStringLiteral("111");
    }
    return elements + QStringLiteral("000");
}

std::optional<double> MorseKeyer::UnitMs(const QString& speed) {
    const std::optional<double> wpm = BoxNumber(speed);
    if (!wpm || !(*wpm > 0)) return std::nullopt;
    // The keyer never sends outside 5 to 99 WPM.
    return 1200.0 / std::clamp(*wpm, kMinWpm, kMaxWpm);
}

bool MorseKeyer::SetLine(KeyLine line, bool on) {
    switch (line) {
    case KeyLine::RTS: return lines_.SetRTS(on);
    case KeyLine::DTR: return lines_.SetDTR(on);
    case KeyLine::Printer: {
        const std::optional<double> address = BoxNumber(controls_.ParallelAddress());
        if (!address) return false;
        const auto base = static_cast<std::uint16_t>(static_cast<std::int64_t>(std::nearbyint(*address)));
        return lines_.WriteParallelControl(base, on ? 3 : 2);
    }
    case KeyLine::None: return true;
    }
    return true;
}

// Both methods sleep: this runs on the keyer's own thread only (MorseKeyer
// is made by KeyerThread), never on the window's.
void MorseKeyer::WaitUntil(double end, TimingMethod method) {
    if (method == TimingMethod::Timer) {
        // The wait ends at the first counter reading at `end` or later. The
        // thread sleeps until a millisecond or two before that reading is
        // due and reads the counter only for the rest: the edge falls where
        // reading the counter all along would put it, and the processor is
        // free meanwhile.
        const double due = std::ceil(end);
        for (;;) {
            const double now = static_cast<double>(clock_.MonotonicMs());
            if (now >= end) return;
            const double sleepMs = due - now - kReadCounterMs;
            if (sleepMs >= 1) clock_.SleepMs(static_cast<int>(sleepMs));
        }
    }
    const double left = std::ceil(end - static_cast<double>(clock_.MonotonicMs()));
    if (left > 0) clock_.SleepMs(static_cast<int>(left));
}

void MorseKeyer::WaitUnit(double unitMs, TimingMethod method, double shortMs) {
    switch (method) {
    case TimingMethod::Timer:
        // A wait on the counter. Each unit ends one unit after the
        // planned end of the one before, at the first reading at least that
        // late, so neither a late reading nor a fraction of a millisecond
        // adds up over a character.
        end_ += unitMs;
        WaitUntil(end_ - shortMs, method);
        return;
    case TimingMethod::Sleep:
        // Whole milliseconds, halves to even, counted from the planned end of
        // the unit before in the same way.
        end_ += std::nearbyint(unitMs);
        WaitUntil(end_ - shortMs, method);
        return;
    case TimingMethod::Loop:
        // The count per 60 ms scaled to one unit; a stop ends it early.
        CountPasses(controls_.LoopOffset() * unitMs / 60.0, [this] { return controls_.Stopped(); });
        end_ = static_cast<double>(clock_.MonotonicMs());
        return;
    }
}

void MorseKeyer::FinishGap() {
    const double now = static_cast<double>(clock_.MonotonicMs());
    if (now < end_ && end_ - now <= kOverlapMs + 1) WaitUntil(end_, gapMethod_);
}

MorseKeyer::Result MorseKeyer::Transmit(QChar character, Gap gap) {
    return Send(character, gap, nullptr);
}

MorseKeyer::Result MorseKeyer::Transmit(QChar character, const std::function<bool()>& more) {
    return Send(character, Gap::Wait, &more);
}

MorseKeyer::Result MorseKeyer::Send(QChar character, Gap gap, const std::function<bool()>* more) {
    const int keyingInterface = controls_.KeyingInterface();
    if (keyingInterface == 0) return Result::Sent;
    // A serial port that will not open keys nothing; the character still
    // takes its time and "!" still logs the contact.
    const bool portFailed = (keyingInterface == 1 || keyingInterface == 2) &&
                            !controls_.PortOpen() && !controls_.OpenPort();
    const Result sent = portFailed ? Result::PortFailed : Result::Sent;

    QString elements = MorseElements(character);
    if (character == u'!') controls_.LogContact();
    if (character == u' ') {
        const std::optional<double> space = BoxNumber(controls_.WordSpace());
        if (!space) return sent;
        if (*space > 0) {
            elements += QString(static_cast<qsizetype>(std::floor(*space)), u'0');
        } else if (*space < 0) {
            const double keep = std::nearbyint(8 + *space);
            elements.truncate(keep > 0 ? static_cast<qsizetype>(keep) : 0);
        }
    }
    if (elements.isEmpty()) return sent;

    // Whatever way the character ends, a line left keyed is released.
    struct Release {
        MorseKeyer& keyer;
        std::optional<KeyLine> keyed;
        ~Release() {
            if (keyed) keyer.SetLine(*keyed, false);
        }
    } release{*this, std::nullopt};

    // Within the silence the character before left (Gap::Overlap), the rest
    // of it is waited out and the rhythm goes on from its planned end; a
    // character that starts later is timed from now.
    // A start less than a millisecond late is the counter's step, not a
    // delay.
    const double now = static_cast<double>(clock_.MonotonicMs());
    if (now < end_ && end_ - now <= kOverlapMs + 1)
        WaitUntil(end_, gapMethod_);
    else if (now < end_ || now >= end_ + 1)
        end_ = now;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        // A stop ends the character here, whether or not a line is keyed.
        if (controls_.Stopped()) return Result::Stopped;
        const std::optional<double> unit = UnitMs(controls_.Speed());
        if (!unit) return Result::InvalidSpeed;
        const KeyLine line = portFailed ? KeyLine::None : controls_.Line();
        const bool on = elements[i] == u'1';
        if (release.keyed && *release.keyed != line) {
            SetLine(*release.keyed, false);
            release.keyed.reset();
        }
        if (!SetLine(line, on)) return Result::LineFailed;
        if (on && line != KeyLine::None)
            release.keyed = line;
        else
            release.keyed.reset();
        const TimingMethod method = controls_.Method();
        // The last unit of silence may be left in part to the caller.
        const bool overlap = !on && i + 1 == elements.size() && method != TimingMethod::Loop &&
                             (gap == Gap::Overlap || (more && (*more)()));
        gapMethod_ = method;
        WaitUnit(*unit, method, overlap ? std::floor(std::min(kOverlapMs, *unit / 2)) : 0);
    }
    return sent;
}

// Not inlined and counting through a volatile, so that the compiler can
// neither drop nor shorten the loop, and the wait and the calibration cost
// the same per pass. The stop is asked between blocks of passes (each a
// fraction of a millisecond), so it costs next to nothing per pass.
[[gnu::noinline]] bool MorseKeyer::CountPasses(double limit, const std::function<bool()>& stopped) {
    constexpr double kPassesPerCheck = 65536;
    volatile double counter = 0;
    for (;;) {
        const double block = std::min(limit, counter + kPassesPerCheck);
        while (counter < block) counter = counter + 1;
        if (!(counter < limit)) return true;
        if (stopped && stopped()) return false;
    }
}

std::optional<double> MorseKeyer::CalibrateLoop(platform::Clock& clock,
                                                const std::function<bool()>& stopped) {
    constexpr double kFirstCount = 5000000;
    constexpr double kMeasureMs = 250;
    std::int64_t start = clock.MonotonicMs();
    if (!CountPasses(kFirstCount, stopped)) return std::nullopt;
    const std::int64_t first = clock.MonotonicMs() - start;
    if (first <= 0) return std::nullopt;
    double count = kFirstCount;
    std::int64_t elapsed = first;
    if (first < kMeasureMs) {
        // Count again for about 250 ms, so that the millisecond counter's
        // steps weigh little in the figure.
        count = std::ceil(kFirstCount * kMeasureMs / static_cast<double>(first));
        start = clock.MonotonicMs();
        if (!CountPasses(count, stopped)) return std::nullopt;
        elapsed = clock.MonotonicMs() - start;
        if (elapsed <= 0) return std::nullopt;
    }
    return std::nearbyint(count / static_cast<double>(elapsed) * 60.0);
}

}  // namespace keyers

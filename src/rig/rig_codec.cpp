#include "rig/rig_codec.h"

#include <QStringList>
#include <cmath>

#include "logstore/record.h"

namespace rig {

namespace {

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

// One or two hex digits as a byte; std::nullopt when either is not hex.
std::optional<char> hexByte(QStringView pair) {
    if (pair.isEmpty()) return std::nullopt;
    int value = 0;
    for (QChar c : pair) {
        const int d = hexValue(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + d;
    }
    return static_cast<char>(value);
}

QByteArray pairsAt(const QString& text, int stride) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); i += stride) {
        const std::optional<char> b = hexByte(QStringView(text).mid(i, 2));
        if (!b) return {};
        out.append(*b);
    }
    return out;
}

// The byte at 0-based `i`, or -1 beyond the buffer.
int at(QByteArrayView buffer, qsizetype i) {
    return i >= 0 && i < buffer.size() ? static_cast<unsigned char>(buffer[i]) : -1;
}

// The 1-based hex digit k of the buffer's hex text (two digits per byte).
int hexDigitAt(QByteArrayView buffer, qsizetype k) {
    const int b = at(buffer, (k - 1) / 2);
    if (b < 0) return -1;
    return (k % 2 == 1) ? b / 16 : b % 16;
}

// The hex value of digits k..k+n-1 of the buffer's hex text.
std::optional<double> hexField(QByteArrayView buffer, qsizetype k, int n) {
    double value = 0;
    for (int j = 0; j < n; ++j) {
        const int d = hexDigitAt(buffer, k + j);
        if (d < 0) return std::nullopt;
        value = value * 16 + d;
    }
    return value;
}

// Rounds to five decimals, a half going to the even neighbour.
double round5(double mhz) { return std::nearbyint(mhz * 100000.0) / 100000.0; }

// Stores a frequency read from the radio when it is one a radio can have;
// anything else (0, an overflow to infinity, a number of absurd size from
// a garbled reply) keeps the earlier reading.
bool setFrequency(double mhz, RigReading& r) {
    const float f = static_cast<float>(mhz);
    if (!PlausibleMHz(f)) return false;
    r.frequencyMHz = f;
    return true;
}

bool allDigits(QByteArrayView text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return !text.isEmpty();
}

// A digit string in Hz to MHz, as the text replies give it; false when it
// is not decimal digits only (no sign, point or exponent) or no plausible
// frequency.
bool setFromHzDigits(QByteArrayView digits, bool doublePrecision, RigReading& r) {
    if (!allDigits(digits)) return false;
    const std::optional<double> hz = logstore::ParseNumber(digits);
    if (!hz) return false;
    const double value = doublePrecision ? *hz : static_cast<double>(static_cast<float>(*hz));
    return setFrequency(round5(value / 1000000.0), r);
}

QByteArray latin1(const QString& text) { return text.toLatin1(); }

// Whether a spaced hex text has a blank wherever one stands between two
// pairs (characters 3, 6, 9, ...): "3F 41 0D" has, "3F410D" has not.
bool blanksBetweenPairs(const QString& text) {
    for (qsizetype i = 2; i < text.size(); i += 3)
        if (text[i] != u' ') return false;
    return true;
}

bool isDigit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

// ---- Hex text ----

QString HexDigit(int value) {
    if (value < 0 || value > 15) return {};
    return QString(QChar(value < 10 ? '0' + value : 'A' + value - 10));
}

QString HexDisplay(QByteArrayView bytes) {
    QString out;
    for (char c : bytes) {
        const int b = static_cast<unsigned char>(c);
        out += HexDigit(b / 16) + HexDigit(b % 16) + QLatin1Char(' ');
    }
    return out;
}

QString BytesToHex(QByteArrayView bytes) {
    QString out;
    for (char c : bytes) {
        const int b = static_cast<unsigned char>(c);
        out += HexDigit(b / 16) + HexDigit(b % 16);
    }
    return out;
}

QByteArray SpacedHexToBytes(const QString& text) { return pairsAt(text, 3); }

QByteArray HexToBytes(const QString& text) { return pairsAt(text, 2); }

std::optional<QByteArray> SpacedHexPairs(const QString& text, int count) {
    QByteArray out;
    for (int n = 0; n < count; ++n) {
        QStringView pair = QStringView(text).mid(3 * n, 2);
        if (pair.size() == 2 && pair[1] == u' ') pair = pair.first(1);
        const std::optional<char> b = hexByte(pair);
        if (!b) return std::nullopt;
        out.append(*b);
    }
    return out;
}

// ---- Families ----

bool IsKenwoodFamily(const QString& t) {
    return t == u"Kenwood" || t == u"Kenwood 2" || t == u"Elecraft";
}

bool IsCivFamily(const QString& t) { return t == u"Icom" || t == u"Icom 735" || t == u"Ten Tec Omni VI"; }

bool IsOlderYaesu(const QString& t) {
    return t == u"Yaesu 757 GX II" || t == u"Yaesu 890" || t == u"Yaesu 920" || t == u"Yaesu 990" ||
           t == u"Yaesu 1000 D" || t == u"Yaesu 1000";
}

bool IsFiveByteYaesu(const QString& t) { return t == u"Yaesu" || IsOlderYaesu(t); }

// ---- Text replies ----

void KenwoodFrequency(QByteArrayView buffer, const QString& freqPoll, RigReading& r) {
    if (freqPoll.size() < 3) return;
    const qsizetype i = buffer.indexOf(latin1(freqPoll.left(2)));
    if (i < 0) return;
    // The 11 digits and at least one character after them.
    if (buffer.size() < i + 14) return;
    setFromHzDigits(buffer.sliced(i + 2, 11), false, r);
}

void KenwoodMode(QByteArrayView buffer, RigReading& r) {
    const qsizetype i = buffer.indexOf(QByteArrayView("MD"));
    if (i < 0 || buffer.size() < i + 3) return;
    const int c = at(buffer, i + 2);
    r.mode = (c == '3' || c == '7') ? QStringLiteral("CW") : QStringLiteral("PH");
}

void KenwoodIF(QByteArrayView buffer, RigReading& r) {
    const qsizetype i = buffer.indexOf(QByteArrayView("IF"));
    if (i < 0 || buffer.size() < i + 14) return;
    if (!setFromHzDigits(buffer.sliced(i + 2, 11), false, r)) return;
    if (buffer.size() < i + 30) return;
    // Mode 7 is reverse CW.
    const int c = at(buffer, i + 29);
    r.mode = (c == '3' || c == '7') ? QStringLiteral("CW") : QStringLiteral("PH");
    const int vfo = at(buffer, i + 30);
    if (isDigit(vfo)) r.activeVFO = vfo - '0';
}

void FTdx9000Data(QByteArrayView buffer, const PollStrings& polls, RigReading& r) {
    // An empty frequency poll box marks nothing: no frequency.
    const QByteArray freqMarker = latin1(polls.freq.left(2));
    if (!freqMarker.isEmpty()) {
        const qsizetype i = buffer.indexOf(freqMarker);
        if (i >= 0 && buffer.size() >= i + 10) setFromHzDigits(buffer.sliced(i + 2, 8), false, r);
    }
    // An empty mode poll box is a marker found at the buffer's first
    // character: the mode is then its fourth.
    const QByteArray modeMarker = latin1(polls.mode.left(3));
    const qsizetype i = modeMarker.isEmpty() ? 0 : buffer.indexOf(modeMarker);
    if (i >= 0 && buffer.size() >= i + 4) {
        // Mode 7 is reverse CW.
        const int c = at(buffer, i + 3);
        r.mode = (c == '3' || c == '7') ? QStringLiteral("CW") : QStringLiteral("PH");
    }
}

void OrionFrequency(QByteArrayView buffer, RigReading& r) {
    const qsizetype i = buffer.indexOf(QByteArrayView("@AF"));
    if (i < 0) return;
    const qsizetype cr = buffer.indexOf('\r', i);
    if (cr < 0) return;
    setFromHzDigits(buffer.sliced(i + 3, cr - i - 3), true, r);
}

void OrionMode(QByteArrayView buffer, RigReading& r) {
    const qsizetype i = buffer.indexOf(QByteArrayView("@RMM"));
    if (i < 0 || buffer.size() < i + 5) return;
    const int c = at(buffer, i + 4);
    r.mode = (c == '2' || c == '3') ? QStringLiteral("CW") : QStringLiteral("PH");
}

void PegasusData(QByteArrayView file, RigReading& r) {
    logstore::RecordReader reader{file.toByteArray()};
    const std::optional<logstore::RecordReader::Number> mhz = reader.ReadNumber();
    if (!mhz || !mhz->numeric) return;
    if (!setFrequency(mhz->value, r)) return;
    const std::optional<QString> mode = reader.ReadText();
    if (!mode) return;
    r.mode = (mode->isEmpty() || *mode == u"CW") ? *mode : QStringLiteral("PH");
}

// ---- Byte-coded replies ----

namespace {

// The CI-V scan shared by the frequency and mode parsers: the data bytes of
// the frames carrying `command`, as hex digits (frequency: each byte in front
// of the digits so far; mode: the first data byte only).
QString scanCiv(QByteArrayView buffer, int command, bool firstByteOnly) {
    enum { None, GotFirstFE, GotSecondFE, WaitForFD } state = None;
    QString digits;  // of the completed frames, newest first
    QString frame;   // of the frame being read
    for (qsizetype k = 0; k < buffer.size(); ++k) {
        const int b = static_cast<unsigned char>(buffer[k]);
        switch (state) {
        case None:
            if (b == 0xFE) state = GotFirstFE;
            break;
        case GotFirstFE:
            if (b == 0xFE) {
                state = GotSecondFE;
                k += 2;  // destination and source address
            } else {
                state = None;
            }
            break;
        case GotSecondFE:
            state = b == command ? WaitForFD : None;
            frame.clear();
            break;
        case WaitForFD:
            if (b == 0xFD) {
                // Only a frame that has ended counts: a frame cut short
                // would give its digits the wrong weight.
                digits.prepend(frame);
                state = None;
            } else if (firstByteOnly) {
                return HexDigit(b / 16) + HexDigit(b % 16);
            } else {
                frame.prepend(HexDigit(b / 16) + HexDigit(b % 16));
            }
            break;
        }
    }
    return digits;
}

QString icomBCDToFreq(const QString& d) {
    QString text;
    if (d.mid(0, 1) != u"0") text += d.mid(0, 1);
    if (d.mid(0, 2) != u"00") text += d.mid(1, 1);
    if (d.mid(0, 3) != u"000") text += d.mid(2, 1);
    text += d.mid(3, 1) + QLatin1Char('.') + d.mid(4, 6);
    return text;
}

QString yaesuBCDToFreq(const QString& d) {
    QString text;
    if (d.mid(0, 1) != u"0") text += d.mid(0, 1);
    if (d.mid(0, 2) != u"00") text += d.mid(1, 1);
    if (d.mid(0, 3) != u"000") text += d.mid(2, 1);
    return text + QLatin1Char('.') + d.mid(3, 5);
}

// The unsigned-number families: frequency field of `n` hex digits from
// digit `k`, in units of `divisor` per MHz.
bool unsignedFrequency(QByteArrayView buffer, qsizetype k, int n, double divisor, RigReading& r) {
    if (buffer.size() < 5) return false;
    const std::optional<double> value = hexField(buffer, k, n);
    if (!value) return false;
    return setFrequency(round5(*value / divisor), r);
}

// H[16], the low digit of byte 8, as a mode digit (-1 when the reply is short).
int modeDigit(QByteArrayView buffer) { return buffer.size() >= 8 ? hexDigitAt(buffer, 16) : -1; }

void olderYaesuMode(int digit, RigReading& r) {
    if (digit == 2)
        r.mode = QStringLiteral("CW");
    else if (digit >= 0 && digit <= 7)
        r.mode = QStringLiteral("PH");
}

}  // namespace

void IcomFrequency(QByteArrayView buffer, bool icom735, RigReading& r) {
    // BCD digits only: a stray byte in a frame (a hex letter) is no number.
    const QString digits = scanCiv(buffer, 0x03, false);
    if (!allDigits(latin1(digits))) return;
    const std::optional<double> mhz = logstore::ParseNumber(icomBCDToFreq(digits));
    if (!mhz) return;
    float f = static_cast<float>(*mhz);
    if (icom735) f /= 100;
    setFrequency(f, r);
}

void IcomMode(QByteArrayView buffer, RigReading& r) {
    const QString code = scanCiv(buffer, 0x04, true);
    if (code.isEmpty()) return;
    // 07 is reverse CW.
    r.mode = (code == u"03" || code == u"07") ? QStringLiteral("CW") : QStringLiteral("PH");
}

void YaesuData(QByteArrayView buffer, RigReading& r) {
    if (buffer.size() < 5) return;
    const QString h = BytesToHex(buffer.first(5));
    const QString digits = h.left(8);
    if (!allDigits(latin1(digits))) return;
    const std::optional<double> mhz = logstore::ParseNumber(yaesuBCDToFreq(digits));
    if (!mhz || !setFrequency(*mhz, r)) return;
    const QString codeText = h.mid(8, 2);
    if (!allDigits(latin1(codeText))) return;
    switch (codeText.toInt()) {
    case 2: case 3: case 82: case 83: r.mode = QStringLiteral("CW"); break;
    case 0: case 1: case 4: case 8: case 84: case 88: r.mode = QStringLiteral("PH"); break;
    default: break;
    }
}

void Yaesu757Data(QByteArrayView buffer, RigReading& r) {
    if (buffer.size() < 10) return;
    const QString h = BytesToHex(buffer);
    const QString digits = h.mid(16, 2) + h.mid(14, 2) + h.mid(12, 2) + h.mid(10, 2);
    if (!allDigits(latin1(digits))) return;
    const QString codeText = h.mid(18, 2);
    int code = 0;
    for (QChar c : codeText) {
        if (c < u'0' || c > u'9') break;
        code = code * 10 + (c.unicode() - '0');
    }
    if (!setFrequency(round5(digits.toDouble() / 100000.0), r)) return;
    switch (code) {
    case 2: case 3: r.mode = QStringLiteral("CW"); break;
    case 0: case 1: r.mode = QStringLiteral("PH"); break;
    case 4: r.mode = QStringLiteral("AM"); break;
    case 5: r.mode = QStringLiteral("FM"); break;
    default: break;
    }
}

void Yaesu890Data(QByteArrayView buffer, RigReading& r) {
    if (!unsignedFrequency(buffer, 5, 6, 100000.0, r)) return;
    olderYaesuMode(modeDigit(buffer), r);
}

void Yaesu990Data(QByteArrayView buffer, RigReading& r) {
    if (!unsignedFrequency(buffer, 3, 6, 100000.0, r)) return;
    olderYaesuMode(modeDigit(buffer), r);
}

void Yaesu1000Data(QByteArrayView buffer, RigReading& r) {
    if (!unsignedFrequency(buffer, 4, 6, 100000.0, r)) return;
    olderYaesuMode(modeDigit(buffer), r);
}

void Yaesu920Data(QByteArrayView buffer, RigReading& r) {
    if (!unsignedFrequency(buffer, 3, 8, 1000000.0, r)) return;
    const int digit = modeDigit(buffer);
    if (digit < 0) return;
    r.mode = digit == 1 ? QStringLiteral("CW") : QStringLiteral("PH");
}

void TenTecFrequency(QByteArrayView buffer, RigReading& r) {
    // The frequency reply starts with the letter A.
    if (at(buffer, 0) != 'A') return;
    unsignedFrequency(buffer, 3, 8, 1000000.0, r);
}

void TenTecMode(QByteArrayView buffer, RigReading& r) {
    if (buffer.size() < 3) return;
    const int digit = hexDigitAt(buffer, 4);
    if (digit == 3)
        r.mode = QStringLiteral("CW");
    else if (digit >= 0 && digit <= 4)
        r.mode = QStringLiteral("PH");
}

void ParseReply(const QString& t, QByteArrayView buffer, const PollStrings& polls, bool modePollDue,
                RigReading& r) {
    if (t == u"Kenwood" || t == u"Elecraft") {
        KenwoodFrequency(buffer, polls.freq, r);
        KenwoodMode(buffer, r);
    } else if (t == u"Kenwood 2") {
        KenwoodIF(buffer, r);
    } else if (IsCivFamily(t)) {
        if (modePollDue)
            IcomFrequency(buffer, t == u"Icom 735", r);
        else
            IcomMode(buffer, r);
    } else if (t == u"Yaesu") {
        YaesuData(buffer, r);
    } else if (t == u"Yaesu 757 GX II") {
        Yaesu757Data(buffer, r);
    } else if (t == u"Yaesu 890") {
        Yaesu890Data(buffer, r);
    } else if (t == u"Yaesu 920") {
        Yaesu920Data(buffer, r);
    } else if (t == u"Yaesu 990" || t == u"Yaesu 1000 D") {
        Yaesu990Data(buffer, r);
    } else if (t == u"Yaesu 1000") {
        Yaesu1000Data(buffer, r);
    } else if (t == u"Yaesu FTdx9000") {
        FTdx9000Data(buffer, polls, r);
    } else if (t == u"Ten Tec Fnt Pnl") {
        if (modePollDue)
            TenTecFrequency(buffer, r);
        else
            TenTecMode(buffer, r);
    } else if (t == u"Ten Tec Orion") {
        OrionFrequency(buffer, r);
        OrionMode(buffer, r);
    } else if (t == u"Ten Tec Pegasus") {
        PegasusData(buffer, r);
    }
}

ReplySplit SplitReplies(const QString& t, const QByteArray& buffer) {
    ReplySplit split;
    if (IsCivFamily(t)) {
        const qsizetype end = buffer.lastIndexOf('\xFD') + 1;
        split.whole = buffer.left(end);
        split.rest = buffer.mid(end);
        // A frame with data: FE FE, two addresses, the command, data, FD.
        for (qsizetype k = 0; k < split.whole.size() && !split.answered;) {
            const qsizetype fe = split.whole.indexOf(QByteArrayView("\xFE\xFE"), k);
            if (fe < 0) break;
            qsizetype start = fe;
            while (start + 2 < split.whole.size() && split.whole[start + 2] == '\xFE') ++start;
            const qsizetype fd = split.whole.indexOf('\xFD', start);
            if (fd < 0) break;
            split.answered = fd - start > 5;
            k = fd + 1;
        }
    } else if (t == u"Yaesu") {
        constexpr qsizetype kBlock = 5;
        const qsizetype end = buffer.size() - buffer.size() % kBlock;
        if (end > 0) split.whole = buffer.mid(end - kBlock, kBlock);
        split.rest = buffer.mid(end);
        split.answered = end > 0;
    } else {
        split.whole = buffer;
        split.answered = !buffer.isEmpty();
    }
    return split;
}

QString ModeByFrequency(float mhz) {
    struct Range {
        const char* mode;
        float low, high;
    };
    static const Range kRanges[] = {
        {"CW", 3.5f, 3.6f},      {"PH", 3.6f, 4.0f},       {"CW", 7.0f, 7.125f},  {"PH", 7.125f, 7.3f},
        {"CW", 10.1f, 10.15f},   {"CW", 14.0f, 14.15f},    {"PH", 14.15f, 14.35f}, {"CW", 18.068f, 18.11f},
        {"PH", 18.11f, 18.168f}, {"CW", 21.0f, 21.2f},     {"PH", 21.2f, 21.45f}, {"CW", 24.89f, 24.93f},
        {"PH", 24.93f, 24.99f},  {"CW", 28.0f, 28.3f},     {"PH", 28.3f, 29.7f},  {"CW", 50.0f, 50.1f},
        {"PH", 50.1f, 54.0f},    {"CW", 144.0f, 144.1f},   {"PH", 144.1f, 148.0f},
    };
    QString result;
    for (const Range& range : kRanges)
        if (range.low < mhz && mhz < range.high) result = QString::fromLatin1(range.mode);
    return result;
}

QString FrequencyText(float mhz) {
    QString text = QString::number(static_cast<double>(mhz), 'f', 5);
    if (text.startsWith(u"0.")) text.remove(0, 1);
    if (text.startsWith(u"-0.")) text.remove(1, 1);
    return text;
}

// ---- Commands ----

std::optional<QByteArray> PollBytes(const QString& t, const PollStrings& polls, bool convertToHex,
                                    bool& modePollDue, QString* badPoll) {
    const auto refuse = [badPoll](const QString& poll) -> std::optional<QByteArray> {
        if (badPoll) *badPoll = poll;
        return std::nullopt;
    };
    QByteArray out;
    // The `pairs` bytes of a byte poll longer than `longerThan` characters;
    // a shorter one is skipped. False for a string that can never be sent:
    // a pair that is no hex, or a short string typed without the blanks
    // between its pairs.
    const auto bytePoll = [&out](const QString& poll, qsizetype longerThan, int pairs) {
        if (poll.size() <= longerThan) return blanksBetweenPairs(poll);
        const std::optional<QByteArray> bytes = SpacedHexPairs(poll, pairs);
        if (bytes) out = *bytes;
        return bytes.has_value();
    };
    if (IsKenwoodFamily(t)) {
        out = latin1(polls.freq) + latin1(polls.mode);
    } else if (IsCivFamily(t) || t == u"Ten Tec Fnt Pnl") {
        const bool civ = IsCivFamily(t);
        const QString& poll = modePollDue ? polls.mode : polls.freq;
        if (!bytePoll(poll, civ ? 16 : 6, civ ? 6 : 3)) return refuse(poll);
        modePollDue = !modePollDue;
    } else if (IsFiveByteYaesu(t)) {
        if (!bytePoll(polls.freq, 13, 5)) return refuse(polls.freq);
    } else if (t == u"Yaesu FTdx9000") {
        const QString& poll = modePollDue ? polls.mode : polls.freq;
        if (poll.size() >= 2) out = latin1(poll);
        modePollDue = !modePollDue;
    } else if (t == u"Ten Tec Orion") {
        if (!polls.freq.isEmpty()) out += latin1(polls.freq) + '\r';
        if (!polls.mode.isEmpty()) out += latin1(polls.mode) + '\r';
    } else if (t == u"Other") {
        for (const QString& poll : {polls.freq, polls.mode}) {
            if (poll.isEmpty()) continue;
            if (!convertToHex) {
                out += latin1(poll);
                continue;
            }
            // A string that converts to no bytes would leave the radio
            // unpolled while polling seems to run.
            const QByteArray bytes = SpacedHexToBytes(poll);
            if (bytes.isEmpty()) return refuse(poll);
            out += bytes;
        }
    }
    return out;
}

long long WholeHz(float mhz) { return std::llrint(static_cast<double>(mhz) * 1000000.0); }

long long WholeTensOfHz(float mhz) { return std::llrint(static_cast<double>(mhz) * 100000.0); }

QString DigitField(long long value, int width) {
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

QString ShortestMHzText(float mhz) {
    return QString::number(static_cast<double>(mhz), 'g', 7);
}

namespace {

// Decimal digits read two at a time, last pair first.
QString reversedPairs(const QString& digits) {
    QString out;
    for (qsizetype i = digits.size() - 2; i >= 0; i -= 2) out += digits.mid(i, 2);
    return out;
}

QString civAddress(const PollStrings& polls) { return polls.freq.mid(6, 2); }

// The decimal digits of a CI-V frequency command, two to a byte: the IC-735
// takes four bytes, up to the tens of MHz; the others five.
int civFrequencyDigits(const QString& t) { return t == u"Icom 735" ? 8 : 10; }

}  // namespace

bool PlausibleMHz(float mhz) { return std::isfinite(mhz) && mhz >= kLowestRigMHz && mhz < kHighestRigMHz; }

bool FrequencyFits(const QString& t, float mhz) {
    // Refused before any conversion to whole Hz, which a frequency out of
    // this range would overflow (to a negative number).
    if (!PlausibleMHz(mhz)) return false;
    if (IsFiveByteYaesu(t)) return WholeTensOfHz(mhz) < 100000000LL;
    if (IsCivFamily(t)) return QString::number(WholeHz(mhz)).size() <= civFrequencyDigits(t);
    if (t == u"Ten Tec Fnt Pnl") return WholeHz(mhz) <= 0xFFFFFFFFLL;
    return true;
}

std::optional<QByteArray> FrequencyCommand(const QString& t, float mhz, const PollStrings& polls,
                                           int activeVFO) {
    if (!FrequencyFits(t, mhz)) return std::nullopt;
    const long long hz = WholeHz(mhz);
    if (t == u"Kenwood") return latin1(polls.freq.left(2) + DigitField(hz, 11) + QLatin1Char(';'));
    if (t == u"Kenwood 2")
        return latin1((activeVFO == 1 ? QStringLiteral("FB") : QStringLiteral("FA")) + DigitField(hz, 11) + QLatin1Char(';'));
    if (t == u"Elecraft") return latin1(QStringLiteral("FA") + DigitField(hz, 11) + QLatin1Char(';'));
    if (IsCivFamily(t))
        return HexToBytes(QStringLiteral("FEFE") + civAddress(polls) + QStringLiteral("E005") +
                          reversedPairs(DigitField(hz, civFrequencyDigits(t))) + QStringLiteral("FD"));
    if (t == u"Ten Tec Fnt Pnl")
        return HexToBytes(QStringLiteral("2A41") + QString::number(hz, 16).toUpper().rightJustified(8, u'0') + QStringLiteral("0D"));
    if (t == u"Ten Tec Orion") return latin1(QStringLiteral("*AF") + ShortestMHzText(mhz) + QLatin1Char('\r'));
    if (t == u"Yaesu") return HexToBytes(DigitField(WholeTensOfHz(mhz), 8) + QStringLiteral("01"));
    if (IsOlderYaesu(t)) return HexToBytes(reversedPairs(DigitField(WholeTensOfHz(mhz), 8)) + QStringLiteral("0A"));
    if (t == u"Yaesu FTdx9000") return latin1(polls.freq.left(2) + DigitField(hz, 8) + QLatin1Char(';'));
    return std::nullopt;
}

std::vector<int> FrequencyPauses(const QString& t) {
    if (t == u"Elecraft") return {205, 1000};
    if (t == u"Icom" || t == u"Icom 735") return {140};
    if (t == u"Ten Tec Omni VI") return {140, 220};
    if (t == u"Yaesu 1000") return {10};
    if (t == u"None" || t == u"Other") return {};
    return {205};
}

std::optional<QByteArray> ModeCommand(const QString& t, const QString& mode, const PollStrings& polls) {
    struct Row {
        const char* mode;
        const char* kenwood;
        const char* ftdx;
        const char* yaesu;
        const char* older;
        const char* icom;
    };
    static const Row kRows[] = {
        {"CW", "MD3;", "3", "0200000007", "000000020C", "E00603FD"},
        {"LSB", "MD1;", "1", "0000000007", "000000000C", "E00600FD"},
        {"USB", "MD2;", "2", "0100000007", "000000010C", "E00601FD"},
        {"AM", "MD5;", "5", "0400000007", "000000040C", "E00602FD"},
        {"FM", "MD4;", "4", "0800000007", "000000060C", "E00605FD"},
        {"RTTY", "MD6;", "6", "0A00000007", "000000080C", "E00604FD"},
        {"FSK", "MD6;", nullptr, nullptr, nullptr, nullptr},
        {"CW-R", nullptr, "7", nullptr, "000000030C", "E00607FD"},
        {"RTTY-R", nullptr, nullptr, nullptr, nullptr, "E00608FD"},
        {"DIG", nullptr, nullptr, "0A00000007", nullptr, nullptr},
        {"PKT", nullptr, nullptr, "0C00000007", "0000000A0C", nullptr},
    };
    for (const Row& row : kRows) {
        if (mode != QLatin1String(row.mode)) continue;
        const auto text = [](const char* s) { return QString::fromLatin1(s); };
        if (IsKenwoodFamily(t) && row.kenwood) return QByteArray(row.kenwood);
        if (t == u"Yaesu FTdx9000" && row.ftdx) return latin1(polls.mode.left(3) + text(row.ftdx) + QLatin1Char(';'));
        if (t == u"Yaesu" && row.yaesu) return HexToBytes(text(row.yaesu));
        if (IsOlderYaesu(t) && row.older) return HexToBytes(text(row.older));
        if ((t == u"Icom" || t == u"Ten Tec Omni VI") && row.icom)
            return HexToBytes(QStringLiteral("FEFE") + civAddress(polls) + text(row.icom));
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace rig

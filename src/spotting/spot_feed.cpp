#include "spotting/spot_feed.h"

#include <utility>

#include "platform/same_text.h"

namespace spotting {

void SpotMonitor::Trim() {
    if (text_.size() > kLimit) text_ = text_.right(kKeep);
}

bool SpotMonitor::SeenRecently(QStringView text) const {
    const qsizetype start = std::max<qsizetype>(0, text_.size() - kRecent - 1);
    return QStringView(text_).sliced(start).indexOf(text, 0, Qt::CaseInsensitive) >= 0;
}

namespace {

// What may stand between the text of two lines: line ends (LF CR, or the LF
// of a CR LF that came in two pieces), blank lines, a bell.
bool IsLineBreak(QChar c) { return c == u'\r' || c == u'\n' || c == u'\a'; }

// Cuts `pending` into lines and runs of line breaks and hands each complete
// one to `take` in order (with `line` false for a run of line breaks, which is
// handed on as soon as it has come). A line is its text and its line end: it
// ends at CR LF, CR or LF, so nodes that end lines CR alone, LF alone or LF CR
// all work; it ends too just before a spot line's own opening "DX de ", so a
// prompt without a line end does not swallow the spot after it (no other "DX"
// starts a line: a call or a comment may begin with "DX"). Where the text was
// cut into pieces changes no line. An unfinished line longer than
// `maxPending` is taken as it is.
void TakeLines(QString& pending, qsizetype maxPending,
               const std::function<void(QStringView text, bool line)>& take) {
    static constexpr QStringView kSpotOpening = u"DX de ";
    const QStringView text(pending);
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype end = from;
        if (IsLineBreak(text[from])) {
            while (end < text.size() && IsLineBreak(text[end])) ++end;
            take(text.sliced(from, end - from), false);
            from = end;
            continue;
        }
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        const qsizetype opening =
            text.sliced(from + 1, end - from - 1).indexOf(kSpotOpening, 0, Qt::CaseInsensitive);
        if (opening >= 0) {
            end = from + 1 + opening;
        } else {
            if (end == text.size()) break;
            if (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ++end;
            ++end;
        }
        take(text.sliced(from, end - from), true);
        from = end;
    }
    pending.remove(0, from);
    if (pending.size() > maxPending) {
        const QString line = std::exchange(pending, QString());
        take(line, true);
    }
}

}  // namespace

void SpotFeed::ReceiveTnc(QStringView chars) {
    if (chars.isEmpty()) return;
    TNCReceiveBuffer.append(chars);
    ProcessPacketLines();
}

void SpotFeed::ProcessPacketLines() {
    TakeLines(TNCReceiveBuffer, kMaxPending, [this](QStringView text, bool line) {
        if (line)
            packetLine(text);
        else if (!listDxOnly)
            showReceived(text);
    });
}

void SpotFeed::packetLine(QStringView line) {
    if (monitor.SeenRecently(line)) return;
    const bool spot = BeginsWithDX(line);
    if (!spot && listDxOnly) return;
    showReceived(line);
    if (spot) postLine(line);
}

void SpotFeed::showReceived(QStringView text) {
    monitor.Append(text);
    monitor.Trim();
}

bool SpotFeed::postLine(QStringView line) {
    const std::optional<SpotLine> spot = ParseSpotLine(line);
    if (!spot) return false;
    post_(*spot);
    return true;
}

void SpotFeed::ReceiveTelnet(QStringView chunk) {
    if (!listDxOnly) showReceived(chunk);
    telnetPending_.append(chunk);
    TakeLines(telnetPending_, kMaxPending, [this](QStringView text, bool line) {
        if (line && postLine(text) && listDxOnly) showReceived(text);
    });
}

namespace {

// Every CR and every LF of `text` becomes CR LF.
QString CrLfEach(QStringView text) {
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n')
            out.append(QLatin1StringView("\r\n"));
        else
            out.append(c);
    }
    return out;
}

}  // namespace

void SpotFeed::ShowAgwFrame(QChar kind, const QString& call, const QString& text,
                            const QString& connectedCall) {
    const QString header = CrLfEach(QString(kind) + call + QStringLiteral(" ") + text);
    QString body = CrLfEach(text);
    if (connectedCall.isEmpty()) {
        // A monitored frame's first line is the engine's frame header.
        const qsizetype lf = body.indexOf(u'\n');
        if (lf >= 0) body.remove(0, lf + 1);
        body = TrimSpaces(body).toString();
    }
    if (body == QLatin1StringView("\r\n"))
        body.clear();
    else if (body.size() > 4 && body.endsWith(QLatin1StringView("\r\n\r\n")))
        body.chop(2);

    // Spot lines: every line of the body whose "DX" stands at its first or
    // second character, read from the "DX".
    bool shown = false;
    if (!body.isEmpty() && !monitor.SeenRecently(body)) {
        std::vector<SpotLine> spots;
        qsizetype start = 0;
        while (start < body.size()) {
            qsizetype lf = body.indexOf(u'\n', start);
            if (lf < 0) lf = body.size() - 1;
            const QStringView line = QStringView(body).sliced(start, lf + 1 - start);
            const qsizetype dx = line.indexOf(u"DX", 0, Qt::CaseInsensitive);
            if (dx == 0 || dx == 1) {
                if (std::optional<SpotLine> spot = ParseSpotLine(line.sliced(dx)))
                    spots.push_back(std::move(*spot));
            }
            start = lf + 1;
        }
        if (!spots.empty()) {
            monitor.Append(body);
            for (const SpotLine& spot : spots) post_(spot);
            monitor.Trim();
            shown = true;
        }
    }
    // A frame is shown once: one whose spot line is not its first line was
    // shown above already.
    if (shown) return;
    if (!connectedCall.isEmpty() && platform::SameText(connectedCall, call) && !listDxOnly &&
        !BeginsWithDX(body)) {
        monitor.Append(body);
        monitor.Trim();
    }
    if (connectedCall.isEmpty() && !listDxOnly &&
        !header.contains(QLatin1StringView("DX "), Qt::CaseInsensitive) && !BeginsWithDX(body)) {
        monitor.Append(header);
        monitor.Trim();
    }
}

}  // namespace spotting

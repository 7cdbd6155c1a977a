#include "spotting/spot_feed.h"

#include "platform/same_text.h"

namespace spotting {

void SpotMonitor::Trim() {
    if (text_.size() > kLimit) text_ = text_.right(kKeep);
}

bool SpotMonitor::SeenRecently(QStringView text) const {
    const qsizetype start = std::max<qsizetype>(0, text_.size() - kRecent - 1);
    return QStringView(text_).sliced(start).indexOf(text, 0, Qt::CaseInsensitive) >= 0;
}

void SpotFeed::ReceiveTnc(QStringView chars) {
    if (chars.isEmpty()) return;
    TNCReceiveBuffer.append(chars);
    if (TNCReceiveBuffer.size() > 2) ProcessPacketLines();
}

void SpotFeed::ProcessPacketLines() {
    QString& buffer = TNCReceiveBuffer;
    qsizetype start = buffer.indexOf(u'\n');
    if (start >= 0) {
        // Each line runs from after one LF up to and including the next.
        for (;;) {
            const qsizetype next = buffer.indexOf(u'\n', start + 1);
            if (next < 0) break;
            packetLine(QStringView(buffer).sliced(start + 1, next - start).toString());
            start = next;
        }
        buffer.remove(0, start);
    }
    // A TNC that never sends LF: its text is not held back without end.
    const qsizetype lead = buffer.startsWith(u'\n') ? 1 : 0;
    while (buffer.size() - lead > kMaxPending) {
        const QStringView tail = QStringView(buffer).sliced(lead);
        const qsizetype cr = tail.indexOf(u'\r');
        const qsizetype length = cr >= 0 ? cr + 1 : tail.size();
        const QString line = tail.first(length).toString();
        buffer = QStringLiteral("\n") + tail.sliced(length).toString();
        packetLine(line);
        if (lead == 0) break;
    }
}

void SpotFeed::packetLine(QStringView line) {
    if (monitor.SeenRecently(line)) return;
    if (BeginsWithDX(line)) {
        monitor.Append(line);
        monitor.Trim();
        postLine(line);
    } else if (!listDxOnly) {
        monitor.Append(line);
        monitor.Trim();
    }
}

bool SpotFeed::postLine(QStringView line) {
    const std::optional<SpotLine> spot = ParseSpotLine(line);
    if (!spot) return false;
    post_(*spot);
    return true;
}

namespace {

// `line` from its first character that is not a CR, LF or BEL: what a cluster
// puts before a spot line (the line end of LF CR lines, a bell) is no part of
// it.
QStringView SkipLineBreaks(QStringView line) {
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u'\r' || line[i] == u'\n' || line[i] == u'\a')) ++i;
    return line.sliced(i);
}

}  // namespace

void SpotFeed::ReceiveTelnet(QStringView chunk) {
    if (!listDxOnly) {
        monitor.Append(chunk);
        monitor.Trim();
    }
    // A chunk that begins with a spot line starts a line of its own: a
    // prompt without a line end ("dxspider >") before it is not glued to it.
    if (!telnetPending_.isEmpty() && BeginsWithDX(SkipLineBreaks(chunk))) {
        const QString line = telnetPending_;
        telnetPending_.clear();
        telnetLine(line);
    }
    telnetPending_.append(chunk);
    qsizetype start = 0;
    for (;;) {
        const qsizetype lf = telnetPending_.indexOf(u'\n', start);
        if (lf < 0) break;
        telnetLine(QStringView(telnetPending_).sliced(start, lf + 1 - start).toString());
        start = lf + 1;
    }
    telnetPending_.remove(0, start);
    if (telnetPending_.size() > kMaxPending) {
        const QString line = telnetPending_;
        telnetPending_.clear();
        telnetLine(line);
    }
}

void SpotFeed::telnetLine(QStringView received) {
    const QStringView line = SkipLineBreaks(received);
    if (!BeginsWithDX(line)) return;
    if (postLine(line) && listDxOnly) {
        monitor.Append(line);
        monitor.Trim();
    }
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

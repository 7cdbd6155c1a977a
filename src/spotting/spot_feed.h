#pragma once
// What the spotting window does with received text, whatever the source: the
// monitor of received traffic and status lines, the line assembly of the
// packet TNC with its duplicate filter, the line assembly of Telnet chunks,
// and the display of the packet engine's frames. Spot lines found on the way
// go to the post callback; the window hands them to the main window.
#include <QString>
#include <QStringView>
#include <functional>

#include "spotting/spot_line.h"

namespace spotting {

// The monitor: received text and status lines. Capped at 10000 characters,
// cut to its last 9000, and the memory of the duplicate filter.
class SpotMonitor {
public:
    static constexpr qsizetype kLimit = 10000;
    static constexpr qsizetype kKeep = 9000;
    static constexpr qsizetype kRecent = 800;

    const QString& text() const { return text_; }
    void Replace(const QString& text) { text_ = text; }
    void Append(QStringView text) { text_.append(text); }
    // Past 10000 characters the monitor keeps its last 9000.
    void Trim();
    // Whether `text` occurs, letter case ignored, within the last 800
    // characters of the monitor (from its length - 800, counting from 1).
    bool SeenRecently(QStringView text) const;

private:
    QString text_;
};

class SpotFeed {
public:
    using PostSpot = std::function<void(const SpotLine&)>;
    // An unfinished line longer than this is not waited for any longer.
    static constexpr qsizetype kMaxPending = 4096;

    explicit SpotFeed(PostSpot post) : post_(std::move(post)) {}

    SpotMonitor monitor;
    // "List DX Only": received lines that are not spot lines stay out of the
    // monitor.
    bool listDxOnly = false;
    // Characters received from the TNC and not yet consumed; after every pass
    // it begins with the LF that ended the last consumed line.
    QString TNCReceiveBuffer = QStringLiteral("\n");

    // Takes characters read from the TNC and consumes the complete lines.
    void ReceiveTnc(QStringView chars);
    // Consumes every complete line of TNCReceiveBuffer: shows it unless it
    // repeats recent monitor text (or is not a spot line while listDxOnly),
    // and posts spot lines. A line that never ends grows no further than
    // kMaxPending: then a CR ends it, or the whole tail is taken as one line.
    void ProcessPacketLines();

    // One chunk received from a Telnet cluster: shown whole (unless
    // listDxOnly); cut into lines at LF, joined with the unfinished line of
    // earlier chunks (unless the chunk begins with "DX", which starts a line
    // of its own), and every spot line posted (and shown when listDxOnly). A
    // line's leading CR, LF and BEL characters are passed over before its
    // "DX" is looked for, so lines ended LF CR are spot lines too.
    void ReceiveTelnet(QStringView chunk);

    // Shows one frame of the packet engine and posts the spot lines it
    // carries. `kind` is the frame kind letter, `call` the sender,
    // `connectedCall` the station connected through the engine, if any.
    void ShowAgwFrame(QChar kind, const QString& call, const QString& text,
                      const QString& connectedCall);

private:
    void packetLine(QStringView line);
    bool postLine(QStringView line);
    void telnetLine(QStringView received);

    PostSpot post_;
    QString telnetPending_;
};

}  // namespace spotting

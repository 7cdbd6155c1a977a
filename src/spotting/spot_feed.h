#pragma once
// What the spotting window does with received text, whatever the source: the
// monitor of received traffic and status lines, the one line assembly of the
// packet TNC and of Telnet chunks (with the TNC's duplicate filter), and the
// display of the packet engine's frames. Spot lines found on the way
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
    // Characters received from the TNC and not yet consumed: the unfinished
    // next line, if any.
    QString TNCReceiveBuffer;

    // Takes characters read from the TNC and consumes the complete lines.
    void ReceiveTnc(QStringView chars);
    // Consumes every complete line of TNCReceiveBuffer: shows it unless it
    // repeats recent monitor text (or is not a spot line while listDxOnly),
    // and posts spot lines. Lines are cut as Telnet chunks are: at CR LF, CR
    // or LF, and before a spot line's "DX de " that follows a prompt; the CR,
    // LF and BEL characters between lines are shown (unless listDxOnly) and
    // are no part of a line. A line that never ends grows no further than
    // kMaxPending.
    void ProcessPacketLines();

    // One chunk received from a Telnet cluster: shown whole (unless
    // listDxOnly); joined with the unfinished line of earlier chunks and cut
    // into lines as the TNC's text is, and every spot line posted (and shown
    // when listDxOnly).
    void ReceiveTelnet(QStringView chunk);

    // Shows one frame of the packet engine and posts the spot lines it
    // carries. `kind` is the frame kind letter, `call` the sender,
    // `connectedCall` the station connected through the engine, if any.
    void ShowAgwFrame(QChar kind, const QString& call, const QString& text,
                      const QString& connectedCall);

private:
    void packetLine(QStringView line);
    void showReceived(QStringView text);
    bool postLine(QStringView line);

    PostSpot post_;
    QString telnetPending_;
};

}  // namespace spotting

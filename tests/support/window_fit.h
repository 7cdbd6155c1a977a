#pragma once
// What an operator sees of a window, measured: whether every text fits its
// control, is large enough to read and stands where it belongs, whether the
// window with its frame lies inside the desktop work area, and whether any
// control covers another. Each check returns a list of findings, one line
// each, empty when the window passes.
#include <QRect>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class QAbstractButton;
class QAbstractItemView;
class QFont;
class QGroupBox;
class QLabel;
class QSize;
class QWidget;

namespace testing_support {

// ---- Texts that fit ----

// Every visible caption, button, option, check box, frame title, list
// heading and list cell is measured with its control's font against the room
// the control gives it.
struct TextFit {
    QWidget* window;
    QStringList misfits;
    int measured = 0;

    void Walk();

    void Label(const QLabel* label);
    void Button(const QAbstractButton* button);
    void Frame(const QGroupBox* frame);
    void Columns(QAbstractItemView* view);
    // One line of text in `roomWidth`.
    void Line(const QWidget* w, const QFont& font, const QString& text, int roomWidth);
    void Report(const QWidget* w, const QString& text, QSize need, QSize room);
};

// The name a finding gives a control: its object name, or its container's
// name and its class.
QString Where(const QWidget* w);

// ---- Text size ----

// The window system's default small size: the 8-point captions its dialogs
// are drawn with (the design's 8.25-point "MS Sans Serif").
inline constexpr double kSmallestPoints = 8.0;

// The smallest text a window may show at full form size: the default small
// size as the window shows it, grown by the factor its scaling to the screen
// gave its fonts (platform::Form::FontScale; 1 for a widget that is no form).
double TextFloorPoints(const QWidget* window);

// Every visible text of the window (captions, buttons, options, check boxes,
// frame titles, text boxes, list headings and cells, the menu bar) at
// least `floorPoints`: texts are drawn at whole pixels, so its font's pixel
// size is at least the floor's, rounded to a whole pixel.
QStringList TextsBelowFloor(QWidget* window, double floorPoints);

// Captions and their values: a caption label whose buddy is a label
// (QLabel::setBuddy, which also tells assistive tools what the value is) has
// its value there. The value's text is at least the caption's size and
// stands on the caption's baseline (within 1 px), both as drawn with their
// alignments.
QStringList ValuesOffTheirCaptions(QWidget* window);

// ---- Place on the screen ----

// The least frame a window is drawn with: the window system's standard
// sizable frame of the design, 4 px at the left, right and bottom and a
// title bar of 23 px above the client area (platform::Form::kStandardBorder
// is 8 x 27 px). The offscreen platform reports a frame of 2 px all round
// and no title bar, an X server without a window manager none at all.
inline constexpr int kFrameSide = 4;
inline constexpr int kTitleBar = 23;

// The window's outer rectangle: placed where the platform puts its frame,
// its client area with, on each side, the frame the platform reports or the
// least frame above, whichever is wider.
QRect FrameRect(const QWidget& window);

// The window with its frame inside `workArea`, its title bar inside it (so
// the operator can reach it to move the window).
QStringList OffTheWorkArea(const QWidget& window, QRect workArea);

// ---- Controls covering controls ----

// Two names of controls that the design lays over each other on purpose:
// such a pair is no finding.
using StackedPair = std::pair<QString, QString>;

// No visible control covers another, and none reaches past its container:
// - every visible child widget lies inside its container's rectangle (the
//   window's, a frame's, a picture box's);
// - no two visible sibling widgets have rectangles that overlap, lines (1 px
//   boxes) and the window's menu bar included.
// Controls that abut in twips may share one row or column of pixels once
// their positions and sizes are rounded to pixels: an overlap or an
// overreach only 1 px deep is no finding, but a line that shares a pixel
// with a control is drawn over it and is one;
// except:
// - a control lying wholly inside a sibling frame (QGroupBox) or picture box
//   that is stacked beneath it: it sits on that frame, as the design draws it;
// - the pairs in `onPurpose`, by object name, either way round.
// Hidden controls, controls of no size, controls placed wholly outside their
// container (never seen: a design's way to put a control aside), windows of
// their own and the inner
// parts of composite widgets (an item view's viewport, scroll bars and
// header, a group box's own parts) are not controls of the window and are
// skipped; the walk goes into frames and picture boxes.
QStringList ControlsCovering(QWidget* window, const std::vector<StackedPair>& onPurpose = {});

}  // namespace testing_support

#pragma once
// The design geometry of a window. Every window of the program is a Form: it
// keeps its own size and font and those of each control it registers in
// twips and points, as single-precision numbers, exactly as they were designed
// or last scaled. The Qt widgets are only a picture of these numbers: Apply()
// turns twips into pixels (rounded) and points into fonts, so scaling works on
// the numbers and never piles up pixel rounding.
//
// Control positions are relative to their container's client area: the form,
// or the frame or picture box they were added to.
#include <QCheckBox>
#include <QColor>
#include <QLine>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <deque>
#include <vector>

class QAbstractItemView;
class QComboBox;
class QFont;
class QGroupBox;
class QHeaderView;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QTreeWidget;

namespace platform {

// The kinds of control a window is built from; scaling treats each kind its
// own way.
enum class ControlKind {
    Label,
    TextBox,
    CommandButton,
    ListBox,
    ComboBox,
    Image,
    CheckBox,
    OptionButton,
    Frame,
    ListView,
    Line,
    Timer,
    Menu,
    PictureBox,
    Shape,
    Other,
};

// Whether Apply() gives controls of this kind a font (images, lines, shapes
// and the non-visual kinds have none).
bool HasFont(ControlKind kind);

// Whether controls of this kind are drawn on their container's own surface
// (labels, images, lines, shapes) rather than being windows of their own.
// Such controls always lie beneath the windowed ones (buttons, boxes, lists,
// frames, picture boxes) of the same container, whatever order they were
// made in; among themselves the later one lies on top.
bool IsGraphical(ControlKind kind);

// The installed face that stands for a font family of the design: the
// metric-compatible Liberation faces for the common Windows sans, serif and
// mono faces; any other family as it is named.
QString ScreenFamily(const QString& designFamily);

struct FontModel {
    QString Name = QStringLiteral("MS Sans Serif");
    float Size = 8.25f;  // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    QFont ToQFont() const;
};

// One registered control. Widget is null for the non-visual kinds (timers,
// menus, components), which keep their Qt object in Object instead.
struct Control {
    ControlKind Kind = ControlKind::Other;
    QString Name;
    QPointer<QWidget> Widget;
    QPointer<QObject> Object;  // the widget itself, or the timer or action
    float Left = 0, Top = 0, Width = 0, Height = 0;  // twips
    FontModel Font;
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;  // lines: end points, twips
    std::vector<float> ColumnWidths;        // list views: header widths, twips
};

// A line control: draws one line between its two end points. Its widget
// covers just the box between them and lets mouse events through.
class LineControl final : public QWidget {
    Q_OBJECT
public:
    explicit LineControl(QWidget* parent);

    // The end points in the container's pixels.
    void SetEndPoints(QPoint p1, QPoint p2);
    QLine line() const { return {p1_, p2_}; }

    void SetColor(const QColor& color);
    QColor color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint p1_, p2_;
    QColor color_{Qt::black};
};

// A check box whose caption wraps at word breaks to the lines its box has
// room for, as check boxes of the design platform do; all of its box takes
// the click.
class CheckBox final : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

    // The room the caption is drawn in.
    QRect captionRect() const;
    // The caption's flags: left-aligned, centred in height, wrapping.
    static constexpr int kCaptionFlags =
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

class Form : public QWidget {
    Q_OBJECT
public:
    // A standard sizable window with a caption bar: its outer size less its
    // client area.
    static constexpr QSizeF kStandardBorder{120, 405};

    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // The window's outer geometry and its own font: the numbers scaling works
    // on. Change them, then Apply().
    float Left = 0, Top = 0;
    float Width = 4800, Height = 3600;
    FontModel Font;
    // The factor by which scaling has multiplied the design's control fonts
    // so far (the window's texts are read at their design sizes times this).
    float FontScale = 1;

    // The client (inner) area: the outer size less the non-client border,
    // which stays what the design made it.
    float ScaleWidth() const { return Width - static_cast<float>(border_.width()); }
    float ScaleHeight() const { return Height - static_cast<float>(border_.height()); }

    // The design size, given as outer and client size, or as client size with
    // the standard border. Applies at once.
    void SetDesignSize(float outerWidth, float outerHeight, float clientWidth,
                       float clientHeight);
    void SetDesignClientSize(float clientWidth, float clientHeight);

    // Controls in control order (the order they were added).
    std::deque<Control>& Controls() { return controls_; }
    const std::deque<Control>& Controls() const { return controls_; }
    // The control that holds this widget, timer or action; throws
    // std::out_of_range for an object that was never registered.
    Control& Ctl(const QObject* object);
    // The control of that name, or null.
    Control* Find(const QString& name);

    // Adding controls: each creates the widget in `container` (the form when
    // null), registers it with the form's current font and shows the design
    // numbers at once.
    QLabel* AddLabel(const QString& name, const QString& caption, float left, float top,
                     float width, float height, QWidget* container = nullptr);
    QLineEdit* AddTextBox(const QString& name, const QString& text, float left, float top,
                          float width, float height, QWidget* container = nullptr);
    // A text box of several lines with a vertical scroll bar.
    QPlainTextEdit* AddMultiLineTextBox(const QString& name, const QString& text,
                                        float left, float top, float width, float height,
                                        QWidget* container = nullptr);
    QPushButton* AddCommandButton(const QString& name, const QString& caption, float left,
                                  float top, float width, float height,
                                  QWidget* container = nullptr);
    QListWidget* AddListBox(const QString& name, float left, float top, float width,
                            float height, QWidget* container = nullptr);
    QComboBox* AddComboBox(const QString& name, float left, float top, float width,
                           float height, QWidget* container = nullptr);
    // A picture scaled to the control's box.
    QLabel* AddImage(const QString& name, float left, float top, float width, float height,
                     QWidget* container = nullptr);
    QCheckBox* AddCheckBox(const QString& name, const QString& caption, float left,
                           float top, float width, float height,
                           QWidget* container = nullptr);
    // Option buttons in one container exclude each other.
    QRadioButton* AddOptionButton(const QString& name, const QString& caption, float left,
                                  float top, float width, float height,
                                  QWidget* container = nullptr);
    // A frame is a container: pass it to the controls that sit in it.
    QGroupBox* AddFrame(const QString& name, const QString& caption, float left, float top,
                        float width, float height, QWidget* container = nullptr);
    // A picture box: a container that shows a picture or is drawn on.
    QLabel* AddPictureBox(const QString& name, float left, float top, float width,
                          float height, QWidget* container = nullptr);
    LineControl* AddLine(const QString& name, float x1, float y1, float x2, float y2,
                         QWidget* container = nullptr);
    // A report-style list view without columns; add them with AddColumnHeader.
    QTreeWidget* AddListView(const QString& name, float left, float top, float width,
                             float height, QWidget* container = nullptr);
    // A list view of any item view class with a horizontal header (a tree or
    // table view over a model, for long lists); the model supplies the header
    // texts, SetColumnWidths the widths.
    template <class View>
    View* AddListViewOf(const QString& name, float left, float top, float width,
                        float height, QWidget* container = nullptr) {
        auto* view = new View(ContainerOr(container));
        RegisterListView(name, view, left, top, width, height);
        return view;
    }
    // A timer, stopped; the window sets it going.
    QTimer* AddTimer(const QString& name, int intervalMs);

    // Registers a widget made elsewhere (picture boxes drawn in code, shapes,
    // other controls) with its geometry in twips. Its parent must be the form
    // or a container in it.
    void Register(ControlKind kind, const QString& name, QWidget* widget, float left,
                  float top, float width, float height);
    void RegisterListView(const QString& name, QAbstractItemView* view, float left,
                          float top, float width, float height);
    // Registers a non-visual control (a menu's action, a dialog component).
    void RegisterComponent(ControlKind kind, const QString& name, QObject* object);

    // List-view columns: a tree widget gets a heading and a width; any view
    // gets its header widths, first to last.
    void AddColumnHeader(QTreeWidget* view, const QString& text, float widthTwips);
    void SetColumnWidths(QAbstractItemView* view, std::vector<float> widthsTwips);

    // Removes the controls whose names begin with `prefix`, and their widgets
    // (controls added at run time and taken away again).
    void RemoveControlsNamed(const QString& prefix);

    // Run-time changes of one control that show at once.
    void Move(const QWidget* widget, float left, float top, float width, float height);
    void SetFont(const QWidget* widget, const FontModel& font);
    // The same font at another size: for a caption that needs a smaller size
    // than its window's to fit the box the design gives it.
    void SetFontSize(const QWidget* widget, float points);

    // The window's menu bar, made on first use. It stands above the client
    // area: control positions stay relative to the area below it. It takes
    // the room the design size left for a menu bar, where there is such
    // room; else the window grows by its height.
    QMenuBar* MenuBar();

    // Shows the model: the window's place and client size, its font, and every
    // control's geometry, font, end points and column widths.
    void Apply();
    void Apply(Control& control);

private:
    QWidget* ContainerOr(QWidget* container) { return container ? container : this; }
    template <class W>
    W* Make(ControlKind kind, const QString& name, float left, float top, float width,
            float height, QWidget* container) {
        auto* widget = new W(ContainerOr(container));
        Register(kind, name, widget, left, top, width, height);
        return widget;
    }
    template <class W>
    W* MakeWithText(ControlKind kind, const QString& name, const QString& text, float left,
                    float top, float width, float height, QWidget* container) {
        W* widget = Make<W>(kind, name, left, top, width, height, container);
        widget->setText(text);
        return widget;
    }
    Control& Append(ControlKind kind, const QString& name, QObject* object);
    // Puts a widget where its kind lies in its container's stack, and keeps
    // it there.
    void Stack(ControlKind kind, QWidget* widget);
    void ApplyColumnWidths(const Control& control);

    // Pixels the menu bar takes above the client area of the window itself.
    int MenuOffset() const;

    QMenuBar* menuBar_ = nullptr;
    QObject* stacker_ = nullptr;  // keeps graphical controls beneath when raised
    QSizeF border_ = kStandardBorder;
    std::deque<Control> controls_;
    std::vector<QMetaObject::Connection> headerConnections_;
};

// The header whose sections are the list view's columns: a tree view's header,
// a table view's horizontal header; null for other views.
QHeaderView* ColumnHeaderOf(QWidget* view);

}  // namespace platform

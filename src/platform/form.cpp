#include "platform/form.h"

#include <QMenuBar>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <stdexcept>

#include "platform/twips.h"

namespace platform {

bool HasFont(ControlKind kind) {
    switch (kind) {
    case ControlKind::Image:
    case ControlKind::Line:
    case ControlKind::Timer:
    case ControlKind::Menu:
    case ControlKind::Shape:
        return false;
    default:
        return true;
    }
}

bool IsGraphical(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::Image:
    case ControlKind::Line:
    case ControlKind::Shape:
        return true;
    default:
        return false;
    }
}

namespace {

struct FamilyMapping {
    const char* design;
    const char* screen;
    QFont::StyleHint hint;
};

// The design's faces and their metric-compatible stand-ins: the same
// advance widths, so captions take the room they were drawn for.
constexpr FamilyMapping kFamilies[] = {
    {"MS Sans Serif", "Liberation Sans", QFont::SansSerif},
    {"Microsoft Sans Serif", "Liberation Sans", QFont::SansSerif},
    {"Arial", "Liberation Sans", QFont::SansSerif},
    {"Arial Narrow", "Liberation Sans Narrow", QFont::SansSerif},
    {"Tahoma", "Liberation Sans", QFont::SansSerif},
    {"Helvetica", "Liberation Sans", QFont::SansSerif},
    {"Times New Roman", "Liberation Serif", QFont::Serif},
    {"MS Serif", "Liberation Serif", QFont::Serif},
    {"Times", "Liberation Serif", QFont::Serif},
    {"Courier New", "Liberation Mono", QFont::Monospace},
    {"Courier", "Liberation Mono", QFont::Monospace},
};

const FamilyMapping* FindFamily(const QString& designFamily) {
    for (const FamilyMapping& mapping : kFamilies)
        if (designFamily.compare(QLatin1String(mapping.design), Qt::CaseInsensitive) == 0)
            return &mapping;
    return nullptr;
}

// Graphical controls carry this property, so that the stacking rule knows
// them among their container's children.
constexpr char kGraphicalProperty[] = "platformGraphical";

bool IsGraphicalWidget(const QObject* object) {
    return object->property(kGraphicalProperty).toBool();
}

// Puts a graphical widget just beneath the lowest windowed sibling: above
// every graphical one, below every window.
void StackGraphical(QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    if (!parent) return;
    const QObjectList& order = parent->children();
    for (QObject* sibling : order) {
        auto* other = qobject_cast<QWidget*>(sibling);
        if (!other || other == widget || other->isWindow() || IsGraphicalWidget(other)) continue;
        if (order.indexOf(widget) > order.indexOf(other)) widget->stackUnder(other);
        return;
    }
}

// Watches the graphical controls of a window: raise() or any restacking of
// one puts it back beneath the windowed ones (a stackUnder() among the
// graphical ones stands).
class GraphicalStacker final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ZOrderChange && IsGraphicalWidget(watched))
            StackGraphical(static_cast<QWidget*>(watched));
        return false;
    }
};

}  // namespace

QString ScreenFamily(const QString& designFamily) {
    const FamilyMapping* mapping = FindFamily(designFamily);
    return mapping ? QString::fromLatin1(mapping->screen) : designFamily;
}

QFont FontModel::ToQFont() const {
    // Every attribute is set, so a control's font never follows the window's.
    QFont font;
    const FamilyMapping* mapping = FindFamily(Name);
    font.setFamily(mapping ? QString::fromLatin1(mapping->screen) : Name);
    // Without the stand-in installed, a face of the same kind.
    if (mapping) font.setStyleHint(mapping->hint);
    font.setPointSizeF(Size);
    font.setBold(Bold);
    font.setItalic(Italic);
    font.setUnderline(Underline);
    return font;
}

QHeaderView* ColumnHeaderOf(QWidget* view) {
    if (auto* tree = qobject_cast<QTreeView*>(view)) return tree->header();
    if (auto* table = qobject_cast<QTableView*>(view)) return table->horizontalHeader();
    return nullptr;
}

// ---- LineControl ----

LineControl::LineControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::SetEndPoints(QPoint p1, QPoint p2) {
    p1_ = p1;
    p2_ = p2;
    const QPoint topLeft(std::min(p1.x(), p2.x()), std::min(p1.y(), p2.y()));
    const QPoint bottomRight(std::max(p1.x(), p2.x()), std::max(p1.y(), p2.y()));
    setGeometry(QRect(topLeft, bottomRight));  // inclusive: a flat line is 1 px thick
    update();
}

void LineControl::SetColor(const QColor& color) {
    color_ = color;
    update();
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(color_, 1));
    const QPoint origin = geometry().topLeft();
    painter.drawLine(p1_ - origin, p2_ - origin);
}

// ---- CheckBox ----

QRect CheckBox::captionRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
}

void CheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    // The box alone, then the caption over as many lines as it needs.
    option.text.clear();
    painter.drawControl(QStyle::CE_CheckBox, option);
    const QRect room = captionRect();
    painter.drawItemText(room, kCaptionFlags, palette(), isEnabled(), caption, QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.fontMetrics().boundingRect(room, kCaptionFlags, caption).adjusted(-1, -1, 1, 1) &
                     rect();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool CheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

// ---- Form ----

Form::Form(QWidget* parent) : QWidget(parent) { Apply(); }

Form::~Form() {
    // The views go with the window's children after the controls are gone;
    // their headers must not reach back for column widths then.
    for (const QMetaObject::Connection& connection : headerConnections_)
        disconnect(connection);
}

void Form::SetDesignSize(float outerWidth, float outerHeight, float clientWidth,
                         float clientHeight) {
    Width = outerWidth;
    Height = outerHeight;
    border_ = QSizeF(outerWidth - clientWidth, outerHeight - clientHeight);
    Apply();
}

void Form::SetDesignClientSize(float clientWidth, float clientHeight) {
    SetDesignSize(clientWidth + static_cast<float>(kStandardBorder.width()),
                  clientHeight + static_cast<float>(kStandardBorder.height()), clientWidth,
                  clientHeight);
}

Control& Form::Ctl(const QObject* object) {
    auto found = object == nullptr
                     ? controls_.end()
                     : std::find_if(controls_.begin(), controls_.end(),
                                    [object](const Control& c) { return c.Object == object; });
    if (found == controls_.end())
        throw std::out_of_range("control not registered with its window");
    return *found;
}

Control* Form::Find(const QString& name) {
    auto found = std::find_if(controls_.begin(), controls_.end(),
                              [&name](const Control& c) { return c.Name == name; });
    return found == controls_.end() ? nullptr : &*found;
}

void Form::RemoveControlsNamed(const QString& prefix) {
    // From the last to the first, so positions still to visit stay valid.
    for (auto it = controls_.end(); it != controls_.begin();) {
        --it;
        if (!it->Name.startsWith(prefix)) continue;
        delete it->Object.data();
        it = controls_.erase(it);
    }
}

Control& Form::Append(ControlKind kind, const QString& name, QObject* object) {
    Control& control = controls_.emplace_back();
    control.Kind = kind;
    control.Name = name;
    control.Object = object;
    control.Widget = qobject_cast<QWidget*>(object);
    control.Font = Font;  // a new control takes the window's font, as designed
    if (object && object->objectName().isEmpty()) object->setObjectName(name);
    if (control.Widget) Stack(kind, control.Widget);
    return control;
}

void Form::Stack(ControlKind kind, QWidget* widget) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        // Enter presses a focused button, as Space does.
        button->setAutoDefault(true);
    }
    if (!IsGraphical(kind)) return;  // a new window lies on top of its container
    widget->setProperty(kGraphicalProperty, true);
    StackGraphical(widget);
    if (!stacker_) stacker_ = new GraphicalStacker(this);
    widget->installEventFilter(stacker_);
}


void Form::Register(ControlKind kind, const QString& name, QWidget* widget, float left,
                    float top, float width, float height) {
    Control& control = Append(kind, name, widget);
    control.Left = left;
    control.Top = top;
    control.Width = width;
    control.Height = height;
    Apply(control);
}

void Form::RegisterListView(const QString& name, QAbstractItemView* view, float left,
                            float top, float width, float height) {
    if (QHeaderView* header = ColumnHeaderOf(view)) {
        // Columns keep the widths given; none stretches to fill the view.
        header->setStretchLastSection(false);
        // A model that gains columns later still gets their widths.
        headerConnections_.push_back(
            connect(header, &QHeaderView::sectionCountChanged, this,
                    [this, view] { ApplyColumnWidths(Ctl(view)); }));
    }
    if (auto* tree = qobject_cast<QTreeView*>(view)) {
        tree->setRootIsDecorated(false);
        tree->setUniformRowHeights(true);
    }
    Register(ControlKind::ListView, name, view, left, top, width, height);
}

void Form::RegisterComponent(ControlKind kind, const QString& name, QObject* object) {
    Append(kind, name, object);
}

QLabel* Form::AddLabel(const QString& name, const QString& caption, float left, float top,
                       float width, float height, QWidget* container) {
    auto* label = Make<QLabel>(ControlKind::Label, name, left, top, width, height, container);
    // Captions start at the top left and wrap at word breaks within the box.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setText(caption);
    return label;
}

QLineEdit* Form::AddTextBox(const QString& name, const QString& text, float left, float top,
                            float width, float height, QWidget* container) {
    return MakeWithText<QLineEdit>(ControlKind::TextBox, name, text, left, top, width, height,
                                   container);
}

QPlainTextEdit* Form::AddMultiLineTextBox(const QString& name, const QString& text,
                                          float left, float top, float width, float height,
                                          QWidget* container) {
    auto* box =
        Make<QPlainTextEdit>(ControlKind::TextBox, name, left, top, width, height, container);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setPlainText(text);
    return box;
}

QPushButton* Form::AddCommandButton(const QString& name, const QString& caption, float left,
                                    float top, float width, float height,
                                    QWidget* container) {
    return MakeWithText<QPushButton>(ControlKind::CommandButton, name, caption, left, top,
                                     width, height, container);
}

QListWidget* Form::AddListBox(const QString& name, float left, float top, float width,
                              float height, QWidget* container) {
    return Make<QListWidget>(ControlKind::ListBox, name, left, top, width, height, container);
}

QComboBox* Form::AddComboBox(const QString& name, float left, float top, float width,
                             float height, QWidget* container) {
    return Make<QComboBox>(ControlKind::ComboBox, name, left, top, width, height, container);
}

QLabel* Form::AddImage(const QString& name, float left, float top, float width, float height,
                       QWidget* container) {
    auto* image = Make<QLabel>(ControlKind::Image, name, left, top, width, height, container);
    image->setScaledContents(true);
    return image;
}

QCheckBox* Form::AddCheckBox(const QString& name, const QString& caption, float left,
                             float top, float width, float height, QWidget* container) {
    return MakeWithText<CheckBox>(ControlKind::CheckBox, name, caption, left, top, width,
                                  height, container);
}

QRadioButton* Form::AddOptionButton(const QString& name, const QString& caption, float left,
                                    float top, float width, float height,
                                    QWidget* container) {
    return MakeWithText<QRadioButton>(ControlKind::OptionButton, name, caption, left, top,
                                      width, height, container);
}

QGroupBox* Form::AddFrame(const QString& name, const QString& caption, float left, float top,
                          float width, float height, QWidget* container) {
    auto* frame = Make<QGroupBox>(ControlKind::Frame, name, left, top, width, height, container);
    frame->setTitle(caption);
    return frame;
}

QLabel* Form::AddPictureBox(const QString& name, float left, float top, float width,
                            float height, QWidget* container) {
    auto* picture =
        Make<QLabel>(ControlKind::PictureBox, name, left, top, width, height, container);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return picture;
}

LineControl* Form::AddLine(const QString& name, float x1, float y1, float x2, float y2,
                           QWidget* container) {
    auto* line = new LineControl(ContainerOr(container));
    Control& control = Append(ControlKind::Line, name, line);
    control.X1 = x1;
    control.Y1 = y1;
    control.X2 = x2;
    control.Y2 = y2;
    Apply(control);
    return line;
}

QTreeWidget* Form::AddListView(const QString& name, float left, float top, float width,
                               float height, QWidget* container) {
    auto* view = AddListViewOf<QTreeWidget>(name, left, top, width, height, container);
    view->setColumnCount(0);
    return view;
}

QTimer* Form::AddTimer(const QString& name, int intervalMs) {
    auto* timer = new QTimer(this);
    timer->setInterval(intervalMs);
    RegisterComponent(ControlKind::Timer, name, timer);
    return timer;
}

void Form::AddColumnHeader(QTreeWidget* view, const QString& text, float widthTwips) {
    Control& control = Ctl(view);
    const int column = view->columnCount();
    control.ColumnWidths.push_back(widthTwips);
    view->setColumnCount(column + 1);
    view->headerItem()->setText(column, text);
    ApplyColumnWidths(control);
}

void Form::SetColumnWidths(QAbstractItemView* view, std::vector<float> widthsTwips) {
    Control& control = Ctl(view);
    control.ColumnWidths = std::move(widthsTwips);
    ApplyColumnWidths(control);
}

void Form::Move(const QWidget* widget, float left, float top, float width, float height) {
    Control& control = Ctl(widget);
    control.Left = left;
    control.Top = top;
    control.Width = width;
    control.Height = height;
    Apply(control);
}

void Form::SetFont(const QWidget* widget, const FontModel& font) {
    Control& control = Ctl(widget);
    control.Font = font;
    Apply(control);
}

void Form::SetFontSize(const QWidget* widget, float points) {
    Control& control = Ctl(widget);
    control.Font.Size = points;
    Apply(control);
}

QMenuBar* Form::MenuBar() {
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        Apply();
    }
    return menuBar_;
}

int Form::MenuOffset() const { return menuBar_ ? menuBar_->sizeHint().height() : 0; }

void Form::Apply() {
    move(TwipsToPixels(Left), TwipsToPixels(Top));
    setFont(Font.ToQFont());  // first: the menu bar's height follows the font
    const int offset = MenuOffset();
    // A window designed with room for its menu bar in its non-client height
    // (more than the standard frame) keeps its outer size: the menu bar
    // takes its real height out of that room, whatever its font makes it.
    // Any other window grows by the menu bar's height.
    const double menuRoom = border_.height() - kStandardBorder.height();
    const int clientHeight = menuBar_ && menuRoom > 0
                                 ? TwipsToPixels(ScaleHeight() + menuRoom)
                                 : TwipsToPixels(ScaleHeight()) + offset;
    resize(TwipsToPixels(ScaleWidth()), clientHeight);
    if (menuBar_) menuBar_->setGeometry(0, 0, TwipsToPixels(ScaleWidth()), offset);
    for (Control& control : controls_) Apply(control);
}

void Form::Apply(Control& control) {
    QWidget* widget = control.Widget;
    if (!widget) return;
    // Controls placed on the window itself sit below its menu bar.
    const int dy = widget->parentWidget() == this ? MenuOffset() : 0;
    if (control.Kind == ControlKind::Line) {
        if (auto* line = qobject_cast<LineControl*>(widget))
            line->SetEndPoints(QPoint(TwipsToPixels(control.X1), TwipsToPixels(control.Y1) + dy),
                               QPoint(TwipsToPixels(control.X2), TwipsToPixels(control.Y2) + dy));
        return;
    }
    widget->setGeometry(TwipsToPixels(control.Left), TwipsToPixels(control.Top) + dy,
                        TwipsToPixels(control.Width), TwipsToPixels(control.Height));
    if (HasFont(control.Kind)) widget->setFont(control.Font.ToQFont());
    if (control.Kind == ControlKind::ListView) ApplyColumnWidths(control);
}

void Form::ApplyColumnWidths(const Control& control) {
    QHeaderView* header = ColumnHeaderOf(control.Widget);
    if (!header) return;
    const int shown = std::min<int>(header->count(), static_cast<int>(control.ColumnWidths.size()));
    for (int column = 0; column < shown; ++column)
        header->resizeSection(column, TwipsToPixels(control.ColumnWidths[column]));
}

}  // namespace platform

#include "support/window_fit.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTextEdit>
#include <QTreeView>
#include <algorithm>
#include <cmath>

#include "platform/form.h"

namespace testing_support {

namespace {

QString WithoutMnemonics(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QChar('&'));
    text.replace(QChar('\x01'), QChar('&'));
    return text;
}

QString Rect(const QRect& r) {
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The controls of a window: its visible child widgets, and theirs inside
// frames and plain containers, but not the parts of composite widgets.
bool IsContainer(const QWidget* w) {
    if (qobject_cast<const QGroupBox*>(w)) return true;
    const QMetaObject* meta = w->metaObject();
    return meta == &QWidget::staticMetaObject || meta == &QFrame::staticMetaObject ||
           meta == &QLabel::staticMetaObject;
}

QList<QWidget*> VisibleChildren(const QWidget* container) {
    QList<QWidget*> children;
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || w->isHidden() || w->size().isEmpty()) continue;
        // A control placed wholly outside its container is never seen: a
        // design's way to put it aside.
        if (!container->rect().intersects(w->geometry())) continue;
        children << w;
    }
    return children;
}

const platform::Control* RegisteredControl(const QWidget* window, const QWidget* w) {
    const auto* form = qobject_cast<const platform::Form*>(window);
    if (!form) return nullptr;
    for (const platform::Control& c : form->Controls())
        if (c.Widget == w) return &c;
    return nullptr;
}

// The rectangle the text of a label is drawn in, and its flags, as QLabel
// draws plain text.
QRect LabelTextRoom(const QLabel* label) {
    const int m = label->margin();
    return label->contentsRect().adjusted(m, m, -m, -m);
}

int LabelFlags(const QLabel* label) {
    return static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
}

// The baseline of the first line of a label's text, in window coordinates.
int Baseline(const QLabel* label, const QWidget* window) {
    const QRect room = LabelTextRoom(label);
    const QFontMetrics fm(label->font());
    const QRect drawn = fm.boundingRect(room, LabelFlags(label), label->text());
    return label->mapTo(window, QPoint(0, drawn.top() + fm.ascent())).y();
}

}  // namespace

QString Where(const QWidget* w) {
    QString name = w->objectName();
    for (const QWidget* p = w->parentWidget(); p && name.isEmpty(); p = p->parentWidget())
        name = p->objectName() + "/" + w->metaObject()->className();
    return name;
}

// ---- TextFit ----

void TextFit::Report(const QWidget* w, const QString& text, QSize need, QSize room) {
    misfits << QStringLiteral("%1 \"%2\" needs %3x%4 px, has %5x%6")
                   .arg(Where(w), text)
                   .arg(need.width())
                   .arg(need.height())
                   .arg(room.width())
                   .arg(room.height());
}

void TextFit::Line(const QWidget* w, const QFont& font, const QString& text, int roomWidth) {
    if (text.isEmpty()) return;
    ++measured;
    const int need = QFontMetrics(font).horizontalAdvance(text);
    if (need > roomWidth) Report(w, text, {need, 0}, {roomWidth, 0});
}

void TextFit::Label(const QLabel* label) {
    if (label->text().isEmpty() || !label->pixmap().isNull()) return;
    const QRect room = LabelTextRoom(label);
    const QFontMetrics fm(label->font());
    const QString text = label->text();
    ++measured;
    // A word-wrapped caption may take several lines, if they all fit.
    const QRect need = fm.boundingRect(QRect(0, 0, room.width(), 1 << 20), LabelFlags(label), text);
    const bool fits = need.width() <= room.width() && need.height() <= room.height();
    if (!fits)
        Report(label, text + QStringLiteral("\" (one line %1 px)").arg(fm.horizontalAdvance(text)),
               need.size(), room.size());
}

void TextFit::Button(const QAbstractButton* button) {
    const QString text = WithoutMnemonics(button->text());
    if (const auto* wrapping = qobject_cast<const platform::CheckBox*>(button)) {
        // Its caption may take several lines, if they all fit.
        if (text.isEmpty()) return;
        ++measured;
        const QRect room = wrapping->captionRect();
        const QRect need = QFontMetrics(button->font())
                               .boundingRect(room, platform::CheckBox::kCaptionFlags, text);
        if (need.width() > room.width() || need.height() > room.height())
            Report(button, text, need.size(), room.size());
        return;
    }
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (const auto* push = qobject_cast<const QPushButton*>(button)) {
        if (push->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
    } else if (qobject_cast<const QCheckBox*>(button)) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<const QRadioButton*>(button)) {
        contents = QStyle::SE_RadioButtonContents;
    }
    const QRect room = button->style()->subElementRect(contents, &option, button);
    Line(button, button->font(), text, room.width());
}

void TextFit::Frame(const QGroupBox* frame) {
    // The title sits between margins of 8 px, with a blank after it.
    const QString text = WithoutMnemonics(frame->title());
    if (text.isEmpty()) return;
    Line(frame, frame->font(), text + ' ', frame->width() - 16);
}

void TextFit::Columns(QAbstractItemView* view) {
    QHeaderView* header = platform::ColumnHeaderOf(view);
    QAbstractItemModel* model = view->model();
    if (!header || !model) return;
    QStyle* style = view->style();
    const int headerMargin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int cellMargin = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column) || header->sectionSize(column) == 0) continue;
        const int width = header->sectionSize(column);
        if (!header->isHidden()) {
            int room = width - 2 * headerMargin;
            if (header->isSortIndicatorShown() && header->sortIndicatorSection() == column)
                room -= style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header) + headerMargin;
            Line(header, header->font(), model->headerData(column, Qt::Horizontal).toString(), room);
        }
        // The widest cell of the column speaks for it.
        QString widest;
        int widestNeed = 0;
        QFont widestFont;
        for (int row = 0; row < model->rowCount(); ++row) {
            if (auto* tree = qobject_cast<QTreeView*>(view); tree && tree->isRowHidden(row, {}))
                continue;
            const QModelIndex index = model->index(row, column);
            const QVariant font = index.data(Qt::FontRole);
            const QFont cellFont = font.isValid() ? font.value<QFont>() : view->font();
            const QString text = index.data().toString();
            const int need = QFontMetrics(cellFont).horizontalAdvance(text);
            if (need > widestNeed) {
                widest = text;
                widestNeed = need;
                widestFont = cellFont;
            }
        }
        Line(view, widestFont, widest, width - cellMargin);
    }
}

void TextFit::Walk() {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow()) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            Label(label);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            Button(button);
        } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            Frame(frame);
        } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
            Columns(view);
        }
    }
}

// ---- Text size ----

double TextFloorPoints(const QWidget* window) {
    const auto* form = qobject_cast<const platform::Form*>(window);
    return kSmallestPoints * (form ? form->FontScale : 1.0);
}

QStringList TextsBelowFloor(QWidget* window, double floorPoints) {
    QStringList small;
    // Texts are drawn at whole pixels: the floor is its size in pixels,
    // rounded.
    const int floorPixels = qRound(floorPoints * window->logicalDpiY() / 72.0);
    auto check = [&](const QWidget* w, const QFont& font, const QString& what) {
        const QFontInfo shown(font);
        if (shown.pixelSize() < floorPixels)
            small << QStringLiteral("%1 %2 is %3 pt (%4 px), the floor %5 pt (%6 px)")
                         .arg(Where(w), what)
                         .arg(shown.pointSizeF(), 0, 'f', 2)
                         .arg(shown.pixelSize())
                         .arg(floorPoints, 0, 'f', 2)
                         .arg(floorPixels);
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow()) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->text().isEmpty() && label->pixmap().isNull())
                check(w, w->font(), '"' + label->text().left(40) + '"');
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (!button->text().isEmpty()) check(w, w->font(), '"' + WithoutMnemonics(button->text()) + '"');
        } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            if (!frame->title().isEmpty()) check(w, w->font(), '"' + WithoutMnemonics(frame->title()) + '"');
        } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
                   qobject_cast<QTextEdit*>(w) || qobject_cast<QMenuBar*>(w)) {
            check(w, w->font(), QStringLiteral("text"));
        } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
            check(w, w->font(), QStringLiteral("cells"));
            QHeaderView* header = platform::ColumnHeaderOf(view);
            if (header && !header->isHidden()) check(w, header->font(), QStringLiteral("headings"));
            if (QAbstractItemModel* model = view->model()) {
                for (int row = 0; row < model->rowCount(); ++row) {
                    const QVariant font = model->index(row, 0).data(Qt::FontRole);
                    if (font.isValid()) check(w, font.value<QFont>(), QStringLiteral("row %1").arg(row));
                }
            }
        }
    }
    return small;
}

QStringList ValuesOffTheirCaptions(QWidget* window) {
    QStringList off;
    for (QLabel* caption : window->findChildren<QLabel*>()) {
        auto* value = qobject_cast<QLabel*>(caption->buddy());
        if (!value || !caption->isVisibleTo(window) || !value->isVisibleTo(window)) continue;
        const QFontInfo captionFont(caption->font());
        const QFontInfo valueFont(value->font());
        if (valueFont.pixelSize() < captionFont.pixelSize())
            off << QStringLiteral("%1 is %2 pt, smaller than its caption %3 at %4 pt")
                       .arg(Where(value))
                       .arg(valueFont.pointSizeF(), 0, 'f', 2)
                       .arg(Where(caption))
                       .arg(captionFont.pointSizeF(), 0, 'f', 2);
        if (value->text().isEmpty()) continue;
        const int captionLine = Baseline(caption, window);
        const int valueLine = Baseline(value, window);
        if (std::abs(captionLine - valueLine) > 1)
            off << QStringLiteral("%1 stands on y = %2, its caption %3 on y = %4")
                       .arg(Where(value))
                       .arg(valueLine)
                       .arg(Where(caption))
                       .arg(captionLine);
    }
    return off;
}

// ---- Place on the screen ----

QRect FrameRect(const QWidget& window) {
    const QRect client = window.geometry();
    const QRect frame = window.frameGeometry();
    const int left = std::max(client.left() - frame.left(), kFrameSide);
    const int top = std::max(client.top() - frame.top(), kTitleBar);
    const int right = std::max(frame.right() - client.right(), kFrameSide);
    const int bottom = std::max(frame.bottom() - client.bottom(), kFrameSide);
    // The window system puts the frame where the window is placed.
    return {frame.topLeft(), client.size() + QSize(left + right, top + bottom)};
}

QStringList OffTheWorkArea(const QWidget& window, QRect workArea) {
    QStringList off;
    const QRect outer = FrameRect(window);
    const QRect titleBar(outer.left(), outer.top(), outer.width(), kTitleBar);
    if (!workArea.contains(titleBar))
        off << QStringLiteral("the title bar %1 is not inside the work area %2")
                   .arg(Rect(titleBar), Rect(workArea));
    if (!workArea.contains(outer))
        off << QStringLiteral("the window with its frame %1 is not inside the work area %2")
                   .arg(Rect(outer), Rect(workArea));
    return off;
}

// ---- Controls covering controls ----

QStringList ControlsCovering(QWidget* window, const std::vector<StackedPair>& onPurpose) {
    // Pixels that rounding twips may give abutting controls in common.
    constexpr int kRounding = 1;
    QStringList covering;
    auto allowed = [&](const QWidget* a, const QWidget* b) {
        for (const auto& [first, second] : onPurpose)
            if ((a->objectName() == first && b->objectName() == second) ||
                (a->objectName() == second && b->objectName() == first))
                return true;
        return false;
    };
    // A frame or picture box, or a label showing neither text nor picture
    // (a coloured panel), that other controls are laid on.
    auto isBackdrop = [&](const QWidget* w) {
        if (qobject_cast<const QGroupBox*>(w)) return true;
        if (const platform::Control* c = RegisteredControl(window, w))
            if (c->Kind == platform::ControlKind::PictureBox || c->Kind == platform::ControlKind::Shape)
                return true;
        const auto* label = qobject_cast<const QLabel*>(w);
        return label && label->text().isEmpty() && label->pixmap().isNull();
    };
    auto walk = [&](auto& self, QWidget* container) -> void {
        const QList<QWidget*> children = VisibleChildren(container);
        const QRect room = container->rect();
        for (int i = 0; i < children.size(); ++i) {
            QWidget* a = children[i];
            if (!room.adjusted(-kRounding, -kRounding, kRounding, kRounding).contains(a->geometry()))
                covering << QStringLiteral("%1 %2 reaches past %3 %4")
                                .arg(Where(a), Rect(a->geometry()), Where(container), Rect(room));
            for (int j = i + 1; j < children.size(); ++j) {
                QWidget* b = children[j];  // stacked above a
                const QRect shared = a->geometry() & b->geometry();
                const bool line = qobject_cast<platform::LineControl*>(a) ||
                                  qobject_cast<platform::LineControl*>(b);
                const int depth = std::min(shared.width(), shared.height());
                if (shared.isEmpty() || (!line && depth <= kRounding) || allowed(a, b)) continue;
                if (isBackdrop(a) && a->geometry().contains(b->geometry())) continue;
                covering << QStringLiteral("%1 %2 covers %3 %4")
                                .arg(Where(b), Rect(b->geometry()), Where(a), Rect(a->geometry()));
            }
            if (IsContainer(a)) self(self, a);
        }
    };
    walk(walk, window);
    return covering;
}

}  // namespace testing_support

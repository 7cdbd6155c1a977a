// The pick lists beside the entry line and the in-state window's grid of
// state and province codes: a click enters the picked text, hovering over a
// code shows its name and how many contacts carry it.
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>

#include "entry/entry_line.h"
#include "platform/same_text.h"
#include "program/program.h"

namespace entry {

namespace {

QString selectedText(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item ? item->text() : QString();
}

}  // namespace

int EntryLine::gridCodes() const { return static_cast<int>(Label10->size()) - 1; }

void EntryLine::attachPickLists() {
    connect(List1, &QListWidget::itemClicked, this, &EntryLine::List1_Click);
    connect(List2, &QListWidget::itemClicked, this, &EntryLine::List2_Click);
    if (List3) connect(List3, &QListWidget::itemClicked, this, &EntryLine::List3_Click);
    if (!in_) return;
    for (int k = 1; k <= gridCodes(); ++k) {
        QLabel* label = (*Label10)[static_cast<std::size_t>(k)];
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
}

bool EntryLine::gridEvent(QObject* watched, QEvent* event) {
    // The grid labels' clicks (of the left button) and mouse moves.
    const auto type = event->type();
    if (!in_ || (type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)) return false;
    for (int k = 1; k <= gridCodes(); ++k) {
        if ((*Label10)[static_cast<std::size_t>(k)] != watched) continue;
        if (type == QEvent::MouseButtonRelease) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) Label10_Click(k);
        } else {
            Label10_MouseMove(k);
        }
        // A move over a code is not one over the window's free area,
        // which would empty the hover text again.
        return true;
    }
    return false;
}

void EntryLine::List1_Click() {
    if (!List1->currentItem()) return;
    if (in_) {
        txtCntry->setText(selectedText(List1));
        txtCntry->setFocus();
    } else {
        txtSec->setText(selectedText(List1));
        txtCall->setFocus();
    }
}

void EntryLine::List2_Click() {
    if (!List2->currentItem()) return;
    txtSec->setText(selectedText(List2));
    if (in_) {
        txtCntry->setText(program_.station.PartyState);
        txtSec->setFocus();
    } else {
        txtCall->setFocus();
    }
}

void EntryLine::List3_Click() {
    if (!List3 || !List3->currentItem()) return;
    txtSec->setText(selectedText(List3));
    txtCntry->setText(program_.station.PartyState);
    txtSec->setFocus();
}

void EntryLine::Label10_Click(int k) {
    if (k < 1 || k > gridCodes()) return;
    txtCntry->setText((*Label10)[static_cast<std::size_t>(k)]->text());
}

void EntryLine::Label10_MouseMove(int k) {
    if (k < 1 || k > gridCodes()) return;
    const QString code = (*Label10)[static_cast<std::size_t>(k)]->text();
    int count = 0;
    for (int n = 1; n <= program_.log.QSOCount; ++n)
        if (platform::SameText(program_.log.row(n).QSOSPC, code)) ++count;
    scaleDupeFont(8);
    lblDupe->setText("  " + program_.stateProvinces.StateProvName[static_cast<std::size_t>(k)] +
                     "    Total =" + QString::number(count));
}

}  // namespace entry

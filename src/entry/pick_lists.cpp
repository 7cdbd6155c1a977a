// The pick lists beside the entry line and the in-state window's grid of
// state and province codes: a click enters the picked text, hovering over a
// code shows its name and how many contacts carry it.
#include <QEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "mainwindow/main_window.h"
#include "platform/same_text.h"
#include "platform/twips.h"
#include "program/program.h"

namespace mainwindow {

namespace {

// Sends the grid labels' clicks (of the left button) and mouse moves to the
// window's handlers.
class GridWatcher final : public QObject {
public:
    explicit GridWatcher(MainWindow& window) : QObject(&window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type != QEvent::MouseButtonRelease && type != QEvent::MouseMove) return false;
        for (int k = 1; k <= setup::kStateProvinces; ++k) {
            if (window_.Label10[static_cast<std::size_t>(k)] != watched) continue;
            if (type == QEvent::MouseButtonRelease) {
                if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) window_.Label10_Click(k);
            } else {
                window_.Label10_MouseMove(k);
            }
            // A move over a code is not one over the window's free area,
            // which would empty the hover text again.
            return true;
        }
        return false;
    }

private:
    MainWindow& window_;
};

QString selectedText(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item ? item->text() : QString();
}

}  // namespace

void MainWindow::attachPickLists() {
    connect(List1, &QListWidget::itemClicked, this, &MainWindow::List1_Click);
    connect(List2, &QListWidget::itemClicked, this, &MainWindow::List2_Click);
    if (List3) connect(List3, &QListWidget::itemClicked, this, &MainWindow::List3_Click);
    if (side_ != Side::In) return;
    auto* watcher = new GridWatcher(*this);
    for (int k = 1; k <= setup::kStateProvinces; ++k) {
        QLabel* label = Label10[static_cast<std::size_t>(k)];
        label->setMouseTracking(true);
        label->installEventFilter(watcher);
    }
}

void MainWindow::List1_Click() {
    if (!List1->currentItem()) return;
    if (side_ == Side::In) {
        txtCntry->setText(selectedText(List1));
        txtCntry->setFocus();
    } else {
        txtSec->setText(selectedText(List1));
        txtCall->setFocus();
    }
}

void MainWindow::List2_Click() {
    if (!List2->currentItem()) return;
    txtSec->setText(selectedText(List2));
    if (side_ == Side::In) {
        txtCntry->setText(program_.station.PartyState);
        txtSec->setFocus();
    } else {
        txtCall->setFocus();
    }
}

void MainWindow::List3_Click() {
    if (!List3 || !List3->currentItem()) return;
    txtSec->setText(selectedText(List3));
    txtCntry->setText(program_.station.PartyState);
    txtSec->setFocus();
}

void MainWindow::Label10_Click(int k) {
    if (k < 1 || k > setup::kStateProvinces) return;
    txtCntry->setText(Label10[static_cast<std::size_t>(k)]->text());
}

void MainWindow::Label10_MouseMove(int k) {
    if (k < 1 || k > setup::kStateProvinces) return;
    const QString code = Label10[static_cast<std::size_t>(k)]->text();
    int count = 0;
    for (int n = 1; n <= program_.log.QSOCount; ++n)
        if (platform::SameText(program_.log.row(n).QSOSPC, code)) ++count;
    platform::FontModel font = Ctl(lblDupe).Font;
    font.Size = static_cast<float>(screenTwips_.width() * 8 / 9600.0 *
                                   program_.station.FormSizePercent / 100.0);
    if (font.Size != Ctl(lblDupe).Font.Size) SetFont(lblDupe, font);
    lblDupe->setText("  " + program_.stateProvinces.StateProvName[static_cast<std::size_t>(k)] +
                     "    Total =" + QString::number(count));
}

void MainWindow::Label25_Change() {
    if (side_ == Side::In) program_.entry.CWMacroCounty = Label25->text().toUpper();
}

}  // namespace mainwindow

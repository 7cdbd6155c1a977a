#include "mainwindow/form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "mainwindow/main_window.h"
#include "program/program.h"
#include "setup/station.h"

namespace mainwindow {

MainWindowProxy::MainWindowProxy(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral("Form1"));
    SetDesignClientSize(4290, 1245);
    txtCall = AddTextBox(QStringLiteral("txtCall"), QString(), 360, 840, 855, 285);
    txtDX = AddTextBox(QStringLiteral("txtDX"), QString(), 2520, 840, 1455, 285);
    lblDX = AddLabel(QStringLiteral("lblDX"), QString(), 360, 120, 3615, 615);
    lblDX->hide();
}

MainWindow* MainWindowProxy::target() const {
    // The side is read afresh at every call: 0 means Infrm, any other value
    // Outfrm. The run's one main window is the target only when it is the
    // window of that side; the other side's window is never made here.
    MainWindow* window = program_.mainWindow();
    if (!window) return nullptr;
    const Side wanted = program_.station.StationSide == 0 ? Side::In : Side::Out;
    return window->side() == wanted ? window : nullptr;
}

void MainWindowProxy::SavePref() { setup::SaveQSOPref(program_); }

void MainWindowProxy::BandFreqConversion(float& frequencyValue) {
    if (MainWindow* w = target()) w->BandFreqConversion(frequencyValue);
}

void MainWindowProxy::ModeSelection(QString& strMode) {
    if (MainWindow* w = target()) w->ModeSelection(strMode);
}

void MainWindowProxy::PacketResize() {
    if (MainWindow* w = target()) w->PacketResize();
}

void MainWindowProxy::DisplayBandMapLabels() {
    if (MainWindow* w = target()) w->DisplayBandMapLabels();
}

void MainWindowProxy::BandMapSpots(QVariant& qDXSpotCall, QVariant& qDXSpotFreq,
                                   QVariant& qDXSpotRecord) {
    if (MainWindow* w = target()) w->BandMapSpots(qDXSpotCall, qDXSpotFreq, qDXSpotRecord);
}

void MainWindowProxy::SetCallText(const QString& call) {
    if (MainWindow* w = target()) w->entry().txtCall->setText(call);
}

void MainWindowProxy::FocusCall() {
    if (MainWindow* w = target()) w->entry().txtCall->setFocus();
}

void MainWindowProxy::SetCountyText(const QString& name) {
    if (MainWindow* w = target()) w->entry().txtSec->setText(name);
}

void MainWindowProxy::SetBandMapRefresh(bool on) { lblDX->setVisible(on); }

bool MainWindowProxy::BandMapRefresh() const { return !lblDX->isHidden(); }

void MainWindowProxy::SetStatusLine(const QString& text) {
    if (MainWindow* w = program_.mainWindow()) w->entry().lblDialog->setText(text);
}

void MainWindowProxy::LogContact() {
    MainWindow* w = program_.mainWindow();
    if (w && w->entry().txtCall && !w->entry().txtCall->text().isEmpty()) w->entry().Mains();
}

void MainWindowProxy::DeleteSelectedContact() {
    if (MainWindow* w = program_.mainWindow()) w->cmdDelete_Click();
}

void MainWindowProxy::ShowCountySent(const QString& county) {
    MainWindow* w = program_.mainWindow();
    if (!w || w->side() != Side::In) return;
    w->Label25->setText(county);
    w->Label25_Change();
}

namespace {

// The worked-county list of the main window of that side; empty when the
// program's main window is the other one (or none is loaded).
QStringList workedList(Program& program, Side side) {
    QStringList out;
    MainWindow* main = program.mainWindow();
    if (!main || main->side() != side || !main->List2) return out;
    for (int i = 0; i < main->List2->count(); ++i) out << main->List2->item(i)->text();
    return out;
}

}  // namespace

QStringList MainWindowProxy::WorkedCountiesIn() const { return workedList(program_, Side::In); }

QStringList MainWindowProxy::WorkedCountiesOut() const { return workedList(program_, Side::Out); }

}  // namespace mainwindow

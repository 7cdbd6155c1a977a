#include "mainwindow/form1.h"

#include <QLabel>
#include <QLineEdit>

#include "mainwindow/main_window.h"
#include "program/program.h"
#include "setup/station.h"

namespace mainwindow {

Form1::Form1(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral("Form1"));
    SetDesignClientSize(4290, 1245);
    txtCall = AddTextBox(QStringLiteral("txtCall"), QString(), 360, 840, 855, 285);
    txtDX = AddTextBox(QStringLiteral("txtDX"), QString(), 2520, 840, 1455, 285);
    lblDX = AddLabel(QStringLiteral("lblDX"), QString(), 360, 120, 3615, 615);
    lblDX->hide();
}

MainWindow* Form1::target() {
    // The side is read afresh at every call: 0 means Infrm, any other value
    // Outfrm. The run's one main window is the target only when it is the
    // window of that side; the other side's window is never made here.
    MainWindow* window = program_.mainWindow();
    if (!window) return nullptr;
    const Side wanted = program_.station.StationSide == 0 ? Side::In : Side::Out;
    return window->side() == wanted ? window : nullptr;
}

void Form1::SavePref() { setup::SaveQSOPref(program_); }

void Form1::BandFreqConversion(float& frequencyValue) {
    if (MainWindow* w = target()) w->BandFreqConversion(frequencyValue);
}

void Form1::ModeSelection(QString& strMode) {
    if (MainWindow* w = target()) w->ModeSelection(strMode);
}

void Form1::PacketResize() {
    if (MainWindow* w = target()) w->PacketResize();
}

void Form1::DisplayBandMapLabels() {
    if (MainWindow* w = target()) w->DisplayBandMapLabels();
}

void Form1::BandMapSpots(QVariant& qDXSpotCall, QVariant& qDXSpotFreq, QVariant& qDXSpotRecord) {
    if (MainWindow* w = target()) w->BandMapSpots(qDXSpotCall, qDXSpotFreq, qDXSpotRecord);
}

}  // namespace mainwindow

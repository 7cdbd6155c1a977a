#pragma once
// The proxy through which the rig and spotting windows reach the main window
// of the run, whichever side it is. It is never shown.
#include <QVariant>

#include "platform/form.h"

class Program;
class QLabel;
class QLineEdit;

namespace mainwindow {

class MainWindow;

class Form1 final : public platform::Form {
    Q_OBJECT
public:
    explicit Form1(Program& program);

    void SavePref();
    void BandFreqConversion(float& frequencyValue);
    void ModeSelection(QString& strMode);
    void PacketResize();
    void DisplayBandMapLabels();
    void BandMapSpots(QVariant& qDXSpotCall, QVariant& qDXSpotFreq, QVariant& qDXSpotRecord);

    QString Caption() const { return windowTitle(); }
    // Unloading the proxy has nothing of its own to close.
    void Form_Unload() {}

    QLineEdit* txtCall = nullptr;
    QLineEdit* txtDX = nullptr;
    QLabel* lblDX = nullptr;

    // The main window that StationSide names now: Infrm for 0, Outfrm for any
    // other value; null when that window is not the one loaded.
    MainWindow* target();

private:

    Program& program_;
};

}  // namespace mainwindow

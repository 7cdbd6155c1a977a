#pragma once
// The main window's side of the proxy Form1 (program/main_window_proxy.h):
// a hidden form, never shown, that passes the subsystems' calls on to the
// main window of the run.
#include "platform/form.h"
#include "program/main_window_proxy.h"

class Program;
class QLabel;
class QLineEdit;

namespace mainwindow {

class MainWindow;

class MainWindowProxy final : public platform::Form, public Form1 {
    Q_OBJECT
public:
    explicit MainWindowProxy(Program& program);

    QString Caption() const override { return windowTitle(); }
    float FontSize() const override { return Font.Size; }

    void SavePref() override;
    void BandFreqConversion(float& frequencyValue) override;
    void ModeSelection(QString& strMode) override;
    void PacketResize() override;
    void DisplayBandMapLabels() override;
    void BandMapSpots(QVariant& qDXSpotCall, QVariant& qDXSpotFreq, QVariant& qDXSpotRecord) override;
    void SetCallText(const QString& call) override;
    void FocusCall() override;
    void SetCountyText(const QString& name) override;
    void SetBandMapRefresh(bool on) override;
    bool BandMapRefresh() const override;
    void SetStatusLine(const QString& text) override;
    void LogContact() override;
    void DeleteSelectedContact() override;
    void ShowCountySent(const QString& county) override;
    QStringList WorkedCountiesIn() const override;
    QStringList WorkedCountiesOut() const override;

    // Unloading the proxy has nothing of its own to close.
    void Form_Unload() {}

    QLineEdit* txtCall = nullptr;
    QLineEdit* txtDX = nullptr;
    QLabel* lblDX = nullptr;

    // The main window that StationSide names now: Infrm for 0, Outfrm for any
    // other value; null when that window is not the one loaded.
    MainWindow* target() const;

private:
    Program& program_;
};

}  // namespace mainwindow

#pragma once
// Form1: the proxy through which the windows of the subsystems (entry, rig,
// spotting, keyers, scoring, setup) reach the main window of the run,
// whichever side it is. It is declared here, below them, with just the
// operations they use; the main window's folder implements it (a hidden form
// that is never shown) and Program::form1() hands it out, made on first use.
// A subsystem includes this header and never one of src/mainwindow/.
#include <QString>
#include <QStringList>
#include <QVariant>

class Form1 {
public:
    virtual ~Form1() = default;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The proxy form's own caption ("Form1") and font size.
    virtual QString Caption() const = 0;
    virtual float FontSize() const = 0;

    // Writes QSOpref.txt from the program's settings.
    virtual void SavePref() = 0;

    // The operations below reach the main window that StationSide names at
    // the time of the call (Infrm for 0, Outfrm for any other value) and do
    // nothing when that window is not the one loaded.

    // The rig reports its frequency in MHz and its mode.
    virtual void BandFreqConversion(float& frequencyValue) = 0;
    virtual void ModeSelection(QString& strMode) = 0;
    // The spot panel lays out the spot list or the band map.
    virtual void PacketResize() = 0;
    virtual void DisplayBandMapLabels() = 0;
    // A spot arrives: a numeric kHz frequency becomes MHz in the caller's
    // variable and the record is cut at its first line.
    virtual void BandMapSpots(QVariant& qDXSpotCall, QVariant& qDXSpotFreq, QVariant& qDXSpotRecord) = 0;
    // Puts a call in the call box (its change handler runs, as typing does),
    // and gives the call box the focus.
    virtual void SetCallText(const QString& call) = 0;
    virtual void FocusCall() = 0;
    // The county list's pick: puts the county name in the county box
    // (txtSec).
    virtual void SetCountyText(const QString& name) = 0;

    // The proxy's own lblDX, shown while the band map's periodic refresh
    // runs (the spot panel shows the band map rather than the spot list).
    virtual void SetBandMapRefresh(bool on) = 0;
    virtual bool BandMapRefresh() const = 0;

    // These reach the run's main window whichever side it is.

    // The status line (lblDialog) shows the text.
    virtual void SetStatusLine(const QString& text) = 0;
    // The keyer's "!": logs the contact on the entry line (Mains) when the
    // call box is not empty.
    virtual void LogContact() = 0;
    // The edit dialog's Delete Dupe: the main window's delete (cmdDelete),
    // which asks "Are you sure?" and deletes the selected row of its
    // recent-contacts list.
    virtual void DeleteSelectedContact() = 0;

    // The county change: the in-state window shows the new county sent in
    // Label25 and runs its change handler; nothing happens when the loaded
    // main window is the out-of-state one, or none is.
    virtual void ShowCountySent(const QString& county) = 0;

    // The worked-county list of the in-state or the out-of-state window;
    // empty when the loaded main window is the other one, or none is.
    virtual QStringList WorkedCountiesIn() const = 0;
    virtual QStringList WorkedCountiesOut() const = 0;

protected:
    Form1() = default;
};

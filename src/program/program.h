#pragma once
// The one program context: every program-wide value of the logger and the
// platform services, owned in one place. Windows and operations take a
// reference to it; tests build a fresh one over a temporary working folder.
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>

#include "entry/entry_state.h"
#include "entry/operating_time.h"
#include "keyers/keyer_state.h"
#include "logstore/contact_log.h"
#include "logstore/county_table.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/loaded_form.h"
#include "platform/parallel_port.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/user_folders.h"
#include "platform/wave_player.h"
#include "scoring/tally.h"
#include "setup/folders.h"
#include "setup/reference_tables.h"
#include "setup/state_province_table.h"
#include "setup/station.h"
#include "spotting/spot_store.h"

class Form1;
namespace mainwindow {
class MainWindow;
class MainWindowProxy;
}  // namespace mainwindow
namespace setup {
class frmStationID;
}
namespace spotting {
class PacketSpotfrm;
class SpectrumMap;
}  // namespace spotting
namespace entry {
class ContactEditDialog;
class frmCountyList;
class frmCountyChange;
}  // namespace entry
namespace setup {
class Form5;
class Form6;
}  // namespace setup
namespace rig {
class RigControlfrm;
}
namespace keyers {
class BlindFrm;
class CWFrm;
class PhoneFrm;
class WinKeyHook;
}  // namespace keyers

class Program {
public:
    struct Services {
        platform::Dialogs& dialogs;
        platform::Clock& clock;
        platform::SettingsStore& settings;
        // The sound output that wave players play on.
        platform::SoundOutput& sound;
        platform::UserFolders userFolders;
        // Ends the program after an unrecoverable error (the real program
        // leaves its event loop and exits; tests record the call).
        std::function<void()> endProgram;
    };

    Program(const QString& workingFolder, Services services);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    platform::Dialogs& dialogs() { return services_.dialogs; }
    platform::Clock& clock() { return services_.clock; }
    platform::SettingsStore& settings() { return services_.settings; }
    platform::SoundOutput& sound() { return services_.sound; }
    const platform::UserFolders& userFolders() const { return services_.userFolders; }

    // The full path of a file of the working folder.
    QString WorkPath(const QString& fileName) const;

    // Ends the program after an error that leaves nothing sound to go on with.
    void EndProgram();
    bool ended() const { return ended_; }

    // Ends the program the ordinary way, as closing its last window does: the
    // event loop ends, the loaded windows are unloaded and nothing more is
    // written. Before the event loop runs, the caller sees quitting() and
    // does not start it.
    void Quit();
    bool quitting() const { return quitting_; }

    // The parallel port the keyers write; a test puts its own here.
    std::unique_ptr<platform::ParallelPort> parallelPort = platform::NewSystemParallelPort();
    // The WinKeyer; a test may put its own here, and none means it is never open.
    std::unique_ptr<keyers::WinKeyHook> winKey;

    // A new serial port control for a window that owns one: a port on this
    // machine's serial devices, or what a test puts in `serialPortFactory`.
    std::unique_ptr<platform::SerialPort> NewSerialPort();
    std::function<std::unique_ptr<platform::SerialPort>()> serialPortFactory;

    // Tells the operator that a file could not be written.
    void ReportWriteFailure(const QString& systemText);

    // What the log store's operations read of this program: the working and
    // backup folders, the party state and the services.
    logstore::LogPlace logPlace();
    // Replaces the contact table with log.txt and clears the counters rebuilt
    // from it. A file that cannot be read shows "Error opening file." and
    // ends the program; the result is then false.
    bool LoadLog();
    // Erases the log after the operator types YES (a log with anything in it
    // is first copied to BACKUP), zeroes the operating time, saves QSOpref.txt
    // and loads the empty log. True when the log was erased.
    bool StartNewLog();

    // The main window of the run, made on first use for the station side:
    // Infrm inside the party state, Outfrm outside. It is not loaded here;
    // its Form_Load runs when it is first shown.
    mainwindow::MainWindow& OpenMainWindow();
    mainwindow::MainWindow* mainWindow() { return mainWindow_.get(); }
    // Opens the main window for the station side and loads it on a screen of
    // that size in twips.
    void LoadMainWindow(QSizeF screenTwips);
    // The proxy through which the subsystems reach the main window
    // (program/main_window_proxy.h), made on first use.
    Form1& form1();
    void UnloadForm1();

    setup::Folders folders;
    setup::SharedPrefs sharedPrefs;
    setup::Station station;
    setup::PrefixTable prefixes;
    setup::StatePositionTable statePositions;
    logstore::ContactLog log;
    logstore::CountyTable counties;
    scoring::Tally tally;
    entry::OperatingTime operating;
    entry::EntryState entry;
    keyers::KeyerState keyer;
    setup::StateProvinceTable stateProvinces;
    // The 50 most recent DX spots, shared by the spot intake and both maps.
    spotting::DXSpotStore spotStore;
    // The program's version ("2.0"), as the export headers name it; the one
    // source is the project version, which the start-up window shows too.
    QString VersionText;

    // The windows of the keyers and voice aids: each is created, hidden, the
    // first time it is used and stays until it is unloaded.
    keyers::BlindFrm& blindFrm();
    void UnloadBlindFrm();
    bool BlindFrmLoaded() const { return blindFrm_.IsLoaded(); }
    keyers::CWFrm& cwFrm();
    void UnloadCWFrm();
    bool CWFrmLoaded() const { return cwFrm_.IsLoaded(); }
    keyers::PhoneFrm& phoneFrm();
    void UnloadPhoneFrm();
    bool PhoneFrmLoaded() const { return phoneFrm_.IsLoaded(); }

    // The DX spotting window: created, hidden, on first use (its load opens
    // the saved spot source) and kept with its source open until unloaded.
    spotting::PacketSpotfrm& packetSpotfrm();
    void UnloadPacketSpotfrm();
    bool PacketSpotfrmLoaded() const { return packetSpotfrm_.IsLoaded(); }
    // The HF spectrum map: made and laid out on first use, unloaded when its
    // modal display ends.
    spotting::SpectrumMap& spectrumMap();
    void UnloadSpectrumMap();
    bool SpectrumMapLoaded() const { return spectrumMap_.IsLoaded(); }
    // Whether the spectrum map is loaded and on the screen.
    bool SpectrumMapVisible() const;

    // Tunes the rig to a frequency in MHz for a click on a spot: the rig
    // control window's ChangeFrequency. Tests put a recorder here.
    std::function<void(float qChangeFreq)> ChangeFrequency;
    void TuneToSpot(float mhz);
    // The rig interface window, which owns the CAT engine: made, hidden, on
    // first use; it stays until the main window unloads it.
    rig::RigControlfrm& rigControlfrm();
    void UnloadRigControlfrm();
    bool RigControlfrmLoaded() const { return rigControlfrm_.IsLoaded(); }

    // The station set-up dialog of the start-up road, made on first use; its
    // Form_Load runs when it is first shown.
    setup::frmStationID& frmStationID();
    void UnloadFrmStationID();
    bool FrmStationIDLoaded() const { return frmStationID_.IsLoaded(); }
    // The county pick list, made on first use for one showing (see
    // entry::ShowCountyList, which loads, shows and unloads it).
    entry::frmCountyList& frmCountyList();
    void UnloadFrmCountyList();
    bool FrmCountyListLoaded() const { return frmCountyList_.IsLoaded(); }
    // The contact edit dialog of the station side (WIEditInfrm inside the
    // party state, EditNoRstNoPtsOut outside), made on first use for one
    // edit (see entry::ShowContactEditDialog).
    entry::ContactEditDialog& contactEditDialog();
    void UnloadContactEditDialog();
    bool ContactEditDialogLoaded() const { return contactEditDialog_.IsLoaded(); }
    // The county change dialog (see entry::ShowCountyChange).
    entry::frmCountyChange& frmCountyChange();
    void UnloadFrmCountyChange();
    bool FrmCountyChangeLoaded() const { return frmCountyChange_.IsLoaded(); }
    // The help page (see setup::ShowHelpPage).
    setup::Form5& form5();
    void UnloadForm5();
    bool Form5Loaded() const { return form5_.IsLoaded(); }
    // The multiplier colour dialog (see setup::ShowColorDialog).
    setup::Form6& form6();
    void UnloadForm6();
    bool Form6Loaded() const { return form6_.IsLoaded(); }

private:
    Services services_;
    bool ended_ = false;
    bool quitting_ = false;
    std::unique_ptr<mainwindow::MainWindow> mainWindow_;
    platform::LoadedForm<mainwindow::MainWindowProxy> form1_;
    // Declared after the services: the windows go first.
    platform::LoadedForm<keyers::BlindFrm> blindFrm_;
    platform::LoadedForm<keyers::CWFrm> cwFrm_;
    platform::LoadedForm<keyers::PhoneFrm> phoneFrm_;
    platform::LoadedForm<spotting::PacketSpotfrm> packetSpotfrm_;
    platform::LoadedForm<spotting::SpectrumMap> spectrumMap_;
    platform::LoadedForm<setup::frmStationID> frmStationID_;
    platform::LoadedForm<rig::RigControlfrm> rigControlfrm_;
    platform::LoadedForm<entry::frmCountyList> frmCountyList_;
    platform::LoadedForm<entry::ContactEditDialog> contactEditDialog_;
    platform::LoadedForm<entry::frmCountyChange> frmCountyChange_;
    platform::LoadedForm<setup::Form5> form5_;
    platform::LoadedForm<setup::Form6> form6_;
};

#pragma once
// The main logging window: Infrm for a station inside the party state, Outfrm
// for one outside. The two are near twins; this class holds what they share,
// and `side()` tells where they differ.
//
// The window is a shell: its layout and menus (main_window.cpp), clocks,
// band and mode, the recent-contacts list, score and worked lists, keyboard
// map, log commands, closing, and the panels it holds. The entry line, with
// its boxes, handlers, dupe checks and logging, is an entry::EntryLine that
// the window creates and places; the window implements entry::EntryWindow,
// the few things the entry line asks of it.
#include <QColor>
#include <QSizeF>
#include <QString>
#include <QVariant>
#include <array>
#include <exception>
#include <functional>
#include <memory>

#include "entry/entry_line.h"
#include "entry/entry_window.h"
#include "platform/form.h"
#include "platform/frame_update.h"

class Program;
class QAction;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class QTreeView;
class QTreeWidget;

namespace entry {
class RecentContactsModel;
}
namespace platform {
class KeyAdapter;
}
namespace spotting {
class BandMap;
class SpotPanel;
}  // namespace spotting

namespace mainwindow {

enum class Side { In, Out };

class MainWindow : public platform::Form, public entry::EntryWindow {
    Q_OBJECT
public:
    MainWindow(Program& program, Side side);
    ~MainWindow() override;

    Side side() const { return side_; }
    Program& program() { return program_; }
    // The entry line: its boxes, status line and partial-dupe line and their
    // operations (Mains, the dupe checks, the pick lists, post-contest entry).
    entry::EntryLine& entry() { return *entry_; }

    // The window's load: fitted to the screen of `screenTwips`, the settings
    // shown, the start-up question asked and the log reloaded. Shows the window.
    void Form_Load(QSizeF screenTwips);
    void Form_Load();

    // Log commands.
    void ReloadLog();
    // Runs before each rebuild of ReloadLog with the rebuild's name; a test
    // makes a rebuild fail by throwing from it.
    std::function<void(const char* rebuild)> beforeRebuild;
    void AskOpenExistingLog();
    void mnuNew_Click();
    void mnuArchive_Click();
    void mnuRestore_Click();
    void mnuExit_Click();
    void mnuClear_Click() { entry_->ClearEntry(); }
    void mnuListPrevious_Click();
    void mnuRigInterface_Click();
    void mnuPrivileges_Click();
    void mnuWriteSumm_Click();   // the summary dialog, modal, unloaded after
    void mnuexportADIF_Click();  // the ADIF export
    // The keyer windows: CW and voice set-up modal, voice navigation not.
    void mnuCW_Click();
    void mnuVoice_Click();
    void mnuBlind_Click();
    void mnuCopyListtoClipboard_Click();

    // Appearance.
    void mnuFormSize_Click();
    void mnuTaskbar_Click();
    void mnuColors_Click();  // in-state: the colour dialog, then the log reloaded

    // Commands on the menu bar.
    void mnuRecall_Click();
    void mnuMap_Click();    // the county map, modal, unloaded after
    void mnuGraph_Click();  // the rate graph, modal, unloaded after
    void mnuChangeCounty_Click();  // in-state: the county change dialog
    void mnuHelp_Click();          // the help page, modal, unloaded after

    // Band and mode.
    void BandCommand(const QString& band);
    void BandChanged();
    void mnu160_Click();   // CW
    void mnuSSB_Click();   // PH
    void Label24_Click();  // band label: next band
    void Label30_Click();  // mode label: the other mode
    void BandFreqConversion(float& frequencyValue);
    void ModeSelection(QString& strMode);

    // Clocks and operating time.
    void Timer2_Timer();
    void Timer1_Timer();
    void ShowOperatingTime();
    static QString OperatingTimeText(double seconds);

    // Score, rates and worked lists.
    void ShowScore() override;
    void ComputeRates() override;
    void FillCountyLists();
    void UpdateCountyLists() override;
    void ShowDXList() override;
    void UpdateStatesWorked() override;
    void RebuildStatesWorked();
    void ShowStatesWorked();
    void CountPerBand();
    void ShowDXWorked();

    // Recent contacts and Time On.
    void ListRecentContacts() override;
    void cmdDelete_Click();
    void cmdEdit_Click();
    void cmdList_Click();
    void cmdDup_Click();
    void cmdLogOn_Click() override;
    void ListView1_Click();
    void ListView1_ColumnClick(int column);
    void ListView1_MouseUp(int button);
    // The record number of the selected row, or 0 when no row is selected.
    int SelectedRecord() const;
    // What the entry line asks of the list, its buttons and its option.
    int RecentRowCount() const override;
    void HideEditButtons() override;
    bool ListPrevious() const override;
    void ListPreviousContacts(const std::vector<int>& records) override;

    // Label25 (in-state) shows the operating county; the CW macro of the
    // own county follows it. Call after every change of its caption.
    void Label25_Change();

    // Post-contest entry is the entry line's; the command's check mark
    // follows it.
    void ShowPostContestCheck(bool on) override;

    // The window's key preview, run before the key handlers of its boxes.
    void Form_KeyDown(int& KeyCode, int& Shift);
    void Form_KeyPress(int& KeyAscii);
    platform::KeyAdapter& keys() { return *keys_; }

    // Layout.
    void FitCountyLists();
    void ScaleControls(QSizeF screenTwips);
    void ArrangeForTaskbar(QSizeF screenTwips, QSizeF workAreaTwips);

    // Spotting and band map: the operations the spotting and rig windows
    // reach through the proxy. The spot panel lays out the spot list or the
    // band map for the spotting window's source and display option.
    void PacketResize();
    void DisplayBandMapLabels();
    void RefreshBandMap();
    void SetBandMapScale();
    spotting::SpotPanel& spotPanel() { return *spotPanel_; }
    spotting::BandMap& bandMap();
    void BandMapSpots(QVariant& qDXSpotCall, QVariant& qDXSpotFreq, QVariant& qDXSpotRecord);
    // Whether spots have arrived that the band map and the spectrum map have
    // not been redrawn for yet.
    bool SpotViewsPending() const;
    // The spotting window, shown without blocking: from the menu (after the
    // preferences are saved), Ctrl+D, or a click on the band-map panel.
    void mnuDXSpotting_Click();
    void ShowSpotting();
    void lblDX_Click() { ShowSpotting(); }
    // A click on the spot list: the selected row's call into the call box.
    void txtDX_Click();
    // The spectrum map, modal, unloaded when it closes: from the menu, Ctrl+B
    // and double clicks on the spot list and the band map.
    void mnuSpectrumMap_Click() { ShowSpectrumMap(); }
    void ShowSpectrumMap();
    void txtDX_DblClick() { ShowSpectrumMap(); }
    void lblDX_DblClick() { ShowSpectrumMap(); }

    // Closing: refused while the software keyer or a code-practice send
    // loop sends.
    bool QueryUnload();

    // Controls other windows and tests read.
    QLabel* Label2 = nullptr;    // own call
    QLabel* Label25 = nullptr;   // operating county (in) / own SPC (out)
    QLabel* Label21 = nullptr;   // "Band"
    QLabel* Label24 = nullptr;   // band
    QLabel* lblBandSwitch = nullptr;  // "Mode"
    QLabel* Label30 = nullptr;   // mode
    QLabel* Label17 = nullptr;   // "Bearing"
    QLabel* Label18 = nullptr;   // "Miles"
    QLabel* Label20 = nullptr;   // "Con"
    std::array<QLabel*, 11> lblStation{};  // elements 1 to 10
    QTreeView* ListView1 = nullptr;
    QTreeWidget* txtDX = nullptr;
    QLabel* lblDX = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdList = nullptr;
    QPushButton* cmdDup = nullptr;
    QPushButton* cmdLogOn = nullptr;
    QPushButton* Command1 = nullptr;  // "All Bands", never shown
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QListWidget* List3 = nullptr;     // in-state only
    platform::LineControl* Line3 = nullptr;
    // Score panel.
    QLabel* lblTotCon = nullptr;
    QLabel* lblsectogo = nullptr;  // CW contacts ("lblSectogo" in Outfrm)
    QLabel* lblTotSec = nullptr;
    QLabel* lblTotScore = nullptr;
    QLabel* lblAQSO20 = nullptr;
    QLabel* lblAQSO60 = nullptr;
    QLabel* Label15 = nullptr;  // in-state: states and provinces worked
    // Clocks.
    QLabel* lblutctime = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* lblCurTime = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* lblttrack = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    // The state and province grid (in-state), elements 1 to 63.
    std::array<QLabel*, 64> Label10{};

    // Menus.
    QMenu* mnuFile = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuBandChange = nullptr;
    QMenu* mnuBand = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuArchive = nullptr;
    QAction* mnuRestore = nullptr;
    QAction* mnuWriteSumm = nullptr;
    QAction* mnuexportADIF = nullptr;
    QAction* mnuCopyListtoClipboard = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuFormSize = nullptr;
    QAction* mnuColors = nullptr;
    QAction* mnuTaskbar = nullptr;
    QAction* mnuCW = nullptr;
    QAction* mnuVoice = nullptr;
    QAction* mnuRigInterface = nullptr;
    QAction* mnuDXSpotting = nullptr;
    QAction* mnuSpectrumMap = nullptr;
    QAction* mnuBlind = nullptr;
    QAction* mnuListPrevious = nullptr;
    QAction* mnuPostContest = nullptr;
    QAction* mnuPrivileges = nullptr;
    QAction* mnu160 = nullptr;  // "&CW"
    QAction* mnuSSB = nullptr;  // "&PH"
    std::array<QAction*, 12> bandItems{};
    QAction* mnuClear = nullptr;
    QAction* mnuChangeCounty = nullptr;
    QAction* mnuMap = nullptr;
    QAction* mnuGraph = nullptr;
    QAction* mnuRecall = nullptr;
    QAction* mnuCountyList = nullptr;
    QAction* mnuHelp = nullptr;

    // Whether the recent-contacts list shows all contacts (1) or the last 20.
    int ShowAllContacts = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildCommonControls();
    void buildInStateControls();
    void buildOutStateControls();
    void buildMenus();
    void buildScorePanel(float left, float top, float captionWidth, float valueWidth);
    void addRecentColumns();
    void addSpotColumns();
    void fitToScreen(QSizeF screen);
    // The screen the window was laid out for at its load, in twips: the
    // sizes of texts set later follow it.
    QSizeF screenTwips_;
    QSizeF ScreenTwips() const override { return screenTwips_; }
    // Cuts a list box to the whole rows that fit the height it was given.
    void showWholeRows(QListWidget* list);
    void setModeChecks(const QString& mode);
    void showBand(const QString& band);
    void modeCommand(const QString& mode);
    void Form_Unload();
    void Form_Terminate();
    // The post-contest boxes, over the top of the partial-dupe area.
    void buildPostContestControls();
    QLabel* countyToGoHeading() const;
    QLabel* countyWorkedHeading() const;
    QListWidget* countyToGoList() const;
    // Runs one step on its own, so that a failing step never keeps the later
    // ones (the log reload above all) from running.
    template <typename F>
    static void guarded(F&& step) {
        try {
            step();
        } catch (const std::exception&) {
            // The step leaves its part of the window as far as it came.
        }
    }

    Program& program_;
    Side side_;
    std::unique_ptr<entry::EntryLine> entry_;
    std::unique_ptr<entry::RecentContactsModel> recentModel_;
    // The strip under the entry line with the spot list or the band map.
    std::unique_ptr<spotting::SpotPanel> spotPanel_;
    void buildSpotPanel();
    // The views that spots feed: the band map and, while it is visible, the
    // spectrum map. A spot marks them; one queued update redraws them.
    std::unique_ptr<platform::FrameUpdate> spotViews_;
    void redrawSpotViews();
    platform::KeyAdapter* keys_ = nullptr;
    // Set by a key pressed with Ctrl alone held: the control character that
    // key types is dropped by the preview.
    std::uint8_t CtrlKeyPending = 0;
    bool closing_ = false;
};

// The two windows of the program, by station side.
class Infrm final : public MainWindow {
public:
    explicit Infrm(Program& program) : MainWindow(program, Side::In) {}
};

class Outfrm final : public MainWindow {
public:
    explicit Outfrm(Program& program) : MainWindow(program, Side::Out) {}
};

}  // namespace mainwindow

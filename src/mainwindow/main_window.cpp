// The main window's layout, menus and the wiring of its panels: the
// controls at their design places (the entry line's handed to it), the menu
// bar, the load that fits the window to the screen and shows the settings,
// and the scaling of the Form Size and Taskbar layouts.
#include "mainwindow/main_window.h"

#include <QAction>
#include <QApplication>
#include <QEventLoopLocker>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <stdexcept>

#include "entry/county_list.h"
#include "entry/recent_contacts_model.h"
#include "platform/colors.h"
#include "platform/key_adapter.h"
#include "platform/twips.h"
#include "program/program.h"
#include "rig/rig_control_frm.h"
#include "setup/bands.h"
#include "setup/resize.h"
#include "setup/station.h"
#include "spotting/spot_panel.h"

namespace mainwindow {

namespace {

const QColor kNavy(0, 0, 128);

// The size of the small texts the operator reads at a glance (status line,
// score panel, state grid): the window system's default small size, never
// less.
constexpr float kStatusPoints = 8;

// The recent-contacts list: a narrow face at that size, so "12/10 23:59"
// fits the Date/Time column the list's design width gives it.
const platform::FontModel kRecentFont{.Name = QStringLiteral("Arial Narrow"), .Size = kStatusPoints};

// Labels that act on a click.
void makeClickable(QLabel* label, QObject* filter) {
    label->installEventFilter(filter);
    label->setCursor(Qt::PointingHandCursor);
}

}  // namespace

MainWindow::MainWindow(Program& program, Side side) : program_(program), side_(side) {
    screenTwips_ = platform::ScreenSizeTwips();
    setWindowTitle(QStringLiteral("Tavik's Ostrel " OSTREL_VERSION));
    setAttribute(Qt::WA_QuitOnClose, true);
    SetDesignSize(9600, 7200, 9480, 6495);
    setMouseTracking(true);
    keys_ = new platform::KeyAdapter(this);
    entry_ = std::make_unique<entry::EntryLine>(*this, *this, program_, side_ == Side::In);
    keys_->SetKeyPreview({.keyDown = [this](int& KeyCode, int& Shift) { Form_KeyDown(KeyCode, Shift); },
                          .keyPress = [this](int& KeyAscii) { Form_KeyPress(KeyAscii); }});
    buildMenus();
    buildCommonControls();
    if (side_ == Side::In)
        buildInStateControls();
    else
        buildOutStateControls();
    buildPostContestControls();
    // The worked lists and the state grid are the entry line's pick lists.
    entry_->List1 = List1;
    entry_->List2 = List2;
    entry_->List3 = List3;
    entry_->Label10 = &Label10;
    entry_->Attach(*keys_);
    Apply();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    QMenuBar* bar = MenuBar();
    auto item = [this](QMenu* menu, const QString& caption, void (MainWindow::*handler)()) {
        QAction* action = menu->addAction(caption);
        if (handler) connect(action, &QAction::triggered, this, handler);
        return action;
    };

    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuNew = item(mnuFile, QStringLiteral("&New"), &MainWindow::mnuNew_Click);
    mnuFile->addSeparator();
    mnuArchive = item(mnuFile, QStringLiteral("Archive Current &Log"), &MainWindow::mnuArchive_Click);
    mnuFile->addSeparator();
    mnuRestore = item(mnuFile, QStringLiteral("&Restore from Archive or Backup"),
                      &MainWindow::mnuRestore_Click);
    mnuFile->addSeparator();
    mnuWriteSumm = item(mnuFile, QStringLiteral("&Write Submission File"), &MainWindow::mnuWriteSumm_Click);
    mnuFile->addSeparator();
    mnuexportADIF = item(mnuFile, QStringLiteral("Export &ADIF File"), &MainWindow::mnuexportADIF_Click);
    mnuFile->addSeparator();
    mnuCopyListtoClipboard = item(mnuFile, QStringLiteral("&Copy Listed Items to Clipboard"),
                                  &MainWindow::mnuCopyListtoClipboard_Click);
    mnuFile->addSeparator();
    mnuExit = item(mnuFile, QStringLiteral("&Exit"), &MainWindow::mnuExit_Click);

    mnuOptions = bar->addMenu(QStringLiteral("&Options"));
    QMenu* appearance = mnuOptions->addMenu(QStringLiteral("&Appearance"));
    mnuFormSize = item(appearance, QStringLiteral("&Form Size"), &MainWindow::mnuFormSize_Click);
    if (side_ == Side::In) mnuColors = item(appearance, QStringLiteral("&Colors"), &MainWindow::mnuColors_Click);
    mnuTaskbar = item(appearance, QStringLiteral("&Taskbar"), &MainWindow::mnuTaskbar_Click);
    mnuTaskbar->setCheckable(true);
    mnuOptions->addSeparator();
    QMenu* transmit = mnuOptions->addMenu(QStringLiteral("&Transmit"));
    mnuCW = item(transmit, QStringLiteral("&CW Setup"), &MainWindow::mnuCW_Click);
    mnuVoice = item(transmit, QStringLiteral("&Voice Setup"), &MainWindow::mnuVoice_Click);
    mnuOptions->addSeparator();
    mnuRigInterface = item(mnuOptions, QStringLiteral("&Rig Interface"), &MainWindow::mnuRigInterface_Click);
    mnuOptions->addSeparator();
    QMenu* dx = mnuOptions->addMenu(QStringLiteral("&DX Spotting"));
    mnuDXSpotting = item(dx, QStringLiteral("&Configure"), &MainWindow::mnuDXSpotting_Click);
    mnuSpectrumMap = item(dx, QStringLiteral("&View Spectrum Map"), &MainWindow::mnuSpectrumMap_Click);
    mnuOptions->addSeparator();
    mnuBlind = item(mnuOptions, QStringLiteral("&Voice Navigation"), &MainWindow::mnuBlind_Click);
    mnuOptions->addSeparator();
    mnuListPrevious = item(mnuOptions, QStringLiteral("&List Previous Contacts"),
                           &MainWindow::mnuListPrevious_Click);
    mnuListPrevious->setCheckable(true);
    mnuOptions->addSeparator();
    mnuPostContest = item(mnuOptions, QStringLiteral("&Post Contest Mode"), nullptr);
    connect(mnuPostContest, &QAction::triggered, this, [this] { entry_->mnuPostContest_Click(); });
    mnuPostContest->setCheckable(true);

    mnuBandChange = bar->addMenu(QStringLiteral("&Band"));
    for (std::size_t b = 0; b < setup::kBandCodes.size(); ++b) {
        const QString band = QString::fromLatin1(setup::kBandCodes[b]);
        bandItems[b] = mnuBandChange->addAction(band);
        bandItems[b]->setCheckable(true);
        connect(bandItems[b], &QAction::triggered, this, [this, band] { BandCommand(band); });
    }
    mnuBandChange->addSeparator();
    mnuPrivileges = item(mnuBandChange, QStringLiteral("&Privileges"), &MainWindow::mnuPrivileges_Click);

    mnuBand = bar->addMenu(QStringLiteral("&Mode"));
    mnu160 = item(mnuBand, QStringLiteral("&CW"), &MainWindow::mnu160_Click);
    mnu160->setCheckable(true);
    mnuSSB = item(mnuBand, QStringLiteral("&PH"), &MainWindow::mnuSSB_Click);
    mnuSSB->setCheckable(true);

    auto command = [&](const QString& caption, void (MainWindow::*handler)()) {
        QAction* action = bar->addAction(caption);
        if (handler) connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuClear = command(QStringLiteral("&Clear"), &MainWindow::mnuClear_Click);
    if (side_ == Side::In)
        mnuChangeCounty = command(QStringLiteral("Cha&nge County"), &MainWindow::mnuChangeCounty_Click);
    mnuMap = command(QStringLiteral("M&ap"), &MainWindow::mnuMap_Click);
    mnuGraph = command(QStringLiteral("&Graph"), &MainWindow::mnuGraph_Click);
    mnuRecall = command(QStringLiteral("&Recall"), &MainWindow::mnuRecall_Click);
    mnuCountyList = command(QStringLiteral("L&ist"), nullptr);
    connect(mnuCountyList, &QAction::triggered, this, [this] { entry::ShowCountyList(program_); });
    mnuHelp = command(QStringLiteral("&Help"), &MainWindow::mnuHelp_Click);
}

void MainWindow::buildCommonControls() {
    entry::EntryLine& e = *entry_;
    platform::FontModel big{.Name = QStringLiteral("Arial"), .Size = 14, .Bold = true};
    platform::FontModel value{.Name = QStringLiteral("Arial"), .Size = 12, .Bold = true};

    // Station, band and mode, clocks.
    Label2 = AddLabel(QStringLiteral("Label2"), QStringLiteral("CALL"), 120, 60, 1560, 400);
    SetFont(Label2, big);
    Label25 = AddLabel(QStringLiteral("Label25"), QString(), 1740, 60, 1560, 400);
    SetFont(Label25, big);
    Label21 = AddLabel(QStringLiteral("Label21"), QStringLiteral("Band"), 3360, 20, 660, 240);
    Label24 = AddLabel(QStringLiteral("Label24"), QStringLiteral("160"), 3360, 260, 660, 330);
    SetFont(Label24, value);
    Label24->setToolTip(QStringLiteral("Click to change modes."));
    makeClickable(Label24, this);
    lblBandSwitch = AddLabel(QStringLiteral("lblBandSwitch"), QStringLiteral("Mode"), 4080, 20, 600, 240);
    Label30 = AddLabel(QStringLiteral("Label30"), QStringLiteral("CW"), 4080, 260, 600, 330);
    SetFont(Label30, value);
    Label30->setToolTip(QStringLiteral("Click to change modes."));
    makeClickable(Label30, this);

    Label17 = AddLabel(QStringLiteral("Label17"), QStringLiteral("Bearing"), 4740, 20, 660, 240);
    e.Label22 = AddLabel(QStringLiteral("Label22"), QString(), 4740, 260, 660, 300);
    Label18 = AddLabel(QStringLiteral("Label18"), QStringLiteral("Miles"), 5460, 20, 660, 240);
    e.Label23 = AddLabel(QStringLiteral("Label23"), QString(), 5460, 260, 660, 300);
    Label20 = AddLabel(QStringLiteral("Label20"), QStringLiteral("Con"), 6180, 20, 420, 240);
    e.Label19 = AddLabel(QStringLiteral("Label19"), QString(), 6180, 260, 420, 300);

    lblCurTime = AddLabel(QStringLiteral("lblCurTime"), QStringLiteral("Reg Time"), 6900, 20, 1500, 300);
    SetFont(lblCurTime, value);
    Label16 = AddLabel(QStringLiteral("Label16"), QStringLiteral("am"), 8460, 20, 600, 300);
    SetFont(Label16, value);
    lblutctime = AddLabel(QStringLiteral("lblutctime"), QStringLiteral("UTC TIME"), 6900, 330, 1500, 300);
    SetFont(lblutctime, value);
    Label11 = AddLabel(QStringLiteral("Label11"), QStringLiteral("UTC"), 8460, 330, 600, 300);
    SetFont(Label11, value);

    // The status line under the entry line, as wide as the room left of the
    // partial-dupe list: the longest messages, the partial-dupe warning with
    // a call of twelve characters, the full date and a five-digit record
    // number, fit one line at the captions' size.
    e.lblDialog = AddLabel(QStringLiteral("lblDialog"), QString(), 120, 1440,
                           side_ == Side::In ? 6420 : 6240, 300);
    SetFontSize(e.lblDialog, kStatusPoints);
    e.lblDialog->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    platform::SetBackColor(e.lblDialog, entry::kStatusTeal);
    platform::SetForeColor(e.lblDialog, Qt::black);
    // The operating-time button and the list and partial-dupe switches stand
    // in the bottom row, beside the operating time and below the status line
    // that asks for "Time On".
    cmdLogOn = AddCommandButton(QStringLiteral("cmdLogOn"), QStringLiteral("&Log \"Time On\""),
                                5640, 6060, 1500, 360);
    cmdLogOn->setToolTip(QStringLiteral("Records On/Off times and controls duration clock."));
    connect(cmdLogOn, &QPushButton::clicked, this, &MainWindow::cmdLogOn_Click);
    cmdList = AddCommandButton(QStringLiteral("cmdList"), QStringLiteral("Last 20"), 7200, 6060, 660, 360);
    cmdList->setToolTip(
        QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"));
    connect(cmdList, &QPushButton::clicked, this, &MainWindow::cmdList_Click);
    cmdDup = AddCommandButton(QStringLiteral("cmdDup"), QStringLiteral("On"), 7920, 6060, 420, 360);
    cmdDup->setToolTip(QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    connect(cmdDup, &QPushButton::clicked, this, &MainWindow::cmdDup_Click);
    Command1 = AddCommandButton(QStringLiteral("Command1"), QStringLiteral("All Bands"), 8400, 6060, 900, 360);
    Command1->hide();
    for (QPushButton* b : {cmdLogOn, cmdList, cmdDup, Command1}) b->setFocusPolicy(Qt::NoFocus);

    // The lower part: the operating time and the edit buttons.
    Label12 = AddLabel(QStringLiteral("Label12"),
                       side_ == Side::In ? QStringLiteral(" Oper Time") : QStringLiteral("Operating Time"),
                       120, 6100, 1200, 300);
    lblttrack = AddLabel(QStringLiteral("lblttrack"), QStringLiteral("00:00:00"), 1380, 6100, 1200, 300);
    SetFont(lblttrack, value);
    cmdEdit = AddCommandButton(QStringLiteral("cmdEdit"), QStringLiteral("Edit Contact"), 2760, 6060, 1320, 360);
    cmdDelete = AddCommandButton(QStringLiteral("cmdDelete"), QStringLiteral("Delete Contact"), 4200, 6060, 1320, 360);
    connect(cmdEdit, &QPushButton::clicked, this, &MainWindow::cmdEdit_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &MainWindow::cmdDelete_Click);
    cmdEdit->hide();
    cmdDelete->hide();

    Timer1 = AddTimer(QStringLiteral("Timer1"), 60000);
    Timer2 = AddTimer(QStringLiteral("Timer2"), 1000);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);
}

void MainWindow::buildScorePanel(float left, float top, float captionWidth, float valueWidth) {
    const bool in = side_ == Side::In;
    const float row = 240;
    const float valueLeft = left + captionWidth;
    AddLabel(QStringLiteral("lblScoreHeading"), QStringLiteral("Score Statistics"), left, top,
             captionWidth + valueWidth, row);
    const std::array<QString, 6> captions = {
        in ? QStringLiteral("Total PH Contacts .......") : QStringLiteral("Total PH Contacts ........"),
        in ? QStringLiteral("Total CW Contacts .....") : QStringLiteral("Total CW Contacts ......"),
        in ? QStringLiteral("Total Multipliers ..........") : QStringLiteral("Total Multipliers ............"),
        QStringLiteral("Tot Score (less pwr mult)"),
        QStringLiteral("QSOs / Hr (last 20 min)"),
        QStringLiteral("QSOs / Hr (last 60 min)"),
    };
    const std::array<QString, 6> names = {
        QStringLiteral("lblTotCon"), in ? QStringLiteral("lblsectogo") : QStringLiteral("lblSectogo"),
        QStringLiteral("lblTotSec"), QStringLiteral("lblTotScore"), QStringLiteral("lblAQSO20"),
        QStringLiteral("lblAQSO60")};
    std::array<QLabel*, 6> values{};
    // Each value stands on its caption's row, at its caption's size and on
    // its baseline; the caption names its value (for assistive tools too).
    // The value column holds seven digits with grouping ("9,999,999").
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const float y = top + row * static_cast<float>(i + 1);
        QLabel* caption = AddLabel(QStringLiteral("lblScoreCaption%1").arg(i + 1), captions[i],
                                   left, y, captionWidth, row);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        SetFontSize(caption, kStatusPoints);
        values[i] = AddLabel(names[i], QString(), valueLeft, y, valueWidth, row);
        values[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SetFontSize(values[i], kStatusPoints);
        caption->setBuddy(values[i]);
    }
    lblTotCon = values[0];
    lblsectogo = values[1];
    lblTotSec = values[2];
    lblTotScore = values[3];
    lblAQSO20 = values[4];
    lblAQSO60 = values[5];
}

void MainWindow::buildInStateControls() {
    entry::EntryLine& e = *entry_;
    platform::FontModel entryFont{.Name = QStringLiteral("Arial"), .Size = 12, .Bold = true};
    lblStation[2] = AddLabel(QStringLiteral("lblStation(2)"), QStringLiteral("    Call"), 120, 720, 1800, 240);
    lblStation[1] = AddLabel(QStringLiteral("lblStation(1)"), QStringLiteral("St / Prv / Country"), 2040, 720, 1560, 240);
    lblStation[1]->setToolTip(QStringLiteral("State / Province / Country"));
    e.Label3 = AddLabel(QStringLiteral("Label3"), QStringLiteral("New"), 3620, 720, 420, 240);
    platform::SetForeColor(e.Label3, Qt::white);
    platform::SetBackColor(e.Label3, QColor(192, 0, 0));
    e.Label3->setAlignment(Qt::AlignCenter);
    lblStation[4] = AddLabel(QStringLiteral("lblStation(4)"), QStringLiteral("County"), 4200, 720, 2280, 240);
    lblStation[4]->setEnabled(false);
    e.countyCaption = lblStation[4];
    e.txtCall = AddTextBox(QStringLiteral("txtCall"), QString(), 120, 960, 1800, 400);
    e.txtCntry = AddTextBox(QStringLiteral("txtCntry"), QString(), 2040, 960, 2040, 400);
    e.txtSec = AddTextBox(QStringLiteral("txtSec"), QString(), 4200, 960, 2280, 400);
    e.txtCall->setMaxLength(12);
    e.txtCntry->setMaxLength(30);
    e.txtSec->setMaxLength(20);
    for (QLineEdit* box : {e.txtCall, e.txtCntry, e.txtSec}) SetFont(box, entryFont);
    setTabOrder(e.txtCall, e.txtCntry);
    setTabOrder(e.txtCntry, e.txtSec);

    e.lblPossDup = AddLabel(QStringLiteral("lblPossDup"), QStringLiteral("   Possible Duplicates"), 6600, 720, 2880, 240);
    e.lblDupe = AddLabel(QStringLiteral("lblDupe"), QString(), 6600, 960, 2880, 1200);
    e.lblDupe->setWordWrap(true);
    e.lblDupe->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ListView1 = AddListViewOf<QTreeView>(QStringLiteral("ListView1"), 120, 1800, 6360, 1440);
    SetFont(ListView1, kRecentFont);

    // Worked lists: DX countries, counties worked, counties to work, narrow
    // enough to leave the score panel room for its captions.
    lblStation[5] = AddLabel(QStringLiteral("lblStation(5)"), QStringLiteral("DX"), 120, 3360, 1080, 240);
    lblStation[8] = AddLabel(QStringLiteral("lblStation(8)"), QStringLiteral("Cnty Wkd - 0"), 1260, 3360, 1260, 240);
    lblStation[7] = AddLabel(QStringLiteral("lblStation(7)"), QStringLiteral("Cnty Rem - 0"), 2580, 3360, 1260, 240);
    List1 = AddListBox(QStringLiteral("List1"), 120, 3600, 1080, 2400);
    List2 = AddListBox(QStringLiteral("List2"), 1260, 3600, 1260, 2400);
    List3 = AddListBox(QStringLiteral("List3"), 2580, 3600, 1260, 2400);
    List1->setToolTip(QStringLiteral("You can click the list to enter the country."));
    List2->setToolTip(QStringLiteral("You can click the list to enter the county."));
    List3->setToolTip(QStringLiteral("You can click the list to enter the county."));
    for (QListWidget* list : {List1, List2, List3}) list->setFocusPolicy(Qt::ClickFocus);
    buildScorePanel(3900, 3600, 1880, 760);
    Line3 = AddLine(QStringLiteral("Line3"), 0, 6000, 9480, 6000);

    // The state and province grid.
    Label15 = AddLabel(QStringLiteral("Label15"), QStringLiteral("States and Provinces Worked:"), 6600, 2190, 2880, 300);
    for (const setup::GridHeading& h : setup::StateGridHeadings()) {
        const bool canada = QLatin1String(h.caption) == QLatin1String("Canada");
        QLabel* heading = AddLabel(QString::fromLatin1(h.name), QString::fromLatin1(h.caption), h.left,
                                   h.top, canada ? 2 * setup::kStateGridPitch : setup::kStateGridPitch,
                                   setup::kStateGridRow);
        SetFont(heading, {.Name = QStringLiteral("Arial"), .Size = 8, .Bold = true});
        platform::SetForeColor(heading, Qt::white);
        platform::SetBackColor(heading, kNavy);
        heading->setAlignment(Qt::AlignCenter);
    }
    for (int k = 1; k <= setup::kStateProvinces; ++k) {
        const setup::GridPlace p = setup::StateGridLabelPlace(k);
        QLabel* label = AddLabel(QStringLiteral("Label10(%1)").arg(k), QString(), p.left, p.top,
                                 p.width, p.height);
        // The design's small serif face, at the captions' size.
        SetFont(label, {.Name = QStringLiteral("Times New Roman"), .Size = kStatusPoints});
        platform::SetBackColor(label, QColor(0xC0, 0xC0, 0xC0));
        label->setAlignment(Qt::AlignCenter);
        Label10[static_cast<std::size_t>(k)] = label;
    }

    txtDX = AddListView(QStringLiteral("txtDX"), 120, 3600, 6360, 2400);
    txtDX->hide();
    txtDX->setFocusPolicy(Qt::ClickFocus);
    buildSpotPanel();
}

void MainWindow::buildPostContestControls() {
    // They stand over the top of the partial-dupe area, which moves down
    // while they show.
    entry::EntryLine& e = *entry_;
    const platform::Control& heading = Ctl(e.lblPossDup);
    const float left = heading.Left;
    platform::FontModel entryFont{.Name = QStringLiteral("Arial"), .Size = 12, .Bold = true};
    e.lblPostConTime = AddLabel(QStringLiteral("lblPostConTime"), QStringLiteral("Time"), left, 720, 900, 240);
    e.txtPostConTime = AddTextBox(QStringLiteral("txtPostConTime"), QString(), left, 960, 900, 400);
    e.lblPostConDate = AddLabel(QStringLiteral("lblPostConDate"), QStringLiteral("Date"), left + 1020, 720, 1620, 240);
    e.txtPostConDate = AddTextBox(QStringLiteral("txtPostConDate"), QString(), left + 1020, 960, 1620, 400);
    for (QLineEdit* box : {e.txtPostConTime, e.txtPostConDate}) SetFont(box, entryFont);
    setTabOrder(e.txtSec, e.txtPostConTime);
    setTabOrder(e.txtPostConTime, e.txtPostConDate);
    for (QWidget* w : std::initializer_list<QWidget*>{e.lblPostConTime, e.txtPostConTime, e.lblPostConDate,
                                                      e.txtPostConDate})
        w->hide();
}


void MainWindow::buildOutStateControls() {
    entry::EntryLine& e = *entry_;
    platform::FontModel entryFont{.Name = QStringLiteral("Arial"), .Size = 12, .Bold = true};
    lblStation[2] = AddLabel(QStringLiteral("lblStation(2)"), QStringLiteral("    Call"), 120, 720, 2400, 240);
    lblStation[4] = AddLabel(QStringLiteral("lblStation(4)"), QStringLiteral("County"), 2640, 720, 2400, 240);
    e.countyCaption = lblStation[4];
    e.lblNew = AddLabel(QStringLiteral("lblNew"), QStringLiteral("New"), 5100, 720, 420, 240);
    platform::SetForeColor(e.lblNew, Qt::white);
    platform::SetBackColor(e.lblNew, QColor(192, 0, 0));
    e.lblNew->setAlignment(Qt::AlignCenter);
    e.lblNew->hide();
    e.txtCall = AddTextBox(QStringLiteral("txtCall"), QString(), 120, 960, 2400, 400);
    e.txtSec = AddTextBox(QStringLiteral("txtSec"), QString(), 2640, 960, 3000, 400);
    e.txtCall->setMaxLength(12);
    e.txtSec->setMaxLength(20);
    for (QLineEdit* box : {e.txtCall, e.txtSec}) SetFont(box, entryFont);
    setTabOrder(e.txtCall, e.txtSec);

    // Hidden fields: never shown, never focused, always empty.
    lblStation[1] = AddLabel(QStringLiteral("lblStation(1)"), QStringLiteral("State/Prov/Cntr"), 5760, 720, 100, 240);
    lblStation[3] = AddLabel(QStringLiteral("lblStation(3)"), QStringLiteral("RS(T) Sn"), 5760, 720, 100, 240);
    lblStation[6] = AddLabel(QStringLiteral("lblStation(6)"), QStringLiteral("RS(T) Rc"), 5760, 720, 100, 240);
    e.txtCntry = AddTextBox(QStringLiteral("txtCntry"), QString(), 5760, 960, 100, 300);
    e.txtRSTS = AddTextBox(QStringLiteral("txtRSTS"), QString(), 5760, 960, 100, 300);
    e.txtRSTR = AddTextBox(QStringLiteral("txtRSTR"), QString(), 5760, 960, 100, 300);
    e.txtCntry->setMaxLength(30);
    for (QWidget* w : std::initializer_list<QWidget*>{lblStation[1], lblStation[3], lblStation[6],
                                                      e.txtCntry, e.txtRSTS, e.txtRSTR}) {
        w->hide();
        w->setFocusPolicy(Qt::NoFocus);
    }
    // The lookup labels have no use here.
    for (QLabel* l : {Label17, Label18, e.Label19, Label20, e.Label22, e.Label23}) l->hide();

    // The partial-dupe list to the right of the status line and the score
    // panel, down to the recent-contacts list.
    e.lblPossDup = AddLabel(QStringLiteral("lblPossDup"), QStringLiteral("Possible Duplicates"), 6480, 720, 2880, 240);
    e.lblDupe = AddLabel(QStringLiteral("lblDupe"), QString(), 6480, 960, 2880, 2520);
    e.lblDupe->setWordWrap(true);
    e.lblDupe->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    buildScorePanel(3480, 1800, 1880, 760);
    QLabel* bandMultipliers = AddLabel(QStringLiteral("Label15"),
                                       QStringLiteral("Multipliers worked on current band:"),
                                       6480, 1800, 2880, 240);
    bandMultipliers->hide();
    // Wide enough for its columns and a scroll bar; it ends above the
    // separator line.
    ListView1 = AddListViewOf<QTreeView>(QStringLiteral("ListView1"), 3480, 3600, 5940, 2340);
    SetFont(ListView1, kRecentFont);

    lblStation[5] = AddLabel(QStringLiteral("lblStation(5)"), QStringLiteral("Counties Worked"), 120, 2640, 1620, 240);
    lblStation[7] = AddLabel(QStringLiteral("lblStation(7)"), QStringLiteral("Counties To Go"), 1800, 2640, 1620, 240);
    for (QLabel* heading : {lblStation[5], lblStation[7]}) SetFontSize(heading, kStatusPoints);  // "- 72"
    List2 = AddListBox(QStringLiteral("List2"), 120, 2880, 1620, 3120);
    List1 = AddListBox(QStringLiteral("List1"), 1800, 2880, 1620, 3120);
    List1->setToolTip(QStringLiteral("You can click the list to enter the county."));
    List2->setToolTip(QStringLiteral("You can click the list to enter the county."));
    for (QListWidget* list : {List1, List2}) list->setFocusPolicy(Qt::ClickFocus);
    Line3 = AddLine(QStringLiteral("Line3"), 0, 6000, 9480, 6000);

    txtDX = AddListView(QStringLiteral("txtDX"), 3720, 3600, 5640, 2400);
    txtDX->hide();
    txtDX->setFocusPolicy(Qt::ClickFocus);
    buildSpotPanel();
}

void MainWindow::Form_Load() { Form_Load(platform::ScreenSizeTwips()); }

void MainWindow::Form_Load(QSizeF screenTwips) {
    // No window may be left on the screen during the load: the start-up
    // question and the reload come with the set-up dialog gone. The run
    // does not end meanwhile for want of a window on the screen.
    const QEventLoopLocker keepRunning;
    screenTwips_ = screenTwips;
    program_.UnloadFrmStationID();
    setup::Station& st = program_.station;
    Timer1->start();
    Timer2->start();
    guarded([&] {
        if (entry_->Label3) entry_->Label3->hide();
    });
    guarded([&] { fitToScreen(screenTwips); });
    guarded([&] { FitCountyLists(); });
    guarded([&] {
        entry_->lblDialog->setText(side_ == Side::In
                               ? QStringLiteral("Select a band, mode and Click Log \"Time On\"!")
                               : QStringLiteral("Select a band and mode. Click Log \"Time On\" below!"));
    });
    guarded([&] {
        addRecentColumns();
        addSpotColumns();
    });
    if (side_ == Side::In) {
        guarded([&] {
            mnuChangeCounty->setEnabled(st.RoverMode != 0);
            mnuListPrevious->setChecked(st.ListPrevious == 1);
            program_.stateProvinces.Build();
            for (int k = 1; k <= setup::kStateProvinces; ++k) {
                Label10[static_cast<std::size_t>(k)]->setText(
                    program_.stateProvinces.StateProvAbbrev[static_cast<std::size_t>(k)]);
                Label10[static_cast<std::size_t>(k)]->setToolTip(
                    program_.stateProvinces.StateProvName[static_cast<std::size_t>(k)]);
            }
        });
    }
    program_.entry.PartialDupesOn = 1;
    if (st.FormSizePercent < 100) {
        // The percentage layout shows the window itself. A percentage below
        // the 30 that the Form Size command allows would leave no usable
        // window: it goes back to full size like a failed scaling.
        try {
            if (st.FormSizePercent < 30) throw std::range_error("form size below 30 %");
            ScaleControls(screenTwips);
        } catch (const std::exception&) {
            st.FormSizePercent = 100;
            setup::SaveQSOPref(program_);
            show();
        }
    }
    if (side_ == Side::Out) guarded([&] { mnuListPrevious->setChecked(st.ListPrevious == 1); });
    guarded([&] {
        Label30->setText(st.CurrentMode);
        setModeChecks(st.CurrentMode);
    });
    guarded([&] {
        for (std::size_t b = 0; b < setup::kBandCodes.size(); ++b)
            if (st.CurrentBand.compare(QLatin1String(setup::kBandCodes[b]), Qt::CaseInsensitive) == 0)
                showBand(QString::fromLatin1(setup::kBandCodes[b]));
    });
    guarded([&] {
        if (side_ == Side::In) {
            lblStation[4]->setText(st.PartyState + " County");
            const QString tip = "Enter " + st.PartyState +
                                " in the St / Prv / Country field to enable the County field";
            lblStation[4]->setToolTip(tip);
            entry_->txtSec->setToolTip(tip);
            Label25->setText(st.OperatingCounty);
            Label25_Change();
            Label2->setText(st.OwnCall);
        } else {
            Label25->setText(st.OwnSPC.isEmpty() ? st.OwnCountry : st.OwnSPC);
            if (!st.OwnCall.isEmpty()) Label2->setText(st.OwnCall);
            entry_->setRSTLength();
        }
    });
    guarded([&] { AskOpenExistingLog(); });
    guarded([&] { ShowOperatingTime(); });
    // The log reload runs whatever happened before it: nothing may rewrite
    // the log before it has been read.
    ReloadLog();
    if (program_.ended()) return;
    // The screen and the work area are taken as they stand in twips, scaled
    // alike when a test loads the window for a screen of its own.
    const QSizeF screen = platform::ScreenSizeTwips();
    const QSizeF work = platform::WorkAreaTwips();
    const QSizeF workArea(work.width() / screen.width() * screenTwips.width(),
                          work.height() / screen.height() * screenTwips.height());
    guarded([&] { ArrangeForTaskbar(screenTwips, workArea); });
    entry_->AwaitOpeningFocus();
    show();
    entry_->txtCall->setFocus();
    // With a rig chosen, its test loads the rig window and starts polling.
    if (st.RigType.compare(QLatin1String("None"), Qt::CaseInsensitive) != 0)
        guarded([&] { program_.rigControlfrm().Command1_Click(); });
}

void MainWindow::ScaleControls(QSizeF screenTwips) {
    const float p = program_.station.FormSizePercent;
    hide();
    // The frame keeps its size: the window keeps room for its client area
    // shrunk like the controls in it, so none is cut at the bottom or the
    // right.
    const float client = p / 100;
    const float frameWidth = Width - ScaleWidth();
    const float frameHeight = Height - ScaleHeight();
    Width = std::max(p * static_cast<float>(screenTwips.width()) / 100,
                     ScaleWidth() * client + frameWidth);
    Height = std::max(p * static_cast<float>(screenTwips.height()) / 100,
                      ScaleHeight() * client + frameHeight);
    Left = (static_cast<float>(screenTwips.width()) - Width) / 2;
    Top = (static_cast<float>(screenTwips.height()) - Height) / 2;
    Font.Size = Font.Size * p / 100;
    // Fonts, boxes, line ends and the list columns, all by the percentage.
    setup::ScaleControls(*this, {.x = p / 100, .y = p / 100, .font = p / 100, .keepComboHeight = false, .fontName = {}});
    FitCountyLists();
    show();
}

void MainWindow::ArrangeForTaskbar(QSizeF screenTwips, QSizeF workAreaTwips) {
    const setup::Station& st = program_.station;
    mnuTaskbar->setChecked(st.TaskbarLayout != 0);
    if (st.FormSizePercent != 100) return;
    hide();
    const float h0 = Height;
    const float w0 = Width;
    const QSizeF target = st.TaskbarLayout == 1 ? workAreaTwips : screenTwips;
    Width = static_cast<float>(target.width());
    Height = static_cast<float>(target.height());
    Left = 0;
    Top = 0;
    // Boxes, line ends and the spot list's columns follow the new size; the
    // fonts and the recent-contacts list's columns stay.
    const std::vector<float> recentColumns = Ctl(ListView1).ColumnWidths;
    setup::ScaleControls(*this, {.x = Width / w0, .y = Height / h0, .font = 1, .keepComboHeight = false, .fontName = {}});
    SetColumnWidths(ListView1, recentColumns);
    FitCountyLists();
    show();
}

void MainWindow::fitToScreen(QSizeF screen) {
    const float rx = static_cast<float>(screen.width()) / 9600.0f;
    const float ry = static_cast<float>(screen.height()) / 7200.0f;
    Width = Width / 9600.0f * static_cast<float>(screen.width());
    Height = Height / 7200.0f * static_cast<float>(screen.height());
    Left = (static_cast<float>(screen.width()) - Width) / 2;
    Top = (static_cast<float>(screen.height()) - Height) / 2;
    Font.Size *= Width / 9600.0f;
    setup::ScaleControls(*this, {.x = rx, .y = ry, .font = std::min(rx, ry), .keepComboHeight = false, .fontName = {}});
}

void MainWindow::FitCountyLists() {
    platform::Control& line = Ctl(Line3);
    platform::Control& first = Ctl(List1);
    first.Height = line.Y1 - first.Top;
    Ctl(List2).Height = first.Height;
    if (List3) Ctl(List3).Height = first.Height;
    for (QListWidget* list : {List1, List2, List3}) {
        if (!list) continue;
        Apply(Ctl(list));
        showWholeRows(list);
    }
}

void MainWindow::showWholeRows(QListWidget* list) {
    // As the window system's list boxes do: no row is cut at the bottom, and
    // the list ends above the separator line rather than on it.
    const int frame = 2 * list->frameWidth();
    // The height of a row of text, as the list's style draws its items.
    QStyleOptionViewItem item;
    item.initFrom(list);
    item.font = list->font();
    item.text = QStringLiteral("X");
    item.features = QStyleOptionViewItem::HasDisplay;
    const int row = list->style()->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), list).height();
    if (row <= 0) return;
    const int rows = std::max(1, (list->height() - frame - 1) / row);
    list->resize(list->width(), rows * row + frame);
}

void MainWindow::addRecentColumns() {
    recentModel_ = std::make_unique<entry::RecentContactsModel>(program_.log, side_ == Side::In);
    ListView1->setModel(recentModel_.get());
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setItemsExpandable(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setFocusPolicy(Qt::ClickFocus);
    ListView1->setToolTip(QStringLiteral("Click record to edit or delete."));
    ListView1->header()->setSectionsClickable(true);
    ListView1->viewport()->installEventFilter(this);
    ListView1->installEventFilter(this);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            &MainWindow::ListView1_ColumnClick);
    connect(ListView1, &QTreeView::clicked, this, [this] { ListView1_Click(); });
    const std::vector<float> design = side_ == Side::In
                                          ? std::vector<float>{530, 850, 910, 1050, 890, 430, 430, 990}
                                          : std::vector<float>{550, 1600, 1820, 900, 430, 430};
    std::vector<float> widths;
    for (float w : design) widths.push_back(Width / 9600.0f * w);
    SetColumnWidths(ListView1, widths);
}

void MainWindow::addSpotColumns() {
    struct Column {
        const char* caption;
        float width;
        Qt::Alignment align;
    };
    const Column columns[] = {
        {"Call", 1040, Qt::AlignLeft},    {"Frequency", 880, Qt::AlignRight},
        {"QTH", 2000, Qt::AlignLeft},     {"Status", 0, Qt::AlignHCenter},
        {"Comments", 3400, Qt::AlignLeft}, {"Prefix", 520, Qt::AlignLeft},
        {"Time", 600, Qt::AlignLeft},     {"From", 520, Qt::AlignLeft},
    };
    for (const Column& c : columns) {
        AddColumnHeader(txtDX, QString::fromLatin1(c.caption), Width / 9600.0f * c.width);
        txtDX->headerItem()->setTextAlignment(txtDX->columnCount() - 1, c.align);
    }
    // A click on a row comes as the item's click; one below the rows, or on
    // the list while it has none, is seen by the filter on the viewport.
    connect(txtDX, &QTreeWidget::itemClicked, this, [this] { txtDX_Click(); });
    txtDX->viewport()->installEventFilter(this);
    connect(txtDX, &QTreeWidget::itemDoubleClicked, this, [this] { txtDX_DblClick(); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == Label24 && mouse->button() == Qt::LeftButton) {
            Label24_Click();
            return true;
        }
        if (watched == Label30 && mouse->button() == Qt::LeftButton) {
            Label30_Click();
            return true;
        }
        if (txtDX && watched == txtDX->viewport() && mouse->button() == Qt::LeftButton) {
            const QPoint at = mouse->position().toPoint();
            if (txtDX->viewport()->rect().contains(at) && !txtDX->itemAt(at)) txtDX_Click();
        }
        if (ListView1 && watched == ListView1->viewport()) {
            if (mouse->button() == Qt::RightButton) {
                // A right click edits the row under the pointer: select it first.
                const QModelIndex index = ListView1->indexAt(mouse->position().toPoint());
                if (index.isValid()) ListView1->setCurrentIndex(index);
                ListView1_MouseUp(2);
            }
        }
    } else if (event->type() == QEvent::FocusOut && watched == ListView1) {
        ListView1_Click();
    }
    return platform::Form::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) RefreshBandMap();
    platform::Form::changeEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (side_ == Side::In) entry_->lblDupe->clear();
    platform::Form::mouseMoveEvent(event);
}

void MainWindow::Label25_Change() {
    if (side_ == Side::In) program_.entry.CWMacroCounty = Label25->text().toUpper();
}

}  // namespace mainwindow

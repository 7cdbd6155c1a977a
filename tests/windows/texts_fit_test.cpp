// Every window is legible and on the screen: each window is opened as the
// operator meets it (the main windows over a long log, so the counts and
// scores are long), on the screens operators use, at full size and, where
// the window follows the Form Size command, at the smallest form size, and
// - every visible caption, button, option, check box, frame title, list
//   heading and list cell is measured with its control's font against the
//   room the control gives it;
// - at full form size no text is smaller than the window system's default
//   small size as the window shows it, and every value is at least the size
//   of its caption and stands on its caption's baseline;
// - the window with its frame lies inside the desktop work area;
// - no control covers another or reaches past its container.
// The rules and their exceptions are those of tests/support/window_fit.h.
//
// A window added to the program gets one line in kWindows.
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "entry/contact_edit_dialog.h"
#include "entry/county_change.h"
#include "entry/county_list.h"
#include "keyers/blind_frm.h"
#include "keyers/code_practice.h"
#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "keyers/winkey_frm.h"
#include "logstore/county_table.h"
#include "mainwindow/main_window.h"
#include "platform/form.h"
#include "platform/twips.h"
#include "rig/band_plan_chart.h"
#include "rig/frequency_test_frm.h"
#include "rig/rig_control_frm.h"
#include "rig/rig_tune_frm.h"
#include "scoring/county_map.h"
#include "scoring/rate_graph.h"
#include "scoring/summary_dialog.h"
#include "setup/color_dialog.h"
#include "setup/folders.h"
#include "setup/help_page.h"
#include "setup/station_id.h"
#include "spotting/packet_spot_frm.h"
#include "spotting/spectrum_map.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"
#include "support/window_fit.h"

using testing_support::MainWindowFixture;

namespace {

constexpr int kLogLength = 3000;

// The contacts of a long log, on every band and both modes: in-state
// stations from every county of the table, stations of other states and
// provinces, and DX. The last one is in-state.
struct LogContact {
    QString call, spc, county, time, mode, band;
};

LogContact NthContact(int i, const logstore::CountyTable& counties) {
    static const char* const kPlaces[] = {"IL", "MN", "ON", "Germany", "Japan", "TX"};
    static const char* const kBands[] = {"160", "80", "40", "20", "15", "10"};
    LogContact c;
    c.call = QStringLiteral("K");
    for (int n = i; c.call.size() < 5; n /= 26) c.call += QChar('A' + n % 26);
    const bool inState = i % 2 == 1;
    c.spc = inState ? QStringLiteral("WI") : QString::fromLatin1(kPlaces[i % 6]);
    if (inState) c.county = counties.CountyNames[static_cast<std::size_t>(1 + i % counties.CountyCount)];
    c.time = QStringLiteral("%1:%2:%3")
                 .arg(i / 3600 % 24, 2, 10, QChar('0'))
                 .arg(i / 60 % 60, 2, 10, QChar('0'))
                 .arg(i % 60, 2, 10, QChar('0'));
    c.mode = i % 3 == 0 ? QStringLiteral("PH") : QStringLiteral("CW");
    c.band = QString::fromLatin1(kBands[i / 2 % 6]);
    return c;
}

QByteArray LongLog(const logstore::CountyTable& counties) {
    QByteArray log;
    for (int i = 0; i < kLogLength; ++i) {
        const LogContact c = NthContact(i, counties);
        log += testing_support::Contact(c.call, c.spc, c.county, QStringLiteral("2026/12/10"),
                                        c.time, c.mode, c.band, QStringLiteral("DAN"));
    }
    return log;
}

// The screens a window is met at, from the smallest the windows are made
// for to a wide one, with the main windows at full size and at the smallest
// size the Form Size command gives them.
struct Scale {
    const char* name;
    QSizeF screen;
    std::uint8_t formSizePercent;
};
const Scale kScales[] = {
    {"100 % of 1024 x 768", {15360, 11520}, 100},
    {"30 % of 1024 x 768", {15360, 11520}, 30},
    {"100 % of 1280 x 1024", {19200, 15360}, 100},
    {"30 % of 1280 x 1024", {19200, 15360}, 30},
    {"100 % of 1920 x 1080", {28800, 16200}, 100},
    {"30 % of 1920 x 1080", {28800, 16200}, 30},
};

// The desktop work area of a screen of `screenTwips`, in pixels: the
// platform's own work area in proportion, as the main windows take it.
QRect WorkArea(QSizeF screenTwips) {
    const QSizeF screen = platform::ScreenSizeTwips();
    const QSizeF work = platform::WorkAreaTwips();
    return {0, 0, platform::TwipsToPixels(work.width() / screen.width() * screenTwips.width()),
            platform::TwipsToPixels(work.height() / screen.height() * screenTwips.height())};
}

// What a case opens its window in: a program over a working folder seeded
// from data/, with the station of the side given and a long log, and the
// windows the program does not keep.
struct Opened {
    explicit Opened(int stationSide) : f(stationSide) {
        testing_support::SeedWorkingFolder(f.t);
        f.WriteLog(LongLog(f.program().counties));
    }
    Program& program() { return f.program(); }
    MainWindowFixture f;
    std::shared_ptr<void> keep;  // what an owned window needs, outliving it
    std::unique_ptr<QWidget> own;
};

// The screen of `screenTwips` with its work area, for the windows that lay
// themselves out on both.
platform::ScreenTwips ScreenOf(QSizeF screenTwips) {
    const QRect work = WorkArea(screenTwips);
    return {screenTwips, QRectF(platform::PixelsToTwips(work.left()), platform::PixelsToTwips(work.top()),
                                platform::PixelsToTwips(work.width()),
                                platform::PixelsToTwips(work.height()))};
}

platform::Form& MainWindow(Opened& o, QSizeF screen) {
    o.f.t.dialogs.msgAnswers.push_back(platform::vbYes);  // continue the log
    mainwindow::MainWindow& w = o.program().OpenMainWindow();
    w.Form_Load(screen);
    return w;
}

platform::Form& StationDialog(Opened& o, QSizeF screen) {
    setup::PrepareFolders(o.program());
    setup::frmStationID& d = o.program().frmStationID();
    d.Form_Load(screen);
    return d;
}

platform::Form& SummaryDialog(Opened& o, QSizeF screen) {
    auto dialog = std::make_unique<scoring::WICabrilloOut>(o.program(), screen);
    platform::Form& shown = *dialog;
    o.own = std::move(dialog);
    return shown;
}

platform::Form& CountyList(Opened& o, QSizeF screen) {
    entry::frmCountyList& list = o.program().frmCountyList();
    list.Form_Load(screen);
    return list;
}

template <class W, class... Args>
platform::Form& Own(Opened& o, Args&&... args) {
    auto window = std::make_unique<W>(std::forward<Args>(args)...);
    platform::Form& shown = *window;
    o.own = std::move(window);
    return shown;
}

// A window the program makes for one showing, built for the screen.
template <class W>
platform::Form& Made(Opened& o, QSizeF screen) {
    return Own<W>(o, o.program(), ScreenOf(screen));
}

platform::Form& WinKeyWindow(Opened& o, QSizeF screen) {
    auto layer = std::make_shared<keyers::WinKeyLayer>(o.program());
    o.keep = layer;
    return Own<keyers::frmWinKey>(o, o.program(), *layer, ScreenOf(screen));
}

platform::Form& RigWindowFor(const char* rig, Opened& o, QSizeF screen) {
    auto& w = static_cast<rig::RigControlfrm&>(Made<rig::RigControlfrm>(o, screen));
    const QList<QListWidgetItem*> items = w.List1->findItems(QString::fromLatin1(rig), Qt::MatchExactly);
    if (!items.isEmpty()) w.List1->setCurrentItem(items.front());
    return w;
}

// The privileges chart after a click on the class button given.
platform::Form& PrivilegesChart(QPushButton* rig::frmBandPlan::*button, Opened& o, QSizeF screen) {
    auto& chart = static_cast<rig::frmBandPlan&>(Own<rig::frmBandPlan>(
        o, o.program(), ScreenOf(screen).workArea.size(), screen.width()));
    (chart.*button)->click();
    return chart;
}

// The edit dialog of the station side over the log's last contact.
platform::Form& EditDialog(Opened& o, QSizeF screen) {
    MainWindow(o, screen);
    o.program().entry.EditRecordNo = o.program().log.QSOCount;
    entry::ContactEditDialog& d = o.program().contactEditDialog();
    d.Form_Load(screen);
    return d;
}

// A dialog the program makes on first use, laid out for the screen.
template <auto Dialog>
platform::Form& Loaded(Opened& o, QSizeF screen) {
    auto& dialog = (o.program().*Dialog)();
    dialog.Form_Load(ScreenOf(screen));
    return dialog;
}

platform::Form& RateGraph(Opened& o, QSizeF screen) {
    MainWindow(o, screen);
    auto& graph = static_cast<scoring::GraphQSO&>(Own<scoring::GraphQSO>(o, o.program()));
    graph.Form_Load(ScreenOf(screen));
    return graph;
}

platform::Form& CountyMap(Opened& o, QSizeF screen) {
    MainWindow(o, screen);
    auto& map = static_cast<scoring::CountyMapWI&>(Own<scoring::CountyMapWI>(o, o.program()));
    map.Form_Load(ScreenOf(screen));
    return map;
}

platform::Form& SpectrumMap(Opened& o, QSizeF screen) {
    return Own<spotting::SpectrumMap>(o, o.program(), screen, ScreenOf(screen).workArea.size());
}

// The main window after the operator entered the log's last contact again:
// the status line holds the duplicate message, or the partial-dupe warning
// given when the call is left, with the record number.
enum class Dupe { Full, Partial };

platform::Form& MainWindowAfterDupe(Dupe dupe, Opened& o, QSizeF screen) {
    const LogContact last = NthContact(kLogLength - 1, o.program().counties);
    o.program().station.CurrentBand = last.band;
    o.program().station.CurrentMode = last.mode;
    auto& w = static_cast<mainwindow::MainWindow&>(MainWindow(o, screen));
    w.entry().txtCall->setText(last.call);
    if (dupe == Dupe::Partial) {
        w.entry().DupCheck2();
    } else {
        if (w.side() == mainwindow::Side::In) w.entry().txtCntry->setText(last.spc);
        w.entry().txtSec->setText(last.county);
        w.entry().Mains();
    }
    EXPECT_TRUE(w.entry().lblDialog->text().contains(QStringLiteral("Rec# %1").arg(kLogLength)))
        << w.entry().lblDialog->text().toStdString();
    return w;
}

// The main window with the longest values its score panel is made for:
// seven digits with grouping.
platform::Form& MainWindowWithLongestScores(Opened& o, QSizeF screen) {
    auto& w = static_cast<mainwindow::MainWindow&>(MainWindow(o, screen));
    for (QLabel* value : {w.lblTotCon, w.lblsectogo, w.lblTotSec, w.lblTotScore, w.lblAQSO20,
                          w.lblAQSO60})
        value->setText(QStringLiteral("9,999,999"));
    return w;
}

// The main window in Post Contest Mode: the time and date boxes stand over
// the partial-dupe list, which moves down.
platform::Form& MainWindowAfterTheContest(Opened& o, QSizeF screen) {
    auto& w = static_cast<mainwindow::MainWindow&>(MainWindow(o, screen));
    w.entry().mnuPostContest_Click();
    return w;
}

// The main window with a recent contact clicked: the edit and delete buttons
// show in the bottom row.
platform::Form& MainWindowWithAContactClicked(Opened& o, QSizeF screen) {
    auto& w = static_cast<mainwindow::MainWindow&>(MainWindow(o, screen));
    w.ListView1->setCurrentIndex(w.ListView1->model()->index(0, 0));
    w.ListView1_Click();
    return w;
}

struct WindowCase {
    const char* name;
    int stationSide;  // 0 inside the party state, 1 outside
    std::function<platform::Form&(Opened&, QSizeF screen)> open;
    // The main windows follow the Form Size command; the others are met at
    // full size only.
    bool followsFormSize = false;
    // The county map names its counties in tooltips only: no text to measure.
    bool showsTexts = true;
    // Controls the design lays over each other on purpose.
    std::vector<testing_support::StackedPair> stackedOnPurpose = {};
};

// The rate graph's plot edges and grid lines cross, as a plot's do.
std::vector<testing_support::StackedPair> PlotLines() {
    std::vector<testing_support::StackedPair> pairs;
    for (int a = 1; a <= 21; ++a)
        for (int b = a + 1; b <= 21; ++b)
            pairs.emplace_back(QStringLiteral("Line%1").arg(a), QStringLiteral("Line%1").arg(b));
    return pairs;
}

const WindowCase kWindows[] = {
    {"Infrm", 0, MainWindow, true},
    {"Outfrm", 1, MainWindow, true},
    {"Infrm after a duplicate", 0, std::bind_front(MainWindowAfterDupe, Dupe::Full), true},
    {"Outfrm after a duplicate", 1, std::bind_front(MainWindowAfterDupe, Dupe::Full), true},
    {"Infrm after a partial dupe", 0, std::bind_front(MainWindowAfterDupe, Dupe::Partial), true},
    {"Outfrm after a partial dupe", 1, std::bind_front(MainWindowAfterDupe, Dupe::Partial), true},
    {"Infrm with seven-digit scores", 0, MainWindowWithLongestScores, true},
    {"Outfrm with seven-digit scores", 1, MainWindowWithLongestScores, true},
    {"Infrm in Post Contest Mode", 0, MainWindowAfterTheContest, true},
    {"Outfrm in Post Contest Mode", 1, MainWindowAfterTheContest, true},
    {"Infrm with a contact clicked", 0, MainWindowWithAContactClicked, true},
    {"Outfrm with a contact clicked", 1, MainWindowWithAContactClicked, true},
    {"frmStationID", 0, StationDialog},
    {"frmStationID outside", 1, StationDialog},
    {"WICabrilloOut", 0, SummaryDialog},
    {"frmCountyList", 0, CountyList},
    {"CWFrm", 0, Made<keyers::CWFrm>},
    {"PhoneFrm", 0, Made<keyers::PhoneFrm>},
    {"BlindFrm", 0, Made<keyers::BlindFrm>},
    {"frmCodePractice", 0, Made<keyers::frmCodePractice>},
    {"frmWinKey", 0, WinKeyWindow},
    {"PacketSpotfrm", 0, Made<spotting::PacketSpotfrm>},
    {"RigControlfrm", 0, std::bind_front(RigWindowFor, "None")},
    {"RigControlfrm for an Icom", 0, std::bind_front(RigWindowFor, "Icom")},
    {"RigControlfrm for Other", 0, std::bind_front(RigWindowFor, "Other")},
    {"frmRigTune", 0, Made<rig::frmRigTune>},
    {"frmFrequencyTest", 0, Made<rig::frmFrequencyTest>},
    {"frmBandPlan Novice", 0, std::bind_front(PrivilegesChart, &rig::frmBandPlan::Command1)},
    {"frmBandPlan Technician", 0, std::bind_front(PrivilegesChart, &rig::frmBandPlan::Command2)},
    {"frmBandPlan Tech +", 0, std::bind_front(PrivilegesChart, &rig::frmBandPlan::Command3)},
    {"frmBandPlan General", 0, std::bind_front(PrivilegesChart, &rig::frmBandPlan::Command4)},
    {"frmBandPlan Advanced", 0, std::bind_front(PrivilegesChart, &rig::frmBandPlan::Command5)},
    {"frmBandPlan Extra", 0, std::bind_front(PrivilegesChart, &rig::frmBandPlan::Command6)},
    {"WIEditInfrm", 0, EditDialog},
    {"EditNoRstNoPtsOut", 1, EditDialog},
    {"frmCountyChange", 0, Loaded<&Program::frmCountyChange>},
    {"Form5", 0, Loaded<&Program::form5>},
    // The two dividing lines meet, as designed.
    {"Form6", 0, Loaded<&Program::form6>, false, true, {{"Line1", "Line2"}}},
    {"GraphQSO", 0, RateGraph, false, true, PlotLines()},
    {"CountyMapWI", 0, CountyMap, false, false},
    {"SpectrumMap", 0, SpectrumMap},
};

TEST(WindowTexts, EveryWindowIsLegibleAndOnTheScreen) {
    for (const Scale& scale : kScales) {
        const bool fullSize = scale.formSizePercent == 100;
        for (const WindowCase& c : kWindows) {
            if (!fullSize && !c.followsFormSize) continue;
            SCOPED_TRACE(QStringLiteral("%1 at %2").arg(c.name, scale.name).toStdString());
            Opened o(c.stationSide);
            o.program().station.FormSizePercent = scale.formSizePercent;
            platform::Form& window = c.open(o, scale.screen);
            window.show();
            testing_support::TextFit fit{&window, {}};
            fit.Walk();
            if (c.showsTexts) {
                EXPECT_GT(fit.measured, 0);
            }
            EXPECT_TRUE(fit.misfits.isEmpty()) << fit.misfits.join("\n").toStdString();
            if (fullSize) {
                const QStringList small =
                    testing_support::TextsBelowFloor(&window, testing_support::TextFloorPoints(&window));
                EXPECT_TRUE(small.isEmpty()) << small.join("\n").toStdString();
                const QStringList values = testing_support::ValuesOffTheirCaptions(&window);
                EXPECT_TRUE(values.isEmpty()) << values.join("\n").toStdString();
            }
            const QStringList off = testing_support::OffTheWorkArea(window, WorkArea(scale.screen));
            EXPECT_TRUE(off.isEmpty()) << off.join("\n").toStdString();
            const QStringList covering = testing_support::ControlsCovering(&window, c.stackedOnPurpose);
            EXPECT_TRUE(covering.isEmpty()) << covering.join("\n").toStdString();
        }
    }
}

// Pictures of every window as the operator meets it on the screen the
// tests run on, for a person to look at: run by tools/screenshots under a
// virtual X server, never by the suite. Each picture is the whole screen, so
// a window cut by its edges shows so.
TEST(WindowPictures, DISABLED_EveryWindowOnThisScreen) {
    const QString folder = qEnvironmentVariable("OSTREL_SCREENSHOTS");
    ASSERT_FALSE(folder.isEmpty()) << "OSTREL_SCREENSHOTS names the folder for the pictures";
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const WindowCase& c : kWindows) {
        // The windows of the case before are gone from the screen.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* left : QApplication::topLevelWidgets()) left->hide();
        Opened o(c.stationSide);
        platform::Form& window = c.open(o, platform::ScreenSizeTwips());
        window.show();
        window.raise();
        for (int i = 0; i < 10; ++i) QTest::qWait(20);
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
        const QString name = QString::fromLatin1(c.name).replace(' ', '_');
        EXPECT_TRUE(shot.save(QDir(folder).filePath(name + ".png"))) << c.name;
        window.hide();
    }
}

// Once a contact is stored, the partial-dupe line of Outfrm is opaque:
// "Last 20" and "On" stay whole and take the clicks.
TEST(WindowStacking, PartialDupeLineLeavesTheButtonsOfOutfrmWhole) {
    MainWindowFixture f(1);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    w.entry().txtCall->setText("K1ABC");
    w.entry().txtSec->setText("Adams");
    w.entry().Mains();
    ASSERT_EQ(f.program().log.QSOCount, 1);
    for (QPushButton* button : {w.cmdList, w.cmdDup}) {
        const QRect box = button->geometry();
        for (const QPoint p : {box.center(), QPoint(box.right() - 3, box.center().y())})
            EXPECT_EQ(w.childAt(p), button) << button->text().toStdString();
    }
}

// The summary dialog's "Done" with the focus, as it has once the Cabrillo
// file is written: Enter presses it and the dialog goes.
TEST(WindowButtons, EnterPressesTheFocusedDoneOfTheSummaryDialog) {
    Opened o(0);
    scoring::WICabrilloOut dialog(o.program(), QSizeF(19200, 15360));
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.Command3->setFocus();
    QTest::keyClick(dialog.Command3, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
}

// The faces the windows are designed in are found here as their
// metric-compatible stand-ins, so the design's captions take the room they
// were drawn for.
TEST(WindowTexts, DesignFacesAreFoundAsTheirStandIns) {
    const std::pair<const char*, const char*> faces[] = {
        {"MS Sans Serif", "Liberation Sans"}, {"Arial", "Liberation Sans"},
        {"Tahoma", "Liberation Sans"},        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
    };
    for (const auto& [design, screen] : faces) {
        const platform::FontModel model{.Name = design, .Size = 8.25f};
        EXPECT_EQ(QFontInfo(model.ToQFont()).family(), screen) << design;
    }
    const platform::FontModel other{.Name = "DejaVu Sans", .Size = 8.25f};
    EXPECT_EQ(QFontInfo(other.ToQFont()).family(), "DejaVu Sans");
}

}  // namespace

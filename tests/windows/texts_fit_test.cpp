// Every text a window shows fits the control that shows it: each window is
// opened as the operator meets it (the main windows over a long log, so the
// counts and scores are long), at full size and at the smallest form size,
// and every visible caption, button, option, check box, frame title, list
// heading and list cell is measured with its control's font against the room
// the control gives it.
//
// A window added to the program gets one line in kWindows.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "entry/county_list.h"
#include "keyers/blind_frm.h"
#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "logstore/county_table.h"
#include "mainwindow/main_window.h"
#include "platform/form.h"
#include "scoring/summary_dialog.h"
#include "setup/folders.h"
#include "setup/station_id.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"

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

// The scales a window is met at: the 1280 x 1024 screen of the operators who
// reported cut texts, with the main windows at full size and at the smallest
// size the Form Size command gives them, the screen the windows were
// designed for, and the test platform's own screen, which the keyer windows
// always scale to.
struct Scale {
    const char* name;
    QSizeF screen;
    std::uint8_t formSizePercent;
};
const Scale kScales[] = {
    {"100 % of 1280 x 1024", {19200, 15360}, 100},
    {"30 % of 1280 x 1024", {19200, 15360}, 30},
    {"100 % of 640 x 480", {9600, 7200}, 100},
    {"100 % of 800 x 600", {12000, 9000}, 100},
};

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
    std::unique_ptr<QWidget> own;
};

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

// The main window after the operator entered the log's last contact again:
// the status line holds the duplicate message, or the partial-dupe warning
// given when the call is left, with the record number.
enum class Dupe { Full, Partial };

platform::Form& MainWindowAfterDupe(Dupe dupe, Opened& o, QSizeF screen) {
    const LogContact last = NthContact(kLogLength - 1, o.program().counties);
    o.program().station.CurrentBand = last.band;
    o.program().station.CurrentMode = last.mode;
    auto& w = static_cast<mainwindow::MainWindow&>(MainWindow(o, screen));
    w.txtCall->setText(last.call);
    if (dupe == Dupe::Partial) {
        w.DupCheck2();
    } else {
        if (w.side() == mainwindow::Side::In) w.txtCntry->setText(last.spc);
        w.txtSec->setText(last.county);
        w.Mains();
    }
    EXPECT_TRUE(w.lblDialog->text().contains(QStringLiteral("Rec# %1").arg(kLogLength)))
        << w.lblDialog->text().toStdString();
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

struct WindowCase {
    const char* name;
    int stationSide;  // 0 inside the party state, 1 outside
    std::function<platform::Form&(Opened&, QSizeF screen)> open;
};

// The keyer windows scale themselves to the screen they run on.
const WindowCase kWindows[] = {
    {"Infrm", 0, MainWindow},
    {"Outfrm", 1, MainWindow},
    {"Infrm after a duplicate", 0, std::bind_front(MainWindowAfterDupe, Dupe::Full)},
    {"Outfrm after a duplicate", 1, std::bind_front(MainWindowAfterDupe, Dupe::Full)},
    {"Infrm after a partial dupe", 0, std::bind_front(MainWindowAfterDupe, Dupe::Partial)},
    {"Outfrm after a partial dupe", 1, std::bind_front(MainWindowAfterDupe, Dupe::Partial)},
    {"Infrm with seven-digit scores", 0, MainWindowWithLongestScores},
    {"Outfrm with seven-digit scores", 1, MainWindowWithLongestScores},
    {"frmStationID", 0, StationDialog},
    {"frmStationID outside", 1, StationDialog},
    {"WICabrilloOut", 0, SummaryDialog},
    {"frmCountyList", 0, CountyList},
    {"CWFrm", 0, [](Opened& o, QSizeF) -> platform::Form& { return o.program().cwFrm(); }},
    {"PhoneFrm", 0, [](Opened& o, QSizeF) -> platform::Form& { return o.program().phoneFrm(); }},
    {"BlindFrm", 0, [](Opened& o, QSizeF) -> platform::Form& { return o.program().blindFrm(); }},
};

// ---- Measuring ----

QString WithoutMnemonics(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QChar('&'));
    text.replace(QChar('\x01'), QChar('&'));
    return text;
}

struct Checker {
    QWidget* window;
    QStringList misfits;
    int measured = 0;

    QString Where(const QWidget* w) const {
        QString name = w->objectName();
        for (const QWidget* p = w->parentWidget(); p && name.isEmpty(); p = p->parentWidget())
            name = p->objectName() + "/" + w->metaObject()->className();
        return name;
    }

    void Report(const QWidget* w, const QString& text, QSize need, QSize room) {
        misfits << QStringLiteral("%1 \"%2\" needs %3x%4 px, has %5x%6")
                       .arg(Where(w), text)
                       .arg(need.width())
                       .arg(need.height())
                       .arg(room.width())
                       .arg(room.height());
    }

    // One line of text in `roomWidth`.
    void Line(const QWidget* w, const QFont& font, const QString& text, int roomWidth) {
        if (text.isEmpty()) return;
        ++measured;
        const int need = QFontMetrics(font).horizontalAdvance(text);
        if (need > roomWidth) Report(w, text, {need, 0}, {roomWidth, 0});
    }

    void Label(const QLabel* label) {
        if (label->text().isEmpty() || !label->pixmap().isNull()) return;
        const int m = label->margin();
        const QRect room = label->contentsRect().adjusted(m, m, -m, -m);
        const QFontMetrics fm(label->font());
        const QString text = label->text();
        ++measured;
        // A word-wrapped caption may take several lines, if they all fit.
        const int flags = static_cast<int>(label->alignment()) |
                          (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect need = fm.boundingRect(QRect(0, 0, room.width(), 1 << 20), flags, text);
        const bool fits = need.width() <= room.width() && need.height() <= room.height();
        if (!fits)
            Report(label, text + QStringLiteral("\" (one line %1 px)").arg(fm.horizontalAdvance(text)),
                   need.size(), room.size());
    }

    void Button(const QAbstractButton* button) {
        const QString text = WithoutMnemonics(button->text());
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (const auto* push = qobject_cast<const QPushButton*>(button)) {
            if (push->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
        } else if (qobject_cast<const QCheckBox*>(button)) {
            contents = QStyle::SE_CheckBoxContents;
        } else if (qobject_cast<const QRadioButton*>(button)) {
            contents = QStyle::SE_RadioButtonContents;
        }
        const QRect room = button->style()->subElementRect(contents, &option, button);
        Line(button, button->font(), text, room.width());
    }

    void Frame(const QGroupBox* frame) {
        // The title sits between margins of 8 px, with a blank after it.
        const QString text = WithoutMnemonics(frame->title());
        if (text.isEmpty()) return;
        Line(frame, frame->font(), text + ' ', frame->width() - 16);
    }

    void Columns(QAbstractItemView* view) {
        QHeaderView* header = platform::ColumnHeaderOf(view);
        QAbstractItemModel* model = view->model();
        if (!header || !model) return;
        QStyle* style = view->style();
        const int headerMargin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        const int cellMargin = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        for (int column = 0; column < header->count(); ++column) {
            if (header->isSectionHidden(column) || header->sectionSize(column) == 0) continue;
            const int width = header->sectionSize(column);
            if (!header->isHidden()) {
                int room = width - 2 * headerMargin;
                if (header->isSortIndicatorShown() && header->sortIndicatorSection() == column)
                    room -= style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header) + headerMargin;
                Line(header, header->font(),
                     model->headerData(column, Qt::Horizontal).toString(), room);
            }
            // The widest cell of the column speaks for it.
            QString widest;
            int widestNeed = 0;
            QFont widestFont;
            for (int row = 0; row < model->rowCount(); ++row) {
                if (auto* tree = qobject_cast<QTreeView*>(view); tree && tree->isRowHidden(row, {}))
                    continue;
                const QModelIndex index = model->index(row, column);
                const QVariant font = index.data(Qt::FontRole);
                const QFont cellFont = font.isValid() ? font.value<QFont>() : view->font();
                const QString text = index.data().toString();
                const int need = QFontMetrics(cellFont).horizontalAdvance(text);
                if (need > widestNeed) {
                    widest = text;
                    widestNeed = need;
                    widestFont = cellFont;
                }
            }
            Line(view, widestFont, widest, width - cellMargin);
        }
    }

    void Walk() {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window) || w->isWindow()) continue;
            if (auto* label = qobject_cast<QLabel*>(w)) {
                Label(label);
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                Button(button);
            } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
                Frame(frame);
            } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
                Columns(view);
            }
        }
    }
};

TEST(WindowTexts, EveryVisibleTextFitsItsControl) {
    for (const Scale& scale : kScales) {
        for (const WindowCase& c : kWindows) {
            SCOPED_TRACE(QStringLiteral("%1 at %2").arg(c.name, scale.name).toStdString());
            Opened o(c.stationSide);
            o.program().station.FormSizePercent = scale.formSizePercent;
            platform::Form& window = c.open(o, scale.screen);
            window.show();
            Checker check{&window, {}};
            check.Walk();
            EXPECT_GT(check.measured, 0);
            EXPECT_TRUE(check.misfits.isEmpty()) << check.misfits.join("\n").toStdString();
        }
    }
}

// Once a contact is stored, the partial-dupe line of Outfrm, made after the
// buttons beside the status line and opaque, lies beneath them: "Last 20"
// and "On" stay whole and take the clicks.
TEST(WindowStacking, PartialDupeLineLiesBeneathTheButtonsOfOutfrm) {
    MainWindowFixture f(1);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    w.txtCall->setText("K1ABC");
    w.txtSec->setText("Adams");
    w.Mains();
    ASSERT_EQ(f.program().log.QSOCount, 1);
    for (QPushButton* button : {w.cmdList, w.cmdDup}) {
        const QRect box = button->geometry();
        ASSERT_TRUE(box.intersects(w.lblDupe->geometry()));
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

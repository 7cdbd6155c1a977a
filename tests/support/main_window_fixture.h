#pragma once
// A program with the shipped county table, a station and a log, ready to
// load a main window of either side under the offscreen platform.
#include <QByteArray>
#include <QString>
#include <memory>

#include "logstore/contact_log.h"
#include "mainwindow/main_window.h"
#include "support/test_program.h"

namespace testing_support {

// One log.txt line.
QByteArray Contact(const QString& call, const QString& spc, const QString& county,
                   const QString& date, const QString& time, const QString& mode,
                   const QString& band, const QString& countySent = QString());

class MainWindowFixture {
public:
    // StationSide 0 gives Infrm, 1 Outfrm.
    explicit MainWindowFixture(int stationSide, const TestProgram::Options& options = {});

    TestProgram t;
    Program& program() { return t.program(); }

    void WriteLog(const QByteArray& lines);
    // Loads the window at the design screen size, answering the start-up
    // question with `answer` (Yes continues the log).
    mainwindow::MainWindow& Load(int answer = platform::vbYes);
    mainwindow::MainWindow& window() { return *window_; }
    // Types keys into whichever box of the loaded window has the focus, as
    // the keyboard would (a line end is Enter), letting events run after
    // each key.
    void Type(const QString& keys);

    // The texts of a list box, and of the recent-contacts list's column.
    static QStringList ListTexts(const class QListWidget* list);
    QStringList RecentColumn(int column);

private:
    mainwindow::MainWindow* window_ = nullptr;
};

}  // namespace testing_support

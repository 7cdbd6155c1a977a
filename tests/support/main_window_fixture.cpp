#include "support/main_window_fixture.h"

#include <QListWidget>
#include <QTreeView>

#include "logstore/county_table.h"
#include "setup/station.h"
#include "support/scoring_fixture.h"
#include "support/setup_fixture.h"

namespace testing_support {

QByteArray Contact(const QString& call, const QString& spc, const QString& county,
                   const QString& date, const QString& time, const QString& mode,
                   const QString& band, const QString& countySent) {
    logstore::ContactRecord r = MakeContact(call, mode, spc, county, countySent);
    r.QSODate = date;
    r.QSOTime = time;
    r.QSOBand = band;
    return logstore::LogFileRecord(r).toLatin1();
}

MainWindowFixture::MainWindowFixture(int stationSide, const TestProgram::Options& options)
    : t(options) {
    setup::Station& st = t->station;
    st.OwnCall = "N0CALL";
    st.OwnSPC = stationSide == 0 ? "WI" : "MN";
    st.OwnCountry = "USA";
    st.HomeCounty = "DAN";
    st.OperatingCounty = "DAN";
    st.CurrentMode = "CW";
    st.CurrentBand = "40";
    st.UTCOffsetHours = 5;
    st.FormSizePercent = 100;
    st.WorkedColor = 0x0000FF;     // red
    st.RemainingColor = 0x000000;  // black
    st.PartyState = "WI";
    st.StationSide = static_cast<std::uint8_t>(stationSide);
    st.RigType = "None";
    t.CopyDataFile("county2.txt");
    logstore::LoadCountyTable(t.program().counties, t.program().logPlace());
}

void MainWindowFixture::WriteLog(const QByteArray& lines) {
    TestProgram::WriteFile(t.workFile("log.txt"), lines);
}

mainwindow::MainWindow& MainWindowFixture::Load(int answer) {
    t.dialogs.msgAnswers.push_back(answer);
    window_ = &t->OpenMainWindow();
    window_->Form_Load(QSizeF(9600, 7200));
    return *window_;
}

void MainWindowFixture::Type(const QString& keys) { TypeKeys(*window_, keys); }

QStringList MainWindowFixture::ListTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList MainWindowFixture::RecentColumn(int column) {
    QStringList out;
    QAbstractItemModel* model = window_->ListView1->model();
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->index(row, column).data().toString();
    return out;
}

}  // namespace testing_support

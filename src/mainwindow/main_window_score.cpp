// The score panel and the worked lists of the main window.
#include <QLabel>
#include <QListWidget>

#include "mainwindow/main_window.h"
#include "platform/colors.h"
#include "program/program.h"
#include "scoring/worked.h"

namespace mainwindow {

namespace {
QStringList items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

void fill(QListWidget* list, const QStringList& texts) {
    list->clear();
    list->addItems(texts);
}
}  // namespace

QListWidget* MainWindow::countyToGoList() const { return side_ == Side::In ? List3 : List1; }

QLabel* MainWindow::countyWorkedHeading() const {
    return side_ == Side::In ? lblStation[8] : lblStation[5];
}

QLabel* MainWindow::countyToGoHeading() const { return lblStation[7]; }

void MainWindow::ShowScore() {
    try {
        const scoring::Tally& tally = program_.tally;
        lblTotCon->setText(scoring::FormatGrouped(tally.PHContacts));
        lblsectogo->setText(scoring::FormatGrouped(tally.CWContacts));
        // Only counties of the party state are multipliers; another text in
        // the worked list is listed but not counted.
        int multipliers = scoring::CountyMultipliers(program_.counties, items(List2));
        if (side_ == Side::In) multipliers += tally.StateProvWorkedCount;
        lblTotSec->setText(scoring::FormatGrouped(multipliers));
        lblTotScore->setText(scoring::FormatGrouped(static_cast<double>(tally.QSOPoints) * multipliers));
        if (side_ == Side::In)
            Label15->setText(QStringLiteral("States and Provinces Worked: ") +
                             QString::number(tally.StateProvWorkedCount));
    } catch (const std::exception&) {
        // The panel keeps what it showed.
    }
}

void MainWindow::ComputeRates() {
    const QDateTime utcNow =
        scoring::UtcFromLocal(program_.clock().LocalNow(), program_.station.UTCOffsetHours);
    std::optional<scoring::RateCounts> counts = scoring::CountRates(program_.log, utcNow);
    if (!counts) return;  // a contact without a readable time: the rates stay
    lblAQSO60->setText(QString::number(counts->last60));
    lblAQSO20->setText(QString::number(3 * counts->last20));
}

void MainWindow::FillCountyLists() {
    const QStringList worked = scoring::WorkedCounties(program_.log);
    fill(List2, worked);
    fill(countyToGoList(), scoring::CountiesToGo(program_.counties, worked));
    const bool in = side_ == Side::In;
    countyWorkedHeading()->setText((in ? QStringLiteral("Cnty Wkd - ") : QStringLiteral("Counties Worked - ")) +
                                   QString::number(List2->count()));
    countyToGoHeading()->setText((in ? QStringLiteral("Cnty Rem - ") : QStringLiteral("Counties To Go - ")) +
                                 QString::number(countyToGoList()->count()));
}

void MainWindow::UpdateCountyLists() {
    if (program_.log.QSOCount < 1) return;
    const QString county = program_.log.row(program_.log.QSOCount).QSOCounty;
    QStringList worked = items(List2);
    if (!scoring::ContainsText(worked, county)) {
        scoring::InsertSorted(worked, county);
        fill(List2, worked);
    }
    QListWidget* toGo = countyToGoList();
    for (int i = 0; i < toGo->count(); ++i)
        if (toGo->item(i)->text().compare(county, Qt::CaseInsensitive) == 0) {
            delete toGo->takeItem(i);
            break;
        }
    const bool in = side_ == Side::In;
    countyWorkedHeading()->setText((in ? QStringLiteral("Cnty Wkd - ") : QStringLiteral("Counties Worked - ")) +
                                   QString::number(List2->count()));
    countyToGoHeading()->setText((in ? QStringLiteral("Cnty Rem - ") : QStringLiteral("Counties To Go - ")) +
                                 QString::number(toGo->count()));
}

void MainWindow::RebuildStatesWorked() {
    scoring::RebuildStatesWorked(program_.log, program_.stateProvinces, program_.tally);
}

void MainWindow::ShowStatesWorked() {
    const QColor worked = platform::FromStoredColor(program_.station.WorkedColor);
    for (int k = 1; k <= setup::kStateProvinces; ++k)
        if (program_.tally.StateProvWorked[1][static_cast<std::size_t>(k)])
            platform::SetForeColor(Label10[static_cast<std::size_t>(k)], worked);
    program_.tally.StateProvWorkedCount = scoring::CountStatesWorked(program_.tally);
}

void MainWindow::CountPerBand() { scoring::CountPerBand(program_.log, program_.tally); }

void MainWindow::ShowDXWorked() {
    fill(List1, scoring::DXWorked(program_.log));
    lblStation[5]->setText(QStringLiteral("DX All - ") + QString::number(List1->count()));
}

void MainWindow::UpdateStatesWorked() {
    const int k = program_.stateProvinces.Find(program_.log.row(program_.log.QSOCount).QSOSPC);
    if (k == 0) return;
    scoring::Tally& tally = program_.tally;
    bool& worked = tally.StateProvWorked[1][static_cast<std::size_t>(k)];
    if (worked) return;
    worked = true;
    ++tally.StateProvWorkedCount;
    platform::SetForeColor(Label10[static_cast<std::size_t>(k)],
                           platform::FromStoredColor(program_.station.WorkedColor));
}

void MainWindow::ShowDXList() {
    const QString country = program_.log.row(program_.log.QSOCount).QSOSPC;
    scoring::Tally& tally = program_.tally;
    const int b = scoring::DXBandIndex(program_.station.CurrentBand);
    if (b >= 0) {
        auto& list = tally.BandDXList[static_cast<std::size_t>(b)];
        int& count = tally.DXCount[static_cast<std::size_t>(b)];
        if (static_cast<int>(list.size()) <= count) list.resize(static_cast<std::size_t>(count) + 1);
        list[static_cast<std::size_t>(count)] = country;
        ++count;
    }
    QStringList dx;
    for (int i = 0; i < List1->count(); ++i) dx << List1->item(i)->text();
    if (scoring::ContainsText(dx, country)) return;
    scoring::InsertSorted(dx, country);
    List1->clear();
    List1->addItems(dx);
    lblStation[5]->setText(QStringLiteral("DX All - ") + QString::number(List1->count()));
}

}  // namespace mainwindow

#include "spotting/spot_list.h"

#include <QTreeWidget>

namespace spotting {

void AddSpotRow(QTreeWidget& list, const SpotRow& row) {
    if (list.updatesEnabled()) list.setUpdatesEnabled(false);
    if (list.topLevelItemCount() > kSpotListRows - 1)
        delete list.takeTopLevelItem(kSpotListRows - 1);
    QStringList cells;
    cells.reserve(static_cast<qsizetype>(row.cells.size()));
    for (const QString& cell : row.cells) cells.append(cell);
    auto* item = new QTreeWidgetItem(cells);
    // The header's alignments: "Frequency" right, "Status" centred.
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(3, Qt::AlignHCenter | Qt::AlignVCenter);
    list.insertTopLevelItem(0, item);
}

void ShowSpotRows(QTreeWidget& list) {
    if (!list.updatesEnabled()) list.setUpdatesEnabled(true);
}

}  // namespace spotting

#include "entry/recent_contacts_model.h"

#include <QDate>
#include <QTime>
#include <algorithm>

#include "logstore/contact_log.h"
#include "scoring/worked.h"

namespace entry {

RecentContactsModel::RecentContactsModel(const logstore::ContactLog& log, bool inState,
                                         QObject* parent)
    : QAbstractTableModel(parent), log_(log), inState_(inState) {
    headings_ = inState ? QStringList{"Rec#", "Call", "SPC", "County", "Date/Time", "Mo", "Bnd",
                                      "County Sent"}
                        : QStringList{"Rec#", "Call", "County", "Date/Time", "Mo", "Bnd"};
}

void RecentContactsModel::Refill(int first) {
    beginResetModel();
    records_.clear();
    for (int i = log_.QSOCount; i >= std::max(first, 1); --i) records_.push_back(i);
    endResetModel();
}

void RecentContactsModel::Show(std::vector<int> records) {
    beginResetModel();
    records_ = std::move(records);
    endResetModel();
}

int RecentContactsModel::RecordAt(int row) const {
    if (row < 0 || row >= static_cast<int>(records_.size())) return 0;
    return records_[static_cast<std::size_t>(row)];
}

namespace {
// "mm/dd hh:nn" from the stored date and time.
QString dateTimeText(const logstore::ContactRecord& r) {
    std::optional<QDateTime> moment = scoring::ContactMoment(r);
    if (!moment) return r.QSODate + " " + r.QSOTime;
    return moment->toString(QStringLiteral("MM/dd HH:mm"));
}
}  // namespace

QString RecentContactsModel::CellText(int row, int column) const {
    const int record = RecordAt(row);
    if (record < 1 || record > log_.QSOCount) return {};
    const logstore::ContactRecord& r = log_.row(record);
    if (inState_) {
        switch (column) {
        case 0: return QString::number(record);
        case 1: return r.QSOCall;
        case 2: return r.QSOSPC;
        case 3: return r.QSOCounty;
        case 4: return dateTimeText(r);
        case 5: return r.QSOMode;
        case 6: return r.QSOBand;
        case 7: return r.QSOCountySent;
        default: return {};
        }
    }
    switch (column) {
    case 0: return QString::number(record);
    case 1: return r.QSOCall;
    case 2: return r.QSOCounty;
    case 3: return dateTimeText(r);
    case 4: return r.QSOMode;
    case 5: return r.QSOBand;
    default: return {};
    }
}

void RecentContactsModel::SortOnce(int column) {
    beginResetModel();
    std::vector<std::pair<QString, int>> keyed;
    keyed.reserve(records_.size());
    for (std::size_t row = 0; row < records_.size(); ++row)
        keyed.emplace_back(CellText(static_cast<int>(row), column), records_[row]);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    for (std::size_t row = 0; row < keyed.size(); ++row) records_[row] = keyed[row].second;
    endResetModel();
}

int RecentContactsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(records_.size());
}

int RecentContactsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant RecentContactsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return CellText(index.row(), index.column());
}

QVariant RecentContactsModel::headerData(int section, Qt::Orientation orientation,
                                         int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= headings_.size()) return {};
    return headings_[section];
}

}  // namespace entry

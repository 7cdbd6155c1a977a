#pragma once
// The rows of the recent-contacts list: record numbers, newest first, read
// from the contact table when shown, so that listing all 11,000 contacts
// builds no item per row.
#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace logstore {
struct ContactLog;
}

namespace entry {

class RecentContactsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // In-state lists show the state/province/country and the county sent.
    RecentContactsModel(const logstore::ContactLog& log, bool inState, QObject* parent = nullptr);

    // Lists records QSOCount down to `first`.
    void Refill(int first);
    // Lists exactly these records, in this order.
    void Show(std::vector<int> records);
    // Sorts the rows once by the text of `column`, ascending.
    void SortOnce(int column);
    // The record number of a row.
    int RecordAt(int row) const;
    QString CellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const logstore::ContactLog& log_;
    bool inState_;
    QStringList headings_;
    std::vector<int> records_;
};

}  // namespace entry

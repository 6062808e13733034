#pragma once
// Shows the workspace's channel table; the table itself is the only storage.
// Row 0 of the table (the column titles) is the horizontal header, table row
// r >= 1 is model row r - 1.
#include <QAbstractTableModel>

#include "model/ChannelTable.h"

namespace corvane {

class ChannelTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ChannelTableModel(ChannelTable& table, QObject* parent = nullptr);
    ~ChannelTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static int TableRow(const QModelIndex& index) { return index.row() + 1; }
    QModelIndex IndexOf(int tableRow, int col) const { return index(tableRow - 1, col); }

    // Re-attaches to the table after it may have been replaced as a whole.
    void Rebind();

private:
    void OnCellChanged(int row, int col);

    ChannelTable& table_;
};

}  // namespace corvane

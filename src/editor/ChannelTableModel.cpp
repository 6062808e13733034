#include "editor/ChannelTableModel.h"

#include <QColor>

namespace corvane {

namespace {
const QColor kFixedColumnBackground(0xE8, 0xEC, 0xF2);
constexpr int kFixedColumns = 2;
}  // namespace

ChannelTableModel::ChannelTableModel(ChannelTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    table_.SetChangeListener([this](int row, int col) { OnCellChanged(row, col); });
}

ChannelTableModel::~ChannelTableModel() { table_.SetChangeListener(nullptr); }

void ChannelTableModel::Rebind() {
    beginResetModel();
    table_.SetChangeListener([this](int row, int col) { OnCellChanged(row, col); });
    endResetModel();
}

int ChannelTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kRowCount - 1; }

int ChannelTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ChannelTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(table_.GetCell(TableRow(index), index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (index.column() < kFixedColumns) return kFixedColumnBackground;
        return {};
    default:
        return {};
    }
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return QString::fromStdString(table_.GetCell(0, section));
    return QString::fromStdString(ChannelLabel(section + 1));
}

void ChannelTableModel::OnCellChanged(int row, int col) {
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex changed = IndexOf(row, col);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

}  // namespace corvane

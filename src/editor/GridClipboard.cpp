#include "editor/GridClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <algorithm>

#include "editor/MessageSink.h"
#include "editor/ChannelTableModel.h"
#include "editor/FrozenColumnTableView.h"
#include "editor/UndoHistory.h"
#include "editor/ChannelWindow.h"
#include "model/ChannelPaste.h"

namespace corvane {

GridClipboard::GridClipboard(ChannelWindow& editor, Workspace& ws, MessageSink& messages, QObject* parent)
    : QObject(parent), editor_(editor), ws_(ws), messages_(messages) {
    FrozenColumnTableView& grid = editor_.Grid();
    grid.setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid.FrozenView()->setSelectionMode(QAbstractItemView::ContiguousSelection);
}

std::pair<int, int> GridClipboard::SelectedChannels() const {
    const FrozenColumnTableView& grid = editor_.Grid();
    const QModelIndexList selected = grid.selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        const auto [low, high] = std::minmax_element(selected.begin(), selected.end(),
                                                     [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
        return {ChannelTableModel::TableRow(*low), ChannelTableModel::TableRow(*high)};
    }
    const QModelIndex current = grid.currentIndex();
    if (!current.isValid()) return {0, -1};
    const int row = ChannelTableModel::TableRow(current);
    return {row, row};
}

QString GridClipboard::CopyText() const {
    const auto [first, last] = SelectedChannels();
    if (first < 1) return {};
    return QString::fromStdString(CopyChannels(ws_.channels, first, last));
}

void GridClipboard::Copy() const {
    const QString text = CopyText();
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
}

bool GridClipboard::PasteText(const QString& text) {
    editor_.CloseCellEditors();
    const QModelIndex current = editor_.Grid().currentIndex();
    if (!current.isValid()) return false;
    const int startRow = ChannelTableModel::TableRow(current);
    const Result<PastePlan> plan = PlanPaste(text.toStdString(), startRow, PasteRules{ws_.edition, ws_.channelMode});
    if (!plan.ok()) {
        messages_.Show(&editor_, QString::fromStdString(plan.message()));
        return false;
    }
    if (plan->rowCount == 0) return false;
    {
        const UndoHistory::Step step(&editor_.History(), PasteStepName(plan->rowCount));
        ApplyPaste(*plan, ws_.channels);
    }
    // Shows where the channels went; a Copy right after takes them again.
    const QAbstractItemModel* model = editor_.Grid().model();
    const QItemSelection pasted(model->index(startRow - 1, 0), model->index(startRow + plan->rowCount - 2, kColumnCount - 1));
    editor_.Grid().selectionModel()->select(pasted, QItemSelectionModel::ClearAndSelect);
    return true;
}

bool GridClipboard::Paste() { return PasteText(QGuiApplication::clipboard()->text()); }

}  // namespace corvane

#include "editor/UndoHistory.h"

#include "session/FrameActions.h"

namespace corvane {

QString EditStepName(int row, int col) { return QString::fromStdString(steps::EditName(row, col)); }

QString PasteStepName(int channels) { return QString::fromStdString(steps::PasteName(channels)); }

UndoHistory::UndoHistory(Workspace& ws, StepHistory& steps, QObject* parent)
    : QObject(parent), ws_(ws), steps_(steps) {}

UndoHistory::Step::Step(UndoHistory* history, const QString& name) : history_(history) {
    if (history_) history_->Begin(name);
}

UndoHistory::Step::~Step() {
    if (history_) history_->End();
}

void UndoHistory::Begin(const QString& name) {
    steps_.Begin(ws_, name.toStdString());
    emit stateChanged();
}

void UndoHistory::End() {
    const bool recorded = steps_.End(ws_);
    emit stateChanged();
    if (recorded) emit workspaceStepped();
}

bool UndoHistory::CanUndo() const { return steps_.CanUndo(); }
bool UndoHistory::CanRedo() const { return steps_.CanRedo(); }
QString UndoHistory::UndoName() const { return QString::fromStdString(steps_.UndoName()); }
QString UndoHistory::RedoName() const { return QString::fromStdString(steps_.RedoName()); }
int UndoHistory::StepCount() const { return steps_.StepCount(); }

Status UndoHistory::Undo() {
    if (!CanUndo()) return Status::Ok();
    emit aboutToRestore();
    return Restored(steps_.Undo(ws_));
}

Status UndoHistory::Redo() {
    if (!CanRedo()) return Status::Ok();
    emit aboutToRestore();
    return Restored(steps_.Redo(ws_));
}

Status UndoHistory::Restored(const std::optional<SnapshotDifference>& difference) {
    const Status saved = difference ? SaveAfterStep(ws_, *difference) : Status::Ok();
    emit restored();
    emit stateChanged();
    emit workspaceStepped();
    return saved;
}

void UndoHistory::SetLocked(bool locked) {
    if (steps_.Locked() == locked) return;
    steps_.SetLocked(locked);
    emit stateChanged();
}

}  // namespace corvane

#include "editor/UndoHistory.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <array>

#include "store/ConfigFiles.h"

namespace corvane {

namespace {

constexpr std::array<const char*, kColumnCount> kColumnNames{
    "label", "group", "RX frequency", "TX frequency", "CTCSS", "DCS", "scan", "band", "power", "scrambler", "compander"};

using SnapshotPtr = std::shared_ptr<const WorkspaceSnapshot>;

class SnapshotCommand final : public QUndoCommand {
public:
    SnapshotCommand(UndoHistory& history, const QString& name, SnapshotPtr before, SnapshotPtr after)
        : QUndoCommand(name), history_(history), before_(std::move(before)), after_(std::move(after)) {}

    void undo() override { history_.Move(*after_, *before_); }
    void redo() override {
        // Pushing happens after the action already ran.
        if (firstRedo_) {
            firstRedo_ = false;
            return;
        }
        history_.Move(*before_, *after_);
    }

private:
    UndoHistory& history_;
    SnapshotPtr before_;
    SnapshotPtr after_;
    bool firstRedo_ = true;
};

}  // namespace

QString EditStepName(int row, int col) {
    const char* column = ChannelTable::IsValidCell(row, col) ? kColumnNames[static_cast<std::size_t>(col)] : "cell";
    return QStringLiteral("Edit %1 of channel %2").arg(QString::fromLatin1(column)).arg(row);
}

QString PasteStepName(int channels) {
    return channels == 1 ? QStringLiteral("Paste 1 channel") : QStringLiteral("Paste %1 channels").arg(channels);
}

UndoHistory::UndoHistory(Workspace& ws, QObject* parent) : QObject(parent), ws_(ws), stack_(new QUndoStack(this)) {
    stack_->setUndoLimit(kUndoLimit);
    connect(stack_, &QUndoStack::indexChanged, this, &UndoHistory::stateChanged);
}

UndoHistory::~UndoHistory() {
    // The stack clears itself on the way out; nobody should hear of it.
    disconnect(stack_, nullptr, this, nullptr);
}

UndoHistory::Step::Step(UndoHistory* history, const QString& name) : history_(history) {
    if (history_) history_->Begin(name);
}

UndoHistory::Step::~Step() {
    if (history_) history_->End();
}

void UndoHistory::Begin(const QString& name) {
    if (depth_++ > 0) return;
    pendingName_ = name;
    WorkspaceSnapshot now = TakeSnapshot(ws_);
    if (lastAfter_ && *lastAfter_ == now) {
        pendingBefore_ = lastAfter_;
    } else {
        pendingBefore_ = std::make_shared<const WorkspaceSnapshot>(std::move(now));
    }
    emit stateChanged();
}

void UndoHistory::End() {
    if (depth_ == 0 || --depth_ > 0) return;
    auto after = std::make_shared<const WorkspaceSnapshot>(TakeSnapshot(ws_));
    SnapshotPtr before = std::move(pendingBefore_);
    if (!(*after == *before)) {
        lastAfter_ = after;
        stack_->push(new SnapshotCommand(*this, pendingName_, std::move(before), std::move(after)));
    }
    emit stateChanged();
}

bool UndoHistory::CanUndo() const { return !locked_ && depth_ == 0 && stack_->canUndo(); }
bool UndoHistory::CanRedo() const { return !locked_ && depth_ == 0 && stack_->canRedo(); }
QString UndoHistory::UndoName() const { return stack_->undoText(); }
QString UndoHistory::RedoName() const { return stack_->redoText(); }
int UndoHistory::StepCount() const { return stack_->count(); }

Status UndoHistory::Undo() {
    if (!CanUndo()) return Status::Ok();
    lastMove_ = Status::Ok();
    stack_->undo();
    return lastMove_;
}

Status UndoHistory::Redo() {
    if (!CanRedo()) return Status::Ok();
    lastMove_ = Status::Ok();
    stack_->redo();
    return lastMove_;
}

void UndoHistory::SetLocked(bool locked) {
    if (locked_ == locked) return;
    locked_ = locked;
    emit stateChanged();
}

Status UndoHistory::Move(const WorkspaceSnapshot& from, const WorkspaceSnapshot& to) {
    emit aboutToRestore();
    ApplyStep(ws_, from, to);
    // The next step starts from here, not from the last recorded state.
    lastAfter_.reset();
    const SnapshotDifference difference = Compare(from, to);
    Status saved;
    if (difference.ConfigFile()) saved = SaveConfigFile(ws_);
    if (difference.GroupFile()) {
        const Status groups = SaveGroupFile(ws_);
        if (saved.ok()) saved = groups;
    }
    lastMove_ = saved;
    emit restored();
    return saved;
}

}  // namespace corvane

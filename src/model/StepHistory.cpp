#include "model/StepHistory.h"

#include <array>

namespace corvane {

namespace steps {

namespace {
constexpr std::array<const char*, kColumnCount> kColumnNames{
    "label", "group", "RX frequency", "TX frequency", "CTCSS", "DCS", "scan", "band", "power", "scrambler", "compander"};
}

std::string EditName(int row, int col) {
    const char* column = ChannelTable::IsValidCell(row, col) ? kColumnNames[static_cast<std::size_t>(col)] : "cell";
    return "Edit " + std::string(column) + " of channel " + std::to_string(row);
}

std::string PasteName(int channels) {
    return channels == 1 ? std::string("Paste 1 channel") : "Paste " + std::to_string(channels) + " channels";
}

}  // namespace steps

void StepHistory::Begin(const Workspace& ws, std::string name) {
    if (depth_++ > 0) return;
    pendingName_ = std::move(name);
    WorkspaceSnapshot now = TakeSnapshot(ws);
    if (lastAfter_ && *lastAfter_ == now) {
        pendingBefore_ = lastAfter_;
    } else {
        pendingBefore_ = std::make_shared<const WorkspaceSnapshot>(std::move(now));
    }
}

bool StepHistory::End(const Workspace& ws) {
    if (depth_ == 0 || --depth_ > 0) return false;
    auto after = std::make_shared<const WorkspaceSnapshot>(TakeSnapshot(ws));
    SnapshotPtr before = std::move(pendingBefore_);
    if (*after == *before) return false;
    lastAfter_ = after;
    // A new step ends the steps that were undone.
    steps_.resize(done_);
    steps_.push_back(Step{std::move(pendingName_), std::move(before), std::move(after)});
    if (limit_ > 0 && steps_.size() > static_cast<std::size_t>(limit_)) steps_.pop_front();
    done_ = steps_.size();
    return true;
}

void StepHistory::Clear() {
    steps_.clear();
    done_ = 0;
    lastAfter_.reset();
}

std::string StepHistory::UndoName() const { return done_ > 0 ? steps_[done_ - 1].name : std::string(); }
std::string StepHistory::RedoName() const { return done_ < steps_.size() ? steps_[done_].name : std::string(); }

std::optional<SnapshotDifference> StepHistory::Undo(Workspace& ws) {
    if (!CanUndo()) return std::nullopt;
    const Step& step = steps_[--done_];
    return Move(ws, *step.after, *step.before);
}

std::optional<SnapshotDifference> StepHistory::Redo(Workspace& ws) {
    if (!CanRedo()) return std::nullopt;
    const Step& step = steps_[done_++];
    return Move(ws, *step.before, *step.after);
}

SnapshotDifference StepHistory::Move(Workspace& ws, const WorkspaceSnapshot& from, const WorkspaceSnapshot& to) {
    ApplyStep(ws, from, to);
    // The next step starts from here, not from the last recorded state.
    lastAfter_.reset();
    return Compare(from, to);
}

}  // namespace corvane

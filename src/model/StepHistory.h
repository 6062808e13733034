#pragma once
// The steps the user can take back, for every face of the program: each user
// action that changes the workspace is one step holding the workspace before
// and after it. Undo and Redo move the workspace between the two; which
// files must follow is the caller's (see SaveAfterStep in store/).
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "model/Workspace.h"
#include "model/WorkspaceSnapshot.h"

namespace corvane {

namespace steps {
inline constexpr std::string_view kNewFile = "New File";
inline constexpr std::string_view kModeDefault = "Mode Default";
inline constexpr std::string_view kModeCustom = "Mode Custom";
inline constexpr std::string_view kAutoGeneration = "Auto generation";
inline constexpr std::string_view kGroupReset = "Group reset";
inline constexpr std::string_view kImportSpreadsheet = "Import spreadsheet";
inline constexpr std::string_view kImportChirpCsv = "Import CHIRP CSV";
inline constexpr std::string_view kOpenImage = "Open image";
inline constexpr std::string_view kReadFromRadio = "Read from radio";
inline constexpr std::string_view kSetUp = "Set Up";
inline constexpr std::string_view kRecoverUnsaved = "Recover unsaved changes";

// "Edit RX frequency of channel 12", "Edit CTCSS of channel 3".
std::string EditName(int row, int col);
// "Paste 4 channels", "Paste 1 channel".
std::string PasteName(int channels);
}  // namespace steps

constexpr int kUndoLimit = 100;

class StepHistory {
public:
    explicit StepHistory(int limit = kUndoLimit) : limit_(limit) {}

    // Brackets one user action; steps opened inside another fold into the
    // outer one. End records the step when the workspace differs from its
    // start, and tells whether it did.
    void Begin(const Workspace& ws, std::string name);
    bool End(const Workspace& ws);
    bool StepOpen() const { return depth_ > 0; }

    bool CanUndo() const { return !locked_ && depth_ == 0 && done_ > 0; }
    bool CanRedo() const { return !locked_ && depth_ == 0 && done_ < steps_.size(); }
    std::string UndoName() const;
    std::string RedoName() const;
    int StepCount() const { return static_cast<int>(steps_.size()); }

    // Puts the workspace back to before (Undo) or after (Redo) the step and
    // returns what that changed; nullopt when there was nothing to move.
    std::optional<SnapshotDifference> Undo(Workspace& ws);
    std::optional<SnapshotDifference> Redo(Workspace& ws);

    // Forgets every step (the workspace was replaced from other files).
    void Clear();

    // While a transfer runs nothing is taken back.
    void SetLocked(bool locked) { locked_ = locked; }
    bool Locked() const { return locked_; }

private:
    using SnapshotPtr = std::shared_ptr<const WorkspaceSnapshot>;
    struct Step {
        std::string name;
        SnapshotPtr before;
        SnapshotPtr after;
    };

    SnapshotDifference Move(Workspace& ws, const WorkspaceSnapshot& from, const WorkspaceSnapshot& to);

    int limit_;
    std::deque<Step> steps_;
    std::size_t done_ = 0;  // steps_[0, done_) can be undone, the rest redone
    int depth_ = 0;
    bool locked_ = false;
    std::string pendingName_;
    SnapshotPtr pendingBefore_;
    SnapshotPtr lastAfter_;  // shared with the next step when nothing happened between
};

}  // namespace corvane

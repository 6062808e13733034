#pragma once
// A face that writes the channel files only at its save points (the desktop)
// also keeps the whole working set after every step in Data/recovery, so a
// crash, a kill or a power cut loses no edit. A run that ends through a save
// point removes it; the next start offers one a run left behind.
//
//     RecoveryKeeper keeper(ws.programFolder);
//     ... after each step:      keeper.Keep(ws);
//     ... after Exit's save:    keeper.Discard();
//
//     next start, before the working files are written:
//     auto left = FindLeftRecovery(folder);
//     ... after the frame's load: if (WorthOffering(**left, ws)) say RecoveryNotice(**left);
//     ... File > Recover Unsaved Changes...: TakeInRecovery(ws, **left) (session/FrameActions.h);
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/Status.h"
#include "model/Workspace.h"
#include "model/WorkspaceSnapshot.h"

namespace corvane {

inline constexpr std::string_view kRecoveryFolderName = "recovery";

// ProgramFolder/Data/recovery: the ten working files, as a set.
std::filesystem::path RecoveryFolder(const std::filesystem::path& programFolder);

// What a run left behind: the workspace as its last step left it.
struct LeftRecovery {
    WorkspaceSnapshot snapshot;
    std::chrono::system_clock::time_point keptAt;
};

// Every start, before the working files are written: an interrupted keep is
// finished or discarded (as RecoverInterruptedSave does for the working
// files), then the set is read back when it is complete and at least as new
// as every channel file (those only a save point writes; a later save point,
// here or in another program, supersedes it). nullopt when there is none, it
// is incomplete or older. An error when it cannot be read back.
Result<std::optional<LeftRecovery>> FindLeftRecovery(const std::filesystem::path& programFolder);

// After the frame's load: worth a word when it is of the edition in force
// (the access code chose it) and holds something the loaded set does not.
bool WorthOffering(const LeftRecovery& left, const Workspace& ws);

// The one message said once the frame is open.
std::string RecoveryNotice(const LeftRecovery& left);


class RecoveryKeeper {
public:
    explicit RecoveryKeeper(std::filesystem::path programFolder);

    // The workspace's ten files committed into the recovery folder as one
    // set; a workspace equal to the one kept last is not written again.
    Status Keep(const Workspace& ws);
    // The run ended through a save point: nothing is left to recover.
    Status Discard();

private:
    std::filesystem::path programFolder_;
    std::optional<WorkspaceSnapshot> kept_;
};

}  // namespace corvane

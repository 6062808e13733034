#pragma once
// The main frame's actions that rewrite the channel table and save files,
// shared by every face of the program: the Mode menu, New File, and the
// files that follow a step taken back or replayed.
#include <cstdint>
#include <functional>

#include "model/Status.h"
#include "model/Workspace.h"
#include "model/WorkspaceSnapshot.h"
#include "store/RecoverySet.h"

namespace corvane {

// Hears every failed save; the action goes on after each.
using SaveProblemSink = std::function<void(const Status&)>;

// Mode menu: ChannelMode and BandSelect, the group set-up reset, Port.txt
// and Group.txt as one set, then the mode's defaults (Default also empties the group
// layout first).
void SelectChannelMode(Workspace& ws, uint8_t mode, const SaveProblemSink& report);

// New File: the group set-up reset and Group.txt, then the defaults of the
// current mode.
void StartNewFile(Workspace& ws, const SaveProblemSink& report);

// After Undo or Redo: Port.txt and Group.txt rewritten (as one set) when
// their contents went back too.
Status SaveAfterStep(Workspace& ws, const SnapshotDifference& difference);

// File > Recover Unsaved Changes...: the workspace moved to what a killed
// run left (cells through SetCell, so a view follows), Port.txt and Group.txt
// saved as one set when their parts changed, as after Undo. The port stays.
Status TakeInRecovery(Workspace& ws, const LeftRecovery& left);

}  // namespace corvane

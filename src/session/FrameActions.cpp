#include "session/FrameActions.h"

#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ConfigFiles.h"
#include "store/SavePoint.h"

namespace corvane {

namespace {

void Report(const SaveProblemSink& report, const Status& status) {
    if (!status.ok() && report) report(status);
}

}  // namespace

void SelectChannelMode(Workspace& ws, uint8_t mode, const SaveProblemSink& report) {
    ws.channelMode = mode;
    ws.settings.BandSelect = kBandPmrLpd;
    SavePoint point(ws.programFolder);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveConfigFile(ws);
    ResetGroupSetup(ws.groups);
    (void)SaveGroupFile(ws);
    Report(report, point.Commit());
    if (mode == kModeDefault) ClearGroupLayout(ws.groups, ws.channels);
    FillDefaults(ws);
}

void StartNewFile(Workspace& ws, const SaveProblemSink& report) {
    ResetGroupSetup(ws.groups);
    Report(report, SaveGroupFile(ws));
    FillDefaults(ws);
}

Status SaveAfterStep(Workspace& ws, const SnapshotDifference& difference) {
    SavePoint point(ws.programFolder);
    // Staged in the save point: its Commit reports any failure.
    if (difference.ConfigFile()) (void)SaveConfigFile(ws);
    if (difference.GroupFile()) (void)SaveGroupFile(ws);
    return point.Commit();
}

Status TakeInRecovery(Workspace& ws, const LeftRecovery& left) {
    const WorkspaceSnapshot now = TakeSnapshot(ws);
    ApplyStep(ws, now, left.snapshot);
    return SaveAfterStep(ws, Compare(now, left.snapshot));
}

}  // namespace corvane

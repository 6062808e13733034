#include "store/FrameActions.h"

#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ConfigFiles.h"

namespace corvane {

namespace {

void Report(const SaveProblemSink& report, const Status& status) {
    if (!status.ok() && report) report(status);
}

}  // namespace

void SelectChannelMode(Workspace& ws, uint8_t mode, const SaveProblemSink& report) {
    ws.channelMode = mode;
    ws.settings.BandSelect = kBandPmrLpd;
    Report(report, SaveConfigFile(ws));
    ResetGroupSetup(ws.groups);
    Report(report, SaveGroupFile(ws));
    if (mode == kModeDefault) ClearGroupLayout(ws.groups, ws.channels);
    FillDefaults(ws);
}

void StartNewFile(Workspace& ws, const SaveProblemSink& report) {
    ResetGroupSetup(ws.groups);
    Report(report, SaveGroupFile(ws));
    FillDefaults(ws);
}

Status SaveAfterStep(Workspace& ws, const SnapshotDifference& difference) {
    Status saved;
    if (difference.ConfigFile()) saved = SaveConfigFile(ws);
    if (difference.GroupFile()) {
        const Status groups = SaveGroupFile(ws);
        if (saved.ok()) saved = groups;
    }
    return saved;
}

}  // namespace corvane

#include "session/ShownSet.h"

#include <algorithm>

#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/SavePoint.h"

namespace corvane {

// Staged in the caller's save point: its Commit reports any failure.
void StageShownSet(Workspace& ws, const std::vector<std::string>& savedByStep) {
    const auto saved = [&](const char* name) {
        return std::find(savedByStep.begin(), savedByStep.end(), name) != savedByStep.end();
    };
    if (!saved(kConfigFile)) (void)SaveConfigFile(ws);
    if (!saved(kGroupFile)) {
        // The group file's empty-text rule would change the workspace after
        // its step was recorded: the file is written from a copy.
        Workspace groupOnly;
        groupOnly.programFolder = ws.programFolder;
        groupOnly.groups = ws.groups;
        (void)SaveGroupFile(groupOnly);
    }
    (void)SaveChannelFiles(ws);
}

Status SaveShownSet(Workspace& ws, WhenUnchanged unchanged) {
    SavePoint point(ws.programFolder);
    StageShownSet(ws);
    if (unchanged == WhenUnchanged::Skip) point.SkipWhenUnchanged();
    return point.Commit();
}

}  // namespace corvane

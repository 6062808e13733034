#include "model/WorkspaceSnapshot.h"

#include "model/Frequency.h"

namespace corvane {

WorkspaceSnapshot TakeSnapshot(const Workspace& ws) {
    WorkspaceSnapshot snapshot{ws.channels, ws.settings, ws.groups, ws.edition, ws.channelMode};
    snapshot.channels.SetChangeListener(nullptr);
    return snapshot;
}

SnapshotDifference Compare(const WorkspaceSnapshot& a, const WorkspaceSnapshot& b) {
    SnapshotDifference difference;
    difference.cells = !(a.channels == b.channels);
    difference.settings = !(a.settings == b.settings);
    difference.groups = !(a.groups == b.groups);
    difference.edition = a.edition != b.edition;
    difference.channelMode = a.channelMode != b.channelMode;
    return difference;
}

void ApplyStep(Workspace& ws, const WorkspaceSnapshot& from, const WorkspaceSnapshot& to) {
    const SnapshotDifference difference = Compare(from, to);
    if (difference.settings) ws.settings = to.settings;
    if (difference.groups) ws.groups = to.groups;
    if (difference.channelMode) ws.channelMode = to.channelMode;
    if (difference.edition) {
        ws.edition = to.edition;
        RefreshPresetFrequencies(ws.presets, ws.edition);
    }
    if (!difference.cells) return;
    for (int row = 0; row < kRowCount; ++row) {
        for (int col = 0; col < kColumnCount; ++col) {
            const std::string& target = to.channels.GetCell(row, col);
            if (from.channels.GetCell(row, col) != target) ws.channels.SetCell(row, col, target);
        }
    }
}

}  // namespace corvane

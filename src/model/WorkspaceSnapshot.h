#pragma once
// A copy of everything a user action can change, taken before and after the
// action so it can be taken back and replayed.
#include <cstdint>

#include "model/ChannelTable.h"
#include "model/GroupTable.h"
#include "model/SettingsRecord.h"
#include "model/Workspace.h"

namespace corvane {

struct WorkspaceSnapshot {
    ChannelTable channels;  // cells only; never notifies anyone
    SettingsRecord settings;
    GroupTable groups;
    int16_t edition = 0;
    uint8_t channelMode = kModeDefault;

    bool operator==(const WorkspaceSnapshot&) const = default;
};

WorkspaceSnapshot TakeSnapshot(const Workspace& ws);

// Which parts differ between two snapshots.
struct SnapshotDifference {
    bool cells = false;
    bool settings = false;
    bool groups = false;
    bool edition = false;
    bool channelMode = false;

    bool Any() const { return cells || settings || groups || edition || channelMode; }
    // Port.txt holds the edition, the mode and the settings.
    bool ConfigFile() const { return settings || edition || channelMode; }
    bool GroupFile() const { return groups; }
};

SnapshotDifference Compare(const WorkspaceSnapshot& a, const WorkspaceSnapshot& b);

// Moves the workspace from `from` to `to`, writing only the parts that differ
// between the two. Whatever changed outside the step stays as it is now.
// Cells are written through SetCell, so a view attached to the table follows.
void ApplyStep(Workspace& ws, const WorkspaceSnapshot& from, const WorkspaceSnapshot& to);

}  // namespace corvane

// Snapshots of the workspace and moving between two of them.
#include <gtest/gtest.h>

#include "model/ChannelDefaults.h"
#include "model/WorkspaceSnapshot.h"
#include "workspace_fixtures.h"

namespace corvane {
namespace {

TEST(WorkspaceSnapshot, CompareNamesTheChangedParts) {
    Workspace ws = testing::PlanWorkspace(kEditionPmrLpd, kModeCustom);
    const WorkspaceSnapshot before = TakeSnapshot(ws);
    EXPECT_FALSE(Compare(before, TakeSnapshot(ws)).Any());
    ws.channels.SetCell(4, ColPower, "Low");
    SnapshotDifference difference = Compare(before, TakeSnapshot(ws));
    EXPECT_TRUE(difference.cells);
    EXPECT_FALSE(difference.ConfigFile() || difference.GroupFile());
    ws.groups.GroupSize[2] = 4;
    ws.settings.Squelch = 2;
    difference = Compare(before, TakeSnapshot(ws));
    EXPECT_TRUE(difference.GroupFile() && difference.ConfigFile());
    ws = testing::PlanWorkspace(kEditionPmrLpd, kModeCustom);
    ws.edition = kEditionKorea;
    EXPECT_TRUE(Compare(before, TakeSnapshot(ws)).ConfigFile());
}

TEST(WorkspaceSnapshot, ASnapshotNeverTalksToTheView) {
    Workspace ws = testing::PlanWorkspace(kEditionPmrLpd, kModeCustom);
    int notified = 0;
    ws.channels.SetChangeListener([&](int, int) { ++notified; });
    WorkspaceSnapshot snapshot = TakeSnapshot(ws);
    snapshot.channels.SetCell(1, ColPower, "Low");
    EXPECT_EQ(notified, 0);
}

TEST(WorkspaceSnapshot, ApplyStepWritesOnlyWhatTheStepChanged) {
    Workspace ws = testing::PlanWorkspace(kEditionPmrLpd, kModeCustom);
    const WorkspaceSnapshot before = TakeSnapshot(ws);
    ws.channels.SetFrequencyCell(433.2, 3, ColRxFreq);
    ws.groups.GroupSize[0] = 5;
    ws.edition = kEditionKorea;
    ws.channelMode = kModeDefault;
    const WorkspaceSnapshot after = TakeSnapshot(ws);
    // Made outside the step: must survive taking the step back.
    ws.channels.SetCell(9, ColScan, "No");
    ws.settings.CallTone = 0;

    std::vector<std::pair<int, int>> written;
    ws.channels.SetChangeListener([&](int row, int col) { written.emplace_back(row, col); });
    ApplyStep(ws, after, before);
    EXPECT_EQ(written, (std::vector<std::pair<int, int>>{{3, ColRxFreq}}));
    EXPECT_EQ(ws.channels.GetCell(3, ColRxFreq), "");
    EXPECT_EQ(ws.groups.GroupSize[0], 0);
    EXPECT_EQ(ws.edition, kEditionPmrLpd);
    EXPECT_EQ(ws.presets.count, PresetCountFor(kEditionPmrLpd));
    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_EQ(ws.channels.GetCell(9, ColScan), "No");
    EXPECT_EQ(ws.settings.CallTone, 0);

    ApplyStep(ws, before, after);
    EXPECT_EQ(ws.channels.GetCell(3, ColRxFreq), "433.200000");
    EXPECT_EQ(ws.edition, kEditionKorea);
    EXPECT_EQ(ws.presets.count, PresetCountFor(kEditionKorea));
    EXPECT_EQ(ws.groups.GroupSize[0], 5);
}

}  // namespace
}  // namespace corvane

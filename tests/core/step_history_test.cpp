// The undo history both faces share: steps, nesting, the limit and the
// branch a new step cuts off.
#include <gtest/gtest.h>

#include "model/ChannelDefaults.h"
#include "model/StepHistory.h"
#include "workspace_fixtures.h"

namespace corvane {
namespace {

void Edit(StepHistory& history, Workspace& ws, int row, std::string_view power) {
    history.Begin(ws, steps::EditName(row, ColPower));
    ws.channels.SetCell(row, ColPower, std::string(power));
    history.End(ws);
}

TEST(StepHistory, UndoRedoMoveBetweenTheStatesAndNameTheirSteps) {
    Workspace ws = testing::PlanWorkspace(kEditionPmrLpd, kModeCustom);
    StepHistory history;
    Edit(history, ws, 3, "Low");
    // A nested step folds into the outer one; an action that changes nothing is no step.
    history.Begin(ws, std::string(steps::kModeDefault));
    history.Begin(ws, "inner");
    ws.channelMode = kModeDefault;
    ws.channels.SetCell(4, ColPower, "Low");
    EXPECT_FALSE(history.End(ws));
    EXPECT_FALSE(history.CanUndo());  // not while a step is open
    EXPECT_TRUE(history.End(ws));
    history.Begin(ws, "nothing");
    EXPECT_FALSE(history.End(ws));
    EXPECT_EQ(history.StepCount(), 2);
    EXPECT_EQ(history.UndoName(), "Mode Default");

    const std::optional<SnapshotDifference> undone = history.Undo(ws);
    ASSERT_TRUE(undone);
    EXPECT_TRUE(undone->cells && undone->ConfigFile() && !undone->GroupFile());
    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_EQ(ws.channels.GetCell(4, ColPower), "High");
    EXPECT_EQ(history.UndoName(), "Edit power of channel 3");
    EXPECT_EQ(history.RedoName(), "Mode Default");
    history.Undo(ws);
    EXPECT_EQ(ws.channels.GetCell(3, ColPower), "High");
    EXPECT_FALSE(history.Undo(ws));
    history.Redo(ws);
    EXPECT_EQ(ws.channels.GetCell(3, ColPower), "Low");

    // A new step cuts off what could be redone.
    Edit(history, ws, 5, "Low");
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.StepCount(), 2);
    history.SetLocked(true);
    EXPECT_FALSE(history.Undo(ws));
    EXPECT_EQ(ws.channels.GetCell(5, ColPower), "Low");
}

TEST(StepHistory, KeepsOnlyTheNewestStepsUpToItsLimit) {
    Workspace ws = testing::PlanWorkspace(kEditionPmrLpd, kModeCustom);
    StepHistory history(3);
    for (int row = 1; row <= 5; ++row) Edit(history, ws, row, "Low");
    EXPECT_EQ(history.StepCount(), 3);
    while (history.Undo(ws)) {}
    EXPECT_EQ(ws.channels.GetCell(2, ColPower), "Low");
    EXPECT_EQ(ws.channels.GetCell(3, ColPower), "High");
}

}  // namespace
}  // namespace corvane

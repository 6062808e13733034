// What editing one grid cell means, for both faces: which editor opens, the
// frequency editor's keys and commits, and the pickers' writes.
#include <gtest/gtest.h>

#include "model/CellEditing.h"
#include "model/ToneTable.h"
#include "workspace_fixtures.h"

namespace corvane {
namespace {

using corvane::testing::PlanWorkspace;

TEST(CellEditing, TheEditorACellOpensFollowsModeColumnAndText) {
    Workspace ws = PlanWorkspace(kEditionPmrLpd, kModeDefault);
    // Default mode: frequencies and band are the plan's, the rest are pickers.
    EXPECT_EQ(EditorForCell(ws, 1, ColRxFreq).kind, CellEditorKind::None);
    EXPECT_EQ(EditorForCell(ws, 1, ColBand).kind, CellEditorKind::None);
    EXPECT_FALSE(TypingOpensTextEditor(ws, 1, ColRxFreq));
    ws.channels.SetCell(4, ColScan, std::string(kNo));
    const CellEditorChoice scan = EditorForCell(ws, 4, ColScan);
    EXPECT_EQ(scan.kind, CellEditorKind::Picker);
    EXPECT_EQ(scan.picker, PickerOfColumn(ColScan));
    EXPECT_EQ(scan.index, 0);  // "No" is the first entry
    const CellEditorChoice ctcss = EditorForCell(ws, 2, ColCtcss);
    EXPECT_EQ(ctcss.picker, 1);
    EXPECT_EQ(ctcss.index, 0);
    // Rows outside the channels and the label column open nothing.
    EXPECT_EQ(EditorForCell(ws, 0, ColScan).kind, CellEditorKind::None);
    EXPECT_EQ(EditorForCell(ws, kChannelCount + 1, ColScan).kind, CellEditorKind::None);
    EXPECT_EQ(EditorForCell(ws, 1, ColLabel).kind, CellEditorKind::None);

    ws.channelMode = kModeCustom;
    EXPECT_EQ(EditorForCell(ws, 1, ColTxFreq).kind, CellEditorKind::Text);
    EXPECT_TRUE(TypingOpensTextEditor(ws, 1, ColTxFreq));
    EXPECT_FALSE(TypingOpensTextEditor(ws, 1, ColCtcss));
    ws.channels.SetCell(1, ColBand, std::string(kWide));
    const CellEditorChoice band = EditorForCell(ws, 1, ColBand);
    EXPECT_EQ(band.kind, CellEditorKind::Picker);
    EXPECT_EQ(band.index, 1);  // "Wide" is the second entry
    for (int picker = 1; picker <= kPickerCount; ++picker) EXPECT_EQ(PickerOfColumn(PickerColumn(picker)), picker);
    EXPECT_EQ(PickerColumn(0), -1);
    EXPECT_EQ(PickerColumn(kPickerCount + 1), -1);
}

TEST(CellEditing, TheFrequencyEditorsKeysAndOpeningText) {
    EXPECT_EQ(FilterFrequencyKey(u'7'), u'7');
    EXPECT_EQ(FilterFrequencyKey(u','), u'.');  // a comma is typed as the point
    EXPECT_EQ(FilterFrequencyKey(u'.'), u'.');
    EXPECT_EQ(FilterFrequencyKey(u'Q'), u'Q');
    EXPECT_EQ(FilterFrequencyKey(8), char16_t{8});  // backspace
    EXPECT_EQ(FilterFrequencyKey(u'q'), std::nullopt);
    EXPECT_EQ(FilterFrequencyKey(u' '), std::nullopt);
    EXPECT_EQ(FilterFrequencyKey(u'\u00E9'), std::nullopt);

    Workspace ws = PlanWorkspace(kEditionPmrLpd, kModeCustom);
    ws.channels.SetFrequencyCell(446.00625, 3, ColRxFreq);
    // Enter, space and control keys open on the cell's text; a character replaces it.
    EXPECT_TRUE(OpensOnCellText(13));
    EXPECT_TRUE(OpensOnCellText(32));
    EXPECT_FALSE(OpensOnCellText('4'));
    EXPECT_EQ(TextEditorOpeningText(ws, 3, ColRxFreq, 13), "446.006250");
    EXPECT_EQ(TextEditorOpeningText(ws, 3, ColRxFreq, '4'), "4");
    EXPECT_EQ(TextEditorOpeningText(ws, 3, ColRxFreq, 0xE9), "\xC3\xA9");
    EXPECT_EQ(TextEditorOpeningText(ws, 3, ColRxFreq, 0x20AC), "\xE2\x82\xAC");
}

TEST(CellEditing, EnterAndLeavingCommitIntoTheEditorsCellOnly) {
    Workspace ws = PlanWorkspace(kEditionPmrLpd, kModeCustom);
    // RX also sets TX; TX alone.
    EXPECT_EQ(CommitFrequencyOnEnter(ws, {2, ColRxFreq}, "446.00625"), FrequencyCheck::Ok);
    EXPECT_EQ(ws.channels.GetCell(2, ColRxFreq), "446.006250");
    EXPECT_EQ(ws.channels.GetCell(2, ColTxFreq), "446.006250");
    EXPECT_EQ(CommitFrequencyOnLeave(ws, {2, ColTxFreq}, "433.075"), FrequencyCheck::Ok);
    EXPECT_EQ(ws.channels.GetCell(2, ColTxFreq), "433.075000");
    EXPECT_EQ(ws.channels.GetCell(2, ColRxFreq), "446.006250");

    // A refused entry: Enter empties the cell, leaving keeps it.
    EXPECT_EQ(CommitFrequencyOnLeave(ws, {2, ColTxFreq}, "460"), FrequencyCheck::RangeError);
    EXPECT_EQ(ws.channels.GetCell(2, ColTxFreq), "433.075000");
    EXPECT_EQ(CommitFrequencyOnLeave(ws, {2, ColTxFreq}, ""), FrequencyCheck::Empty);
    EXPECT_EQ(ws.channels.GetCell(2, ColTxFreq), "433.075000");
    EXPECT_EQ(CommitFrequencyOnEnter(ws, {2, ColTxFreq}, "446.001"), FrequencyCheck::DivideError);
    EXPECT_EQ(ws.channels.GetCell(2, ColTxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(2, ColRxFreq), "446.006250");

    // A cell that is no channel's frequency is never written, whatever the check says.
    const ChannelTable before = ws.channels;
    EXPECT_EQ(CommitFrequencyOnEnter(ws, {2, ColCtcss}, "446.00625"), FrequencyCheck::Ok);
    EXPECT_EQ(CommitFrequencyOnEnter(ws, {0, ColRxFreq}, "bad"), CheckFrequencyEntry("bad"));
    EXPECT_EQ(CommitFrequencyOnLeave(ws, {kChannelCount + 1, ColRxFreq}, "446.00625"), FrequencyCheck::Ok);
    EXPECT_EQ(ws.channels, before);
}

TEST(CellEditing, APickWritesItsEntryAndSwitchesTheOtherToneOff) {
    Workspace ws = PlanWorkspace(kEditionKorea, kModeCustom);
    const std::vector<std::string> dcs = PickerEntries(2, ws.edition);
    ASSERT_GT(dcs.size(), 5u);
    EXPECT_TRUE(ApplyPick(ws, 5, ColDcs, 2, 5));
    EXPECT_EQ(ws.channels.GetCell(5, ColDcs), dcs[5]);
    EXPECT_EQ(ws.channels.GetCell(5, ColCtcss), std::string(kCtcssOff));
    EXPECT_TRUE(ApplyPick(ws, 5, ColCtcss, 1, 3));
    EXPECT_EQ(ws.channels.GetCell(5, ColCtcss), PickerEntries(1, ws.edition)[3]);
    EXPECT_EQ(ws.channels.GetCell(5, ColDcs), std::string(kDcsOff));
    EXPECT_TRUE(ApplyPick(ws, 5, ColPower, PickerOfColumn(ColPower), 0));
    EXPECT_EQ(ws.channels.GetCell(5, ColPower), std::string(kLow));

    // A picker on another column, an index outside its entries or a row outside the channels: nothing.
    const ChannelTable before = ws.channels;
    EXPECT_FALSE(ApplyPick(ws, 5, ColScan, PickerOfColumn(ColPower), 0));
    EXPECT_FALSE(ApplyPick(ws, 5, ColPower, PickerOfColumn(ColPower), 2));
    EXPECT_FALSE(ApplyPick(ws, 5, ColDcs, 2, static_cast<int>(dcs.size())));
    EXPECT_FALSE(ApplyPick(ws, 0, ColPower, PickerOfColumn(ColPower), 1));
    EXPECT_EQ(ws.channels, before);
    EXPECT_TRUE(PickerEntries(0, ws.edition).empty());
    EXPECT_TRUE(PickerEntries(kPickerCount + 1, ws.edition).empty());
}

}  // namespace
}  // namespace corvane

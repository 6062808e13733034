#include <gtest/gtest.h>

#include <string>

#include "model/ChannelTable.h"
#include "model/GroupTable.h"

namespace corvane {
namespace {

class FillGroupColumnTest : public ::testing::Test {
protected:
    GroupTable groups;
    ChannelTable table;
};

TEST_F(FillGroupColumnTest, LaysOutNonEmptyGroupsFromChannelOne) {
    groups.GroupSize[0] = 3;
    groups.GroupSize[2] = 2;
    groups.GroupsEnabled = 5;
    table.SetCell(6, ColGroup, "J-9");  // stale layout is cleared
    FillGroupColumn(groups, table);

    const char* expected[] = {"", "A-1", "A-2", "A-3", "C-1", "C-2", ""};
    for (int row = 1; row <= 6; ++row) EXPECT_EQ(table.GetCell(row, ColGroup), expected[row]) << row;
    EXPECT_EQ(groups.GroupSlotCount, 2);
    EXPECT_EQ(groups.GroupSlotStart[0], 1);
    EXPECT_EQ(groups.GroupSlotEnd[0], 4);
    EXPECT_EQ(groups.GroupSlotLetter[0], 0);
    EXPECT_EQ(groups.GroupSlotStart[1], 4);
    EXPECT_EQ(groups.GroupSlotEnd[1], 6);
    EXPECT_EQ(groups.GroupSlotLetter[1], 2);
    EXPECT_EQ(groups.GroupSlotStart[2], 0);
    EXPECT_EQ(table.GetCell(0, ColGroup), "GROUP");
}

TEST_F(FillGroupColumnTest, DisabledGroupsLeaveAnEmptyColumnAndSlots) {
    groups.GroupSize[1] = 4;
    groups.GroupsEnabled = 0;
    groups.GroupSlotCount = 7;
    groups.GroupSlotStart[3] = 9;
    groups.GroupSlotEnd[10] = 9;
    groups.GroupSlotLetter[10] = 9;
    table.SetCell(1, ColGroup, "B-1");
    FillGroupColumn(groups, table);
    for (int row = 1; row <= kChannelCount; ++row) ASSERT_EQ(table.GetCell(row, ColGroup), "");
    EXPECT_EQ(groups.GroupSlotCount, 0);
    EXPECT_EQ(groups.GroupSlotStart, (std::array<uint8_t, kGroupSlotCount>{}));
    EXPECT_EQ(groups.GroupSlotEnd, (std::array<uint8_t, kGroupSlotCount>{}));
    EXPECT_EQ(groups.GroupSlotLetter, (std::array<uint8_t, kGroupSlotCount>{}));
    EXPECT_EQ(groups.GroupSize[1], 4);
}

TEST_F(FillGroupColumnTest, FullTotalFillsEveryChannelAndNoMore) {
    int written = 0;
    table.SetChangeListener([&](int row, int) {
        EXPECT_LE(row, kChannelCount);
        ++written;
    });
    // 9 × 25 + 30 = 255
    for (int g = 0; g < 9; ++g) groups.GroupSize[g] = 25;
    groups.GroupSize[9] = 30;
    groups.GroupsEnabled = 255;
    FillGroupColumn(groups, table);
    EXPECT_EQ(table.GetCell(1, ColGroup), "A-1");
    EXPECT_EQ(table.GetCell(25, ColGroup), "A-25");
    EXPECT_EQ(table.GetCell(26, ColGroup), "B-1");
    EXPECT_EQ(table.GetCell(226, ColGroup), "J-1");
    EXPECT_EQ(table.GetCell(255, ColGroup), "J-30");
    EXPECT_EQ(groups.GroupSlotCount, 10);
    EXPECT_EQ(groups.GroupSlotStart[9], 226);
    EXPECT_EQ(groups.GroupSlotLetter[9], 9);
    EXPECT_EQ(groups.GroupSlotEnd[8], 226);
    EXPECT_EQ(groups.GroupSlotEnd[9], 255);  // 256 does not fit a byte: held at 255
    EXPECT_EQ(written, 2 * kChannelCount);    // one clear and one write per channel
}

TEST_F(FillGroupColumnTest, OversizedGroupsFromAFileStayInsideTheTable) {
    groups.GroupSize.fill(99);
    groups.GroupsEnabled = 1;
    FillGroupColumn(groups, table);
    EXPECT_EQ(table.GetCell(255, ColGroup), "C-57");
    EXPECT_EQ(groups.GroupSlotCount, 10);
    EXPECT_EQ(groups.GroupSlotStart[2], 199);
    for (int s = 3; s < 10; ++s) {
        EXPECT_EQ(groups.GroupSlotStart[s], 255) << s;
        EXPECT_EQ(groups.GroupSlotEnd[s], 255) << s;
        EXPECT_EQ(groups.GroupSlotLetter[s], s) << s;
    }
    EXPECT_EQ(groups.GroupSlotStart[10], 0);
}

TEST(GroupTableResets, ClearSizesKeepsGenerationInputs) {
    GroupTable groups;
    groups.GroupSize.fill(5);
    groups.GroupsEnabled = 50;
    groups.GroupSlotCount = 10;
    groups.FreqSetStartChannel = "3";
    groups.FreqSetTarget = 0;
    groups.GroupSlotStart[0] = 1;
    ClearGroupSizes(groups);
    EXPECT_EQ(groups.GroupSize, (std::array<uint8_t, kGroupCount>{}));
    EXPECT_EQ(groups.GroupsEnabled, 0);
    EXPECT_EQ(groups.GroupSlotCount, 0);
    EXPECT_EQ(groups.FreqSetStartChannel, "3");
    EXPECT_EQ(groups.FreqSetTarget, 0);
    EXPECT_EQ(groups.GroupSlotStart[0], 1);
}

TEST(GroupTableResets, ResetGroupSetupRestoresEveryInputDefault) {
    GroupTable groups;
    groups.GroupSize[0] = 5;
    groups.GroupsEnabled = 5;
    groups.FreqSetStartChannel = "1";
    groups.FreqSetLastChannel = "9";
    groups.FreqSetStartFrequency = "446";
    groups.FreqSetTarget = 0;
    groups.FreqSetDirection = 1;
    groups.FreqSetBand = 1;
    groups.FreqSetScan = 0;
    groups.FreqSetStepIndex = 4;
    groups.ToneSetKind = 1;
    groups.ToneSetDirection = 1;
    groups.ToneSetStepIndex = 2;
    groups.ToneSetStartCode = "7";
    groups.ToneSetStartChannel = "2";
    groups.ToneSetLastChannel = "8";
    ResetGroupSetup(groups);
    EXPECT_EQ(groups, GroupTable{});
    EXPECT_EQ(groups.FreqSetTarget, kTargetRxTx);
    EXPECT_EQ(groups.FreqSetScan, 1);
}

TEST(GroupTableResets, ClearGroupLayoutEmptiesSlotsAndColumnButKeepsSizes) {
    GroupTable groups;
    ChannelTable table;
    groups.GroupSize[0] = 2;
    groups.GroupsEnabled = 2;
    FillGroupColumn(groups, table);
    ASSERT_EQ(table.GetCell(2, ColGroup), "A-2");
    ClearGroupLayout(groups, table);
    EXPECT_EQ(table.GetCell(1, ColGroup), "");
    EXPECT_EQ(table.GetCell(2, ColGroup), "");
    EXPECT_EQ(groups.GroupsEnabled, 0);
    EXPECT_EQ(groups.GroupSlotCount, 0);
    EXPECT_EQ(groups.GroupSlotEnd[0], 0);
    EXPECT_EQ(groups.GroupSize[0], 2);
}

TEST(GroupLetter, AThroughJ) {
    EXPECT_EQ(GroupLetter(0), 'A');
    EXPECT_EQ(GroupLetter(9), 'J');
}

}  // namespace
}  // namespace corvane

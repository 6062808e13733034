#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ChannelDefaults.h"
#include "model/Workspace.h"

namespace corvane {
namespace {

std::vector<std::string> RowCells(const Workspace& ws, int row) {
    std::vector<std::string> cells;
    for (int col = 0; col < kColumnCount; ++col) cells.push_back(ws.channels.GetCell(row, col));
    return cells;
}

using Cells = std::vector<std::string>;

class ChannelDefaultsTest : public ::testing::Test {
protected:
    Workspace ws;

    // Leaves every cell dirty so a fill has to write it.
    void Scribble() {
        for (int row = 1; row <= kChannelCount; ++row) {
            for (int col = 0; col < kColumnCount; ++col) ws.channels.SetCell(row, col, "x");
        }
    }
};

TEST_F(ChannelDefaultsTest, PmrLpdDefaultPlan) {
    ws.edition = kEditionPmrLpd;
    ws.channelMode = kModeDefault;
    Scribble();
    FillDefaults(ws);
    EXPECT_EQ(RowCells(ws, 1), (Cells{"[CH-001]", "", "446.006250", "446.006250", "[00] OFF", "[000] OFF", "Yes",
                                      "Narrow", "High", "Off", "Off"}));
    EXPECT_EQ(ws.channels.GetCell(8, ColBand), "Narrow");
    EXPECT_EQ(ws.channels.GetCell(8, ColRxFreq), "446.093750");
    EXPECT_EQ(RowCells(ws, 9), (Cells{"[CH-009]", "", "433.075000", "433.075000", "[00] OFF", "[000] OFF", "Yes",
                                      "Wide", "High", "Off", "Off"}));
    EXPECT_EQ(ws.channels.GetCell(77, ColTxFreq), "434.775000");
    EXPECT_EQ(RowCells(ws, 78),
              (Cells{"[CH-078]", "", "", "", "[00] OFF", "[000] OFF", "Yes", "Wide", "High", "Off", "Off"}));
    EXPECT_EQ(ws.channels.GetCell(255, ColLabel), "[CH-255]");
    EXPECT_EQ(ws.presets.count, 77);
}

TEST_F(ChannelDefaultsTest, KoreaDefaultPlan) {
    ws.edition = kEditionKorea;
    Scribble();
    FillDefaults(ws);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "423.187500");
    EXPECT_EQ(ws.channels.GetCell(2, ColRxFreq), "423.200000");
    EXPECT_EQ(ws.channels.GetCell(4, ColTxFreq), "423.225000");
    EXPECT_EQ(ws.channels.GetCell(65, ColBand), "Narrow");
    EXPECT_EQ(ws.channels.GetCell(65, ColRxFreq), "423.987500");
    EXPECT_EQ(ws.channels.GetCell(66, ColBand), "Wide");
    EXPECT_EQ(ws.channels.GetCell(66, ColRxFreq), "444.025000");
    EXPECT_EQ(ws.channels.GetCell(76, ColRxFreq), "444.150000");
    EXPECT_EQ(ws.channels.GetCell(77, ColRxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(77, ColBand), "Wide");
    EXPECT_EQ(ws.presets.count, 76);
}

TEST_F(ChannelDefaultsTest, CustomModeStartsEveryChannelEmptyAndNarrow) {
    for (const int16_t edition : {kEditionPmrLpd, kEditionKorea}) {
        ws.edition = edition;
        ws.channelMode = kModeCustom;
        Scribble();
        FillDefaults(ws);
        for (int row = 1; row <= kChannelCount; ++row) {
            ASSERT_EQ(RowCells(ws, row), (Cells{ChannelLabel(row), "", "", "", "[00] OFF", "[000] OFF", "Yes", "Narrow",
                                                "High", "Off", "Off"}))
                << row;
        }
        EXPECT_EQ(ws.channelMode, kModeCustom);
    }
}

TEST_F(ChannelDefaultsTest, EveryFillClearsTonesAndGroups) {
    for (const uint8_t mode : {kModeDefault, kModeCustom}) {
        ws.edition = kEditionPmrLpd;
        ws.channelMode = mode;
        Scribble();
        FillDefaults(ws);
        for (int row = 1; row <= kChannelCount; ++row) {
            ASSERT_EQ(ws.channels.GetCell(row, ColGroup), "");
            ASSERT_EQ(ws.channels.GetCell(row, ColCtcss), "[00] OFF");
            ASSERT_EQ(ws.channels.GetCell(row, ColDcs), "[000] OFF");
        }
    }
}

TEST_F(ChannelDefaultsTest, ResetToEditionDefaultsSwitchesToDefaultModeOnly) {
    ws.edition = kEditionKorea;
    ws.channelMode = kModeCustom;
    Scribble();
    ResetToEditionDefaults(ws);
    EXPECT_EQ(ws.channelMode, kModeDefault);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "423.187500");
    EXPECT_EQ(ws.channels.GetCell(65, ColBand), "Narrow");
    EXPECT_EQ(ws.channels.GetCell(66, ColBand), "Wide");
    EXPECT_EQ(ws.channels.GetCell(100, ColGroup), "");

    Workspace filled;
    filled.edition = kEditionKorea;
    FillDefaults(filled);
    EXPECT_EQ(ws.channels, filled.channels);
}

TEST_F(ChannelDefaultsTest, ApplyRowDefaultsByEdition) {
    ws.edition = kEditionPmrLpd;
    ApplyRowDefaults(ws, 8);
    ApplyRowDefaults(ws, 9);
    ApplyRowDefaults(ws, 0);  // header row counts as "outside 1 to 8"
    EXPECT_EQ(ws.channels.GetCell(8, ColBand), "Narrow");
    EXPECT_EQ(ws.channels.GetCell(9, ColBand), "Wide");
    EXPECT_EQ(ws.channels.GetCell(0, ColBand), "Wide");
    EXPECT_EQ(ws.channels.GetCell(9, ColScan), "Yes");
    EXPECT_EQ(ws.channels.GetCell(9, ColPower), "High");
    EXPECT_EQ(ws.channels.GetCell(9, ColScrambler), "Off");
    EXPECT_EQ(ws.channels.GetCell(9, ColCompander), "Off");
    EXPECT_EQ(ws.channels.GetCell(9, ColRxFreq), "");

    ws.edition = kEditionKorea;
    ApplyRowDefaults(ws, 9);
    EXPECT_EQ(ws.channels.GetCell(9, ColBand), "Narrow");

    ws.edition = 0;
    ApplyRowDefaults(ws, 20);
    EXPECT_EQ(ws.channels.GetCell(20, ColBand), "");
    ApplyRowDefaults(ws, 999);  // outside the table: nothing happens
}

TEST_F(ChannelDefaultsTest, WritesColumnsInOrder) {
    ws.edition = kEditionPmrLpd;
    std::vector<int> cols;
    ws.channels.SetChangeListener([&](int, int col) { cols.push_back(col); });
    ApplyRowDefaults(ws, 3);
    EXPECT_EQ(cols, (std::vector<int>{ColScan, ColBand, ColPower, ColScrambler, ColCompander}));
}

TEST_F(ChannelDefaultsTest, UnknownEditionWritesNoRowDefaultsOrFrequencies) {
    ws.edition = 0;
    FillDefaults(ws);
    EXPECT_EQ(ws.channels.GetCell(1, ColLabel), "[CH-001]");
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(1, ColBand), "");
    EXPECT_EQ(ws.channels.GetCell(1, ColCtcss), "[00] OFF");
}

}  // namespace
}  // namespace corvane

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "model/ChannelTable.h"

namespace corvane {
namespace {

TEST(ChannelLabel, ThreeDigitsWithLeadingZeros) {
    EXPECT_EQ(ChannelLabel(7), "[CH-007]");
    EXPECT_EQ(ChannelLabel(1), "[CH-001]");
    EXPECT_EQ(ChannelLabel(255), "[CH-255]");
}

TEST(FormatFrequency, SixDecimalsRoundedWithoutLeadingZero) {
    EXPECT_EQ(FormatFrequency(446.00625), "446.006250");
    EXPECT_EQ(FormatFrequency(433.075), "433.075000");
    EXPECT_EQ(FormatFrequency(423.2), "423.200000");
    EXPECT_EQ(FormatFrequency(444.15), "444.150000");
    EXPECT_EQ(FormatFrequency(446.0000004), "446.000000");
    EXPECT_EQ(FormatFrequency(446.0000006), "446.000001");
    EXPECT_EQ(FormatFrequency(449.9999996), "450.000000");
    EXPECT_EQ(FormatFrequency(0.5), ".500000");
    EXPECT_EQ(FormatFrequency(-0.5), "-.500000");
    EXPECT_EQ(FormatFrequency(-446.00625), "-446.006250");
    EXPECT_EQ(FormatFrequency(0.0), "");
}

TEST(FormatFrequency, ExtremeValuesDoNotOverflow) {
    EXPECT_FALSE(FormatFrequency(1e300).empty());
    EXPECT_EQ(FormatFrequency(1e300).substr(0, 3), "100");
    EXPECT_EQ(FormatFrequency(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(FormatFrequency(std::numeric_limits<double>::infinity()), "");
}

TEST(ChannelTable, StartsWithHeadersOnly) {
    const ChannelTable table;
    const std::vector<std::string> headers = {"No", "GROUP", "RX - FREQ", "TX - FREQ", "CTCSS", "DCS",
                                              "SCAN", "BAND", "POWER", "SCR", "COM"};
    for (int col = 0; col < kColumnCount; ++col) EXPECT_EQ(table.GetCell(0, col), headers[col]);
    EXPECT_EQ(table.GetCell(1, ColLabel), "");
    EXPECT_EQ(table.GetCell(255, ColCompander), "");
}

TEST(ChannelTable, CellsOutsideTheTableReadEmptyAndIgnoreWrites) {
    ChannelTable table;
    int notified = 0;
    table.SetChangeListener([&](int, int) { ++notified; });
    table.SetCell(256, 0, "x");
    table.SetCell(-1, 0, "x");
    table.SetCell(1, 11, "x");
    table.SetCell(1, -1, "x");
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(table.GetCell(256, 0), "");
    EXPECT_EQ(table.GetCell(1, 11), "");
    EXPECT_EQ(table, ChannelTable{});
}

TEST(ChannelTable, ListenerFollowsEveryWrite) {
    ChannelTable table;
    std::vector<std::pair<int, int>> seen;
    table.SetChangeListener([&](int row, int col) { seen.emplace_back(row, col); });
    table.SetCell(3, ColScan, "Yes");
    table.SetFrequencyCell(446.00625, 255, ColTxFreq);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(3, int(ColScan)));
    EXPECT_EQ(seen[1], std::make_pair(255, int(ColTxFreq)));
    EXPECT_EQ(table.GetCell(3, ColScan), "Yes");
}

TEST(ChannelTable, FrequencyCellHoldsTheTextFormAndZeroAsEmpty) {
    ChannelTable table;
    table.SetFrequencyCell(446.00625, 1, ColRxFreq);
    EXPECT_EQ(table.GetCell(1, ColRxFreq), "446.006250");
    table.SetFrequencyCell(0.0, 1, ColRxFreq);
    EXPECT_EQ(table.GetCell(1, ColRxFreq), "");
    table.SetFrequencyCell(423.225, 2, ColTxFreq);
    EXPECT_EQ(table.GetCell(2, ColTxFreq), "423.225000");
}

}  // namespace
}  // namespace corvane

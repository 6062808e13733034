// Frequency and tone runs of the automatic generation, with their wraps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ChannelTable.h"
#include "model/Generation.h"
#include "model/GroupTable.h"
#include "model/ToneTable.h"

namespace corvane {
namespace {

std::vector<std::string> Column(const ChannelTable& table, int col, int first, int last) {
    std::vector<std::string> cells;
    for (int row = first; row <= last; ++row) cells.push_back(table.GetCell(row, col));
    return cells;
}

FrequencyRun MakeRun(int first, int last, int64_t startHz, int64_t stepHz, int16_t direction) {
    FrequencyRun run;
    run.startChannel = first;
    run.lastChannel = last;
    run.startHz = startHz;
    run.stepHz = stepHz;
    run.direction = direction;
    run.target = kTargetRxTx;
    run.band = kBandNarrow;
    run.scan = true;
    return run;
}

TEST(GenerationSteps, StepPositionsToHertz) {
    EXPECT_EQ(FrequencyStepHz(0), 12'500);
    EXPECT_EQ(FrequencyStepHz(1), 25'000);
    EXPECT_EQ(FrequencyStepHz(2), 37'500);
    EXPECT_EQ(FrequencyStepHz(3), 50'000);
    EXPECT_EQ(FrequencyStepHz(4), 0);
    EXPECT_EQ(FrequencyStepHz(-1), 0);  // a typed text
    EXPECT_EQ(ToneStep(0), 1);
    EXPECT_EQ(ToneStep(8), 9);
    EXPECT_EQ(ToneStep(-1), 0);
    EXPECT_EQ(ToneStep(9), 0);
}

TEST(FrequencyRunTest, IncrementWrapKeepsCountingFromLowerLimit) {
    ChannelTable table;
    WriteFrequencyRun(MakeRun(1, 5, 449'900'000, 50'000, kIncrement), table);
    const std::vector<std::string> expected{"449.900000", "449.950000", "450.000000", "420.150000", "420.200000"};
    EXPECT_EQ(Column(table, ColRxFreq, 1, 5), expected);
    EXPECT_EQ(Column(table, ColTxFreq, 1, 5), expected);
    EXPECT_EQ(RunFrequencyHz(449'900'000, 50'000, kIncrement, 3), 420'150'000);
}

TEST(FrequencyRunTest, DecrementWrapKeepsCountingFromUpperLimit) {
    ChannelTable table;
    WriteFrequencyRun(MakeRun(1, 3, 420'012'500, 25'000, kDecrement), table);
    EXPECT_EQ(Column(table, ColRxFreq, 1, 3), (std::vector<std::string>{"420.012500", "449.975000", "449.950000"}));
}

TEST(FrequencyRunTest, PmrRunSetsBandScanAndOnlyTheChosenTarget) {
    ChannelTable table;
    table.SetCell(2, ColTxFreq, "433.075000");
    table.SetCell(2, ColCtcss, "[05] C77.0");
    FrequencyRun run = MakeRun(1, 8, 446'006'250, 12'500, kIncrement);
    run.target = kTargetRx;
    run.band = kBandWide;
    run.scan = false;
    WriteFrequencyRun(run, table);
    EXPECT_EQ(table.GetCell(1, ColRxFreq), "446.006250");
    EXPECT_EQ(table.GetCell(8, ColRxFreq), "446.093750");
    EXPECT_EQ(table.GetCell(2, ColTxFreq), "433.075000");
    EXPECT_EQ(table.GetCell(2, ColCtcss), "[05] C77.0");
    EXPECT_EQ(table.GetCell(8, ColBand), "Wide");
    EXPECT_EQ(table.GetCell(8, ColScan), "No");
    EXPECT_EQ(table.GetCell(9, ColRxFreq), "");
}

TEST(FrequencyRunTest, NoTargetOrBandSelectedWritesNeither) {
    ChannelTable table;
    FrequencyRun run = MakeRun(3, 4, 430'000'000, 12'500, kIncrement);
    run.target = kNoSelection;
    run.band = kNoSelection;
    WriteFrequencyRun(run, table);
    EXPECT_EQ(table.GetCell(3, ColRxFreq), "");
    EXPECT_EQ(table.GetCell(3, ColTxFreq), "");
    EXPECT_EQ(table.GetCell(3, ColBand), "");
    EXPECT_EQ(table.GetCell(3, ColScan), "Yes");
}

TEST(ToneRunTest, CtcssWrapsToFirstAndLastCode) {
    EXPECT_EQ(NextToneCode(70, 5, kIncrement, kToneCtcss), 1);
    EXPECT_EQ(NextToneCode(68, 5, kIncrement, kToneCtcss), 73);
    EXPECT_EQ(NextToneCode(3, 5, kDecrement, kToneCtcss), 73);
    EXPECT_EQ(NextToneCode(73, 5, kDecrement, kToneCtcss), 68);
    EXPECT_EQ(NextToneCode(40, 5, kNoSelection, kToneCtcss), 40);
    EXPECT_EQ(NextToneCode(207, 3, kIncrement, kToneDcs), 1);
    EXPECT_EQ(NextToneCode(2, 3, kDecrement, kToneDcs), 208);

    ChannelTable table;
    ToneRun run{kToneCtcss, 70, 1, 4, 5, kIncrement};
    WriteToneRun(run, 2, table);
    EXPECT_EQ(Column(table, ColCtcss, 1, 4),
              (std::vector<std::string>{CtcssLabel(70), CtcssLabel(1), CtcssLabel(6), CtcssLabel(11)}));
    EXPECT_EQ(table.GetCell(1, ColDcs), "[000] OFF");

    run = ToneRun{kToneCtcss, 3, 10, 12, 5, kDecrement};
    WriteToneRun(run, 2, table);
    EXPECT_EQ(Column(table, ColCtcss, 10, 12),
              (std::vector<std::string>{CtcssLabel(3), CtcssLabel(73), CtcssLabel(68)}));
}

TEST(ToneRunTest, DcsUsesTheEditionListAndClearsCtcss) {
    for (int16_t edition : {int16_t{2}, int16_t{3}}) {
        ChannelTable table;
        table.SetCell(1, ColCtcss, "[05] C77.0");
        WriteToneRun(ToneRun{kToneDcs, 207, 1, 4, 3, kIncrement}, edition, table);
        EXPECT_EQ(Column(table, ColDcs, 1, 4),
                  (std::vector<std::string>{DcsLabel(207, edition), DcsLabel(1, edition), DcsLabel(4, edition),
                                            DcsLabel(7, edition)}));
        EXPECT_EQ(table.GetCell(1, ColCtcss), "[00] OFF");
    }
}

TEST(ToneRunTest, NoKindSelectedWritesNothing) {
    ChannelTable table;
    WriteToneRun(ToneRun{kNoSelection, 5, 1, 4, 1, kIncrement}, 2, table);
    EXPECT_EQ(table.GetCell(1, ColCtcss), "");
    EXPECT_EQ(table.GetCell(1, ColDcs), "");
}

}  // namespace
}  // namespace corvane

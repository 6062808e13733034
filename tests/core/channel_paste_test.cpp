// Channels to and from tab-separated text: the copy layout, the paste
// layouts and every check a pasted cell must pass.
#include <gtest/gtest.h>

#include "model/ChannelDefaults.h"
#include "model/ChannelPaste.h"
#include "model/ToneTable.h"
#include "model/Workspace.h"

namespace corvane {
namespace {

constexpr std::string_view kTitles = "No\tGROUP\tRX - FREQ\tTX - FREQ\tCTCSS\tDCS\tSCAN\tBAND\tPOWER\tSCR\tCOM\n";
const PasteRules kCustom{kEditionPmrLpd, kModeCustom};
const PasteRules kDefault{kEditionPmrLpd, kModeDefault};

Workspace CustomTable() {
    Workspace ws;
    ws.edition = kEditionPmrLpd;
    ws.channelMode = kModeCustom;
    FillDefaults(ws);
    return ws;
}

std::string Applied(const Result<PastePlan>& plan, ChannelTable& table, int row, int col) {
    EXPECT_TRUE(plan.ok()) << plan.message();
    if (plan.ok()) ApplyPaste(*plan, table);
    return table.GetCell(row, col);
}

TEST(CopyChannels, TitleLineThenEveryColumnOfEachChannel) {
    Workspace ws = CustomTable();
    ws.channels.SetFrequencyCell(446.00625, 2, ColRxFreq);
    ws.channels.SetCell(3, ColGroup, "A-1");
    ws.channels.SetCell(3, ColCtcss, "[12] C100.0");
    const std::string text = CopyChannels(ws.channels, 2, 3);
    EXPECT_EQ(text, std::string(kTitles) +
                        "[CH-002]\t\t446.006250\t\t[00] OFF\t[000] OFF\tYes\tNarrow\tHigh\tOff\tOff\n"
                        "[CH-003]\tA-1\t\t\t[12] C100.0\t[000] OFF\tYes\tNarrow\tHigh\tOff\tOff\n");
}

TEST(PastePlan, CopiedChannelsComeBackElsewhereExactly) {
    Workspace source = CustomTable();
    source.channels.SetFrequencyCell(433.075, 5, ColRxFreq);
    source.channels.SetFrequencyCell(434.0, 5, ColTxFreq);
    source.channels.SetCell(5, ColDcs, DcsLabel(84, kEditionPmrLpd));
    source.channels.SetCell(6, ColPower, "Low");
    source.channels.SetCell(6, ColGroup, "B-2");
    Workspace target = CustomTable();
    const Result<PastePlan> plan = PlanPaste(CopyChannels(source.channels, 5, 6), 100, kCustom);
    ASSERT_TRUE(plan.ok()) << plan.message();
    EXPECT_EQ(plan->rowCount, 2);
    ApplyPaste(*plan, target.channels);
    for (int col = ColRxFreq; col < kColumnCount; ++col) {
        EXPECT_EQ(target.channels.GetCell(100, col), source.channels.GetCell(5, col)) << col;
        EXPECT_EQ(target.channels.GetCell(101, col), source.channels.GetCell(6, col)) << col;
    }
    // Label and group belong to the place, not to the text.
    EXPECT_EQ(target.channels.GetCell(100, ColLabel), "[CH-100]");
    EXPECT_EQ(target.channels.GetCell(101, ColGroup), "");
}

TEST(PastePlan, LayoutsWithoutTitlesAndWithPartialTitles) {
    Workspace ws = CustomTable();
    // Eleven columns, CR LF line ends, no title line.
    EXPECT_EQ(Applied(PlanPaste("x\tA-1\t446.00625\t446.1\t[00] OFF\t[000] OFF\tNo\tWide\tLow\tOn\tOn\r\n", 7, kCustom),
                      ws.channels, 7, ColRxFreq),
              "446.006250");
    EXPECT_EQ(ws.channels.GetCell(7, ColTxFreq), "446.100000");
    EXPECT_EQ(ws.channels.GetCell(7, ColScan), "No");
    EXPECT_EQ(ws.channels.GetCell(7, ColGroup), "");
    // Nine columns RX..COM.
    EXPECT_EQ(Applied(PlanPaste("433.2\t\t[00] OFF\t[000] OFF\tYes\tNarrow\tHigh\tOff\tOn", 8, kCustom), ws.channels, 8,
                      ColCompander),
              "On");
    EXPECT_EQ(ws.channels.GetCell(8, ColRxFreq), "433.200000");
    EXPECT_EQ(ws.channels.GetCell(8, ColTxFreq), "");
    // Titles in any order and only some columns: the others stay.
    ws.channels.SetCell(9, ColScan, "Yes");
    EXPECT_EQ(Applied(PlanPaste("POWER\tRX - FREQ\nLow\t 420 \n", 9, kCustom), ws.channels, 9, ColPower), "Low");
    EXPECT_EQ(ws.channels.GetCell(9, ColRxFreq), "420.000000");
    EXPECT_EQ(ws.channels.GetCell(9, ColScan), "Yes");
    // Nothing but blank lines or only the title line: nothing to do.
    const Result<PastePlan> empty = PlanPaste("\n\n", 1, kCustom);
    ASSERT_TRUE(empty.ok());
    EXPECT_EQ(empty->rowCount, 0);
    EXPECT_TRUE(empty->cells.empty());
    const Result<PastePlan> titlesOnly = PlanPaste(kTitles, 1, kCustom);
    ASSERT_TRUE(titlesOnly.ok());
    EXPECT_EQ(titlesOnly->rowCount, 0);
}

TEST(PastePlan, EveryBadCellIsListedAndNothingIsPlanned) {
    const std::string text = std::string(kTitles) +
                             "\t\t451.000000\t446.001\t[99] C999\t[000] OFF\tyes\tWide\tHigh\tOff\tOff\n"
                             "\t\t446.00625\t446.00625\t[00] OFF\t[000] OFF\tYes\tBroad\tMedium\tOn\t\n";
    const Result<PastePlan> plan = PlanPaste(text, 10, kCustom);
    ASSERT_FALSE(plan.ok());
    EXPECT_EQ(plan.message(),
              "Paste refused:\n"
              "row 1, RX - FREQ: 451.000000 is outside 420-450 MHz\n"
              "row 1, TX - FREQ: 446.001 is not on the 6.25 kHz raster\n"
              "row 1, CTCSS: [99] C999 is not a CTCSS tone\n"
              "row 1, SCAN: yes is not Yes or No\n"
              "row 2, BAND: Broad is not Wide or Narrow\n"
              "row 2, POWER: Medium is not High or Low\n"
              "row 2, COM: an empty cell is not On or Off");
}

TEST(PastePlan, ANumberFinerThanAHertzIsOffTheRaster) {
    const Result<PastePlan> plan = PlanPaste(std::string(kTitles) + "\t\t446.0437500000001\t446.04375\t[00] OFF\t[000] OFF\tYes\tWide\tHigh\tOff\tOff\n", 1, kCustom);
    EXPECT_EQ(plan.message(), "Paste refused:\nrow 1, RX - FREQ: 446.0437500000001 is not on the 6.25 kHz raster");
}

TEST(PastePlan, ShapeFaultsAreRefused) {
    EXPECT_EQ(PlanPaste("446\t447\t448", 1, kCustom).message(),
              "Paste refused:\nrow 1: 3 columns; a channel line has 11 or 9");
    EXPECT_EQ(PlanPaste("RX - FREQ\tPOWER\tVOLUME\n446\tLow\t3\n", 1, kCustom).message(),
              "Paste refused:\ntitle line: unknown column VOLUME");
    EXPECT_EQ(PlanPaste("POWER\tPOWER\nLow\tHigh\n", 1, kCustom).message(),
              "Paste refused:\ntitle line: column POWER appears twice");
    EXPECT_EQ(PlanPaste("POWER\tSCAN\nLow\tYes\nHigh\n", 1, kCustom).message(),
              "Paste refused:\nrow 2: 1 columns, expected 2");
    // A blank line between channels is a line of the wrong shape, not skipped.
    EXPECT_FALSE(PlanPaste("POWER\nLow\n\nHigh\n", 1, kCustom).ok());
}

TEST(PastePlan, RowsPastTheLastChannelRefuseTheWholeText) {
    const std::string threeRows = std::string(kTitles) +
                                  "\t\t\t\t[00] OFF\t[000] OFF\tNo\tWide\tLow\tOff\tOff\n"
                                  "\t\t\t\t[00] OFF\t[000] OFF\tNo\tWide\tLow\tOff\tOff\n"
                                  "\t\t\t\t[00] OFF\t[000] OFF\tNo\tWide\tLow\tOff\tOff\n";
    EXPECT_EQ(PlanPaste(threeRows, 254, kCustom).message(),
              "Paste refused:\n3 channels from channel 254 would end at channel 256; the last channel is 255");
    const Result<PastePlan> fits = PlanPaste(threeRows, 253, kCustom);
    ASSERT_TRUE(fits.ok()) << fits.message();
    EXPECT_EQ(fits->rowCount, 3);
    EXPECT_FALSE(PlanPaste(threeRows, 0, kCustom).ok());
}

TEST(PastePlan, TonesFollowThePickersRules) {
    Workspace ws = CustomTable();
    // Both tones on one channel: refused.
    EXPECT_EQ(PlanPaste("CTCSS\tDCS\n[12] C100.0\t" + DcsLabel(84, kEditionPmrLpd) + "\n", 1, kCustom).message(),
              "Paste refused:\nrow 1, CTCSS/DCS: a channel takes a CTCSS tone or a DCS code, not both");
    // One tone alone switches the other off, as picking it would.
    ws.channels.SetCell(4, ColDcs, DcsLabel(84, kEditionPmrLpd));
    EXPECT_EQ(Applied(PlanPaste("CTCSS\n[12] C100.0\n", 4, kCustom), ws.channels, 4, ColCtcss), "[12] C100.0");
    EXPECT_EQ(ws.channels.GetCell(4, ColDcs), "[000] OFF");
    const std::string dcs = DcsLabel(5, kEditionPmrLpd);
    EXPECT_EQ(Applied(PlanPaste("DCS\n" + dcs + "\n", 4, kCustom), ws.channels, 4, ColDcs), dcs);
    EXPECT_EQ(ws.channels.GetCell(4, ColCtcss), "[00] OFF");
    // The DCS list is the edition's: a label only the other edition has is refused.
    std::string foreign;
    for (const std::string& label : DcsListKorea())
        if (DcsCode(label, kEditionPmrLpd) == 0) foreign = label;
    if (!foreign.empty()) {
        EXPECT_FALSE(PlanPaste("DCS\n" + foreign + "\n", 1, kCustom).ok());
        EXPECT_TRUE(PlanPaste("DCS\n" + foreign + "\n", 1, PasteRules{kEditionKorea, kModeCustom}).ok());
    }
    // An unknown tone is listed once, not again as a pair fault.
    EXPECT_EQ(PlanPaste("CTCSS\tDCS\nC100\t" + dcs + "\n", 1, kCustom).message(),
              "Paste refused:\nrow 1, CTCSS: C100 is not a CTCSS tone");
}

TEST(PastePlan, DefaultModeLeavesFrequenciesAndBandAlone) {
    Workspace ws;
    ws.edition = kEditionPmrLpd;
    ws.channelMode = kModeDefault;
    FillDefaults(ws);
    const std::string rx = ws.channels.GetCell(2, ColRxFreq);
    const std::string band = ws.channels.GetCell(2, ColBand);
    // Not even checked: a value that is never written cannot be wrong.
    const std::string line = "\t\t999\t\t[00] OFF\t[000] OFF\tNo\tSuper\tLow\tOn\tOff\n";
    EXPECT_EQ(Applied(PlanPaste(line, 2, kDefault), ws.channels, 2, ColPower), "Low");
    EXPECT_EQ(ws.channels.GetCell(2, ColRxFreq), rx);
    EXPECT_EQ(ws.channels.GetCell(2, ColTxFreq), rx);
    EXPECT_EQ(ws.channels.GetCell(2, ColBand), band);
    EXPECT_EQ(ws.channels.GetCell(2, ColScrambler), "On");
}

TEST(PastePlan, LongRefusalsAreCut) {
    std::string text = "POWER\n";
    for (int i = 0; i < 30; ++i) text += "Medium\n";
    const std::string message = PlanPaste(text, 1, kCustom).message();
    EXPECT_NE(message.find("row 20, POWER"), std::string::npos);
    EXPECT_EQ(message.find("row 21, POWER"), std::string::npos);
    EXPECT_NE(message.find("\n... and 10 more"), std::string::npos);
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(PastePlan, DecimalCommaReadsAsAPointAsInTheEditor) {
    Workspace ws = CustomTable();
    const Result<PastePlan> plan =
        PlanPaste("446,00625\t446,1\t[00] OFF\t[000] OFF\tYes\tNarrow\tHigh\tOff\tOff\n", 1, kCustom);
    EXPECT_EQ(Applied(plan, ws.channels, 1, ColRxFreq), "446.006250");
    EXPECT_EQ(ws.channels.GetCell(1, ColTxFreq), "446.100000");
}

}  // namespace
}  // namespace corvane

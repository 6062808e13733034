#include <gtest/gtest.h>

#include <string>

#include "model/ToneTable.h"
#include "store/ChannelFiles.h"
#include "store/TextLines.h"
#include "store_test_support.h"

namespace corvane {
namespace {

using storetest::CrLfLines;
using storetest::ReadBytes;
using storetest::RepeatLine;
using storetest::ScratchFolder;
using storetest::WorkspaceIn;
using storetest::WriteBytes;

// Marker line, then 255 channel lines, all CR LF ended.
std::string FileOf(const std::string& marker, const std::string& channelLine) {
    return marker + "\r\n" + RepeatLine(channelLine, kChannelCount);
}

class StoreChannelFilesTest : public ::testing::Test {
protected:
    std::filesystem::path File(const std::string& name) const { return folder / name; }
    std::string Bytes(const std::string& name) const { return ReadBytes(folder / name); }

    ScratchFolder folder;
    Workspace ws = WorkspaceIn(folder);
};

TEST_F(StoreChannelFilesTest, FirstStartCreatesEveryFileWithItsResetBytes) {
    ASSERT_TRUE(LoadChannelFiles(ws).ok());

    EXPECT_EQ(Bytes("Rx_Freq.txt"), RepeatLine("0", 256));
    EXPECT_EQ(Bytes("Tx_Freq.txt"), RepeatLine("0", 256));
    EXPECT_EQ(Bytes("Tone.txt"), RepeatLine(" 0 ", 256));
    EXPECT_EQ(Bytes("Scan.txt"), RepeatLine(" 1 ", 256));
    EXPECT_EQ(Bytes("Band.txt"), RepeatLine(" 0 ", 256));
    EXPECT_EQ(Bytes("Power.txt"), RepeatLine(" 0 ", 256));
    EXPECT_EQ(Bytes("Scr.txt"), RepeatLine(" 0 ", 256));
    EXPECT_EQ(Bytes("Comp.txt"), FileOf(" 1 ", " 0 "));

    for (int row : {1, 7, 255}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(ws.channels.GetCell(row, ColLabel), ChannelLabel(row));
        EXPECT_EQ(ws.channels.GetCell(row, ColRxFreq), "");
        EXPECT_EQ(ws.channels.GetCell(row, ColTxFreq), "");
        EXPECT_EQ(ws.channels.GetCell(row, ColCtcss), CtcssLabel(0));
        EXPECT_EQ(ws.channels.GetCell(row, ColDcs), DcsLabel(0, ws.edition));
        EXPECT_EQ(ws.channels.GetCell(row, ColScan), "Yes");
        EXPECT_EQ(ws.channels.GetCell(row, ColBand), "Narrow");
        EXPECT_EQ(ws.channels.GetCell(row, ColPower), "Low");
        EXPECT_EQ(ws.channels.GetCell(row, ColScrambler), "Off");
        EXPECT_EQ(ws.channels.GetCell(row, ColCompander), "Off");
    }
    EXPECT_EQ(ws.channels.GetCell(7, ColLabel), "[CH-007]");
}

TEST_F(StoreChannelFilesTest, SaveWritesVerbatimFrequenciesAndSavedMarkers) {
    ws.channels.SetCell(1, ColRxFreq, "446.006250");
    ws.channels.SetCell(1, ColTxFreq, "");
    ws.channels.SetCell(2, ColTxFreq, "423.1875 junk");
    for (int row = 1; row <= kChannelCount; ++row) {
        ws.channels.SetCell(row, ColScan, "No");
        ws.channels.SetCell(row, ColBand, "Wide");
        ws.channels.SetCell(row, ColPower, "Low");
        ws.channels.SetCell(row, ColScrambler, "Off");
        ws.channels.SetCell(row, ColCompander, "On");
    }
    ASSERT_TRUE(SaveChannelFiles(ws).ok());

    const auto rx = CrLfLines(Bytes("Rx_Freq.txt"));
    ASSERT_EQ(rx.size(), 256u);
    EXPECT_EQ(rx[0], "0");
    EXPECT_EQ(rx[1], "446.006250");
    EXPECT_EQ(rx[255], "0");
    const auto tx = CrLfLines(Bytes("Tx_Freq.txt"));
    ASSERT_EQ(tx.size(), 256u);
    EXPECT_EQ(tx[1], "0");
    EXPECT_EQ(tx[2], "423.1875 junk");

    // Saved flag files always carry marker 1, unlike a reset.
    EXPECT_EQ(Bytes("Scan.txt"), FileOf(" 1 ", " 0 "));
    EXPECT_EQ(Bytes("Band.txt"), FileOf(" 1 ", " 1 "));
    EXPECT_EQ(Bytes("Power.txt"), FileOf(" 1 ", " 0 "));
    EXPECT_EQ(Bytes("Scr.txt"), FileOf(" 1 ", " 0 "));
    EXPECT_EQ(Bytes("Comp.txt"), FileOf(" 1 ", " 1 "));
    EXPECT_EQ(Bytes("Tone.txt"), RepeatLine(" 0 ", 256));
}

TEST_F(StoreChannelFilesTest, ShortTxFileResetsBothFrequencyColumnsAndFiles) {
    WriteBytes(File("Rx_Freq.txt"), FileOf("0", "446.00625"));
    WriteBytes(File("Tx_Freq.txt"), RepeatLine("446.00625", 100));
    ws.channels.SetCell(3, ColRxFreq, "stale");

    ASSERT_TRUE(LoadFrequencyFiles(ws).ok());
    for (int row = 1; row <= kChannelCount; ++row) {
        ASSERT_EQ(ws.channels.GetCell(row, ColRxFreq), "") << row;
        ASSERT_EQ(ws.channels.GetCell(row, ColTxFreq), "") << row;
        ASSERT_EQ(ws.channels.GetCell(row, ColLabel), ChannelLabel(row));
    }
    EXPECT_EQ(Bytes("Rx_Freq.txt"), RepeatLine("0", 256));
    EXPECT_EQ(Bytes("Tx_Freq.txt"), RepeatLine("0", 256));
}

TEST_F(StoreChannelFilesTest, MissingRxFileResetsEvenACompleteTxFile) {
    WriteBytes(File("Tx_Freq.txt"), FileOf("0", "446.00625"));
    ASSERT_TRUE(LoadFrequencyFiles(ws).ok());
    EXPECT_EQ(ws.channels.GetCell(1, ColTxFreq), "");
    EXPECT_EQ(Bytes("Tx_Freq.txt"), RepeatLine("0", 256));
}

TEST_F(StoreChannelFilesTest, FrequencyLinesAreReadLeniently) {
    std::string rx = "0\r\n446.00625\r\nabc\r\n0\r\n  423.1875 , 9\r\n" + std::string(1000, '9') + "\r\n-0\r\n";
    rx += RepeatLine("", kChannelCount - 6);
    WriteBytes(File("Rx_Freq.txt"), rx);
    WriteBytes(File("Tx_Freq.txt"), std::string("0\n444.025\n") + std::string(254, '\n'));

    ASSERT_TRUE(LoadFrequencyFiles(ws).ok());
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "446.006250");
    EXPECT_EQ(ws.channels.GetCell(2, ColRxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(3, ColRxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(4, ColRxFreq), "423.187500");
    EXPECT_EQ(ws.channels.GetCell(6, ColRxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(1, ColTxFreq), "444.025000");
    // A complete pair is not rewritten on load.
    EXPECT_EQ(Bytes("Rx_Freq.txt"), rx);
}

TEST_F(StoreChannelFilesTest, ShortFlagFileGivesZeroWithoutRewrite) {
    const std::string power = " 1 \r\n" + RepeatLine(" 1 ", 5) + RepeatLine(" 0 ", 5);
    WriteBytes(File("Power.txt"), power);
    ASSERT_TRUE(LoadFlagFile(ws, FlagField::Power).ok());
    for (int row = 1; row <= 5; ++row) EXPECT_EQ(ws.channels.GetCell(row, ColPower), "High") << row;
    for (int row = 6; row <= 255; ++row) ASSERT_EQ(ws.channels.GetCell(row, ColPower), "Low") << row;
    EXPECT_EQ(Bytes("Power.txt"), power);

    // A value that does not fit its field is unreadable, not clamped: the channel stays at 0.
    WriteBytes(File("Power.txt"), " 1 \r\n 70000 \r\n-40000 \r\n 32767 \r\n");
    ASSERT_TRUE(LoadFlagFile(ws, FlagField::Power).ok());
    EXPECT_EQ(ws.channels.GetCell(1, ColPower), "Low");
    EXPECT_EQ(ws.channels.GetCell(2, ColPower), "Low");
    EXPECT_EQ(ws.channels.GetCell(3, ColPower), "High");
}

TEST_F(StoreChannelFilesTest, EmptyMarkerResetsOnlyThatFile) {
    WriteBytes(File("Band.txt"), "\r\n" + RepeatLine(" 1 ", 255));
    WriteBytes(File("Tone.txt"), "");
    WriteBytes(File("Scan.txt"), FileOf(" 1 ", " 0 "));
    ASSERT_TRUE(LoadFlagFile(ws, FlagField::Band).ok());
    ASSERT_TRUE(LoadFlagFile(ws, FlagField::Scan).ok());
    ASSERT_TRUE(LoadToneFile(ws).ok());

    EXPECT_EQ(ws.channels.GetCell(9, ColBand), "Narrow");
    EXPECT_EQ(Bytes("Band.txt"), RepeatLine(" 0 ", 256));
    EXPECT_EQ(Bytes("Tone.txt"), RepeatLine(" 0 ", 256));
    EXPECT_EQ(ws.channels.GetCell(9, ColScan), "No");
    EXPECT_EQ(Bytes("Scan.txt"), FileOf(" 1 ", " 0 "));
    EXPECT_FALSE(std::filesystem::exists(File("Comp.txt")));
}

TEST_F(StoreChannelFilesTest, FlagWordsAreCaseSensitiveAndAnyNonZeroIsSet) {
    ws.channels.SetCell(1, ColScan, "no");
    ws.channels.SetCell(2, ColScan, "No");
    ASSERT_TRUE(SaveFlagFile(ws, FlagField::Scan).ok());
    const auto lines = CrLfLines(Bytes("Scan.txt"));
    EXPECT_EQ(lines[1], " 1 ");
    EXPECT_EQ(lines[2], " 0 ");
    ASSERT_TRUE(LoadFlagFile(ws, FlagField::Scan).ok());
    EXPECT_EQ(ws.channels.GetCell(1, ColScan), "Yes");
    EXPECT_EQ(ws.channels.GetCell(2, ColScan), "No");

    WriteBytes(File("Scr.txt"), " 1 \r\n-5\r\n 7 \r\n0.5\r\n");
    ASSERT_TRUE(LoadFlagFile(ws, FlagField::Scrambler).ok());
    EXPECT_EQ(ws.channels.GetCell(1, ColScrambler), "On");
    EXPECT_EQ(ws.channels.GetCell(2, ColScrambler), "On");
    EXPECT_EQ(ws.channels.GetCell(3, ColScrambler), "Off");
}

TEST_F(StoreChannelFilesTest, ToneNumbersCarryCtcssOrDcsPlus73) {
    ws.channels.SetCell(1, ColCtcss, CtcssLabel(12));
    ws.channels.SetCell(1, ColDcs, DcsLabel(0, ws.edition));
    ws.channels.SetCell(2, ColCtcss, CtcssLabel(30));
    ws.channels.SetCell(2, ColDcs, DcsLabel(5, ws.edition));
    ws.channels.SetCell(3, ColCtcss, CtcssLabel(0));
    ws.channels.SetCell(3, ColDcs, DcsLabel(1, ws.edition));
    ASSERT_TRUE(SaveToneFile(ws).ok());
    const auto lines = CrLfLines(Bytes("Tone.txt"));
    ASSERT_EQ(lines.size(), 256u);
    EXPECT_EQ(lines[0], " 0 ");
    EXPECT_EQ(lines[1], " 12 ");
    EXPECT_EQ(lines[2], " 78 ");
    EXPECT_EQ(lines[3], " 74 ");
    EXPECT_EQ(lines[4], " 0 ");

    ASSERT_TRUE(LoadToneFile(ws).ok());
    EXPECT_EQ(ws.channels.GetCell(2, ColCtcss), CtcssLabel(0));
    EXPECT_EQ(ws.channels.GetCell(2, ColDcs), DcsLabel(5, ws.edition));
    EXPECT_EQ(ws.channels.GetCell(3, ColDcs), DcsLabel(1, ws.edition));
    EXPECT_EQ(ws.channels.GetCell(1, ColCtcss), CtcssLabel(12));
}

TEST_F(StoreChannelFilesTest, DcsLabelsFollowTheEditionAndOddValuesDoNotCrash) {
    WriteBytes(File("Tone.txt"), " 0 \r\n 74 \r\n-3 \r\n 99999 \r\n 281 \r\n 73 \r\n");
    Workspace pmr = WorkspaceIn(folder, 2);
    ASSERT_TRUE(LoadToneFile(pmr).ok());
    ASSERT_TRUE(LoadToneFile(ws).ok());
    EXPECT_EQ(pmr.channels.GetCell(1, ColDcs), DcsLabel(1, 2));
    EXPECT_EQ(ws.channels.GetCell(1, ColDcs), DcsLabel(1, 3));
    EXPECT_EQ(ws.channels.GetCell(2, ColCtcss), CtcssLabel(-3));
    // 99999 does not fit 16 bits: unreadable, so the channel keeps 0.
    EXPECT_EQ(ws.channels.GetCell(3, ColCtcss), CtcssLabel(0));
    EXPECT_EQ(ws.channels.GetCell(3, ColDcs), DcsLabel(0, 3));
    EXPECT_EQ(ws.channels.GetCell(4, ColDcs), DcsLabel(208, 3));
    EXPECT_EQ(ws.channels.GetCell(5, ColCtcss), CtcssLabel(73));
    EXPECT_EQ(ws.channels.GetCell(5, ColDcs), DcsLabel(0, 3));
}

TEST_F(StoreChannelFilesTest, LinesBeyond256AreIgnored) {
    WriteBytes(File("Comp.txt"), FileOf(" 1 ", " 0 ") + RepeatLine(" 1 ", 50));
    ASSERT_TRUE(LoadFlagFile(ws, FlagField::Compander).ok());
    EXPECT_EQ(ws.channels.GetCell(255, ColCompander), "Off");
}

TEST_F(StoreChannelFilesTest, RoundTripKeepsEveryCell) {
    ASSERT_TRUE(LoadChannelFiles(ws).ok());
    for (int row = 1; row <= kChannelCount; ++row) {
        ws.channels.SetFrequencyCell(row % 3 == 0 ? 0.0 : 420.0 + row * 0.0125, row, ColRxFreq);
        ws.channels.SetFrequencyCell(row % 5 == 0 ? 0.0 : 449.0 - row * 0.00625, row, ColTxFreq);
        ws.channels.SetCell(row, ColCtcss, CtcssLabel(row % 74));
        ws.channels.SetCell(row, ColDcs, DcsLabel(row % 2 == 0 ? 0 : row % 209, ws.edition));
        ws.channels.SetCell(row, ColScan, row % 2 ? "Yes" : "No");
        ws.channels.SetCell(row, ColBand, row % 3 ? "Wide" : "Narrow");
        ws.channels.SetCell(row, ColPower, row % 4 ? "High" : "Low");
        ws.channels.SetCell(row, ColScrambler, row % 5 ? "On" : "Off");
        ws.channels.SetCell(row, ColCompander, row % 6 ? "Off" : "On");
        // A stored tone is one number: DCS wins when both are set.
        if (DcsCode(ws.channels.GetCell(row, ColDcs), ws.edition) != 0) ws.channels.SetCell(row, ColCtcss, CtcssLabel(0));
    }
    ASSERT_TRUE(SaveChannelFiles(ws).ok());
    Workspace reloaded = WorkspaceIn(folder);
    ASSERT_TRUE(LoadChannelFiles(reloaded).ok());
    for (int row = 1; row <= kChannelCount; ++row) {
        for (int col = ColLabel; col <= ColCompander; ++col) {
            if (col == ColGroup) continue;
            ASSERT_EQ(reloaded.channels.GetCell(row, col), ws.channels.GetCell(row, col)) << row << "/" << col;
        }
    }
}

TEST_F(StoreChannelFilesTest, JunkFilesLoadWithoutHarm) {
    std::string junk;
    for (int i = 0; i < 70000; ++i) junk.push_back(static_cast<char>((i * 131) % 256));
    junk += std::string(100000, '7');
    for (const char* name : {"Rx_Freq.txt", "Tx_Freq.txt", "Tone.txt", "Scan.txt", "Band.txt", "Power.txt", "Scr.txt", "Comp.txt"}) {
        WriteBytes(File(name), junk);
    }
    EXPECT_TRUE(LoadChannelFiles(ws).ok());
    for (int row = 1; row <= kChannelCount; ++row) {
        for (int col = ColLabel; col <= ColCompander; ++col) ASSERT_LE(ws.channels.GetCell(row, col).size(), 64u);
    }
    ASSERT_TRUE(SaveChannelFiles(ws).ok());
    EXPECT_EQ(CrLfLines(Bytes("Power.txt")).size(), 256u);
}

TEST_F(StoreChannelFilesTest, FailedSavesKeepOldFilesAndReportTheFirst) {
    ASSERT_TRUE(SaveChannelFiles(ws).ok());
    const std::string oldScan = Bytes("Scan.txt");
    ws.channels.SetCell(1, ColScan, "No");

    Workspace broken = ws;
    WriteBytes(folder / "plain", "x");
    broken.programFolder = folder / "plain";
    const Status status = SaveChannelFiles(broken);
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.message().find((folder / "plain" / "Rx_Freq.txt").string()), std::string::npos);
    EXPECT_EQ(Bytes("Scan.txt"), oldScan);

    // A load whose recovery rewrite fails still fills the table and says why.
    const Status load = LoadChannelFiles(broken);
    EXPECT_FALSE(load.ok());
    EXPECT_EQ(broken.channels.GetCell(1, ColScan), "Yes");
}

}  // namespace
}  // namespace corvane

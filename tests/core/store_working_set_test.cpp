#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/TextLines.h"
#include "store/WorkingSet.h"
#include "store_test_support.h"

namespace corvane {
namespace {

using storetest::CrLfLines;
using storetest::ReadBytes;
using storetest::RepeatLine;
using storetest::ScratchFolder;
using storetest::WriteBytes;

class StoreWorkingSetTest : public ::testing::Test {
protected:
    // Port.txt as the access-code window leaves it, and the edition it replaced.
    void StartWith(int16_t chosenEdition, int16_t previousEdition, uint8_t mode = kModeDefault) {
        Workspace writer;
        writer.programFolder = folder.path();
        writer.portName = "4";
        writer.edition = chosenEdition;
        writer.channelMode = mode;
        ASSERT_TRUE(SaveConfigFile(writer).ok());
        ws.previousEdition = previousEdition;
    }

    // Working files of the given edition holding a few recognisable channels.
    void StoreChannels(int16_t edition) {
        Workspace writer;
        writer.programFolder = folder.path();
        writer.edition = edition;
        ASSERT_TRUE(LoadChannelFiles(writer).ok());
        writer.channels.SetFrequencyCell(433.075, 1, ColRxFreq);
        writer.channels.SetCell(2, ColPower, "High");
        writer.groups.GroupSize[0] = 3;
        writer.groups.GroupsEnabled = 1;
        writer.groups.FreqSetStartChannel = "1";
        ASSERT_TRUE(SaveChannelFiles(writer).ok());
        ASSERT_TRUE(SaveGroupFile(writer).ok());
    }

    std::string Bytes(const std::string& name) const { return ReadBytes(folder / name); }

    ScratchFolder folder;
    Workspace ws = [this] {
        Workspace w;
        w.programFolder = folder.path();
        return w;
    }();
};

TEST_F(StoreWorkingSetTest, FirstStartCreatesConfigDataFolderAndWorkingFiles) {
    ws.previousEdition = kEditionKorea;  // what the access code saw in no file
    ASSERT_TRUE(LoadWorkingSet(ws).ok());
    ASSERT_TRUE(EnsureDataFolder(ws).ok());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Data"));
    EXPECT_EQ(ws.edition, kEditionKorea);
    EXPECT_EQ(Bytes("Rx_Freq.txt"), RepeatLine("0", 256));
    EXPECT_EQ(Bytes("Scan.txt"), RepeatLine(" 1 ", 256));
    EXPECT_EQ(CrLfLines(Bytes("Group.txt")).size(), 26u);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(1, ColLabel), "[CH-001]");
}

TEST_F(StoreWorkingSetTest, SameEditionLoadsFilesAndLaysOutGroups) {
    StoreChannels(kEditionPmrLpd);
    StartWith(kEditionPmrLpd, kEditionPmrLpd, kModeCustom);
    const std::string rxBefore = Bytes("Rx_Freq.txt");

    ASSERT_TRUE(LoadWorkingSet(ws).ok());
    EXPECT_EQ(ws.portName, "4");
    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "433.075000");
    EXPECT_EQ(ws.channels.GetCell(2, ColPower), "High");
    EXPECT_EQ(ws.groups.GroupSize[0], 3);
    EXPECT_EQ(Bytes("Rx_Freq.txt"), rxBefore);

    Workspace expected = ws;
    FillGroupColumn(expected.groups, expected.channels);
    for (int row = 1; row <= kChannelCount; ++row) {
        ASSERT_EQ(ws.channels.GetCell(row, ColGroup), expected.channels.GetCell(row, ColGroup)) << row;
    }
    EXPECT_FALSE(ws.channels.GetCell(1, ColGroup).empty());
}

TEST_F(StoreWorkingSetTest, ChangedEditionWritesThePresetPlanAndResetsGroups) {
    StoreChannels(kEditionKorea);
    StartWith(kEditionPmrLpd, kEditionKorea, kModeCustom);

    ASSERT_TRUE(LoadWorkingSet(ws).ok());
    Workspace expected;
    expected.edition = kEditionPmrLpd;
    ResetToEditionDefaults(expected);
    for (int row = 1; row <= kChannelCount; ++row) {
        for (int col = ColLabel; col <= ColCompander; ++col) {
            ASSERT_EQ(ws.channels.GetCell(row, col), expected.channels.GetCell(row, col)) << row << "/" << col;
        }
    }
    EXPECT_EQ(ws.channelMode, kModeDefault);
    const auto port = CrLfLines(Bytes("Port.txt"));
    ASSERT_EQ(port.size(), 39u);
    EXPECT_EQ(port[0], "4");
    EXPECT_EQ(port[1], " 2 ");
    EXPECT_EQ(port[2], " 0 ");
    EXPECT_EQ(CrLfLines(Bytes("Rx_Freq.txt"))[1], expected.channels.GetCell(1, ColRxFreq));
    EXPECT_EQ(ws.groups.GroupSize[0], 0);
    EXPECT_EQ(CrLfLines(Bytes("Group.txt"))[0], " 0 ");

    // What was written is what the next start with the same edition reads.
    Workspace next;
    next.programFolder = folder.path();
    next.previousEdition = kEditionPmrLpd;
    ASSERT_TRUE(LoadWorkingSet(next).ok());
    EXPECT_EQ(next.channels.GetCell(9, ColBand), expected.channels.GetCell(9, ColBand));
    EXPECT_EQ(next.channels.GetCell(77, ColRxFreq), expected.channels.GetCell(77, ColRxFreq));
}

TEST_F(StoreWorkingSetTest, CommandLineStartKeepsTheStoredEdition) {
    StoreChannels(kEditionPmrLpd);
    StartWith(kEditionPmrLpd, /*previousEdition=*/0);
    ASSERT_TRUE(LoadWorkingSetUnchangedEdition(ws).ok());
    EXPECT_EQ(ws.previousEdition, kEditionPmrLpd);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "433.075000");
}

TEST_F(StoreWorkingSetTest, DataFolderFailureIsReportedButLoadingGoesOn) {
    StoreChannels(kEditionKorea);
    StartWith(kEditionKorea, kEditionKorea);
    WriteBytes(folder / "Data", "not a folder");
    ASSERT_TRUE(LoadWorkingSet(ws).ok());
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "433.075000");
    const Status status = EnsureDataFolder(ws);
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.message().find((folder / "Data").string()), std::string::npos);
}

TEST_F(StoreWorkingSetTest, ExitSavesChannelFilesAndGroupFile) {
    ws.previousEdition = kEditionKorea;
    ASSERT_TRUE(LoadWorkingSet(ws).ok());
    ws.channels.SetFrequencyCell(423.1875, 5, ColTxFreq);
    ws.groups.GroupSize[1] = 7;
    ASSERT_TRUE(SaveWorkingSetOnExit(ws).ok());
    EXPECT_EQ(CrLfLines(Bytes("Tx_Freq.txt"))[5], "423.187500");
    EXPECT_EQ(CrLfLines(Bytes("Group.txt"))[1], " 7 ");

    WriteBytes(folder / "plain", "x");
    ws.programFolder = folder / "plain";
    const Status failed = SaveWorkingSetOnExit(ws);
    ASSERT_FALSE(failed.ok());
    EXPECT_NE(failed.message().find("Rx_Freq.txt"), std::string::npos);
}

TEST_F(StoreWorkingSetTest, RejectedImageSavesNothing) {
    ws.portName = "5";
    ws.edition = kEditionKorea;
    const std::vector<uint8_t> truncated(10, 0xFF);
    EXPECT_FALSE(AcceptImageFromRadio(truncated, ws).ok());
    EXPECT_FALSE(std::filesystem::exists(folder / "Port.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder / "Group.txt"));
}

TEST_F(StoreWorkingSetTest, AcceptedImageSavesConfigAndGroupFiles) {
    Workspace radio;
    radio.portName = "5";
    radio.edition = kEditionPmrLpd;
    ResetToEditionDefaults(radio);
    radio.settings.Squelch = 3;
    const Result<MemoryImage> image = BuildImage(radio);
    ASSERT_TRUE(image.ok()) << image.message();

    ws.portName = "5";
    ws.edition = kEditionKorea;
    ASSERT_TRUE(AcceptImageFromRadio(*image, ws).ok());
    EXPECT_EQ(ws.settings.Squelch, 3);
    const auto port = CrLfLines(Bytes("Port.txt"));
    ASSERT_EQ(port.size(), 39u);
    EXPECT_EQ(port[1], " 2 ");
    EXPECT_EQ(port[37], " 3 ");
    EXPECT_EQ(CrLfLines(Bytes("Group.txt")).size(), 26u);
    EXPECT_FALSE(std::filesystem::exists(folder / "Rx_Freq.txt"));
}

}  // namespace
}  // namespace corvane

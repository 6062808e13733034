#include <gtest/gtest.h>

#include <string>

#include "model/CodePage.h"
#include "model/GroupTable.h"
#include "model/SettingsRecord.h"
#include "store/ConfigFiles.h"
#include "store/TextLines.h"
#include "store_test_support.h"

namespace corvane {
namespace {

using storetest::CrLfLines;
using storetest::ReadBytes;
using storetest::RepeatLine;
using storetest::ScratchFolder;
using storetest::WriteBytes;

// Port.txt as a fresh installation writes it, line by line.
const char* const kDefaultPortFile =
    "5\r\n 3 \r\n 0 \r\n 63 \r\n 127 \r\n 0 \r\n 4 \r\n 0 \r\n 0 \r\n 0 \r\n"
    " 0 \r\n 0 \r\n 0 \r\n 2 \r\n 1 \r\n 0 \r\n 4 \r\n 1 \r\n 3 \r\n 0 \r\n"
    " 1 \r\n 0 \r\n 0 \r\n 1 \r\n 2 \r\n 3 \r\n 3 \r\n 0 \r\n 2 \r\n 2 \r\n"
    " 2 \r\n12345\r\nAA\r\n0\r\n 1 \r\n 0 \r\n 2 \r\n 6 \r\n 0 \r\n";

// Group.txt as created when it is missing.
const char* const kDefaultGroupFile =
    " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n"
    "0\r\n0\r\n0\r\n"
    " 2 \r\n 0 \r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n"
    "\r\n\r\n\r\n";

class StoreConfigFileTest : public ::testing::Test {
protected:
    std::filesystem::path PortFile() const { return folder / "Port.txt"; }
    std::filesystem::path GroupFile() const { return folder / "Group.txt"; }

    ScratchFolder folder;
    Workspace ws = [this] {
        Workspace w;
        w.programFolder = folder.path();
        return w;
    }();
};

TEST_F(StoreConfigFileTest, MissingPortFileIsCreatedWithDefaults) {
    ws.settings.Squelch = 9;
    ws.settings.NameId = "ZZ";
    ASSERT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_EQ(ReadBytes(PortFile()), kDefaultPortFile);
    EXPECT_EQ(ws.portName, "5");
    EXPECT_EQ(ws.edition, 3);
    EXPECT_EQ(ws.channelMode, 0);
    EXPECT_EQ(ws.settings, SettingsRecord{});
}

TEST_F(StoreConfigFileTest, EmptyPortNameLineCountsAsNoFile) {
    std::string body = kDefaultPortFile;
    body.replace(0, 1, "");
    body.replace(body.find(" 3 "), 3, " 2 ");
    WriteBytes(PortFile(), body);
    ASSERT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_EQ(ws.portName, "5");
    EXPECT_EQ(ws.edition, 3);
    EXPECT_EQ(ReadBytes(PortFile()), kDefaultPortFile);
}

TEST_F(StoreConfigFileTest, MissingFileWithAKnownPortChangesNothing) {
    ws.portName = "7";
    ws.edition = 2;
    ws.settings.Squelch = 9;
    ASSERT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_EQ(ws.edition, 2);
    EXPECT_EQ(ws.settings.Squelch, 9);
    EXPECT_FALSE(std::filesystem::exists(PortFile()));
}

TEST_F(StoreConfigFileTest, Line27DecidesHiddenSetting8AndBothLinesAreWritten) {
    auto lines = CrLfLines(kDefaultPortFile);
    lines[18] = " 1 ";
    lines[26] = " 3 ";
    WriteBytes(PortFile(), JoinLines(lines));
    ASSERT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_EQ(ws.settings.HiddenSetting8, 3);

    ws.settings.HiddenSetting8 = 7;
    ASSERT_TRUE(SaveConfigFile(ws).ok());
    const auto saved = CrLfLines(ReadBytes(PortFile()));
    ASSERT_EQ(saved.size(), 39u);
    EXPECT_EQ(saved[18], " 7 ");
    EXPECT_EQ(saved[26], " 7 ");
}

TEST_F(StoreConfigFileTest, TwoLineFileKeepsEveryOtherFieldAndIsNotRewritten) {
    const std::string twoLines = "7\r\n 2 \r\n";
    WriteBytes(PortFile(), twoLines);
    ws.channelMode = 1;
    ws.settings.Squelch = 9;
    ws.settings.DtmfId = "";
    ASSERT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_EQ(ws.portName, "7");
    EXPECT_EQ(ws.edition, 2);
    EXPECT_EQ(ws.channelMode, 1);
    EXPECT_EQ(ws.settings.Squelch, 9);
    EXPECT_EQ(ws.settings.DtmfId, "");
    EXPECT_EQ(ReadBytes(PortFile()), twoLines);

    // At start-up the fields the file does not reach are 0 or empty, never the defaults.
    Workspace fresh;
    fresh.programFolder = folder.path();
    ClearToStartUpState(fresh);
    ASSERT_TRUE(LoadConfigFile(fresh).ok());
    EXPECT_EQ(fresh.settings, EmptySettings());
    EXPECT_EQ(fresh.settings.DtmfId, "");
    EXPECT_EQ(fresh.settings.KeyP2Left, 0);
    EXPECT_EQ(fresh.settings.Squelch, 0);

    // Group.txt likewise: fourteen lines, so the generation inputs after them stay 0.
    WriteBytes(GroupFile(), RepeatLine(" 0 ", 12) + "5\r\n9\r\n");
    ASSERT_TRUE(LoadGroupFile(fresh).ok());
    EXPECT_EQ(fresh.groups.FreqSetStartChannel, "5");
    EXPECT_EQ(fresh.groups.FreqSetTarget, 0);
    EXPECT_EQ(fresh.groups.FreqSetScan, 0);
}

TEST_F(StoreConfigFileTest, TextsAreWindows1252InTheFileAndUtf8InMemory) {
    // Every byte value an earlier installation may have left, the five undefined ones included.
    std::string dtmf;
    for (int b = 0x80; b <= 0xFF; ++b) dtmf.push_back(static_cast<char>(b));
    auto lines = CrLfLines(kDefaultPortFile);
    lines[31] = dtmf;
    lines[32] = "\xC4\xDF";  // "Äß"
    lines[33] = "\x80";       // "€"
    WriteBytes(PortFile(), JoinLines(lines));
    ASSERT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_EQ(ws.settings.NameId, "\u00C4\u00DF");
    EXPECT_EQ(ws.settings.PriChannel, "\u20AC");
    EXPECT_EQ(ws.settings.DtmfId.substr(0, 8), "\u20AC\u0081\u201A");
    EXPECT_EQ(ws.settings.DtmfId.find('\xFF'), std::string::npos);  // valid UTF-8, not raw bytes
    ASSERT_TRUE(SaveConfigFile(ws).ok());
    EXPECT_EQ(CrLfLines(ReadBytes(PortFile())), lines);

    // What Windows-1252 cannot hold is written as "?", one byte per character.
    ws.settings.DtmfId = "1\u4E2D2";
    ASSERT_TRUE(SaveConfigFile(ws).ok());
    EXPECT_EQ(CrLfLines(ReadBytes(PortFile()))[31], "1?2");
}

TEST_F(StoreConfigFileTest, RoundTripOfEveryFieldWithLfOnlyReadBack) {
    ws.portName = "12";
    ws.edition = 2;
    ws.channelMode = 1;
    SettingsRecord& s = ws.settings;
    s.TotalTime = 11;
    s.ResumeTime = 1;
    s.DtmfGenerationTime = 3;
    s.DtmfPauseTime = 4;
    s.DtmfDelayTime = 5;
    s.DtmfId = "9#*";
    s.VoxLevel = 6;
    s.ScanDelayTime = 7;
    s.PowerSaveOnTime = 8;
    s.FunctionFlags1 = 255;
    s.FunctionFlags2 = 0;
    s.PowerControl = 1;
    s.KeyP1Side = 3;
    s.KeyP4Right = 0;
    s.BandSelect = -1;
    s.NameId = "K7";
    s.PriChannel = "128";
    s.HiddenSetting23 = 200;
    s.SpareSetting4 = 42;
    ASSERT_TRUE(SaveConfigFile(ws).ok());
    const std::string bytes = ReadBytes(PortFile());
    EXPECT_EQ(CrLfLines(bytes).size(), 39u);
    EXPECT_NE(bytes.find("\r\n-1 \r\n"), std::string::npos);

    std::string lfOnly;
    for (char c : bytes) if (c != '\r') lfOnly.push_back(c);
    WriteBytes(PortFile(), lfOnly);
    Workspace loaded;
    loaded.programFolder = folder.path();
    ASSERT_TRUE(LoadConfigFile(loaded).ok());
    EXPECT_EQ(loaded.portName, "12");
    EXPECT_EQ(loaded.edition, 2);
    EXPECT_EQ(loaded.channelMode, 1);
    EXPECT_EQ(loaded.settings, ws.settings);
}

TEST_F(StoreConfigFileTest, NumbersThatDoNotFitLeaveTheFieldAndTextsKeepTheirLines) {
    auto lines = CrLfLines(kDefaultPortFile);
    lines[1] = " 70000 ";
    lines[2] = "-4";
    lines[3] = " 300 ";
    lines[4] = " 255 ";
    lines[36] = " -99999 ";
    WriteBytes(PortFile(), JoinLines(lines));
    ws.edition = 2;
    ws.channelMode = 1;
    ws.settings.FunctionFlags1 = 7;
    ws.settings.BandSelect = 1;
    ASSERT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_EQ(ws.edition, 2);
    EXPECT_EQ(ws.channelMode, 1);
    EXPECT_EQ(ws.settings.FunctionFlags1, 7);
    EXPECT_EQ(ws.settings.FunctionFlags2, 255);
    EXPECT_EQ(ws.settings.BandSelect, 1);

    ws.settings.NameId = "A\r\nB";
    ASSERT_TRUE(SaveConfigFile(ws).ok());
    const auto saved = CrLfLines(ReadBytes(PortFile()));
    ASSERT_EQ(saved.size(), 39u);
    EXPECT_EQ(saved[32], "AB");
    EXPECT_EQ(saved[33], "0");
}

TEST_F(StoreConfigFileTest, JunkPortFileLoadsWithoutHarm) {
    std::string junk(3 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < junk.size(); i += 97) junk[i] = static_cast<char>(i % 251);
    WriteBytes(PortFile(), junk);
    EXPECT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_LE(CharacterCount(ws.portName), kMaxLineLength);
    ASSERT_TRUE(SaveConfigFile(ws).ok());
    EXPECT_EQ(CrLfLines(ReadBytes(PortFile())).size(), 39u);
}

TEST_F(StoreConfigFileTest, FailedSaveNamesThePortFile) {
    WriteBytes(folder / "plain", "x");
    ws.programFolder = folder / "plain";
    const Status status = LoadConfigFile(ws);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "cannot write " + (folder / "plain" / "Port.txt").string() + ": Not a directory");
    EXPECT_EQ(ws.portName, "5");
}

TEST_F(StoreConfigFileTest, MissingGroupFileIsCreatedAndTextsStayZero) {
    ws.groups.GroupSize[3] = 9;
    ws.groups.ToneSetStartCode = "5";
    ASSERT_TRUE(LoadGroupFile(ws).ok());
    EXPECT_EQ(ReadBytes(GroupFile()), kDefaultGroupFile);
    EXPECT_EQ(ws.groups.GroupSize[3], 0);
    EXPECT_EQ(ws.groups.ToneSetStartCode, "");
    EXPECT_EQ(ws.groups.FreqSetStartChannel, "0");
    EXPECT_EQ(ws.groups.FreqSetLastChannel, "0");
    EXPECT_EQ(ws.groups.FreqSetStartFrequency, "0");

    // The next load turns the "0" marker back into empty texts.
    ASSERT_TRUE(LoadGroupFile(ws).ok());
    EXPECT_EQ(ws.groups.FreqSetStartChannel, "");
    EXPECT_EQ(ws.groups.FreqSetStartFrequency, "");
    EXPECT_EQ(ReadBytes(GroupFile()), kDefaultGroupFile);
}

TEST_F(StoreConfigFileTest, ZeroOnLine13EmptiesAllThreeFrequencySetTexts) {
    auto lines = CrLfLines(kDefaultGroupFile);
    lines[13] = "12";
    lines[14] = "446.00625";
    lines[0] = " 4 ";
    WriteBytes(GroupFile(), JoinLines(lines));
    ASSERT_TRUE(LoadGroupFile(ws).ok());
    EXPECT_EQ(ws.groups.GroupSize[0], 4);
    EXPECT_EQ(ws.groups.FreqSetStartChannel, "");
    EXPECT_EQ(ws.groups.FreqSetLastChannel, "");
    EXPECT_EQ(ws.groups.FreqSetStartFrequency, "");

    lines[12] = "3";
    WriteBytes(GroupFile(), JoinLines(lines));
    ASSERT_TRUE(LoadGroupFile(ws).ok());
    EXPECT_EQ(ws.groups.FreqSetStartChannel, "3");
    EXPECT_EQ(ws.groups.FreqSetLastChannel, "12");
    EXPECT_EQ(ws.groups.FreqSetStartFrequency, "446.00625");
}

TEST_F(StoreConfigFileTest, ShortGroupFileResetsOnlyWhenTheMarkerStaysEmpty) {
    const std::string twelve = RepeatLine(" 5 ", 12);
    WriteBytes(GroupFile(), twelve);
    ASSERT_TRUE(LoadGroupFile(ws).ok());
    EXPECT_EQ(ws.groups.GroupSize[0], 0);
    EXPECT_EQ(ReadBytes(GroupFile()), kDefaultGroupFile);

    WriteBytes(GroupFile(), twelve);
    ws.groups.FreqSetStartChannel = "2";
    ws.groups.FreqSetTarget = 0;
    ASSERT_TRUE(LoadGroupFile(ws).ok());
    EXPECT_EQ(ws.groups.GroupSize[9], 5);
    EXPECT_EQ(ws.groups.FreqSetTarget, 0);
    EXPECT_EQ(ReadBytes(GroupFile()), twelve);
}

TEST_F(StoreConfigFileTest, GroupSaveAppliesTheEmptyTextRuleInMemory) {
    ws.groups.FreqSetStartChannel = "";
    ws.groups.FreqSetLastChannel = "20";
    ws.groups.FreqSetStartFrequency = "446.1";
    ASSERT_TRUE(SaveGroupFile(ws).ok());
    EXPECT_EQ(ws.groups.FreqSetLastChannel, "0");
    EXPECT_EQ(ws.groups.FreqSetStartFrequency, "0");
    const auto lines = CrLfLines(ReadBytes(GroupFile()));
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[13], "0");
}

TEST_F(StoreConfigFileTest, GroupRoundTrip) {
    GroupTable& g = ws.groups;
    g.GroupSize = {10, 20, 0, 99, 1, 2, 3, 4, 5, 6};
    g.GroupsEnabled = 1;
    g.GroupSlotCount = 9;
    g.FreqSetStartChannel = "1";
    g.FreqSetLastChannel = "40";
    g.FreqSetStartFrequency = "446.00625";
    g.FreqSetTarget = 1;
    g.FreqSetDirection = 1;
    g.FreqSetBand = 1;
    g.FreqSetScan = 0;
    g.FreqSetStepIndex = 5;
    g.ToneSetKind = 1;
    g.ToneSetDirection = 1;
    g.ToneSetStepIndex = 3;
    g.ToneSetStartCode = "023";
    g.ToneSetStartChannel = "2";
    g.ToneSetLastChannel = "30";
    ASSERT_TRUE(SaveGroupFile(ws).ok());
    Workspace loaded;
    loaded.programFolder = folder.path();
    ASSERT_TRUE(LoadGroupFile(loaded).ok());
    EXPECT_EQ(loaded.groups, ws.groups);
}

}  // namespace
}  // namespace corvane

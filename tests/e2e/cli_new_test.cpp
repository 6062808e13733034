// corvane-cli new: the headless New File, access code and Mode menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "model/Workspace.h"
#include "store/ConfigFiles.h"
#include "store/WorkingSet.h"

namespace corvane::e2e {
namespace {

Workspace Reload(const std::filesystem::path& folder) {
    Workspace ws;
    ws.programFolder = folder;
    EXPECT_TRUE(LoadWorkingSetUnchangedEdition(ws).ok());
    return ws;
}

TEST(CliNew, EditionAndModeSwitchThenThePlanIsWritten) {
    TempDir dir;
    ProcessResult r = RunCliIn(dir, {"new", "--edition", "pmr-lpd"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("77 channels"), std::string::npos) << r.out;
    Workspace ws = Reload(dir.path());
    EXPECT_EQ(ws.edition, kEditionPmrLpd);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "446.006250");
    EXPECT_EQ(ws.channels.GetCell(77, ColRxFreq), "434.775000");

    // Custom mode: every channel empty, groups cleared, the edition kept.
    ws.groups.GroupSize[0] = 3;
    ws.groups.GroupsEnabled = 3;
    ASSERT_TRUE(SaveGroupFile(ws).ok());
    r = RunCliIn(dir, {"new", "--mode", "custom"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ws = Reload(dir.path());
    EXPECT_EQ(ws.edition, kEditionPmrLpd);
    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "");
    EXPECT_EQ(ws.groups.GroupsEnabled, 0);
    EXPECT_EQ(ws.channels.GetCell(1, ColGroup), "");

    // Another edition starts from its preset plan in Default mode, as the access code does.
    r = RunCliIn(dir, {"new", "--edition", "korea"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ws = Reload(dir.path());
    EXPECT_EQ(ws.edition, kEditionKorea);
    EXPECT_EQ(ws.channelMode, kModeDefault);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "423.187500");
}

TEST(CliNew, MissingFolderIsCreatedAndAnUnusableDataFolderOnlyWarns) {
    TempDir dir;
    const std::filesystem::path work = dir.path() / "work" / "radio";
    ProcessResult r = RunProcess({CORVANE_CLI, "--folder", work.string(), "new"}, kCliLimit);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(work / "Port.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(work / "Data"));

    // Data only serves the spreadsheet dialogs: a plain file in its place is reported once.
    std::filesystem::remove(work / "Data");
    { std::ofstream(work / "Data") << "not a folder"; }
    r = RunProcess({CORVANE_CLI, "--folder", work.string(), "new", "--mode", "custom"}, kCliLimit);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string data = (work / "Data").string();
    const auto first = r.err.find(data);
    ASSERT_NE(first, std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(data, first + 1), std::string::npos) << r.err;
    EXPECT_EQ(Reload(work).channelMode, kModeCustom);
}

TEST(CliNew, UnknownValuesAreUsageErrors) {
    TempDir dir;
    EXPECT_EQ(RunCliIn(dir, {"new", "--edition", "mars"}).exitCode, 2);
    EXPECT_EQ(RunCliIn(dir, {"new", "--mode", "loud"}).exitCode, 2);
    EXPECT_EQ(RunCliIn(dir, {"new", "extra"}).exitCode, 2);
}

}  // namespace
}  // namespace corvane::e2e

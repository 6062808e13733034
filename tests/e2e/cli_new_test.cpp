// corvane-cli new: the headless New File, access code and Mode menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_support.h"
#include "model/Workspace.h"
#include "store/ConfigFiles.h"
#include "store/WorkingSet.h"

namespace corvane::e2e {
namespace {

constexpr milliseconds kLimit{20'000};

ProcessResult InFolder(const TempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), {CORVANE_CLI, "--folder", dir.path().string()});
    return RunProcess(args, kLimit);
}

Workspace Reload(const TempDir& dir) {
    Workspace ws;
    ws.programFolder = dir.path();
    EXPECT_TRUE(LoadWorkingSetUnchangedEdition(ws).ok());
    return ws;
}

TEST(CliNew, EditionAndModeSwitchThenThePlanIsWritten) {
    TempDir dir;
    ProcessResult r = InFolder(dir, {"new", "--edition", "pmr-lpd"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("77 channels"), std::string::npos) << r.out;
    Workspace ws = Reload(dir);
    EXPECT_EQ(ws.edition, kEditionPmrLpd);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "446.006250");
    EXPECT_EQ(ws.channels.GetCell(77, ColRxFreq), "434.775000");

    // Custom mode: every channel empty, groups cleared, the edition kept.
    ws.groups.GroupSize[0] = 3;
    ws.groups.GroupsEnabled = 3;
    ASSERT_TRUE(SaveGroupFile(ws).ok());
    r = InFolder(dir, {"new", "--mode", "custom"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ws = Reload(dir);
    EXPECT_EQ(ws.edition, kEditionPmrLpd);
    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "");
    EXPECT_EQ(ws.groups.GroupsEnabled, 0);
    EXPECT_EQ(ws.channels.GetCell(1, ColGroup), "");
}

TEST(CliNew, UnknownValuesAreUsageErrors) {
    TempDir dir;
    EXPECT_EQ(InFolder(dir, {"new", "--edition", "mars"}).exitCode, 2);
    EXPECT_EQ(InFolder(dir, {"new", "--mode", "loud"}).exitCode, 2);
    EXPECT_EQ(InFolder(dir, {"new", "extra"}).exitCode, 2);
}

}  // namespace
}  // namespace corvane::e2e

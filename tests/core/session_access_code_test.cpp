// The access-code step both faces run: nothing but a missing Port.txt is
// written before a valid code, a damaged file is reset (copies kept) only
// after one, and a start that must not touch the files ends with why.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "model/AccessCode.h"
#include "model/ChannelTable.h"
#include "session/AccessCodeStep.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/SavePoint.h"
#include "store/TextLines.h"
#include "store_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using storetest::FolderTree;
using storetest::ReadBytes;
using storetest::ScratchFolder;
using storetest::StartingWorkspace;
using storetest::WriteBytes;

class AccessCodeStepTest : public ::testing::Test {
protected:
    // A Korea set whose Tx_Freq.txt lost all but its first line: damaged.
    void SetUp() override {
        Workspace ws = Fresh();
        ws.portName = "4";
        ws.edition = kEditionKorea;
        ASSERT_TRUE(LoadChannelFiles(ws).ok());
        SavePoint point(folder.path());
        // Staged in the save point: its Commit reports any failure.
        (void)SaveConfigFile(ws);
        (void)SaveGroupFile(ws);
        (void)SaveChannelFiles(ws);
        ASSERT_TRUE(point.Commit().ok());
        const std::string tx = ReadBytes(folder / "Tx_Freq.txt");
        WriteBytes(folder / "Tx_Freq.txt", tx.substr(0, tx.find("\r\n") + 2));
    }

    Workspace Fresh() const { return StartingWorkspace(folder.path()); }

    int16_t StoredEdition() const {
        Workspace reread = Fresh();
        (void)LoadConfigFile(reread);  // the file is compared, not the load's report
        return reread.edition;
    }

    ScratchFolder folder;
};

TEST_F(AccessCodeStepTest, OnlyAValidCodeResetsDamagedFilesAndKeepsItsEdition) {
    const auto damaged = FolderTree(folder.path());
    {
        Workspace ws = Fresh();
        AccessCodeStep step(ws);
        const AccessWindowLoad loaded = step.Load();
        EXPECT_FALSE(loaded.startRefused);
        EXPECT_EQ(loaded.message, "");
        EXPECT_EQ(ws.previousEdition, kEditionKorea);
        EXPECT_EQ(step.Enter("").outcome, AccessOutcome::Empty);
        const AccessEntry refused = step.Enter("Qzv");
        EXPECT_EQ(refused.outcome, AccessOutcome::Refused);
        EXPECT_EQ(refused.message, kInvalidAccessCodeText);
        EXPECT_FALSE(step.StartRefused());
        EXPECT_EQ(FolderTree(folder.path()), damaged);
    }
    Workspace ws = Fresh();
    AccessCodeStep step(ws);
    ASSERT_FALSE(step.Load().startRefused);
    const AccessEntry accepted = step.Enter("qzv");
    EXPECT_EQ(accepted.outcome, AccessOutcome::Accepted);
    EXPECT_EQ(accepted.message, "");
    EXPECT_EQ(ws.edition, kEditionPmrLpd);
    EXPECT_EQ(ws.previousEdition, kEditionKorea);  // the frame's load compares the two
    EXPECT_EQ(StoredEdition(), kEditionPmrLpd);
    EXPECT_NE(ReadBytes(folder / "Tx_Freq.txt"), damaged.at("Tx_Freq.txt"));
    const std::string notice = step.TakeStartNotice();
    EXPECT_TRUE(notice.starts_with("Tx_Freq.txt has only 1 of its 256 lines")) << notice;
    EXPECT_EQ(step.TakeStartNotice(), "");  // said once
}

TEST_F(AccessCodeStepTest, AStartThatMayNotTouchTheFilesEndsWithWhyAndWritesNothing) {
    // A file too large to read: refused at the window's load.
    WriteBytes(folder / "Rx_Freq.txt", std::string(kMaxBytesRead + 10, '5'));
    auto before = FolderTree(folder.path());
    {
        Workspace ws = Fresh();
        AccessCodeStep step(ws);
        const AccessWindowLoad loaded = step.Load();
        EXPECT_TRUE(loaded.startRefused);
        EXPECT_NE(loaded.message.find("too large"), std::string::npos) << loaded.message;
        EXPECT_TRUE(step.StartRefused());
        EXPECT_EQ(FolderTree(folder.path()), before);
    }
    // A damaged file no copy can be kept of: refused after the valid code.
    fs::remove(folder / "Rx_Freq.txt");
    WriteBytes(folder / "Data", "a file where the Data folder belongs");
    before = FolderTree(folder.path());
    Workspace ws = Fresh();
    AccessCodeStep step(ws);
    ASSERT_FALSE(step.Load().startRefused);
    const AccessEntry entry = step.Enter("wbn");
    EXPECT_EQ(entry.outcome, AccessOutcome::StartRefused);
    EXPECT_NE(entry.message.find("no copy could be kept"), std::string::npos) << entry.message;
    EXPECT_TRUE(step.StartRefused());
    EXPECT_EQ(step.StartNotice(), "");
    EXPECT_EQ(FolderTree(folder.path()), before);
}

}  // namespace
}  // namespace corvane

// The set kept after every step for a run that never reaches a save point:
// found at the next start when newer than the channel files, taken in as one
// change, and gone after a run that ended through a save point.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model/ChannelDefaults.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "session/FrameActions.h"
#include "store/RecoverySet.h"
#include "store/SetCommit.h"
#include "store/WorkingSet.h"
#include "store_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using storetest::ReadBytes;
using storetest::ScratchFolder;
using storetest::StartingWorkspace;
using storetest::WriteBytes;

// The disk's own operations, but every rename after the first few fails, as a
// kill between two renames of a commit leaves it (the journal stays).
class RenamesStopFileSystem final : public CommitFileSystem {
public:
    explicit RenamesStopFileSystem(int renamesAllowed) : left_(renamesAllowed) {}
    Status WriteNewFile(const fs::path& path, std::string_view bytes, std::optional<fs::perms> perms) override {
        return disk_.WriteNewFile(path, bytes, perms);
    }
    Status WriteJournal(const fs::path& path, std::string_view bytes) override { return disk_.WriteJournal(path, bytes); }
    Status Rename(const fs::path& from, const fs::path& to) override {
        if (left_-- <= 0) return Status::Error("killed");
        return disk_.Rename(from, to);
    }
    Status SyncFolder(const fs::path& folder) override { return disk_.SyncFolder(folder); }
    Status Remove(const fs::path& path) override { return disk_.Remove(path); }
    std::vector<std::string> ListPlainFiles(const fs::path& folder) override { return disk_.ListPlainFiles(folder); }

private:
    PosixCommitFileSystem disk_;
    int left_;
};

class RecoverySetTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A run that ended through Exit: the preset plan of PMR + LPD.
        Workspace saved = Fresh();
        saved.edition = kEditionPmrLpd;
        saved.portName = "4";
        ApplyRadioDefaults(saved.settings);
        FillDefaults(saved);
        ASSERT_TRUE(SaveConfigFile(saved).ok());
        ASSERT_TRUE(SaveWorkingSetOnExit(saved).ok());
    }
    Workspace Fresh() const { return StartingWorkspace(folder.path()); }
    // The next start's load of the working files.
    Workspace Loaded() const {
        Workspace ws = Fresh();
        EXPECT_TRUE(LoadWorkingSetUnchangedEdition(ws).ok());
        return ws;
    }
    std::optional<LeftRecovery> Find() const {
        const auto found = FindLeftRecovery(folder.path());
        EXPECT_TRUE(found.ok()) << found.message();
        return found.ok() ? found.value() : std::nullopt;
    }
    static void Edit(Workspace& ws) {
        ws.channels.SetFrequencyCell(433.075, 1, ColRxFreq);
        ws.channels.SetCell(2, ColPower, "High");
        ws.settings.Squelch = 3;
    }
    fs::path Recovery() const { return RecoveryFolder(folder.path()); }

    ScratchFolder folder;
};

TEST_F(RecoverySetTest, AKilledRunIsFoundNextStartAndTakenInAsOneChange) {
    Workspace run = Loaded();
    RecoveryKeeper keeper(folder.path());
    Edit(run);
    ASSERT_TRUE(keeper.Keep(run).ok());
    EXPECT_EQ(Recovery(), folder.path() / "Data" / "recovery");
    const std::string channelsOnDisk = ReadBytes(folder / "Rx_Freq.txt");
    // ... and the run is killed: no save point.

    Workspace next = Loaded();
    const std::optional<LeftRecovery> left = Find();
    ASSERT_TRUE(left.has_value());
    EXPECT_TRUE(left->snapshot == TakeSnapshot(run));
    EXPECT_TRUE(WorthOffering(*left, next));
    EXPECT_NE(RecoveryNotice(*left).find("File > Recover Unsaved Changes..."), std::string::npos);

    // A start under the other edition's code does not take it.
    Workspace otherEdition = next;
    otherEdition.edition = kEditionKorea;
    EXPECT_FALSE(WorthOffering(*left, otherEdition));

    next.portName = "7";  // chosen in this run: stays
    ASSERT_TRUE(TakeInRecovery(next, *left).ok());
    EXPECT_EQ(next.channels.GetCell(1, ColRxFreq), "433.075000");
    EXPECT_EQ(next.channels.GetCell(2, ColPower), "High");
    EXPECT_EQ(next.portName, "7");
    EXPECT_FALSE(WorthOffering(*left, next));
    // Port.txt follows at once, as after Undo; the channel files wait for a save point.
    Workspace reread = Fresh();
    ASSERT_TRUE(LoadConfigFile(reread).ok());
    EXPECT_EQ(reread.settings.Squelch, 3);
    EXPECT_EQ(ReadBytes(folder / "Rx_Freq.txt"), channelsOnDisk);

    // The same workspace again is not rewritten; a run ending through a save point leaves nothing.
    const auto keptAt = fs::last_write_time(Recovery() / "Port.txt");
    ASSERT_TRUE(keeper.Keep(run).ok());
    EXPECT_EQ(fs::last_write_time(Recovery() / "Port.txt"), keptAt);
    ASSERT_TRUE(keeper.Discard().ok());
    EXPECT_FALSE(fs::exists(Recovery()));
    EXPECT_FALSE(Find().has_value());
    EXPECT_TRUE(keeper.Discard().ok());
}

TEST_F(RecoverySetTest, OnlyALaterSavePointOfTheChannelsSupersedesIt) {
    Workspace run = Loaded();
    Edit(run);
    RecoveryKeeper keeper(folder.path());
    ASSERT_TRUE(keeper.Keep(run).ok());
    const auto later = fs::last_write_time(Recovery() / "Rx_Freq.txt") + std::chrono::seconds(5);

    // Port.txt and Group.txt change outside save points (a port chosen after the last step).
    fs::last_write_time(folder / "Port.txt", later);
    fs::last_write_time(folder / "Group.txt", later);
    ASSERT_TRUE(Find().has_value());

    // Another program's save point after the kill (a CLI import): the kept set is older.
    fs::last_write_time(folder / "Tone.txt", later);
    EXPECT_FALSE(Find().has_value());
    EXPECT_TRUE(fs::exists(Recovery() / "Tone.txt"));  // left for this run's first step or its end
}

TEST_F(RecoverySetTest, AKillDuringAKeepLeavesTheOldOrTheNewSetAndDamageIsSaid) {
    Workspace run = Loaded();
    RecoveryKeeper keeper(folder.path());
    run.channels.SetFrequencyCell(433.075, 1, ColRxFreq);
    ASSERT_TRUE(keeper.Keep(run).ok());
    run.channels.SetFrequencyCell(434.5, 1, ColRxFreq);
    run.channels.SetFrequencyCell(434.5, 255, ColTxFreq);
    {
        RenamesStopFileSystem killed(3);
        ScopedWorkingFileSystem scoped(killed);
        EXPECT_FALSE(keeper.Keep(run).ok());
    }
    EXPECT_TRUE(fs::exists(Recovery() / kSaveJournalName));
    std::optional<LeftRecovery> left = Find();  // finishes the journal
    ASSERT_TRUE(left.has_value());
    EXPECT_TRUE(left->snapshot == TakeSnapshot(run));
    EXPECT_FALSE(fs::exists(Recovery() / kSaveJournalName));

    // Killed while it was removed: an incomplete set is no recovery.
    fs::remove(Recovery() / "Comp.txt");
    EXPECT_FALSE(Find().has_value());

    // A set changed by hand is refused, naming the file.
    ASSERT_TRUE(keeper.Discard().ok());
    ASSERT_TRUE(keeper.Keep(run).ok());
    WriteBytes(Recovery() / "Tx_Freq.txt", "0\r\n");
    const auto damaged = FindLeftRecovery(folder.path());
    ASSERT_FALSE(damaged.ok());
    EXPECT_NE(damaged.message().find("Tx_Freq.txt has only 1 of its 256 lines"), std::string::npos) << damaged.message();
}

}  // namespace
}  // namespace corvane

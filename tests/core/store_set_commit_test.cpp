// A save point's files change together or not at all: a crash or a failure at
// any step of the commit, followed by a restart (the start-up recovery and a
// load), leaves exactly the old set or exactly the new one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "model/ChannelTable.h"
#include "model/ToneTable.h"
#include "store/ChannelFiles.h"
#include "store/CommitFileSystem.h"
#include "store/ConfigFiles.h"
#include "store/SavePoint.h"
#include "store/SetCommit.h"
#include "store/WorkingSet.h"
#include "store_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using storetest::ReadBytes;
using storetest::ScratchFolder;
using storetest::WriteBytes;

constexpr const char* kInjected = "injected failure";

// The commit's operations without the waits for the disk (the tests run
// hundreds of commits; what they check is the order of the steps).
class UnsyncedFileSystem final : public CommitFileSystem {
public:
    Status WriteNewFile(const fs::path& path, std::string_view bytes, std::optional<fs::perms> perms) override {
        std::FILE* file = std::fopen(path.c_str(), "wbx");
        if (file == nullptr) return Status::Error(std::strerror(errno));
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        std::fclose(file);
        if (perms) fs::permissions(path, *perms);
        return written ? Status::Ok() : Status::Error("short write");
    }
    Status WriteJournal(const fs::path& path, std::string_view bytes) override {
        const fs::path temp = fs::path(path) += ".tmp-99";
        if (Status written = WriteNewFile(temp, bytes, std::nullopt); !written) return written;
        return Rename(temp, path);
    }
    Status Rename(const fs::path& from, const fs::path& to) override {
        std::error_code ec;
        fs::rename(from, to, ec);
        return ec ? Status::Error(ec.message()) : Status::Ok();
    }
    Status SyncFolder(const fs::path&) override { return Status::Ok(); }
    Status Remove(const fs::path& path) override {
        std::error_code ec;
        fs::remove(path, ec);
        return ec ? Status::Error(ec.message()) : Status::Ok();
    }
    std::vector<std::string> ListPlainFiles(const fs::path& folder) override { return posix_.ListPlainFiles(folder); }

private:
    PosixCommitFileSystem posix_;
};

// The POSIX operations with a fault at one of them: a crash (that operation
// and every later one never happen, as when the process is killed) or a
// failure (that operation fails, the program goes on).
class FaultyFileSystem final : public CommitFileSystem {
public:
    enum class Fault { None, Crash, Fail };

    void Arm(int operation, Fault fault) {
        armed_ = operation;
        fault_ = fault;
        count_ = 0;
        crashed_ = false;
        kinds.clear();
    }

    Status WriteNewFile(const fs::path& path, std::string_view bytes, std::optional<fs::perms> perms) override {
        if (!Proceed("write")) return Status::Error(kInjected);
        return inner_.WriteNewFile(path, bytes, perms);
    }
    Status WriteJournal(const fs::path& path, std::string_view bytes) override {
        if (!Proceed("journal")) return Status::Error(kInjected);
        return inner_.WriteJournal(path, bytes);
    }
    Status Rename(const fs::path& from, const fs::path& to) override {
        if (!Proceed("rename")) return Status::Error(kInjected);
        return inner_.Rename(from, to);
    }
    Status SyncFolder(const fs::path& folder) override {
        if (!Proceed("sync")) return Status::Error(kInjected);
        return inner_.SyncFolder(folder);
    }
    Status Remove(const fs::path& path) override {
        if (!Proceed("remove")) return Status::Error(kInjected);
        return inner_.Remove(path);
    }
    std::vector<std::string> ListPlainFiles(const fs::path& folder) override {
        if (crashed_) return {};
        return inner_.ListPlainFiles(folder);
    }

    // Every operation asked for, in order, up to a crash.
    std::vector<std::string> kinds;

private:
    bool Proceed(const char* kind) {
        if (crashed_) return false;
        const int index = count_++;
        kinds.emplace_back(kind);
        if (index != armed_ || fault_ == Fault::None) return true;
        crashed_ = fault_ == Fault::Crash;
        return false;
    }

    UnsyncedFileSystem inner_;
    int armed_ = -1;
    Fault fault_ = Fault::None;
    int count_ = 0;
    bool crashed_ = false;
};

// Every byte of the ten working files (through links), missing ones as such.
using SetBytes = std::map<std::string, std::string>;

SetBytes BytesOfSet(const fs::path& folder) {
    SetBytes set;
    for (const std::string& name : WorkingFileNames()) {
        set[name] = fs::exists(folder / name) ? ReadBytes(folder / name) : std::string("<missing>");
    }
    return set;
}

void RestoreSet(const fs::path& folder, const SetBytes& set) {
    const SetBytes now = BytesOfSet(folder);
    for (const auto& [name, bytes] : set) {
        if (now.at(name) != bytes) WriteBytes(folder / name, bytes);  // through links, as they were
    }
}

// Anything of a commit left in a folder: temporaries and journals.
std::vector<std::string> Leftovers(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".tmp-") != std::string::npos || name.starts_with(kSaveJournalName)) found.push_back(name);
    }
    return found;
}

// A working set whose every file differs between variant 0 and 1.
void FillVariant(Workspace& ws, int variant) {
    ws.portName = variant == 0 ? "4" : "7";
    ws.edition = kEditionKorea;
    ws.settings.Squelch = static_cast<uint8_t>(3 + variant);
    ws.groups.GroupSize[0] = static_cast<uint8_t>(5 + variant);
    ws.groups.FreqSetStartChannel = "1";
    for (int row = 1; row <= kChannelCount; ++row) {
        ws.channels.SetCell(row, ColLabel, ChannelLabel(row));
        ws.channels.SetFrequencyCell(423.0 + 0.0125 * (row + variant), row, ColRxFreq);
        ws.channels.SetFrequencyCell(444.0 + 0.0125 * (row + variant), row, ColTxFreq);
        ws.channels.SetCell(row, ColCtcss, CtcssLabel(variant == 0 ? 12 : 0));
        ws.channels.SetCell(row, ColDcs, DcsLabel(variant == 0 ? 0 : 5, ws.edition));
        static constexpr const char* kWords[][2] = {{"No", "Yes"}, {"Narrow", "Wide"}, {"Low", "High"}, {"Off", "On"}, {"Off", "On"}};
        for (int col = ColScan; col <= ColCompander; ++col) {
            const bool set = (row + variant + col) % 2 == 0;
            ws.channels.SetCell(row, col, kWords[col - ColScan][set ? 1 : 0]);
        }
    }
}

struct SavePointCase {
    const char* name;
    bool groupLinkedElsewhere;  // Group.txt is a link into another folder
    std::function<Status(Workspace&)> save;
};

const std::vector<SavePointCase>& SavePointCases() {
    static const std::vector<SavePointCase> cases{
        {"Port.txt alone (a port choice)", false, [](Workspace& ws) { return SaveConfigFile(ws); }},
        {"Exit's nine", false, [](Workspace& ws) { return SaveWorkingSetOnExit(ws); }},
        {"all ten (an import, a read, New), Group.txt linked into another folder", true,
         [](Workspace& ws) {
             SavePoint point(ws.programFolder);
             // Staged in the save point: its Commit reports any failure.
             (void)SaveConfigFile(ws);
             (void)SaveGroupFile(ws);
             (void)SaveChannelFiles(ws);
             return point.Commit();
         }},
    };
    return cases;
}

// One save point in a scratch folder: its old set on disk, its new set known.
class SavePointScene {
public:
    explicit SavePointScene(const SavePointCase& kind) : kind_(kind), installed_(fast_) {
        fs::create_directories(Folder());
        if (kind.groupLinkedElsewhere) {
            fs::create_directories(Shared());
            fs::create_symlink(Shared() / "groups.txt", Folder() / "Group.txt");
        }
        Workspace old = WorkspaceFor(0);
        SavePoint point(Folder());
        // Staged in the save point: its Commit reports any failure.
        (void)SaveConfigFile(old);
        (void)SaveGroupFile(old);
        (void)SaveChannelFiles(old);
        EXPECT_TRUE(point.Commit().ok());
        oldSet_ = BytesOfSet(Folder());
        Workspace next = WorkspaceFor(1);
        EXPECT_TRUE(kind_.save(next).ok());
        newSet_ = BytesOfSet(Folder());
        EXPECT_NE(oldSet_, newSet_);
        RestoreSet(Folder(), oldSet_);
    }

    fs::path Folder() const { return scratch_ / "set"; }
    fs::path Shared() const { return scratch_ / "shared"; }
    const SetBytes& OldSet() const { return oldSet_; }
    const SetBytes& NewSet() const { return newSet_; }

    Status SaveNewSetThrough(CommitFileSystem& through) {
        Workspace next = WorkspaceFor(1);
        const ScopedWorkingFileSystem installed(through);
        return kind_.save(next);
    }

    // The next start: the recovery, then the load every face runs.
    SetBytes Restart() const {
        EXPECT_TRUE(RecoverInterruptedSave(Folder()).ok());
        Workspace loaded;
        loaded.programFolder = Folder();
        ClearToStartUpState(loaded);
        EXPECT_TRUE(LoadWorkingSetUnchangedEdition(loaded).ok());
        return BytesOfSet(Folder());
    }

    std::vector<std::string> AllLeftovers() const {
        std::vector<std::string> found = Leftovers(Folder());
        if (kind_.groupLinkedElsewhere) {
            for (const std::string& name : Leftovers(Shared())) found.push_back("shared/" + name);
        }
        return found;
    }

    void Reset() {
        for (const fs::path& folder : {Folder(), Shared()}) {
            if (!fs::exists(folder)) continue;
            for (const std::string& name : Leftovers(folder)) fs::remove(folder / name);
        }
        RestoreSet(Folder(), oldSet_);
    }

private:
    Workspace WorkspaceFor(int variant) const {
        Workspace ws;
        ws.programFolder = Folder();
        FillVariant(ws, variant);
        return ws;
    }

    const SavePointCase& kind_;
    UnsyncedFileSystem fast_;
    ScopedWorkingFileSystem installed_;  // restarts and set-ups too
    ScratchFolder scratch_;
    SetBytes oldSet_;
    SetBytes newSet_;
};

int IndexOf(const std::vector<std::string>& kinds, const std::string& kind) {
    return static_cast<int>(std::find(kinds.begin(), kinds.end(), kind) - kinds.begin());
}

TEST(StoreSetCommit, ACrashAtAnyStepThenARestartGivesTheOldSetOrTheNewSet) {
    for (const SavePointCase& kind : SavePointCases()) {
        SCOPED_TRACE(kind.name);
        SavePointScene scene(kind);
        FaultyFileSystem faulty;
        faulty.Arm(-1, FaultyFileSystem::Fault::None);
        ASSERT_TRUE(scene.SaveNewSetThrough(faulty).ok());
        const std::vector<std::string> steps = faulty.kinds;
        const int journal = IndexOf(steps, "journal");
        ASSERT_LT(journal, static_cast<int>(steps.size()));
        // Every temporary before the journal, every rename after it, then the syncs and the removal.
        EXPECT_EQ(journal, std::count(steps.begin(), steps.end(), "write"));
        EXPECT_EQ(std::count(steps.begin(), steps.end(), "rename"), journal);
        EXPECT_EQ(steps.back(), "remove");
        scene.Reset();

        // Crash before step k, for every k; k == steps.size() is no crash at all.
        for (int k = 0; k <= static_cast<int>(steps.size()); ++k) {
            SCOPED_TRACE("crash before step " + std::to_string(k) + (k < static_cast<int>(steps.size()) ? " (" + steps[k] + ")" : ""));
            faulty.Arm(k, FaultyFileSystem::Fault::Crash);
            const Status saved = scene.SaveNewSetThrough(faulty);
            if (k == static_cast<int>(steps.size())) {
                EXPECT_TRUE(saved.ok()) << saved.message();
            }
            const SetBytes after = scene.Restart();
            EXPECT_TRUE(after == (k <= journal ? scene.OldSet() : scene.NewSet()));
            EXPECT_EQ(scene.AllLeftovers(), std::vector<std::string>{});
            scene.Reset();
        }
    }
}

TEST(StoreSetCommit, AFailedStepLeavesTheOldSetBeforeTheJournalAndTheNewSetAfterIt) {
    for (const SavePointCase& kind : SavePointCases()) {
        SCOPED_TRACE(kind.name);
        SavePointScene scene(kind);
        FaultyFileSystem faulty;
        faulty.Arm(-1, FaultyFileSystem::Fault::None);
        ASSERT_TRUE(scene.SaveNewSetThrough(faulty).ok());
        const std::vector<std::string> steps = faulty.kinds;
        const int journal = IndexOf(steps, "journal");
        scene.Reset();

        for (int k = 0; k < static_cast<int>(steps.size()); ++k) {
            SCOPED_TRACE("step " + std::to_string(k) + " (" + steps[k] + ") fails");
            faulty.Arm(k, FaultyFileSystem::Fault::Fail);
            const Status saved = scene.SaveNewSetThrough(faulty);
            if (k <= journal) {
                // Nothing changed, nothing left behind, and the message names the file.
                ASSERT_FALSE(saved.ok());
                EXPECT_TRUE(saved.message().starts_with("cannot write " + scene.Folder().string() + "/")) << saved.message();
                EXPECT_NE(saved.message().find(kInjected), std::string::npos);
                EXPECT_EQ(BytesOfSet(scene.Folder()), scene.OldSet());
                EXPECT_EQ(scene.AllLeftovers(), std::vector<std::string>{});
            } else if (steps[k] == "rename" || steps[k] == "sync") {
                // The set is decided: the next start completes it.
                ASSERT_FALSE(saved.ok());
                EXPECT_NE(saved.message().find(kInjected), std::string::npos);
                EXPECT_TRUE(scene.Restart() == scene.NewSet());
            } else {
                EXPECT_TRUE(saved.ok()) << saved.message();  // a journal that outlives its set is harmless
                EXPECT_TRUE(scene.Restart() == scene.NewSet());
            }
            EXPECT_EQ(scene.AllLeftovers(), std::vector<std::string>{});
            scene.Reset();
        }
    }
}

TEST(StoreSetCommit, FailuresNameTheFileOfAWriteOrTheJournal) {
    const SavePointCase& ten = SavePointCases()[2];
    SavePointScene scene(ten);
    FaultyFileSystem faulty;
    // Port.txt is written first; the eight channel files follow Group.txt.
    faulty.Arm(0, FaultyFileSystem::Fault::Fail);
    EXPECT_EQ(scene.SaveNewSetThrough(faulty).message(), "cannot write " + (scene.Folder() / "Port.txt").string() +
                                                             ": injected failure; no file of this save was changed");
    faulty.Arm(10, FaultyFileSystem::Fault::Fail);
    EXPECT_EQ(scene.SaveNewSetThrough(faulty).message(), "cannot write " + (scene.Folder() / kSaveJournalName).string() +
                                                             ": injected failure; no file of this save was changed");
    const SavePointScene single(SavePointCases()[0]);
    faulty.Arm(0, FaultyFileSystem::Fault::Fail);
    Workspace ws;
    ws.programFolder = single.Folder();
    FillVariant(ws, 1);
    const ScopedWorkingFileSystem installed(faulty);
    EXPECT_EQ(SaveConfigFile(ws).message(), "cannot write " + (single.Folder() / "Port.txt").string() + ": injected failure");
}

TEST(StoreSetCommit, AJournalThatIsNotCompleteIsDiscardedWithItsTemporaries) {
    const SavePointCase& ten = SavePointCases()[2];
    SavePointScene scene(ten);
    const fs::path journal = scene.Folder() / kSaveJournalName;
    const std::vector<std::pair<const char*, std::function<std::string(std::string)>>> damages{
        {"intact", [](std::string text) { return text; }},
        {"last line torn", [](std::string text) { return text.substr(0, text.size() - 3); }},
        {"trailer missing", [](std::string text) { return text.substr(0, text.rfind("end ")); }},
        {"a digit changed", [](std::string text) {
             char& digit = text[text.find(".tmp-") + 5];
             digit = digit == '1' ? '2' : '1';
             return text;
         }},
        {"empty", [](std::string) { return std::string(); }},
        {"not a journal", [](std::string) { return std::string("hello\nend 0 0\n"); }},
    };
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        FaultyFileSystem faulty;
        faulty.Arm(11, FaultyFileSystem::Fault::Crash);  // right after the journal
        ASSERT_FALSE(scene.SaveNewSetThrough(faulty).ok());
        ASSERT_TRUE(fs::exists(journal));
        WriteBytes(journal, damage(ReadBytes(journal)));
        const Result<Recovery> recovered = RecoverInterruptedSave(scene.Folder());
        ASSERT_TRUE(recovered.ok());
        const bool intact = std::string(name) == "intact";
        EXPECT_EQ(recovered->action, intact ? RecoveryAction::Finished : RecoveryAction::Discarded);
        EXPECT_EQ(recovered->temporariesRemoved, intact ? 0 : 10);
        EXPECT_TRUE(BytesOfSet(scene.Folder()) == (intact ? scene.NewSet() : scene.OldSet()));
        EXPECT_EQ(scene.AllLeftovers(), std::vector<std::string>{});
        scene.Reset();
    }
}

TEST(StoreSetCommit, TheCommitKeepsLinksAndPermissionBitsAndRefusesAFileTheUserCannotWrite) {
    const SavePointCase& ten = SavePointCases()[2];
    SavePointScene scene(ten);
    const fs::path scan = scene.Folder() / "Scan.txt";
    fs::permissions(scan, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    PosixCommitFileSystem posix;
    ASSERT_TRUE(scene.SaveNewSetThrough(posix).ok());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(scene.Folder() / "Group.txt")));
    EXPECT_EQ(ReadBytes(scene.Shared() / "groups.txt"), scene.NewSet().at("Group.txt"));
    EXPECT_EQ(fs::status(scan).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    scene.Reset();

    // Comp.txt, the last of the ten, read-only for an ordinary user: found
    // before the journal, so the ten stay as they were.
    const fs::path comp = scene.Folder() / "Comp.txt";
    fs::permissions(comp, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::vector<fs::path> given{scene.Folder(), scene.Shared(), scene.Shared() / "groups.txt"};
    for (const std::string& name : WorkingFileNames()) given.push_back(scene.Folder() / name);
    const auto message = storetest::RunWithoutRoot(
        [&] {
            const Status saved = scene.SaveNewSetThrough(posix);
            return saved.ok() ? std::string("saved") : saved.message();
        },
        given);
    if (!message) GTEST_SKIP() << "cannot run as a user that permissions apply to (needs root to switch to nobody)";
    EXPECT_EQ(*message, "cannot write " + comp.string() + ": Permission denied; no file of this save was changed");
    EXPECT_TRUE(BytesOfSet(scene.Folder()) == scene.OldSet());
    EXPECT_EQ(scene.AllLeftovers(), std::vector<std::string>{});
}

TEST(StoreSetCommit, ATemporaryIsNeverWrittenThroughALinkPlantedAtItsName) {
    ScratchFolder folder;
    PosixCommitFileSystem posix;
    WriteBytes(folder / "victim", "keep");
    fs::create_symlink(folder / "victim", folder / "Port.txt.tmp-1234");
    fs::create_symlink(folder / "nowhere", folder / "Port.txt.tmp-5678");
    for (const char* planted : {"Port.txt.tmp-1234", "Port.txt.tmp-5678"}) {
        SCOPED_TRACE(planted);
        const Status written = posix.WriteNewFile(folder / planted, "new", std::nullopt);
        EXPECT_EQ(written.message(), "File exists");
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / planted)));
    }
    EXPECT_EQ(ReadBytes(folder / "victim"), "keep");
    EXPECT_FALSE(fs::exists(folder / "nowhere"));
}

TEST(StoreSetCommit, ASavePointInsideAnotherOfTheSameFolderJoinsIt) {
    ScratchFolder folder;
    Workspace ws;
    ws.programFolder = folder.path();
    FillVariant(ws, 0);
    {
        SavePoint outer(folder.path());
        EXPECT_TRUE(SaveWorkingSetOnExit(ws).ok());  // its own save point joins: nothing written yet
        EXPECT_FALSE(fs::exists(folder / "Group.txt"));
        // Staged in the save point: its Commit reports any failure.
        (void)SaveConfigFile(ws);
        EXPECT_EQ(outer.StagedNames().size(), 10u);
        // Without Commit nothing is written.
    }
    EXPECT_TRUE(fs::is_empty(folder.path()));
    SavePoint point(folder.path());
    // Staged in the save point: its Commit reports any failure.
    (void)SaveConfigFile(ws);
    ASSERT_TRUE(point.Commit().ok());
    EXPECT_TRUE(fs::exists(folder / "Port.txt"));
    // After its commit the save point no longer holds saves back.
    ASSERT_TRUE(SaveGroupFile(ws).ok());
    EXPECT_TRUE(fs::exists(folder / "Group.txt"));
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Names each file a commit writes, through the unsynced operations.
class WriteLog final : public CommitFileSystem {
public:
    Status WriteNewFile(const fs::path& path, std::string_view bytes, std::optional<fs::perms> perms) override {
        written.push_back(path.filename().string().substr(0, path.filename().string().find(".tmp-")));
        return inner_.WriteNewFile(path, bytes, perms);
    }
    Status WriteJournal(const fs::path& path, std::string_view bytes) override { return inner_.WriteJournal(path, bytes); }
    Status Rename(const fs::path& from, const fs::path& to) override { return inner_.Rename(from, to); }
    Status SyncFolder(const fs::path& folder) override { return inner_.SyncFolder(folder); }
    Status Remove(const fs::path& path) override { return inner_.Remove(path); }
    std::vector<std::string> ListPlainFiles(const fs::path& folder) override { return inner_.ListPlainFiles(folder); }

    std::vector<std::string> written;

private:
    UnsyncedFileSystem inner_;
};

// The page saves its whole set after every step: a save point told to skip
// an unchanged set writes nothing at all, and one changed file brings every
// staged file along, so the set stays one.
TEST(StoreSetCommit, ASavePointSkippingAnUnchangedSetWritesAllOrNothing) {
    const storetest::ScratchFolder folder;
    WriteBytes(folder.path() / "Port.txt", "port\r\n");
    WriteBytes(folder.path() / "Group.txt", "group\r\n");
    WriteLog log;
    const auto save = [&](const std::string& group) {
        SavePoint point(folder.path(), log);
        // Staged in the save point: its Commit reports any failure.
        (void)SaveWorkingFile(folder.path(), "Port.txt", "port\r\n");
        (void)SaveWorkingFile(folder.path(), "Group.txt", group);
        point.SkipWhenUnchanged();
        return point.Commit();
    };
    ASSERT_TRUE(save("group\r\n").ok());
    EXPECT_EQ(log.written, std::vector<std::string>{});
    ASSERT_TRUE(save("changed\r\n").ok());
    EXPECT_EQ(log.written, (std::vector<std::string>{"Port.txt", "Group.txt"}));
    EXPECT_EQ(ReadBytes(folder.path() / "Group.txt"), "changed\r\n");
}

}  // namespace
}  // namespace corvane

// Damaged working files: the start resets them exactly as the readers do,
// after a copy of every file it replaces is safe, and says so once; a command
// that only reads refuses instead and changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "model/ChannelTable.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/SavePoint.h"
#include "store/WorkingSet.h"
#include "store_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using storetest::FolderTree;
using storetest::ReadBytes;
using storetest::RepeatLine;
using storetest::ScratchFolder;
using storetest::StartingWorkspace;
using storetest::WriteBytes;

std::string FirstLines(const std::string& bytes, int count) {
    std::size_t at = 0;
    for (int i = 0; i < count; ++i) at = bytes.find("\r\n", at) + 2;
    return bytes.substr(0, at);
}

// What a reader writes for a missing file: the reset bytes of every file.
std::map<std::string, std::string> ResetBytes() {
    ScratchFolder empty;
    Workspace ws = StartingWorkspace(empty.path());
    EXPECT_TRUE(LoadConfigFile(ws).ok());
    EXPECT_TRUE(LoadGroupFile(ws).ok());
    EXPECT_TRUE(LoadChannelFiles(ws).ok());
    std::map<std::string, std::string> bytes;
    for (const std::string& name : WorkingFileNames()) bytes[name] = ReadBytes(empty / name);
    return bytes;
}

struct DamageCase {
    const char* name;
    std::function<void(const fs::path&)> damage;
    std::vector<std::string> reset;   // files the start rewrites
    std::vector<std::string> copied;  // of those, the ones that existed
    std::string problem;              // as the notice and the refusal say it
};

const std::vector<DamageCase>& DamageCases() {
    static const std::vector<DamageCase> cases{
        {"Tx_Freq.txt cut to 100 lines",
         [](const fs::path& f) { WriteBytes(f / "Tx_Freq.txt", FirstLines(ReadBytes(f / "Tx_Freq.txt"), 100)); },
         {"Rx_Freq.txt", "Tx_Freq.txt"}, {"Rx_Freq.txt", "Tx_Freq.txt"},
         "Tx_Freq.txt has only 100 of its 256 lines, so both frequency files"},
        {"Rx_Freq.txt missing", [](const fs::path& f) { fs::remove(f / "Rx_Freq.txt"); },
         {"Rx_Freq.txt", "Tx_Freq.txt"}, {"Tx_Freq.txt"}, "Rx_Freq.txt is missing, so both frequency files"},
        {"Rx_Freq.txt a folder", [](const fs::path& f) {
             fs::remove(f / "Rx_Freq.txt");
             fs::create_directory(f / "Rx_Freq.txt");
         },
         {}, {}, "Rx_Freq.txt is a folder, not a file, so both frequency files"},
        {"Scan.txt with an empty first line",
         [](const fs::path& f) { WriteBytes(f / "Scan.txt", "\r\n" + ReadBytes(f / "Scan.txt").substr(5)); },
         {"Scan.txt"}, {"Scan.txt"}, "Scan.txt has an empty first line, so it"},
        {"Comp.txt empty", [](const fs::path& f) { WriteBytes(f / "Comp.txt", ""); }, {"Comp.txt"}, {"Comp.txt"},
         "Comp.txt is empty, so it"},
        {"Port.txt without its port", [](const fs::path& f) { WriteBytes(f / "Port.txt", "\r\n 2 \r\n 1 \r\n"); },
         {"Port.txt"}, {"Port.txt"}, "Port.txt has no serial port on its first line, so it"},
        {"Group.txt cut to 5 lines",
         [](const fs::path& f) { WriteBytes(f / "Group.txt", FirstLines(ReadBytes(f / "Group.txt"), 5)); },
         {"Group.txt"}, {"Group.txt"}, "Group.txt has only 5 of its 26 lines, so it"},
    };
    return cases;
}

class StoreDamagedFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Workspace ws;
        ws.programFolder = folder.path();
        ws.portName = "4";
        ws.edition = kEditionKorea;
        ws.groups.GroupSize[0] = 4;
        ws.groups.FreqSetStartChannel = "2";
        ASSERT_TRUE(LoadChannelFiles(ws).ok());
        ws.channels.SetFrequencyCell(423.0125, 1, ColRxFreq);
        ws.channels.SetFrequencyCell(444.0125, 1, ColTxFreq);
        ws.channels.SetCell(3, ColScan, "No");
        ws.channels.SetCell(3, ColCompander, "On");
        SavePoint point(folder.path());
        // Staged in the save point: its Commit reports any failure.
        (void)SaveConfigFile(ws);
        (void)SaveGroupFile(ws);
        (void)SaveChannelFiles(ws);
        ASSERT_TRUE(point.Commit().ok());
        intact = FolderTree(folder.path());
    }

    fs::path CopiesFolder() const {
        const fs::path backups = folder / "Data" / "backups";
        if (!fs::is_directory(backups)) return {};
        for (const auto& entry : fs::directory_iterator(backups)) return entry.path();
        return {};
    }

    ScratchFolder folder;
    std::map<std::string, std::string> intact;
};

TEST_F(StoreDamagedFilesTest, TheStartResetsWhatTheReadersResetAfterKeepingCopies) {
    const auto resetBytes = ResetBytes();
    for (const DamageCase& damage : DamageCases()) {
        SCOPED_TRACE(damage.name);
        fs::remove_all(folder / "Data");
        for (const auto& [name, bytes] : intact) {
            fs::remove_all(folder / name);
            WriteBytes(folder / name, bytes);
        }
        damage.damage(folder.path());
        const auto damaged = FolderTree(folder.path());

        const Result<StartReport> started = PrepareWorkingSet(folder.path(), StartMode::MayReset);
        if (damage.reset.empty()) {
            // A folder in a file's place cannot be replaced: nothing changes, and the start says why.
            ASSERT_FALSE(started.ok());
            EXPECT_NE(started.message().find((folder / "Rx_Freq.txt").string()), std::string::npos) << started.message();
            EXPECT_EQ(FolderTree(folder.path()), damaged);
            continue;
        }
        ASSERT_TRUE(started.ok()) << started.message();
        const fs::path copies = CopiesFolder();
        ASSERT_TRUE(copies.filename().string().starts_with("damaged-")) << copies;
        EXPECT_EQ(copies.filename().string().size(), std::string("damaged-2025-01-31_235959").size());
        EXPECT_EQ(started->notice, damage.problem + (damage.reset.size() == 2 ? " were reset" : " was reset to its defaults") +
                                       ". The files as they were are kept in " + copies.string() + ".");
        for (const std::string& name : WorkingFileNames()) {
            const bool reset = std::find(damage.reset.begin(), damage.reset.end(), name) != damage.reset.end();
            EXPECT_EQ(ReadBytes(folder / name), reset ? resetBytes.at(name) : intact.at(name)) << name;
        }
        std::vector<std::string> copied;
        for (const auto& entry : fs::directory_iterator(copies)) {
            copied.push_back(entry.path().filename().string());
            EXPECT_EQ(ReadBytes(entry.path()), damaged.at(copied.back()));
        }
        std::sort(copied.begin(), copied.end());
        EXPECT_EQ(copied, damage.copied);
        // The next start finds nothing to reset.
        const auto repaired = FolderTree(folder.path());
        ASSERT_TRUE(PrepareWorkingSet(folder.path(), StartMode::MayReset).ok());
        EXPECT_EQ(FolderTree(folder.path()), repaired);
    }
}

TEST_F(StoreDamagedFilesTest, SeveralDamagedFilesMakeOneNoticeAndOneCopiesFolder) {
    DamageCases()[0].damage(folder.path());
    DamageCases()[3].damage(folder.path());
    const Result<StartReport> started = PrepareWorkingSet(folder.path(), StartMode::MayReset);
    ASSERT_TRUE(started.ok()) << started.message();
    EXPECT_EQ(started->notice,
              "Tx_Freq.txt has only 100 of its 256 lines, so both frequency files were reset; Scan.txt has an empty "
              "first line, so it was reset to its defaults. The files as they were are kept in " +
                  CopiesFolder().string() + ".");
    EXPECT_EQ(std::distance(fs::directory_iterator(CopiesFolder()), fs::directory_iterator()), 3);
}

TEST_F(StoreDamagedFilesTest, MissingFilesAndACompleteSetGiveNoNoticeAndNoCopy) {
    ASSERT_TRUE(PrepareWorkingSet(folder.path(), StartMode::MayReset).ok());
    EXPECT_EQ(FolderTree(folder.path()), intact);

    // A first start: the readers create the files later, as always.
    ScratchFolder empty;
    const Result<StartReport> first = PrepareWorkingSet(empty.path(), StartMode::MayReset);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first->notice, "");
    EXPECT_TRUE(fs::is_empty(empty.path()));
}

TEST_F(StoreDamagedFilesTest, WithoutACopyNothingIsReset) {
    DamageCases()[0].damage(folder.path());
    WriteBytes(folder / "Data", "a file where the Data folder belongs");
    const auto damaged = FolderTree(folder.path());
    const Result<StartReport> started = PrepareWorkingSet(folder.path(), StartMode::MayReset);
    ASSERT_FALSE(started.ok());
    EXPECT_TRUE(started.message().starts_with((folder / "Tx_Freq.txt").string() +
                                              " has only 100 of its 256 lines, so both frequency files would be reset, "
                                              "but no copy could be kept ("))
        << started.message();
    EXPECT_TRUE(started.message().ends_with("), so the files were left as they are")) << started.message();
    EXPECT_EQ(FolderTree(folder.path()), damaged);
    // A reader on its own refuses the same way.
    Workspace ws = storetest::WorkspaceIn(folder);
    EXPECT_FALSE(LoadFrequencyFiles(ws).ok());
    EXPECT_EQ(FolderTree(folder.path()), damaged);
}

TEST_F(StoreDamagedFilesTest, AReadOnlyLoadRefusesADamagedFileAndWritesNothing) {
    for (const DamageCase& damage : DamageCases()) {
        SCOPED_TRACE(damage.name);
        for (const auto& [name, bytes] : intact) {
            fs::remove_all(folder / name);
            WriteBytes(folder / name, bytes);
        }
        damage.damage(folder.path());
        const auto damaged = FolderTree(folder.path());
        Workspace ws = StartingWorkspace(folder.path());
        const Status loaded = LoadWorkingSetReadOnly(ws);
        ASSERT_FALSE(loaded.ok());
        EXPECT_TRUE(loaded.message().starts_with((folder.path() / damage.problem).string())) << loaded.message();
        EXPECT_TRUE(loaded.message().ends_with("would be reset; this command only reads, so it changed nothing") ||
                    loaded.message().ends_with("would be reset to its defaults; this command only reads, so it changed nothing"))
            << loaded.message();
        EXPECT_EQ(FolderTree(folder.path()), damaged);
    }

    // Missing files: their defaults in memory, nothing created.
    ScratchFolder empty;
    Workspace ws = StartingWorkspace(empty.path());
    ASSERT_TRUE(LoadWorkingSetReadOnly(ws).ok());
    EXPECT_EQ(ws.portName, "5");
    EXPECT_EQ(ws.edition, kEditionKorea);
    EXPECT_EQ(ws.channels.GetCell(1, ColScan), "Yes");
    EXPECT_TRUE(fs::is_empty(empty.path()));
}

}  // namespace
}  // namespace corvane

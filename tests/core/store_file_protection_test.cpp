// Saves keep what the user set up around a file: links, permission bits,
// read-only files; start-up clears only our own leftovers and never resets a
// file it cannot read.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model/ChannelTable.h"
#include "store/AtomicFile.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/TextLines.h"
#include "store/WorkingSet.h"
#include "store_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using storetest::ReadBytes;
using storetest::RepeatLine;
using storetest::ScratchFolder;
using storetest::WriteBytes;

fs::perms PermsOf(const fs::path& path) { return fs::status(path).permissions() & fs::perms::mask; }

int EntriesIn(const fs::path& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

TEST(StoreFileProtection, SavesGoThroughLinksToTheFileTheyName) {
    ScratchFolder folder;
    fs::create_directories(folder / "shared");
    WriteBytes(folder / "shared" / "Group.txt", "old\r\n");
    fs::create_directories(folder / "work");
    fs::create_symlink("../shared/Group.txt", folder / "work" / "Group.txt");
    // A link to a link, and a dangling link whose file a save creates.
    fs::create_symlink(folder / "work" / "Group.txt", folder / "work" / "Again.txt");
    fs::create_symlink("../shared/Fresh.txt", folder / "work" / "Port.txt");

    ASSERT_TRUE(WriteFileAtomically(folder / "work" / "Group.txt", "new\r\n").ok());
    ASSERT_TRUE(WriteFileAtomically(folder / "work" / "Again.txt", "again\r\n").ok());
    ASSERT_TRUE(WriteFileAtomically(folder / "work" / "Port.txt", "port\r\n").ok());

    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "work" / "Group.txt")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "work" / "Again.txt")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "work" / "Port.txt")));
    EXPECT_EQ(ReadBytes(folder / "shared" / "Group.txt"), "again\r\n");
    EXPECT_EQ(ReadBytes(folder / "shared" / "Fresh.txt"), "port\r\n");
    EXPECT_EQ(EntriesIn(folder / "shared"), 2);  // no temporary left in either folder
    EXPECT_EQ(EntriesIn(folder / "work"), 3);
}

TEST(StoreFileProtection, SavesKeepThePermissionBits) {
    ScratchFolder folder;
    const auto path = folder / "Port.txt";
    for (const fs::perms bits : {fs::perms::owner_read | fs::perms::owner_write,
                                 fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                                 fs::perms::owner_all | fs::perms::group_all | fs::perms::others_read}) {
        WriteBytes(path, "old\r\n");
        fs::permissions(path, bits);
        ASSERT_TRUE(WriteFileAtomically(path, "new\r\n").ok());
        EXPECT_EQ(ReadBytes(path), "new\r\n");
        EXPECT_EQ(PermsOf(path), bits);
    }
}

TEST(StoreFileProtection, AReadOnlyFileIsAFailedSaveAndStaysAsItWas) {
    ScratchFolder folder;
    const auto path = folder / "Port.txt";
    WriteBytes(path, "old\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // The folder takes writes: only the file's own protection can refuse the save.
    fs::permissions(folder.path(), fs::perms::owner_all);
    const auto message = storetest::RunWithoutRoot(
        [&] {
            const Status status = WriteFileAtomically(path, "new\r\n");
            return status.ok() ? std::string("saved") : status.message();
        },
        {folder.path(), path});
    if (!message) GTEST_SKIP() << "cannot run as a user that permissions apply to (needs root to switch to nobody)";
    EXPECT_EQ(*message, "cannot write " + path.string() + ": Permission denied");
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(PermsOf(path), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(EntriesIn(folder.path()), 1);
}

TEST(StoreFileProtection, StartUpRemovesExactlyOurOwnLeftovers) {
    ScratchFolder folder;
    fs::create_directories(folder / "shared");
    fs::create_symlink(folder / "shared" / "G.txt", folder / "Group.txt");
    const std::vector<std::string> ours{"Port.txt.tmp-12", "Port.txt.tmp-383849202917364512",
                                        "Tone.txt.tmp-42949672954294967295", "Comp.txt.tmp-0123456789"};
    const std::vector<std::string> others{"Port.txt.tmp-1",          "Port.txt.tmp-123456789012345678901",
                                          "Port.txt.tmp-12a",        "Port.txt.tmp-12.bak",
                                          "port.txt.tmp-1234",       "Notes.txt.tmp-1234",
                                          "Port.txt.tmp-",           "xPort.txt.tmp-1234",
                                          "Port.txt",                "Rx_Freq.txt.tmp-12 "};
    for (const auto& name : ours) WriteBytes(folder / name, "x");
    for (const auto& name : others) WriteBytes(folder / name, "x");
    fs::create_directories(folder / "Scan.txt.tmp-1234");            // a folder is never ours
    fs::create_symlink(folder / "Port.txt", folder / "Band.txt.tmp-1234");  // nor is a link
    WriteBytes(folder / "shared" / "G.txt.tmp-5150", "x");           // beside a linked file: ours
    WriteBytes(folder / "shared" / "Group.txt.tmp-5150", "x");       // not the linked file's name

    EXPECT_EQ(RemoveLeftoverTemporaryFiles(folder.path()), 5);
    for (const auto& name : ours) EXPECT_FALSE(fs::exists(folder / name)) << name;
    for (const auto& name : others) EXPECT_TRUE(fs::exists(folder / name)) << name;
    EXPECT_TRUE(fs::is_directory(folder / "Scan.txt.tmp-1234"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "Band.txt.tmp-1234")));
    EXPECT_FALSE(fs::exists(folder / "shared" / "G.txt.tmp-5150"));
    EXPECT_TRUE(fs::exists(folder / "shared" / "Group.txt.tmp-5150"));
}

TEST(StoreFileProtection, AFileTooLargeToReadIsRefusedAndNothingIsReset) {
    ScratchFolder folder;
    Workspace writer = storetest::WorkspaceIn(folder);
    writer.portName = "4";
    ASSERT_TRUE(SaveConfigFile(writer).ok());
    ASSERT_TRUE(LoadChannelFiles(writer).ok());
    writer.channels.SetFrequencyCell(446.00625, 1, ColRxFreq);
    writer.channels.SetFrequencyCell(446.00625, 1, ColTxFreq);
    ASSERT_TRUE(SaveChannelFiles(writer).ok());

    // One endless line past the reader's limit, then a sound file's worth of lines.
    std::string huge(kMaxBytesRead + 1, '4');
    huge += "\r\n" + RepeatLine(" 446.00625 ", 300);
    WriteBytes(folder / "Tx_Freq.txt", huge);
    const std::string rxBefore = ReadBytes(folder / "Rx_Freq.txt");

    EXPECT_FALSE(ReadValueLines(folder / "Tx_Freq.txt", kChannelFileLines).ok());
    Workspace ws = storetest::WorkspaceIn(folder);
    ws.channels.SetCell(5, ColRxFreq, "430.000000");
    const Status status = LoadWorkingSet(ws);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "cannot read " + (folder / "Tx_Freq.txt").string() +
                                    ": the file is too large (more than 16 MiB); it was left as it is");
    EXPECT_EQ(ws.channels.GetCell(5, ColRxFreq), "430.000000");  // nothing loaded, nothing cleared
    EXPECT_EQ(ReadBytes(folder / "Rx_Freq.txt"), rxBefore);
    EXPECT_EQ(fs::file_size(folder / "Tx_Freq.txt"), huge.size());
    // The loader alone refuses too, without resetting either column.
    EXPECT_FALSE(LoadFrequencyFiles(ws).ok());
    EXPECT_EQ(ws.channels.GetCell(5, ColRxFreq), "430.000000");
    EXPECT_EQ(fs::file_size(folder / "Tx_Freq.txt"), huge.size());

    // Port.txt too large: no defaults applied, the file not rewritten.
    fs::rename(folder / "Tx_Freq.txt", folder / "Port.txt");
    ws.portName.clear();
    EXPECT_FALSE(LoadConfigFile(ws).ok());
    EXPECT_EQ(ws.portName, "");
    EXPECT_EQ(fs::file_size(folder / "Port.txt"), huge.size());

    // Ending exactly at the limit, inside its last line, is still a file we read.
    std::string full = RepeatLine(" 1 ", 255);
    full.resize(kMaxBytesRead, ' ');
    WriteBytes(folder / "Scan.txt", full);
    const auto read = ReadValueLines(folder / "Scan.txt", kChannelFileLines);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->lines.size(), 256u);
}

}  // namespace
}  // namespace corvane

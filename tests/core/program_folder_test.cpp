// Folder choice for installed and portable copies.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "store/ProgramFolder.h"
#include "store_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using storetest::ScratchFolder;

std::set<fs::path> Entries(const fs::path& folder) {
    std::set<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// /proc refuses new files even for root, where permission bits do not.
const fs::path kRefusingFolder = "/proc";

// A folder the current user cannot write: owner bits cleared, or /proc when
// running as root, since root ignores the bits.
fs::path MakeUnwritable(const ScratchFolder& scratch) {
    if (::geteuid() != 0) {
        const fs::path folder = scratch / "readonly";
        fs::create_directory(folder);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        return folder;
    }
    return kRefusingFolder;
}

TEST(ProgramFolderWritable, WritableFolderPassesAndKeepsItsContents) {
    ScratchFolder scratch;
    storetest::WriteBytes(scratch / "Port.txt", " 5 \r\n");
    const auto before = Entries(scratch.path());
    EXPECT_TRUE(IsFolderWritable(scratch.path()));
    EXPECT_TRUE(IsFolderWritable(scratch.path()));
    EXPECT_EQ(Entries(scratch.path()), before) << "the probe file must not be left behind";
    EXPECT_EQ(storetest::ReadBytes(scratch / "Port.txt"), " 5 \r\n");
}

TEST(ProgramFolderWritable, MissingFileAndRefusingFoldersFail) {
    ScratchFolder scratch;
    storetest::WriteBytes(scratch / "plain", "x");
    EXPECT_FALSE(IsFolderWritable(scratch / "missing"));
    EXPECT_FALSE(IsFolderWritable(scratch / "plain")) << "a regular file is no folder";
    EXPECT_FALSE(IsFolderWritable(fs::path()));
    EXPECT_FALSE(IsFolderWritable(kRefusingFolder));
    const fs::path readOnly = MakeUnwritable(scratch);
    EXPECT_FALSE(IsFolderWritable(readOnly));
}

TEST(ProgramFolderResolve, WritableProgramFolderIsPortableDefault) {
    ScratchFolder scratch;
    const fs::path perUser = scratch / "user" / "corvane";
    EXPECT_EQ(ResolveProgramFolder(scratch.path(), perUser), scratch.path());
    EXPECT_FALSE(fs::exists(perUser)) << "the per-user folder is only made when it is used";
}

TEST(ProgramFolderResolve, InstalledCopyUsesThePerUserFolderEvenWhenItCouldWrite) {
    ScratchFolder scratch;
    const fs::path bin = scratch / "usr" / "bin";
    fs::create_directories(bin);
    fs::create_directories(scratch / "usr" / "share" / "applications");
    const fs::path perUser = scratch / "home" / "corvane";
    // A bin folder alone is still a portable copy.
    EXPECT_EQ(ResolveProgramFolder(bin, perUser), bin);
    { std::ofstream(scratch / "usr" / "share" / "applications" / "corvane.desktop") << "[Desktop Entry]\n"; }
    EXPECT_TRUE(IsInstalledLayout(bin));
    EXPECT_EQ(ResolveProgramFolder(bin, perUser), perUser);
    EXPECT_TRUE(Entries(bin).empty());
}

TEST(ProgramFolderResolve, ReadOnlyProgramFolderMovesToCreatedPerUserFolder) {
    ScratchFolder scratch;
    const fs::path installed = MakeUnwritable(scratch);
    const fs::path perUser = scratch / "home" / ".local" / "share" / "corvane";
    EXPECT_EQ(ResolveProgramFolder(installed, perUser), perUser);
    EXPECT_TRUE(fs::is_directory(perUser));
    EXPECT_TRUE(IsFolderWritable(perUser));
    // An existing per-user folder is kept as it is.
    storetest::WriteBytes(perUser / "Port.txt", " 5 \r\n");
    EXPECT_EQ(ResolveProgramFolder(installed, perUser), perUser);
    EXPECT_EQ(storetest::ReadBytes(perUser / "Port.txt"), " 5 \r\n");
}

TEST(ProgramFolderResolve, MissingProgramFolderAlsoMoves) {
    ScratchFolder scratch;
    const fs::path perUser = scratch / "data";
    EXPECT_EQ(ResolveProgramFolder(scratch / "gone", perUser), perUser);
    EXPECT_TRUE(fs::is_directory(perUser));
}

TEST(ProgramFolderResolve, WithoutPerUserFolderTheProgramFolderStays) {
    EXPECT_EQ(ResolveProgramFolder(kRefusingFolder, fs::path()), kRefusingFolder);
}

TEST(ProgramFolderResolve, UncreatablePerUserFolderIsStillTheAnswer) {
    // The later writes report the failure; falling back silently to a
    // read-only folder would only hide it.
    ScratchFolder scratch;
    storetest::WriteBytes(scratch / "file", "x");
    const fs::path perUser = scratch / "file" / "corvane";
    EXPECT_EQ(ResolveProgramFolder(kRefusingFolder, perUser), perUser);
    EXPECT_FALSE(fs::exists(perUser));
}

TEST(ProgramFolderPerUser, DataHomeThenHomeAndOnlyAbsolutePaths) {
    EXPECT_EQ(PerUserDataFolder("/data", "/home/op"), fs::path("/data/corvane"));
    EXPECT_EQ(PerUserDataFolder(nullptr, "/home/op"), fs::path("/home/op/.local/share/corvane"));
    EXPECT_EQ(PerUserDataFolder("", "/home/op"), fs::path("/home/op/.local/share/corvane"));
    EXPECT_EQ(PerUserDataFolder("relative/data", "/home/op"), fs::path("/home/op/.local/share/corvane"));
    // A relative home would put the files wherever the program was started.
    EXPECT_EQ(PerUserDataFolder(nullptr, "op"), fs::path());
    EXPECT_EQ(PerUserDataFolder(nullptr, nullptr), fs::path());
}

}  // namespace
}  // namespace corvane

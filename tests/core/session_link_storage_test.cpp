// A read in a face that saves every step: the decoded set is taken in whole,
// channel files with Port.txt and Group.txt, or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "image/MemoryImage.h"
#include "image_fixtures.h"
#include "model/WorkspaceSnapshot.h"
#include "session/WholeSetLinkStorage.h"
#include "store/WorkingSet.h"
#include "store_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using storetest::ReadBytes;
using storetest::ScratchFolder;
using storetest::StartingWorkspace;

std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadBytes(entry.path());
    return files;
}

TEST(WholeSetLinkStorage, AReadIsTakenInWithEveryWorkingFileOrNotAtAll) {
    ScratchFolder folder;
    Workspace ws = StartingWorkspace(folder.path());
    ASSERT_TRUE(LoadWorkingSetUnchangedEdition(ws).ok());
    const auto before = Files(folder.path());
    WholeSetLinkStorage storage(ws);

    const std::vector<uint8_t> cut(100, 0);
    EXPECT_FALSE(storage.AcceptRead(cut, ws).ok());
    EXPECT_EQ(Files(folder.path()), before);

    const Result<MemoryImage> image = BuildImage(testing::RichWorkspace(kEditionKorea));
    ASSERT_TRUE(image.ok()) << image.message();
    ASSERT_TRUE(storage.AcceptRead(*image, ws).ok());
    Workspace reread = StartingWorkspace(folder.path());
    ASSERT_TRUE(LoadWorkingSetReadOnly(reread).ok());
    const SnapshotDifference kept = Compare(TakeSnapshot(reread), TakeSnapshot(ws));
    // The channel files hold what was read, Port.txt its edition, mode and settings.
    EXPECT_FALSE(kept.cells || kept.ConfigFile());
    EXPECT_TRUE(
        Compare(TakeSnapshot(reread), TakeSnapshot(StartingWorkspace(folder.path()))).cells);  // the read changed them
}

}  // namespace
}  // namespace corvane

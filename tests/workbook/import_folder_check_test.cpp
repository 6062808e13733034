#include <gtest/gtest.h>

#include <unistd.h>

#include "workbook_test_support.h"
#include "store/workbook/SpreadsheetExport.h"
#include "store/workbook/SpreadsheetImport.h"

namespace corvane {
namespace {

class ImportFolderCheck : public testing::ProgramFolderTest {
protected:
    Workspace ws() const {
        Workspace w;
        w.programFolder = root();
        return w;
    }
};

TEST_F(ImportFolderCheck, AcceptsFilesInsideTheDataFolderAndItsSubFolders) {
    EXPECT_TRUE(IsInsideDataFolder(ws(), data() / "book.xlsx"));
    EXPECT_TRUE(IsInsideDataFolder(ws(), data() / "sub" / "deeper" / "book.xlsx"));
    EXPECT_TRUE(IsInsideDataFolder(ws(), data() / "sub" / ".." / "book.xlsx"));
    EXPECT_TRUE(IsInsideDataFolder(ws(), data() / "." / "book.xlsx"));
}

TEST_F(ImportFolderCheck, RefusesEverythingElse) {
    EXPECT_FALSE(IsInsideDataFolder(ws(), root() / "book.xlsx"));          // the program folder itself
    EXPECT_FALSE(IsInsideDataFolder(ws(), data() / ".." / "book.xlsx"));   // climbs out again
    EXPECT_FALSE(IsInsideDataFolder(ws(), root() / "data" / "book.xlsx"));  // letter case differs
    EXPECT_FALSE(IsInsideDataFolder(ws(), root() / "DATA" / "book.xlsx"));
    EXPECT_FALSE(IsInsideDataFolder(ws(), root() / "Data2" / "book.xlsx"));  // same prefix, other folder
    EXPECT_FALSE(IsInsideDataFolder(ws(), data()));                        // the folder, not a file in it
    EXPECT_FALSE(IsInsideDataFolder(ws(), ""));
}

TEST_F(ImportFolderCheck, FollowsLinksAndRelativePaths) {
    std::filesystem::create_directories(root() / "elsewhere");
    std::filesystem::create_directory_symlink(root() / "elsewhere", data() / "link");
    EXPECT_FALSE(IsInsideDataFolder(ws(), data() / "link" / "book.xlsx"));

    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(data());
    EXPECT_TRUE(IsInsideDataFolder(ws(), "book.xlsx"));
    EXPECT_FALSE(IsInsideDataFolder(ws(), "../book.xlsx"));
    std::filesystem::current_path(previous);
}

TEST_F(ImportFolderCheck, ARefusedImportSaysSoAndTouchesNothing) {
    Workspace original = testing::DistinctWorkspace(root(), kEditionKorea);
    const auto outside = root() / "book.xlsx";
    ASSERT_TRUE(ExportSpreadsheet(original, outside).ok());
    Workspace w = testing::DistinctWorkspace(root(), kEditionKorea);
    w.settings.NameId = "XX";
    const ImportResult result = ImportSpreadsheet(w, outside);
    EXPECT_EQ(result.outcome, ImportOutcome::Refused);
    EXPECT_EQ(result.message, "[Error] Directory Selected .....");
    EXPECT_EQ(w.settings.NameId, "XX");
    EXPECT_FALSE(std::filesystem::exists(root() / "Port.txt"));
}

}  // namespace
}  // namespace corvane

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "workbook_test_support.h"
#include "store/workbook/SpreadsheetExport.h"
#include "store/workbook/Workbook.h"

namespace corvane {
namespace {

using testing::DistinctWorkspace;

class SpreadsheetExport : public testing::ProgramFolderTest {
protected:
    Workbook ExportAndReadBack(const Workspace& ws) {
        const auto path = data() / "book.xlsx";
        const Status saved = ExportSpreadsheet(ws, path);
        EXPECT_TRUE(saved.ok()) << saved.message();
        auto book = OpenWorkbook(path);
        EXPECT_TRUE(book.ok()) << book.message();
        return book.ok() ? *book : Workbook();
    }
};

// The settings rows as the other half of the exchange expects them, written
// out independently of the export's own table.
std::map<int, CellValue> ExpectedSettingsColumn() {
    std::map<int, CellValue> rows;
    const auto number = [](double v) { return CellValue::Number(v); };
    rows[257] = number(kEditionPmrLpd);
    rows[258] = number(kModeCustom);
    for (int row = 259; row <= 273; ++row) rows[row] = number(row - 259 + 11);  // 11..25
    rows[274] = number(26);
    rows[275] = number(27);
    rows[276] = number(28);
    rows[277] = number(29);
    rows[278] = number(3);
    rows[279] = number(2);
    rows[280] = number(1);
    rows[281] = number(0);
    rows[282] = number(26);
    rows[283] = number(30);
    rows[284] = number(31);
    rows[285] = number(32);
    rows[286] = number(33);
    rows[287] = CellValue::Text("98765");
    rows[288] = CellValue::Text("ZQ");
    rows[289] = CellValue::Text("17");
    rows[290] = number(34);
    rows[291] = number(1);
    rows[292] = number(-2);
    rows[293] = number(35);
    for (int group = 0; group < kGroupCount; ++group) rows[294 + group] = number(group + 1);
    rows[304] = number(1);
    rows[305] = number(kGroupCount);
    rows[306] = CellValue::Text("3");
    rows[307] = CellValue::Text("40");
    rows[308] = CellValue::Text("446.1");
    rows[309] = number(kTargetTx);
    rows[310] = number(1);
    rows[311] = number(1);
    rows[312] = number(0);
    rows[313] = number(4);
    rows[314] = number(1);
    rows[315] = number(1);
    rows[316] = number(5);
    rows[317] = CellValue::Text("D023N");
    rows[318] = CellValue::Text("2");
    rows[319] = CellValue::Text("9");
    rows[320] = number(255);
    return rows;
}

TEST_F(SpreadsheetExport, EverySettingsRowSitsAtItsRowWithItsType) {
    const Workbook book = ExportAndReadBack(DistinctWorkspace(root(), kEditionPmrLpd));
    for (const auto& [row, expected] : ExpectedSettingsColumn()) {
        EXPECT_EQ(book.Cell(row, 1), expected) << "row " << row;
        EXPECT_TRUE(book.Cell(row, 2).IsEmpty()) << "row " << row;
    }
    for (int col = 1; col <= 11; ++col) EXPECT_TRUE(book.Cell(256, col).IsEmpty()) << "row 256, column " << col;
    EXPECT_TRUE(book.Cell(321, 1).IsEmpty());
}

TEST_F(SpreadsheetExport, ChannelBlockHoldsTheGridTextsWithoutLabels) {
    const Workspace ws = DistinctWorkspace(root(), kEditionPmrLpd);
    const Workbook book = ExportAndReadBack(ws);
    EXPECT_EQ(book.Cell(1, 1), CellValue::Text("A-1"));
    EXPECT_EQ(book.Cell(1, 2), CellValue::Text("446.006250"));
    EXPECT_EQ(book.Cell(1, 3), CellValue::Text("433.075000"));
    EXPECT_EQ(book.Cell(2, 4), CellValue::Text("67.0 [01]"));
    EXPECT_EQ(book.Cell(200, 4), CellValue::Text("not a tone"));
    EXPECT_TRUE(book.Cell(4, 2).IsEmpty());  // not "0" as in the working files
    EXPECT_TRUE(book.Cell(4, 3).IsEmpty());
    for (int row = 1; row <= kChannelCount; ++row) {
        EXPECT_TRUE(book.Cell(row, 11).IsEmpty());
        for (int col = 1; col <= 10; ++col) {
            const std::string& text = ws.channels.GetCell(row, col);
            const CellValue expected = text.empty() ? CellValue() : CellValue::Text(text);
            ASSERT_EQ(book.Cell(row, col), expected) << "row " << row << ", column " << col;
        }
    }
}

TEST_F(SpreadsheetExport, ReplacesAnExistingFileAndLeavesTheWorkspaceAlone) {
    const auto path = data() / "book";  // no extension added
    WriteBytes(path, "old contents");
    const Workspace ws = DistinctWorkspace(root(), kEditionKorea);
    const Workspace before = ws;
    ASSERT_TRUE(ExportSpreadsheet(ws, path).ok());
    EXPECT_EQ(DetectWorkbookFormat(path), WorkbookFormat::OfficeOpenXml);
    EXPECT_FALSE(std::filesystem::exists(data() / "book.xlsx"));
    EXPECT_EQ(ws.channels, before.channels);
    EXPECT_FALSE(std::filesystem::exists(root() / "Port.txt"));
    EXPECT_FALSE(std::filesystem::exists(root() / "Rx_Freq.txt"));
}

TEST_F(SpreadsheetExport, WritesThroughALinkKeepsPermissionBitsAndNeverFollowsAPlantedFile) {
    namespace fs = std::filesystem;
    const fs::path real = data() / "real" / "book.xlsx";
    fs::create_directories(real.parent_path());
    WriteBytes(real, "old contents");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = data() / "book.xlsx";
    fs::create_symlink(real, link);
    // What another user could place beside the workbook to have it overwritten.
    WriteBytes(root() / "victim.txt", "victim");
    fs::create_symlink(root() / "victim.txt", data() / "book.xlsx.partial");

    ASSERT_TRUE(ExportSpreadsheet(DistinctWorkspace(root(), kEditionKorea), link).ok());

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(DetectWorkbookFormat(real), WorkbookFormat::OfficeOpenXml);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::mask, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::ifstream victim(root() / "victim.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "victim");
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(data())) left.push_back(entry.path().lexically_relative(data()).string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"book.xlsx", "book.xlsx.partial", "real", "real/book.xlsx"}));
}

TEST_F(SpreadsheetExport, AnUnwritablePathIsReported) {
    const Status saved = ExportSpreadsheet(DistinctWorkspace(root(), kEditionKorea), root() / "missing" / "book.xlsx");
    ASSERT_FALSE(saved.ok());
    EXPECT_TRUE(saved.message().starts_with("Export failed: ")) << saved.message();
    EXPECT_FALSE(std::filesystem::exists(root() / "missing"));
}

}  // namespace
}  // namespace corvane

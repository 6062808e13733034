// Workbooks saved by other spreadsheet programs: frequencies and numeric
// texts arrive as number cells, in any of the three formats.
#include <gtest/gtest.h>

#include <xlsxwriter.h>

#include <variant>

#include "workbook_test_support.h"
#include "store/workbook/SpreadsheetImport.h"

namespace corvane {
namespace {

struct ForeignCell {
    int row;
    int col;
    std::variant<double, const char*> value;
};

// The same cells as tests/data/workbook/make_foreign_books.py writes.
const ForeignCell kForeignCells[] = {
    {1, 1, "A-1"}, {1, 2, 446.00625}, {1, 3, 446.00625}, {1, 4, "67.0 [01]"},
    {1, 6, "Yes"}, {1, 7, "Narrow"}, {1, 8, "High"}, {1, 9, "Off"}, {1, 10, "Off"},
    {2, 2, "433.075"}, {2, 3, 433.075}, {2, 5, "D023N [01]"},
    {2, 6, "No"}, {2, 7, "Wide"}, {2, 8, "Low"}, {2, 9, "On"}, {2, 10, "On"},
    {3, 2, 0.0}, {3, 3, "abc"},
    {257, 1, 3.0}, {258, 1, 1.0}, {259, 1, 63.0}, {262, 1, 4.0},
    {274, 1, 1.0}, {282, 1, 3.0}, {287, 1, 12345.0}, {288, 1, "AB"},
    {289, 1, 0.0}, {292, 1, 2.0}, {293, 1, 6.0}, {294, 1, 2.0}, {304, 1, 1.0},
    {306, 1, "1"}, {307, 1, "2"}, {308, 1, 446.1}, {309, 1, 2.0}, {312, 1, 1.0},
    {320, 1, 7.0},
};

void WriteForeignXlsx(const std::filesystem::path& path) {
    lxw_workbook* book = workbook_new(path.string().c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Channels");
    for (const ForeignCell& cell : kForeignCells) {
        const auto r = static_cast<lxw_row_t>(cell.row - 1);
        const auto c = static_cast<lxw_col_t>(cell.col - 1);
        if (const auto* number = std::get_if<double>(&cell.value)) {
            worksheet_write_number(sheet, r, c, *number, nullptr);
        } else {
            worksheet_write_string(sheet, r, c, std::get<const char*>(cell.value), nullptr);
        }
    }
    // A second sheet must not be read.
    worksheet_write_string(workbook_add_worksheet(book, "Other"), 256, 0, "abc", nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

class ForeignWorkbook : public testing::ProgramFolderTest, public ::testing::WithParamInterface<const char*> {
protected:
    std::filesystem::path PlaceBook() {
        const std::string name = GetParam();
        const auto path = data() / "sub" / name;
        std::filesystem::create_directories(path.parent_path());
        if (name == "foreign.xlsx") {
            WriteForeignXlsx(path);
        } else {
            std::filesystem::copy_file(std::filesystem::path(CORVANE_TEST_DATA) / "workbook" / name, path);
        }
        return path;
    }
};

TEST_P(ForeignWorkbook, IsRecognisedByContentAndReadIntoTheWorkspace) {
    const auto path = PlaceBook();
    const auto renamed = path.parent_path() / "renamed.dat";
    std::filesystem::rename(path, renamed);

    Workspace ws = testing::DistinctWorkspace(root(), kEditionKorea);
    const ImportResult result = ImportSpreadsheet(ws, renamed);
    ASSERT_EQ(result.outcome, ImportOutcome::SameEdition) << result.message;

    const ChannelTable& t = ws.channels;
    EXPECT_EQ(t.GetCell(1, ColLabel), "[CH-001]");
    EXPECT_EQ(t.GetCell(1, ColGroup), "A-1");
    EXPECT_EQ(t.GetCell(2, ColGroup), "A-2");  // laid out again from the group sizes
    EXPECT_EQ(t.GetCell(3, ColGroup), "");
    EXPECT_EQ(t.GetCell(1, ColRxFreq), "446.006250");
    EXPECT_EQ(t.GetCell(1, ColTxFreq), "446.006250");
    EXPECT_EQ(t.GetCell(2, ColRxFreq), "433.075000");
    EXPECT_EQ(t.GetCell(2, ColTxFreq), "433.075000");
    EXPECT_EQ(t.GetCell(3, ColRxFreq), "");
    EXPECT_EQ(t.GetCell(3, ColTxFreq), "");
    EXPECT_EQ(t.GetCell(1, ColCtcss), "67.0 [01]");
    EXPECT_EQ(t.GetCell(2, ColDcs), "D023N [01]");
    EXPECT_EQ(t.GetCell(2, ColCompander), "On");
    EXPECT_EQ(t.GetCell(4, ColScan), "");
    EXPECT_EQ(t.GetCell(255, ColRxFreq), "");

    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_EQ(ws.settings.FunctionFlags1, 63);
    EXPECT_EQ(ws.settings.FunctionFlags2, 0);
    EXPECT_EQ(ws.settings.ScanStayTime, 4);
    EXPECT_EQ(ws.settings.HiddenSetting8, 3);
    EXPECT_EQ(ws.settings.DtmfId, "12345");
    EXPECT_EQ(ws.settings.NameId, "AB");
    EXPECT_EQ(ws.settings.PriChannel, "0");
    EXPECT_EQ(ws.settings.BandSelect, 2);
    EXPECT_EQ(ws.settings.SpareSetting4, 7);
    EXPECT_EQ(ws.groups.GroupSize[0], 2);
    EXPECT_EQ(ws.groups.GroupSize[1], 0);
    EXPECT_EQ(ws.groups.GroupsEnabled, 1);  // TRUE() in the LibreOffice files
    EXPECT_EQ(ws.groups.FreqSetStartFrequency, "446.1");
    EXPECT_EQ(ws.groups.FreqSetTarget, kTargetRxTx);
    EXPECT_EQ(ws.groups.ToneSetStartCode, "");
}

// foreign.xlsx is written by this test with libxlsxwriter; the others are
// files of other programs (tests/data/workbook/make_foreign_books.py): the
// LibreOffice ones hold several of the cells as numeric, text and boolean
// formulas (the .xls numeric and boolean ones only), the openpyxl one names
// its sheet by an absolute target and keeps its texts inline.
INSTANTIATE_TEST_SUITE_P(Formats, ForeignWorkbook,
                         ::testing::Values("foreign.xlsx", "foreign.ods", "foreign.xls", "openpyxl.xlsx", "libreoffice.xlsx",
                                           "libreoffice.ods", "libreoffice-numbers.xls"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (c == '.' || c == '-') c = '_';
                             }
                             return name;
                         });

TEST(WorkbookFormatDetection, LooksAtTheContentOnly) {
    const std::filesystem::path folder(CORVANE_TEST_DATA);
    EXPECT_EQ(DetectWorkbookFormat(folder / "workbook" / "foreign.ods"), WorkbookFormat::OpenDocument);
    EXPECT_EQ(DetectWorkbookFormat(folder / "workbook" / "foreign.xls"), WorkbookFormat::LegacyBinary);
    EXPECT_EQ(DetectWorkbookFormat(folder / "workbook" / "make_foreign_books.py"), WorkbookFormat::Unknown);
    EXPECT_EQ(DetectWorkbookFormat(folder / "workbook" / "no such file"), WorkbookFormat::Unknown);
}

}  // namespace
}  // namespace corvane

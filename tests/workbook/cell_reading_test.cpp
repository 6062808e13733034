// A cell reads the same whatever format holds it: numbers shown as dates or
// times, texts with what XML cannot carry, texts the working files cannot keep.
#include <gtest/gtest.h>

#include <xlsxwriter.h>

#include "legacy_workbook_builder.h"
#include "workbook_test_support.h"
#include "zip_packages.h"
#include "store/workbook/DateSerial.h"
#include "store/workbook/SpreadsheetImport.h"

namespace corvane {
namespace {

using namespace testing;

TEST(DateSerial, DatesAndDurationsAreDaysFrom1899December30) {
    EXPECT_EQ(DateTimeSerial("1899-12-30"), 0.0);
    EXPECT_EQ(DateTimeSerial("1900-01-02"), 3.0);  // no 29 February 1900 in between
    EXPECT_EQ(DateTimeSerial("1900-03-01"), 61.0);
    EXPECT_EQ(DateTimeSerial("1901-03-21T00:09:00"), 446.00625);
    EXPECT_EQ(DateTimeSerial("1899-12-29T12:00:00"), -0.5);
    EXPECT_EQ(DateTimeSerial("2024-02-29T23:59:59.5"), (45351.0 * 86400 + 86399.5) / 86400);
    EXPECT_EQ(DurationSerial("PT10704H09M00S"), 446.00625);
    EXPECT_EQ(DurationSerial("P446DT0H9M0.000S"), 446.00625);
    EXPECT_EQ(DurationSerial("-PT12H"), -0.5);
    for (const char* refused : {"1900-02-29", "1901-13-01", "1901-03-22T24:00:00", "1901-03-21T00:09:00Z", "22/03/1901", ""}) {
        EXPECT_EQ(DateTimeSerial(refused), std::nullopt) << refused;
    }
    for (const char* refused : {"P1Y", "P2M", "PT", "P", "PT1.5H", "12:00"}) EXPECT_EQ(DurationSerial(refused), std::nullopt) << refused;
}

// 446.00625 and 433.075 in B1 and C1, and settings 3 (A257), 1 (A258) and
// 63 (A259), each shown as a date or a time, in the way each format keeps it.
void WriteDatesXlsx(const std::filesystem::path& path) {
    lxw_workbook* book = workbook_new(path.string().c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "yyyy-mm-dd hh:mm");
    worksheet_write_number(sheet, 0, 1, 446.00625, date);
    worksheet_write_number(sheet, 0, 2, 433.075, date);
    for (const auto& [row, value] : {std::pair{256, 3.0}, {257, 1.0}, {258, 63.0}}) worksheet_write_number(sheet, row, 0, value, date);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

std::string OdsCell(const char* type, const char* attribute, const char* value) {
    return std::string(R"(<table:table-cell office:value-type=")") + type + R"(" calcext:value-type=")" + type + R"(" office:)" +
           attribute + R"(=")" + value + R"("><text:p>shown</text:p></table:table-cell>)";
}

Entries DatesOds() {
    const std::string empty = "<table:table-cell/>";
    std::string rows = "<table:table-row>" + empty + OdsCell("date", "date-value", "1901-03-21T00:09:00") +
                       OdsCell("time", "time-value", "PT10393H48M00S") + "</table:table-row>";
    rows += R"(<table:table-row table:number-rows-repeated="255"><table:table-cell/></table:table-row>)";
    rows += "<table:table-row>" + OdsCell("date", "date-value", "1900-01-02") + "</table:table-row>";
    rows += "<table:table-row>" + OdsCell("time", "time-value", "PT24H00M00S") + "</table:table-row>";
    rows += "<table:table-row>" + OdsCell("date", "date-value", "1900-03-03T00:00:00") + "</table:table-row>";
    return OpenDocumentPackage(rows);
}

std::string DatesXls() {
    const auto number = [](int row, int col, double value) { return Record(biff::kNumber, CellHead(row, col) + Le64(value)); };
    return CompoundFile("Workbook", WorkbookStream({}, {number(1, 2, 446.00625), number(1, 3, 433.075), number(257, 1, 3),
                                                        number(258, 1, 1), number(259, 1, 63)}));
}

// An .xlsx may also keep a date itself (t="d"): the same serial numbers.
Entries DatesKeptAsDatesXlsx() {
    const auto cell = [](const char* ref, const char* iso) { return std::string("<c r=\"") + ref + "\" t=\"d\"><v>" + iso + "</v></c>"; };
    return OfficeOpenXmlPackage(kWorkbookXml, SheetXml("<row r=\"1\">" + cell("B1", "1901-03-21T00:09:00") + cell("C1", "1901-03-08T01:48:00") +
                                                       "</row><row r=\"257\">" + cell("A257", "1900-01-02") + "</row><row r=\"258\">" +
                                                       cell("A258", "1899-12-31") + "</row><row r=\"259\">" + cell("A259", "1900-03-03") + "</row>"));
}

class DateCells : public ProgramFolderTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DateCells, ANumberShownAsADateOrTimeReadsAsItsSerialNumber) {
    const std::string name = GetParam();
    const auto path = data() / name;
    if (name == "dates.xlsx") WriteDatesXlsx(path);
    if (name == "dates.ods") WriteZip(path, DatesOds());
    if (name == "dates.xls") WriteBytes(path, DatesXls());
    if (name == "kept.xlsx") WriteZip(path, DatesKeptAsDatesXlsx());

    Workspace ws = DistinctWorkspace(root(), kEditionKorea);
    const ImportResult result = ImportSpreadsheet(ws, path);
    ASSERT_EQ(result.outcome, ImportOutcome::SameEdition) << result.message;
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "446.006250");
    EXPECT_EQ(ws.channels.GetCell(1, ColTxFreq), "433.075000");
    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_EQ(ws.settings.FunctionFlags1, 63);
}

INSTANTIATE_TEST_SUITE_P(Formats, DateCells, ::testing::Values("dates.xlsx", "dates.ods", "dates.xls", "kept.xlsx"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) c = c == '.' ? '_' : c;
                             return name;
                         });

class CellTexts : public ProgramFolderTest {};

TEST_F(CellTexts, ControlCharactersAndLiteralEscapesSurviveTheirOwnExportAndImport) {
    const std::vector<std::string> texts = {"_x0041_", "_x005F_x0041_", "a\x01z\x1F", "tab\there\nline\r\nend", "x_x00", "€ 12"};
    Workbook book;
    for (std::size_t i = 0; i < texts.size(); ++i) book.SetCell(static_cast<int>(i) + 1, 1, CellValue::Text(texts[i]));
    ASSERT_TRUE(SaveWorkbook(book, data() / "texts.xlsx").ok());
    const Result<Workbook> back = OpenWorkbook(data() / "texts.xlsx");
    ASSERT_TRUE(back.ok()) << back.message();
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(back->Cell(static_cast<int>(i) + 1, 1), CellValue::Text(texts[i]));

    // Another program's escapes, in shared and inline strings.
    Entries package = OfficeOpenXmlPackage(kWorkbookXml, SheetXml(R"(<row r="1"><c r="A1" t="s"><v>0</v></c>)"
                                                                 R"(<c r="B1" t="inlineStr"><is><t>_x0041__xD83D__xDE00_</t></is></c></row>)"));
    package.emplace_back("xl/sharedStrings.xml", R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
                                                 R"(<si><t>_x0031__x005f_x0032_</t></si></sst>)");
    package[3].second.insert(package[3].second.find("</Relationships>"),
                             R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)");
    WriteZip(data() / "escaped.xlsx", package);
    const Result<Workbook> escaped = OpenWorkbook(data() / "escaped.xlsx");
    ASSERT_TRUE(escaped.ok()) << escaped.message();
    EXPECT_EQ(escaped->Cell(1, 1), CellValue::Text("1_x0032_"));
    EXPECT_EQ(escaped->Cell(1, 2), CellValue::Text("A😀"));
}

}  // namespace
}  // namespace corvane

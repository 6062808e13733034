// A units list kept in a workbook, through the file as a spreadsheet saves it.
#include <gtest/gtest.h>

#include <filesystem>

#include "fleet/UnitsList.h"
#include "store/workbook/UnitsSheet.h"

namespace corvane {
namespace {

TEST(UnitsSheet, ASavedWorkbookGivesTheListWithNumbersReadAsDigits) {
    Workbook book;
    book.SetCell(1, 1, CellValue::Text("Label"));
    book.SetCell(1, 2, CellValue::Text("Name ID"));
    book.SetCell(1, 3, CellValue::Text("DTMF ID"));
    book.SetCell(2, 1, CellValue::Text("Gate"));
    book.SetCell(2, 2, CellValue::Text("gt"));
    book.SetCell(2, 3, CellValue::Number(10001));
    book.SetCell(2, 7, CellValue::Text("a note far right"));
    book.SetCell(4, 1, CellValue::Number(7));  // a label typed as a number
    book.SetCell(4, 2, CellValue::Text("SE"));
    const auto path = std::filesystem::temp_directory_path() /
                      ("corvane-units-" + std::to_string(reinterpret_cast<std::uintptr_t>(&book)) + ".xlsx");
    ASSERT_TRUE(SaveWorkbook(book, path).ok());
    const Result<Workbook> read = OpenWorkbook(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(read.ok()) << read.message();

    const auto rows = UnitsRowsFromWorkbook(*read);
    ASSERT_TRUE(rows.ok()) << rows.message();
    const auto units = UnitsFromRows(*rows);
    ASSERT_TRUE(units.ok()) << units.message();
    EXPECT_EQ(*units, (std::vector<FleetUnit>{{"Gate", "GT", "10001", 2}, {"7", "SE", "", 4}}));

    book.SetCell(3, 3, CellValue::Error("#N/A"));
    const auto refused = UnitsRowsFromWorkbook(book);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.message().find("C3"), std::string::npos) << refused.message();
}

}  // namespace
}  // namespace corvane

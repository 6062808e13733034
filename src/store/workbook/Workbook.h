#pragma once
// The first sheet of a spreadsheet workbook, held in memory. Rows and columns
// count from 1 (column 1 is A). Reading and writing files goes through
// OpenWorkbook / SaveWorkbook, so no format library leaks past this header.
#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "model/Status.h"

namespace corvane {

class CellValue {
public:
    enum class Kind { Empty, Number, Text };

    CellValue() = default;
    static CellValue Number(double value) { return CellValue(Kind::Number, value, {}); }
    static CellValue Text(std::string text) { return CellValue(Kind::Text, 0.0, std::move(text)); }

    Kind kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == Kind::Empty; }
    bool IsNumber() const { return kind_ == Kind::Number; }
    bool IsText() const { return kind_ == Kind::Text; }
    double number() const { return number_; }
    const std::string& text() const { return text_; }

    bool operator==(const CellValue&) const = default;

private:
    CellValue(Kind kind, double number, std::string text) : kind_(kind), number_(number), text_(std::move(text)) {}
    Kind kind_ = Kind::Empty;
    double number_ = 0.0;
    std::string text_;
};

class Workbook {
public:
    using CellMap = std::map<std::pair<int, int>, CellValue>;  // (row, col) -> value

    const CellValue& Cell(int row, int col) const;  // Empty when never set
    void SetCell(int row, int col, CellValue value);  // an Empty value clears the cell
    const CellMap& Cells() const { return cells_; }

private:
    CellMap cells_;
};

// How much of the first sheet a reader keeps; cells beyond are dropped so a
// stray far-away cell cannot make the read crawl.
struct ReadArea {
    int rows = 1024;
    int cols = 64;
};

enum class WorkbookFormat { Unknown, OfficeOpenXml, OpenDocument, LegacyBinary };

// Recognises the format by the file's content, never by its name.
WorkbookFormat DetectWorkbookFormat(const std::filesystem::path& path);

// Reads the first sheet of an .xlsx, .ods or .xls file.
Result<Workbook> OpenWorkbook(const std::filesystem::path& path, ReadArea area = {});

// Writes an Office Open XML workbook with the cells on its first sheet,
// replacing an existing file of that name.
Status SaveWorkbook(const Workbook& book, const std::filesystem::path& path);

}  // namespace corvane

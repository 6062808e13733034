#pragma once
// The first sheet of a spreadsheet workbook, held in memory. Rows and columns
// count from 1 (column 1 is A). Reading and writing files goes through
// OpenWorkbook / SaveWorkbook, so no format library leaks past this header.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "model/Status.h"

namespace corvane {

// What a file stores for a cell. A formula counts as the value the file keeps
// for it; Uncomputed is a formula whose value the file does not keep.
class CellValue {
public:
    enum class Kind { Empty, Number, Text, Boolean, Error, Uncomputed };

    CellValue() = default;
    static CellValue Number(double value) { return CellValue(Kind::Number, value, {}); }
    static CellValue Text(std::string text) { return CellValue(Kind::Text, 0.0, std::move(text)); }
    static CellValue Boolean(bool value) { return CellValue(Kind::Boolean, value ? 1.0 : 0.0, {}); }
    static CellValue Error(std::string code) { return CellValue(Kind::Error, 0.0, std::move(code)); }  // "#N/A"
    static CellValue Uncomputed() { return CellValue(Kind::Uncomputed, 0.0, {}); }

    Kind kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == Kind::Empty; }
    bool IsNumber() const { return kind_ == Kind::Number; }
    bool IsText() const { return kind_ == Kind::Text; }
    bool IsBoolean() const { return kind_ == Kind::Boolean; }
    // An error or a formula without its value: neither can stand for data.
    bool IsUnusable() const { return kind_ == Kind::Error || kind_ == Kind::Uncomputed; }
    double number() const { return number_; }  // also 1 or 0 for a Boolean
    const std::string& text() const { return text_; }  // also the code of an Error

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
WorkbookFormat DetectWorkbookFormat(std::string_view bytes);
WorkbookFormat DetectWorkbookFormat(const std::filesystem::path& path);

// Nothing this program writes or a user's edit produces comes near these; a
// file beyond them is refused before it is unpacked.
inline constexpr std::uintmax_t kMegabyte = 1024u * 1024u;
inline constexpr std::uintmax_t kMaxWorkbookFileBytes = 16u * kMegabyte;
inline constexpr std::uintmax_t kMaxUnpackedWorkbookBytes = 32u * kMegabyte;

// Reads the first sheet of an .xlsx, .ods or .xls file held in bytes. Errors
// are one sentence naming the file by name, the name the user knows it by.
Result<Workbook> ReadWorkbook(std::string_view bytes, std::string_view name, ReadArea area = {});
// The same for .xls only, which needs no library (the browser reads the
// other formats itself).
Result<Workbook> ReadLegacyWorkbook(std::string_view bytes, std::string_view name, ReadArea area = {});
// ReadWorkbook on the file at path, named by path; its size is checked
// before it is read.
Result<Workbook> OpenWorkbook(const std::filesystem::path& path, ReadArea area = {});

// An Office Open XML workbook with the cells on its first sheet.
Result<std::string> WorkbookBytes(const Workbook& book);
// Writes WorkbookBytes to path as the working files are written: through a
// temporary file created beside it, through a symbolic link, keeping the
// old file's permission bits. Errors are one sentence naming path.
Status SaveWorkbook(const Workbook& book, const std::filesystem::path& path);

}  // namespace corvane

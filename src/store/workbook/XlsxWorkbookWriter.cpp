// SaveWorkbook through libxlsxwriter.
#include <xlsxwriter.h>

#include <string>

#include "store/workbook/Workbook.h"

namespace corvane {
namespace {

// Written beside the target and renamed over it, so a failed write never
// leaves a half-written workbook in place of the old one.
constexpr const char* kPartialSuffix = ".partial";

lxw_error WriteCell(lxw_worksheet* sheet, int row, int col, const CellValue& value) {
    const auto r = static_cast<lxw_row_t>(row - 1);
    const auto c = static_cast<lxw_col_t>(col - 1);
    switch (value.kind()) {
        case CellValue::Kind::Number: return worksheet_write_number(sheet, r, c, value.number(), nullptr);
        case CellValue::Kind::Text: return worksheet_write_string(sheet, r, c, value.text().c_str(), nullptr);
        case CellValue::Kind::Empty: break;
    }
    return LXW_NO_ERROR;
}

lxw_error FillSheet(lxw_workbook* workbook, const Workbook& book) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    if (sheet == nullptr) return LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (const auto& [position, value] : book.Cells()) {
        if (const lxw_error error = WriteCell(sheet, position.first, position.second, value); error != LXW_NO_ERROR) {
            return error;
        }
    }
    return LXW_NO_ERROR;
}

}  // namespace

Status SaveWorkbook(const Workbook& book, const std::filesystem::path& path) {
    std::filesystem::path partial = path;
    partial += kPartialSuffix;
    const std::string partialName = partial.string();
    lxw_workbook* workbook = workbook_new(partialName.c_str());
    if (workbook == nullptr) return Status::Error("cannot create a workbook for " + path.string());
    if (const lxw_error error = FillSheet(workbook, book); error != LXW_NO_ERROR) {
        lxw_workbook_free(workbook);
        return Status::Error(std::string("cannot fill the workbook: ") + lxw_strerror(error));
    }
    // workbook_close frees the workbook whether or not the write succeeded.
    if (const lxw_error error = workbook_close(workbook); error != LXW_NO_ERROR) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return Status::Error("cannot write " + path.string() + ": " + lxw_strerror(error));
    }
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    if (ec) {
        std::filesystem::remove(partial, ec);
        return Status::Error("cannot write " + path.string());
    }
    return Status::Ok();
}

}  // namespace corvane

// SaveWorkbook through libxlsxwriter.
#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
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
        case CellValue::Kind::Text:
        case CellValue::Kind::Error: return worksheet_write_string(sheet, r, c, value.text().c_str(), nullptr);
        case CellValue::Kind::Boolean: return worksheet_write_boolean(sheet, r, c, value.number() != 0.0, nullptr);
        case CellValue::Kind::Empty:
        case CellValue::Kind::Uncomputed: break;
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

// libxlsxwriter reports a file it cannot create on stderr and then only
// with a generic code; creating the file first gives the reason, names the
// file and keeps the library quiet.
Status ProbeWritable(const std::filesystem::path& target, const std::filesystem::path& partial) {
    std::error_code ec;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::is_directory(folder, ec)) {
        return Status::Error("cannot write " + target.string() + ": the folder " + folder.string() + " does not exist");
    }
    if (std::FILE* file = std::fopen(partial.string().c_str(), "wb")) {
        std::fclose(file);
        return Status::Ok();
    }
    return Status::Error("cannot write " + target.string() + ": " + std::strerror(errno));
}

}  // namespace

Status SaveWorkbook(const Workbook& book, const std::filesystem::path& path) {
    std::filesystem::path partial = path;
    partial += kPartialSuffix;
    if (const Status writable = ProbeWritable(path, partial); !writable) return writable;
    const auto failed = [&partial](std::string message) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return Status::Error(std::move(message));
    };
    lxw_workbook* workbook = workbook_new(partial.string().c_str());
    if (workbook == nullptr) return failed("cannot write " + path.string() + ": out of memory");
    if (const lxw_error error = FillSheet(workbook, book); error != LXW_NO_ERROR) {
        lxw_workbook_free(workbook);
        return failed("cannot write " + path.string() + ": " + lxw_strerror(error));
    }
    // workbook_close frees the workbook whether or not the write succeeded.
    if (const lxw_error error = workbook_close(workbook); error != LXW_NO_ERROR) {
        return failed("cannot write " + path.string() + ": " + lxw_strerror(error));
    }
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    if (ec) return failed("cannot write " + path.string() + ": " + ec.message());
    return Status::Ok();
}

}  // namespace corvane

#pragma once
// The per-format readers behind OpenWorkbook; each keeps its library inside
// its own source file. Their errors are reasons ("is damaged or cut short")
// that OpenWorkbook puts the file name in front of.
#include <filesystem>
#include <optional>
#include <string_view>

#include "store/workbook/Workbook.h"
#include "store/workbook/ZipArchive.h"

namespace corvane::detail {

// .xlsx and .ods, their archive already opened within the unpack budget.
Result<Workbook> ReadOfficeOpenXml(ZipArchive& archive, ReadArea area);
Result<Workbook> ReadOpenDocument(ZipArchive& archive, ReadArea area);
// .xls (BIFF in an OLE2 compound file): bytes is the file at path.
Result<Workbook> ReadLegacyWorkbook(const std::filesystem::path& path, std::string_view bytes, ReadArea area);

// A number as the XML formats store it ("446.00625", "1E-7"); none for
// anything else, infinities included.
std::optional<double> ParseStoredNumber(std::string_view text);

inline bool InArea(const ReadArea& area, int row, int col) {
    return row >= 1 && col >= 1 && row <= area.rows && col <= area.cols;
}

}  // namespace corvane::detail

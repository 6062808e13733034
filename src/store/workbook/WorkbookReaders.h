#pragma once
// The per-format readers behind OpenWorkbook; each keeps its library inside
// its own source file.
#include <filesystem>
#include <string_view>

#include "store/workbook/Workbook.h"

namespace corvane::detail {

// .xlsx or .ods held whole in memory.
Result<Workbook> ReadZipWorkbook(std::string_view bytes, WorkbookFormat format, ReadArea area);
// .xls (OLE2 compound file).
Result<Workbook> ReadLegacyWorkbook(const std::filesystem::path& path, ReadArea area);

}  // namespace corvane::detail

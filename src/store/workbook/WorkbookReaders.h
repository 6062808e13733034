#pragma once
// The per-format readers behind ReadWorkbook; each keeps its library inside
// its own source file. Their errors are reasons ("is damaged or cut short")
// that ReadWorkbook puts the file's name in front of.
#include <optional>
#include <string>
#include <string_view>

#include "store/workbook/ReadFailure.h"
#include "store/workbook/Workbook.h"

namespace corvane::detail {

class ZipArchive;

// .xlsx and .ods, their archive already opened within the unpack budget.
Result<Workbook> ReadOfficeOpenXml(ZipArchive& archive, ReadArea area);
Result<Workbook> ReadOpenDocument(ZipArchive& archive, ReadArea area);
// .xls: BIFF5 or BIFF8 in a compound file.
Result<Workbook> ReadLegacyWorkbook(std::string_view bytes, ReadArea area);

// "name reason.": one sentence naming the file.
inline Status Named(std::string_view name, std::string_view reason) {
    return Status::Error(std::string(name) + " " + std::string(reason) + ".");
}

// The file's size against kMaxWorkbookFileBytes, before anything is unpacked.
Status CheckWorkbookSize(std::uintmax_t size, std::string_view name);

// A number as the XML formats store it ("446.00625", "1E-7"); none for
// anything else, infinities included.
std::optional<double> ParseStoredNumber(std::string_view text);

inline bool InArea(const ReadArea& area, int row, int col) {
    return row >= 1 && col >= 1 && row <= area.rows && col <= area.cols;
}

}  // namespace corvane::detail

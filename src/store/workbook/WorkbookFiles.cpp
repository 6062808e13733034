// The spreadsheet commands on files: the layout of SpreadsheetExport /
// SpreadsheetImport joined to the format readers and the writer.
#include <string>

#include "store/workbook/SheetLayout.h"
#include "store/workbook/SpreadsheetExport.h"
#include "store/workbook/SpreadsheetImport.h"

namespace corvane {
namespace {

const ReadArea kSheetArea{sheet::kLastSettingsRow, sheet::kLastChannelColumn};

}  // namespace

Status ExportSpreadsheet(const Workspace& ws, const std::filesystem::path& path) {
    if (const Status saved = SaveWorkbook(BuildExportSheet(ws), path); !saved) {
        return Status::Error("Export failed: " + saved.message());
    }
    return Status::Ok();
}

ImportResult ImportSpreadsheet(Workspace& ws, const std::filesystem::path& path) {
    if (!IsInsideDataFolder(ws, path)) return {ImportOutcome::Refused, std::string(kDirectoryErrorText)};
    const Result<Workbook> book = OpenWorkbook(path, kSheetArea);
    if (!book) return {ImportOutcome::Failed, std::string(kImportFailurePrefix) + book.message()};
    return ImportSheet(ws, *book);
}

}  // namespace corvane

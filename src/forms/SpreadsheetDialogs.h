#pragma once
// The File Save and File Open commands: the dialog, then the spreadsheet
// export or import. Messages go through the caller's MessageFn.
#include <QString>
#include <optional>

#include "forms/MessageFn.h"
#include "model/Workspace.h"
#include "store/workbook/SpreadsheetImport.h"

class QWidget;

namespace corvane {

inline constexpr const char* kFileSaveTitle = "File Save";
inline constexpr const char* kFileOpenTitle = "File Open";
inline constexpr const char* kSaveFilter = "Execl Files (*.xlsx)";
inline constexpr const char* kOpenFilter = "Execl Files (*.xlsx *.xls *.ods)";

// Shows "File Save" in the Data folder and exports to the chosen path as it
// is (no extension added, an existing file replaced without a question).
// Cancel ends silently; a failed export is told.
void RunSpreadsheetExport(QWidget* parent, const Workspace& ws, const MessageFn& tell);

// Shows "File Open" in the Data folder: the chosen path, empty when cancelled.
QString ChooseWorkbookToOpen(QWidget* parent, const Workspace& ws);

// The halves after the dialog; an empty path is a cancel.
void ExportToChosenPath(const Workspace& ws, const QString& path, const MessageFn& tell);
std::optional<ImportResult> ImportFromChosenPath(Workspace& ws, const QString& path, const MessageFn& tell);

}  // namespace corvane

#pragma once
// Saves the channel table, the settings and the group set-up as a workbook.
#include <filesystem>

#include "model/Status.h"
#include "model/Workspace.h"
#include "store/workbook/Workbook.h"

namespace corvane {

// The sheet exactly as written: channel texts as text (empty cells left
// empty, Label not exported), settings numbers as numbers, texts as texts.
Workbook BuildExportSheet(const Workspace& ws);

// Writes BuildExportSheet to path as given (no extension added), replacing
// an existing file. Never touches the workspace or the working files.
Status ExportSpreadsheet(const Workspace& ws, const std::filesystem::path& path);

}  // namespace corvane

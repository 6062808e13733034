#pragma once
// File > Export CHIRP CSV... and Import CHIRP CSV...: the channel table in
// the format other radio tools exchange. The halves after the dialog take a
// path so tests can run them directly.
#include <QString>

#include "forms/MessageFn.h"
#include "model/Workspace.h"

class QWidget;

namespace corvane {

inline constexpr const char* kExportCsvText = "Export CHIRP CSV...";
inline constexpr const char* kImportCsvText = "Import CHIRP CSV...";
inline constexpr const char* kCsvFilter = "CHIRP CSV (*.csv)";
inline constexpr const char* kCsvSuffix = "csv";

// The dialogs start in the Data folder; empty when cancelled. The save dialog
// adds ".csv" to a name without a suffix.
QString ChooseCsvToImport(QWidget* parent, const Workspace& ws);
QString ChooseCsvToExport(QWidget* parent, const Workspace& ws);

// Writes the file and tells the summary (which names the channels CHIRP will
// refuse) or the failure; true when written.
bool ExportCsvToPath(const Workspace& ws, const QString& path, const MessageFn& tell);
// Reads the file into the workspace and tells the summary (with every skipped
// line) or the failure; true when the table changed.
bool ImportCsvFromPath(Workspace& ws, const QString& path, const MessageFn& tell);

}  // namespace corvane

// File > Export CHIRP CSV... and Import CHIRP CSV....
#include "app/CsvFileCommands.h"
#include "app/MainWindow.h"
#include "editor/UndoHistory.h"
#include "editor/ChannelWindow.h"
#include "forms/GroupWindow.h"

namespace corvane {

void MainWindow::ExportCsv() {
    editor_->CloseCellEditors();
    const QString path = ChooseCsvToExport(this, ws_);
    if (!path.isEmpty()) RunExportCsv(path);
}

void MainWindow::ImportCsv() {
    if (PortInUse()) return;
    editor_->CloseCellEditors();
    const QString path = ChooseCsvToImport(this, ws_);
    if (!path.isEmpty()) RunImportCsv(path);
}

bool MainWindow::RunExportCsv(const QString& path) {
    return ExportCsvToPath(ws_, path, [this](const QString& text) { ShowMessage(text); });
}

bool MainWindow::RunImportCsv(const QString& path) {
    if (PortInUse()) return false;
    editor_->CloseCellEditors();
    const UndoHistory::Step step(&editor_->History(), kStepImportChirpCsv);
    const bool imported = ImportCsvFromPath(ws_, path, [this](const QString& text) { ShowMessage(text); });
    if (imported) {
        // The import switches to Custom mode and clears the groups.
        if (group_) group_->close();
        editor_->RefreshFromWorkspace();
        CheckModeMenu();
    }
    return imported;
}

}  // namespace corvane

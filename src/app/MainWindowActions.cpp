// What the toolbar and the menus do.
#include <QAction>
#include <QString>

#include "app/CrashRecovery.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/WindowPlacement.h"
#include "app/AboutWindow.h"
#include "app/EditMenu.h"
#include "editor/UndoHistory.h"
#include "editor/ChannelWindow.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ConfigFiles.h"
#include "session/FrameActions.h"
#include "session/SessionSteps.h"
#include "store/WorkingSet.h"

#include "forms/SpreadsheetDialogs.h"
#include "forms/GroupWindow.h"
#include "forms/SettingsWindow.h"

namespace corvane {

void MainWindow::OnToolbarClicked(Command command) {
    editor_->CloseCellEditors();
    RunCommand(command);
}

void MainWindow::RunCommand(Command command) {
    switch (command) {
        case Command::Exit: return ExitProgram();
        case Command::Write: return RequestWrite();
        case Command::Read: return RequestRead();
        case Command::AutoDetect: return StartAutoDetect();
        case Command::NewFile: return NewFile();
        case Command::OpenWorkbook: return OpenWorkbook();
        case Command::SaveWorkbook: return SaveWorkbook();
        case Command::Setup: return ShowSetup();
        case Command::Group: return ShowGroup();
        case Command::OpenImage: return OpenImage();
        case Command::SaveImage: return SaveImage();
        case Command::ExportCsv: return ExportCsv();
        case Command::ImportCsv: return ImportCsv();
        case Command::Undo:
        case Command::Redo:
        case Command::Copy:
        case Command::Paste: return edit_->Run(command);
        case Command::ModeDefault: return SelectDefaultMode();
        case Command::ModeCustom: return SelectCustomMode();
        case Command::Help: return ShowHelp();
        case Command::PrintChannelList: return PrintChannelList();
        case Command::DiagnoseConnection: return ShowConnectionDoctor();
        case Command::CompareWithRadio: return CompareWithRadio();
        case Command::CompareWithImageFile: return CompareWithImageFile();
        case Command::ProgramSeveralRadios: return OpenFleetWindow();
        case Command::RecoverUnsaved: return recovery_->RecoverUnsavedChanges();
        case Command::VerifyAfterWrite:
        case Command::ShowChangesBeforeWrite: return MenuAction(command)->toggle();
        // The numbered port items run with their number; the rest are the page's.
        case Command::ChoosePort:
        case Command::SelectPort:
        case Command::OpenFolder:
        case Command::ExportWorkingSet:
        case Command::ImportWorkingSet:
        case Command::Backups: return;
    }
}

void MainWindow::ExitProgram() {
    if (ended_) return;
    const Status saved = session_.ExitProgram();
    session_.EndProgram();
    ReportIfFailed(saved);
    // A failed save keeps the copy of this run's changes for the next start.
    if (saved.ok()) recovery_->RunEndedSaved();
    EndProgram();
}

void MainWindow::RequestRead() {
    session_.RequestRead();
    editor_->ShowPendingMessages();
}

void MainWindow::StartAutoDetect() { session_.StartAutoDetect(); }

void MainWindow::NewFile() {
    if (PortInUse()) return;
    const UndoHistory::Step step(&editor_->History(), kStepNewFile);
    if (group_) group_->close();
    StartNewFile(ws_, [this](const Status& problem) { ReportIfFailed(problem); });
}

void MainWindow::OpenWorkbook() {
    if (PortInUse()) return;
    const QString path = ChooseWorkbookToOpen(this, ws_);
    if (!path.isEmpty()) RunOpenWorkbook(path);
}

bool MainWindow::RunOpenWorkbook(const QString& path) {
    if (PortInUse()) return false;
    editor_->CloseCellEditors();
    QStringList said;
    std::optional<ImportResult> imported;
    {
        const UndoHistory::Step step(&editor_->History(), kStepImportSpreadsheet);
        imported = ImportFromChosenPath(ws_, path, [&said](const QString& text) { said << text; });
    }
    const bool changed = imported && imported->Changed();
    if (changed) {
        editor_->RefreshFromWorkspace();
        CheckModeMenu();
    }
    // A workbook of another edition says what it reset, over the table it left.
    for (const QString& text : said) ShowMessage(text);
    return changed;
}

void MainWindow::SaveWorkbook() {
    if (PortInUse()) return;
    RunSpreadsheetExport(this, ws_, [this](const QString& text) { ShowMessage(text); });
}

void MainWindow::ShowSetup() {
    if (!setup_) setup_ = new SettingsWindow(ws_, [this](const QString& text) { ShowMessageFrom(setup_, text); }, this);
    setup_->SetUndoHistory(&editor_->History());
    setup_->show();
    setup_->raise();
    hide();
}

void MainWindow::ShowGroup() {
    if (ws_.channelMode != kModeCustom) return;
    if (!group_) {
        auto refresh = [this] { session_.ShowLinkStatus(); };
        group_ = new GroupWindow(ws_, [this](const QString& text) { ShowMessageFrom(group_, text); }, nullptr, refresh);
        group_->setAttribute(Qt::WA_DeleteOnClose);
        group_->SetUndoHistory(&editor_->History());
        PlaceNearOwner(*group_, *this);
        group_->SetPortInUse(PortInUse());
    }
    group_->show();
    group_->raise();
}

void MainWindow::SelectPort(int number) {
    // Re-opening the port now would put a connection request into the image.
    if (PortInUse()) return;
    const Status saved = ChoosePort(ws_, number, session_.Link());
    CheckPortMenu();
    ReportIfFailed(saved);
}

void MainWindow::ChangeMode(uint8_t mode) {
    SelectChannelMode(ws_, mode, [this](const Status& problem) { ReportIfFailed(problem); });
    CheckModeMenu();
}

void MainWindow::SelectDefaultMode() {
    if (PortInUse()) return;
    const UndoHistory::Step step(&editor_->History(), kStepModeDefault);
    ChangeMode(kModeDefault);
}

void MainWindow::SelectCustomMode() {
    if (PortInUse()) return;
    const UndoHistory::Step step(&editor_->History(), kStepModeCustom);
    ChangeMode(kModeCustom);
}

void MainWindow::ShowHelp() {
    editor_->CloseCellEditors();
    if (!help_) {
        help_ = new AboutWindow(ws_.programFolder);
        PlaceNearOwner(*help_, *this);
    }
    help_->show();
    help_->raise();
}

}  // namespace corvane

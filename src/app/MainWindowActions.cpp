// What the toolbar and the menus do.
#include <QAction>
#include <QString>

#include "app/CrashRecovery.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/WindowPlacement.h"
#include "app/AboutWindow.h"
#include "editor/UndoHistory.h"
#include "editor/ChannelWindow.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ConfigFiles.h"
#include "store/FrameActions.h"
#include "store/WorkingSet.h"

#include "forms/SpreadsheetDialogs.h"
#include "forms/GroupWindow.h"
#include "forms/SettingsWindow.h"

namespace corvane {

void MainWindow::Toolbar1_ButtonClick(const QString& key) {
    editor_->CloseCellEditors();
    if (key == QLatin1String("exit")) ExitProgram();
    else if (key == QLatin1String("program")) RequestWrite();
    else if (key == QLatin1String("upload")) RequestRead();
    else if (key == QLatin1String("auto")) StartAutoDetect();
    else if (key == QLatin1String("nFile")) NewFile();
    else if (key == QLatin1String("oFile")) OpenWorkbook();
    else if (key == QLatin1String("sFile")) SaveWorkbook();
    else if (key == QLatin1String("setup")) ShowSetup();
    else if (key == QLatin1String("group")) ShowGroup();
}

void MainWindow::ExitProgram() {
    if (ended_) return;
    const Status saved = SaveWorkingSetOnExit(ws_);
    ReportIfFailed(saved);
    // A failed save keeps the copy of this run's changes for the next start.
    if (saved.ok()) recovery_->RunEndedSaved();
    if (LinkEngine* link = editor_->Link()) link->Shutdown();
    EndProgram();
}

void MainWindow::RequestWrite() {
    if (LinkEngine* link = editor_->Link()) link->RequestWrite();
}

void MainWindow::RequestRead() {
    if (LinkEngine* link = editor_->Link()) link->RequestRead();
}

void MainWindow::StartAutoDetect() {
    if (LinkEngine* link = editor_->Link()) link->StartAutoDetect();
}

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
        auto refresh = [this] {
            if (LinkEngine* link = editor_->Link()) link->ShowLinkStatus();
        };
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
    ws_.portName = std::to_string(number);
    ReportIfFailed(SaveConfigFile(ws_));
    CheckPortMenu();
    if (LinkEngine* link = editor_->Link()) link->ReconnectPort();
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

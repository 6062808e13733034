// What the toolbar and the menus do.
#include <QAction>
#include <QString>

#include "app/MDIForm1.h"
#include "app/MessageBoxes.h"
#include "app/WindowPlacement.h"
#include "app/frmHelp.h"
#include "editor/UndoHistory.h"
#include "editor/frmRadioMain.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ConfigFiles.h"
#include "store/FrameActions.h"
#include "store/WorkingSet.h"

#include "forms/SpreadsheetDialogs.h"
#include "forms/frmGroup.h"
#include "forms/frmSetup.h"

namespace corvane {

void MDIForm1::Toolbar1_ButtonClick(const QString& key) {
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

void MDIForm1::ExitProgram() {
    if (ended_) return;
    ReportIfFailed(SaveWorkingSetOnExit(ws_));
    if (LinkEngine* link = editor_->Link()) link->Shutdown();
    EndProgram();
}

void MDIForm1::RequestWrite() {
    if (LinkEngine* link = editor_->Link()) link->RequestWrite();
}

void MDIForm1::RequestRead() {
    if (LinkEngine* link = editor_->Link()) link->RequestRead();
}

void MDIForm1::StartAutoDetect() {
    if (LinkEngine* link = editor_->Link()) link->StartAutoDetect();
}

void MDIForm1::NewFile() {
    if (PortInUse()) return;
    const UndoHistory::Step step(&editor_->History(), kStepNewFile);
    if (group_) group_->close();
    StartNewFile(ws_, [this](const Status& problem) { ReportIfFailed(problem); });
}

void MDIForm1::OpenWorkbook() {
    if (PortInUse()) return;
    const UndoHistory::Step step(&editor_->History(), kStepImportSpreadsheet);
    const auto imported = RunSpreadsheetImport(this, ws_, [this](const QString& text) { ShowMessage(text); });
    if (imported && imported->Changed()) {
        editor_->RefreshFromWorkspace();
        CheckModeMenu();
    }
}

void MDIForm1::SaveWorkbook() {
    if (PortInUse()) return;
    RunSpreadsheetExport(this, ws_, [this](const QString& text) { ShowMessage(text); });
}

void MDIForm1::ShowSetup() {
    if (!setup_) setup_ = new frmSetup(ws_, [this](const QString& text) { ShowMessageFrom(setup_, text); }, this);
    setup_->SetUndoHistory(&editor_->History());
    setup_->show();
    setup_->raise();
    hide();
}

void MDIForm1::ShowGroup() {
    if (ws_.channelMode != kModeCustom) return;
    if (!group_) {
        auto refresh = [this] {
            if (LinkEngine* link = editor_->Link()) link->ShowLinkStatus();
        };
        group_ = new frmGroup(ws_, [this](const QString& text) { ShowMessageFrom(group_, text); }, nullptr, refresh);
        group_->setAttribute(Qt::WA_DeleteOnClose);
        group_->SetUndoHistory(&editor_->History());
        PlaceNearOwner(*group_, *this);
        group_->SetPortInUse(PortInUse());
    }
    group_->show();
    group_->raise();
}

void MDIForm1::SelectPort(int number) {
    // Re-opening the port now would put a connection request into the image.
    if (PortInUse()) return;
    ws_.portName = std::to_string(number);
    ReportIfFailed(SaveConfigFile(ws_));
    CheckPortMenu();
    if (LinkEngine* link = editor_->Link()) link->ReconnectPort();
}

void MDIForm1::ChangeMode(uint8_t mode) {
    SelectChannelMode(ws_, mode, [this](const Status& problem) { ReportIfFailed(problem); });
    CheckModeMenu();
}

void MDIForm1::SelectDefaultMode() {
    if (PortInUse()) return;
    const UndoHistory::Step step(&editor_->History(), kStepModeDefault);
    ChangeMode(kModeDefault);
}

void MDIForm1::SelectCustomMode() {
    if (PortInUse()) return;
    const UndoHistory::Step step(&editor_->History(), kStepModeCustom);
    ChangeMode(kModeCustom);
}

void MDIForm1::ShowHelp() {
    editor_->CloseCellEditors();
    if (!help_) {
        help_ = new frmHelp(ws_.programFolder);
        PlaceNearOwner(*help_, *this);
    }
    help_->show();
    help_->raise();
}

}  // namespace corvane

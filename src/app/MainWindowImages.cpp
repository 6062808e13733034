// File > Open Image... and Save Image..., and the note of a failed backup.
#include <QAction>
#include <QStatusBar>

#include "app/ImageFileCommands.h"
#include "app/MainWindow.h"
#include "editor/UndoHistory.h"
#include "editor/ChannelWindow.h"

namespace corvane {

void MainWindow::OpenImage() {
    if (PortInUse()) return;
    editor_->CloseCellEditors();
    const QString path = ChooseImageToOpen(this, ws_);
    if (!path.isEmpty()) RunOpenImage(path);
}

void MainWindow::SaveImage() {
    editor_->CloseCellEditors();
    const auto tell = [this](const QString& text) { ShowMessage(text); };
    // A refusal comes before the dialog, as it would before a write.
    if (!CheckImageBuilds(ws_, tell)) return;
    const QString path = ChooseImageToSave(this, ws_);
    if (!path.isEmpty()) RunSaveImage(path);
}

bool MainWindow::RunOpenImage(const QString& path) {
    if (PortInUse()) return false;
    editor_->CloseCellEditors();
    const UndoHistory::Step step(&editor_->History(), kStepOpenImage);
    QString problem;
    const bool decoded = OpenImageFromPath(ws_, path, [&problem](const QString& text) { problem = text; });
    if (decoded) {
        // What a completed read refreshes: grid, pickers, caption, menus, status.
        editor_->OnImageAccepted();
        session_.ShowLinkStatus();
    }
    if (!problem.isEmpty()) ShowMessage(problem);
    return decoded && problem.isEmpty();
}

bool MainWindow::RunSaveImage(const QString& path) {
    return SaveImageToPath(ws_, path, [this](const QString& text) { ShowMessage(text); });
}

void MainWindow::ShowBackupFailure(const QString& text) {
    // The status bar appears only when there is something to say; the fixed
    // frame grows by its height so the editor keeps its room.
    const bool first = findChild<QStatusBar*>() == nullptr;
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("backupStatus"));
    bar->setSizeGripEnabled(false);
    if (first) setFixedSize(width(), height() + bar->sizeHint().height());
    bar->showMessage(text);
}

}  // namespace corvane

#include "app/CrashRecovery.h"

#include <QTimer>

#include "app/MainWindow.h"
#include "editor/ChannelWindow.h"
#include "editor/MessageSink.h"
#include "editor/UndoHistory.h"
#include "session/FrameActions.h"

namespace corvane {

CrashRecovery::CrashRecovery(MainWindow& frame, Workspace& ws, MessageSink& messages)
    : QObject(&frame), frame_(frame), ws_(ws), messages_(messages), keeper_(ws.programFolder) {
    connect(&frame.Editor().History(), &UndoHistory::workspaceStepped, this, &CrashRecovery::KeepAfterStep);
}

QString CrashRecovery::Offer(std::optional<LeftRecovery> left) {
    if (!left || !WorthOffering(*left, ws_)) return {};
    left_ = std::move(left);
    frame_.SetRecoveryOffered(true);
    return QString::fromStdString(RecoveryNotice(*left_));
}

void CrashRecovery::RecoverUnsavedChanges() {
    if (!left_ || frame_.PortInUse()) return;
    ChannelWindow& editor = frame_.Editor();
    editor.CloseCellEditors();
    Status taken;
    {
        const UndoHistory::Step step(&editor.History(), kStepRecoverUnsaved);
        taken = TakeInRecovery(ws_, *left_);
    }
    left_.reset();
    frame_.SetRecoveryOffered(false);
    editor.RefreshFromWorkspace();
    frame_.setWindowTitle(MainWindow::CaptionFor(ws_.edition));
    frame_.CheckModeMenu();
    if (!taken.ok()) messages_.Show(&frame_, QString::fromStdString(taken.message()));
}

void CrashRecovery::RunEndedSaved() {
    const Status discarded = keeper_.Discard();
    if (!discarded.ok()) messages_.Show(&frame_, QString::fromStdString(discarded.message()));
}

void CrashRecovery::KeepAfterStep() {
    const Status kept = keeper_.Keep(ws_);
    // Said once, and after the step's own handling: a step is no time for a box each.
    if (kept.ok() || keepFailureTold_) return;
    keepFailureTold_ = true;
    const QString text = QStringLiteral("The changes of this run cannot be kept for a crash (%1); they are saved at Exit as always.")
                             .arg(QString::fromStdString(kept.message()));
    QTimer::singleShot(0, this, [this, text] { messages_.Show(&frame_, text); });
}

}  // namespace corvane

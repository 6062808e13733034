// The commands' enabled state, and the Port menu's "Verify after Write".
#include <QAction>

#include "app/MainWindow.h"
#include "app/UserSettings.h"
#include "editor/ChannelWindow.h"
#include "editor/UndoHistory.h"

namespace corvane {

bool MainWindow::PortInUse() const {
    const LinkEngine* link = session_.Link();
    return link != nullptr && link->PortInUse();
}

void MainWindow::RefreshCommands() {
    CommandState state = commandState_;
    state.canUndo = editor_->History().CanUndo();
    state.canRedo = editor_->History().CanRedo();
    for (const auto& [action, command] : commandActions_) action->setEnabled(IsEnabled(command, state));
}

void MainWindow::SetRecoveryOffered(bool offered) {
    commandState_.recoveryOffered = offered;
    RefreshCommands();
}

void MainWindow::FollowVerifyItem() {
    QAction* item = MenuAction(Command::VerifyAfterWrite);
    item->setChecked(user_settings::VerifyAfterWrite());
    connect(item, &QAction::toggled, this, [this](bool on) {
        user_settings::SetVerifyAfterWrite(on);
        session_.SetVerifyAfterWrite(on);
    });
}

}  // namespace corvane

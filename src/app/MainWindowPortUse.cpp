// What waits while a transfer or the detection holds the port, and the
// Port menu's "Verify after Write".
#include <QAction>
#include <QMenu>
#include <array>

#include "app/MainWindow.h"
#include "app/UserSettings.h"
#include "editor/ChannelWindow.h"
#include "forms/GroupWindow.h"

namespace corvane {

namespace {

// Menu items that re-open the port or replace the channel table (the toolbar
// buttons follow the transfer already; the Edit menu minds its own items).
constexpr std::array<const char*, 6> kPortUseItems{"openFile", "saveFile", "openImage", "importCsv",
                                                   "verifyAfterWrite", "diagnoseConnection"};

}  // namespace

bool MainWindow::PortInUse() const {
    const LinkEngine* link = editor_->Link();
    return link != nullptr && link->PortInUse();
}

void MainWindow::SetPortCommandsEnabled(bool enabled) {
    for (QAction* item : portActions_) item->setEnabled(enabled);
    if (group_) group_->SetPortInUse(!enabled);
    defaultMode_->setEnabled(enabled);
    customMode_->setEnabled(enabled);
    for (const char* name : kPortUseItems) {
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(name))) action->setEnabled(enabled);
    }
}

void MainWindow::BuildVerifyItem(QMenu& port) {
    port.addSeparator();
    verifyAfterWrite_ = port.addAction(QStringLiteral("Verify after Write"));
    verifyAfterWrite_->setObjectName(QStringLiteral("verifyAfterWrite"));
    verifyAfterWrite_->setCheckable(true);
    verifyAfterWrite_->setChecked(user_settings::VerifyAfterWrite());
    verifyAfterWrite_->setToolTip(QStringLiteral("After a write, read the radio back and compare"));
    connect(verifyAfterWrite_, &QAction::toggled, this, [this](bool on) {
        user_settings::SetVerifyAfterWrite(on);
        if (LinkEngine* link = editor_->Link()) link->SetVerifyAfterWrite(on);
    });
}

}  // namespace corvane

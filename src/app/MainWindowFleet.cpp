// Port > Program Several Radios...: the fleet window runs its own link on
// the same port, so the main link lets go of it while the window is open.
#include <QAction>
#include <QMenu>

#include "app/ImageFileCommands.h"
#include "app/MainWindow.h"
#include "editor/ChannelWindow.h"
#include "forms/FleetWindow.h"
#include "link/qt/LinkDriver.h"

namespace corvane {

FleetWindow* MainWindow::ShownFleetWindow() const { return fleet_; }

void MainWindow::OpenFleetWindow() {
    LinkEngine* link = session_.Link();
    if (link == nullptr || PortInUse() || fleet_) return;
    editor_->CloseCellEditors();
    // The plan must be one a radio takes before any radio is asked for.
    if (!CheckImageBuilds(ws_, [this](const QString& text) { ShowMessage(text); })) return;
    if (!fleetClock_) fleetClock_ = std::make_unique<QtLinkClock>();
    fleet_ = new FleetWindow(
        ws_, *fleetClock_, session_.LinkMaker(), [this](const QString& text) { ShowMessageFrom(fleet_, text); }, this);
    fleet_->setAttribute(Qt::WA_DeleteOnClose);
    link->Shutdown();
    link->ShowLinkStatus();
    connect(fleet_, &QDialog::finished, this, [this] {
        if (LinkEngine* main = session_.Link()) main->ReconnectPort();
    });
    fleet_->open();
}

}  // namespace corvane

// Port > Diagnose Connection...: the link lets go of the port while the
// doctor's window examines it.
#include <QAction>
#include <QMenu>

#include "app/MainWindow.h"
#include "app/WindowPlacement.h"
#include "editor/ChannelWindow.h"
#include "forms/ConnectionDoctorWindow.h"

namespace corvane {

void MainWindow::ShowConnectionDoctor() {
    if (PortInUse()) return;
    editor_->CloseCellEditors();
    LinkEngine* link = session_.Link();
    if (link == nullptr) return;
    if (!doctor_) {
        ConnectionDoctorWindow::LinkHooks hooks{
            [this] {
                LinkEngine* engine = session_.Link();
                return engine == nullptr || engine->ReleasePort();
            },
            [this] {
                if (LinkEngine* engine = session_.Link()) engine->ReconnectPort();
            },
        };
        doctor_ = new ConnectionDoctorWindow(link->Ports(), ws_.portName, std::move(hooks), this);
        doctor_->setAttribute(Qt::WA_DeleteOnClose);
        PlaceNearOwner(*doctor_, *this);
    }
    doctor_->show();
    doctor_->raise();
}

ConnectionDoctorWindow* MainWindow::ShownDoctorWindow() const { return doctor_; }

}  // namespace corvane

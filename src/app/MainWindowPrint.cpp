// File > Print Channel List...: the print dialog, then the pages.
#include <QAction>
#include <QMenu>

#include "app/MainWindow.h"
#include "editor/ChannelWindow.h"
#include "forms/ChannelListPrinter.h"

namespace corvane {

void MainWindow::PrintChannelList() {
    editor_->CloseCellEditors();
    RunChannelListPrint(this, ws_, [this](const QString& text) { ShowMessage(text); });
}

}  // namespace corvane

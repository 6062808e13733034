// File > Print Channel List...: the print dialog, then the pages.
#include <QAction>
#include <QMenu>

#include "app/MainWindow.h"
#include "editor/ChannelWindow.h"
#include "forms/ChannelListPrinter.h"

namespace corvane {

void MainWindow::BuildPrintItem(QMenu& file) {
    QAction* item = file.addAction(QStringLiteral("Print Channel List..."), this, [this] {
        editor_->CloseCellEditors();
        RunChannelListPrint(this, ws_, [this](const QString& text) { ShowMessage(text); });
    });
    item->setObjectName(QStringLiteral("printChannelList"));
}

}  // namespace corvane

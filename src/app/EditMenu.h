#pragma once
// The Edit menu of the main frame: Undo, Redo, Copy and Paste over the
// channel grid, placed between File and Port.
#include <QObject>

#include "model/Workspace.h"

class QAction;
class QMenu;

namespace corvane {

class GridClipboard;
class MainWindow;
class MessageSink;
class UndoHistory;
class ChannelWindow;

class EditMenu final : public QObject {
    Q_OBJECT
public:
    EditMenu(MainWindow& frame, Workspace& ws, MessageSink& messages);

    QMenu* Menu() const { return menu_; }
    GridClipboard& Clipboard() const { return *clipboard_; }

protected:
    // Keeps the frequency editor's own keys away from the menu shortcuts.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Undo();
    void Redo();
    void AfterRestore();
    void Refresh();

    MainWindow& frame_;
    ChannelWindow& editor_;
    UndoHistory& history_;
    Workspace& ws_;
    MessageSink& messages_;
    GridClipboard* clipboard_;
    QMenu* menu_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};

}  // namespace corvane

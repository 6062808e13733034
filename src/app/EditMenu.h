#pragma once
// What the Edit menu's Undo, Redo, Copy and Paste do over the channel grid,
// and the Undo and Redo items naming their steps.
#include <QObject>

#include "model/Workspace.h"
#include "session/CommandTable.h"

class QAction;
class QKeyEvent;

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

    void Run(Command command);
    GridClipboard& Clipboard() const { return *clipboard_; }

protected:
    // Keeps the frequency editor's own keys away from the menu shortcuts.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsEditKey(const QKeyEvent& key) const;
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
};

}  // namespace corvane

#include "app/EditMenu.h"

#include <QAction>
#include <QKeyEvent>

#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "editor/CellEditors.h"
#include "editor/FrequencyEdit.h"
#include "editor/GridClipboard.h"
#include "editor/UndoHistory.h"
#include "editor/ChannelWindow.h"

namespace corvane {

namespace {

QString Caption(Command command) {
    const std::string_view caption = Spec(command).menuCaption;
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

QString WithStep(const QString& verb, const QString& step) { return step.isEmpty() ? verb : verb + u' ' + step; }

}  // namespace

EditMenu::EditMenu(MainWindow& frame, Workspace& ws, MessageSink& messages)
    : QObject(&frame), frame_(frame), editor_(frame.Editor()), history_(frame.Editor().History()), ws_(ws),
      messages_(messages),
      clipboard_(new GridClipboard(frame.Editor(), ws, messages, this)) {
    connect(&history_, &UndoHistory::stateChanged, this, &EditMenu::Refresh);
    connect(&history_, &UndoHistory::restored, this, &EditMenu::AfterRestore);
    // Nothing is taken back while a transfer holds the port.
    connect(&editor_, &ChannelWindow::portInUse, this, [this](bool inUse) { history_.SetLocked(inUse); });
    editor_.Editors().Text1()->installEventFilter(this);
    Refresh();
}

bool EditMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && IsEditKey(static_cast<QKeyEvent&>(*event))) {
        event->accept();  // the key goes to the editor, not to the menu
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool EditMenu::IsEditKey(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    for (const Command command : {Command::Undo, Command::Redo, Command::Copy, Command::Paste})
        if (frame_.MenuAction(command)->shortcuts().contains(pressed)) return true;
    return false;
}

void EditMenu::Run(Command command) {
    switch (command) {
        case Command::Undo: return Undo();
        case Command::Redo: return Redo();
        case Command::Copy: return clipboard_->Copy();
        case Command::Paste:
            if (!frame_.PortInUse()) clipboard_->Paste();
            return;
        default: return;
    }
}

void EditMenu::Undo() {
    const Status restored = history_.Undo();
    if (!restored.ok()) messages_.Show(&frame_, QString::fromStdString(restored.message()));
}

void EditMenu::Redo() {
    const Status restored = history_.Redo();
    if (!restored.ok()) messages_.Show(&frame_, QString::fromStdString(restored.message()));
}

void EditMenu::AfterRestore() {
    frame_.setWindowTitle(MainWindow::CaptionFor(ws_.edition));
    frame_.CheckModeMenu();
}

void EditMenu::Refresh() {
    frame_.MenuAction(Command::Undo)->setText(WithStep(Caption(Command::Undo), history_.UndoName()));
    frame_.MenuAction(Command::Redo)->setText(WithStep(Caption(Command::Redo), history_.RedoName()));
}

}  // namespace corvane

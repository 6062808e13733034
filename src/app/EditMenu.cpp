#include "app/EditMenu.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "editor/CellEditors.h"
#include "editor/FrequencyEdit.h"
#include "editor/GridClipboard.h"
#include "editor/UndoHistory.h"
#include "editor/ChannelWindow.h"

namespace corvane {

namespace {

const QString kUndoText = QStringLiteral("Undo");
const QString kRedoText = QStringLiteral("Redo");

const QList<QKeySequence> kUndoKeys{QKeySequence(Qt::CTRL | Qt::Key_Z)};
const QList<QKeySequence> kRedoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
const QKeySequence kCopyKey(Qt::CTRL | Qt::Key_C);
const QKeySequence kPasteKey(Qt::CTRL | Qt::Key_V);

bool IsEditKey(const QKeyEvent& key) {
    const QKeySequence pressed(key.keyCombination());
    for (const QList<QKeySequence>& keys : {kUndoKeys, kRedoKeys, QList<QKeySequence>{kCopyKey, kPasteKey}})
        if (keys.contains(pressed)) return true;
    return false;
}

QString WithStep(const QString& verb, const QString& step) { return step.isEmpty() ? verb : verb + u' ' + step; }

}  // namespace

EditMenu::EditMenu(MainWindow& frame, Workspace& ws, MessageSink& messages)
    : QObject(&frame), frame_(frame), editor_(frame.Editor()), history_(frame.Editor().History()), ws_(ws),
      messages_(messages),
      clipboard_(new GridClipboard(frame.Editor(), ws, messages, this)) {
    menu_ = new QMenu(QStringLiteral("Edit(&E)"), &frame);
    menu_->setObjectName(QStringLiteral("mnuEdit"));
    undo_ = menu_->addAction(kUndoText, this, [this] { Undo(); });
    undo_->setObjectName(QStringLiteral("mnuUndo"));
    undo_->setShortcuts(kUndoKeys);
    redo_ = menu_->addAction(kRedoText, this, [this] { Redo(); });
    redo_->setObjectName(QStringLiteral("mnuRedo"));
    redo_->setShortcuts(kRedoKeys);
    menu_->addSeparator();
    QAction* copy = menu_->addAction(QStringLiteral("Copy"), this, [this] { clipboard_->Copy(); });
    copy->setObjectName(QStringLiteral("mnuCopy"));
    copy->setShortcut(kCopyKey);
    QAction* paste = menu_->addAction(QStringLiteral("Paste"), this, [this] {
        if (!frame_.PortInUse()) clipboard_->Paste();
    });
    paste->setObjectName(QStringLiteral("mnuPaste"));
    paste->setShortcut(kPasteKey);

    // Between File and Port, whatever else File holds.
    QMenuBar* bar = frame.menuBar();
    QMenu* port = frame.findChild<QMenu*>(QStringLiteral("comport"));
    if (port != nullptr) {
        bar->insertMenu(port->menuAction(), menu_);
    } else {
        bar->addMenu(menu_);
    }

    connect(&history_, &UndoHistory::stateChanged, this, &EditMenu::Refresh);
    connect(&history_, &UndoHistory::restored, this, &EditMenu::AfterRestore);
    // Nothing is taken back or pasted over while a transfer holds the port.
    connect(&editor_, &ChannelWindow::portInUse, this, [this, paste](bool inUse) {
        history_.SetLocked(inUse);
        paste->setEnabled(!inUse);
    });
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
    undo_->setEnabled(history_.CanUndo());
    undo_->setText(WithStep(kUndoText, history_.UndoName()));
    redo_->setEnabled(history_.CanRedo());
    redo_->setText(WithStep(kRedoText, history_.RedoName()));
}

}  // namespace corvane

#pragma once
// The channel editor window "PC Setting": the grid over the channel table,
// its in-place editors, the link status line and the transfer progress. It
// shows what the session's radio link reports.
#include <QWidget>
#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "link/LinkListener.h"
#include "model/Status.h"
#include "model/Workspace.h"
#include "session/ProgramSession.h"

class QLabel;
class QProgressBar;

namespace corvane {

class CellEditors;
class ChannelTableModel;
class FrozenColumnTableView;
class MessageSink;
class UndoHistory;

class ChannelWindow final : public QWidget, public LinkListener {
    Q_OBJECT
public:
    // The session's link listens to this window once it is loaded; the
    // session's owner closes the link before the window goes.
    ChannelWindow(ProgramSession& session, MessageSink& messages, QWidget* parent = nullptr);
    ~ChannelWindow() override;

    // Files, grid, pickers, link, then the first connection request. A file
    // that could not be written is reported in the status.
    Status LoadChannels();
    // Saves the working files and closes the port; the caller ends the program.
    Status SaveAndCloseChannels();

    void CloseCellEditors();
    // After the whole workspace was replaced: grid and pickers follow it.
    void RefreshFromWorkspace();
    void EnableToolbarAfterTransfer();
    // The link's messages so far, each in its box; the engine's call that
    // raised them has returned, so a box's event loop never runs inside it.
    void ShowPendingMessages();

    LinkEngine* Link() const { return session_.Link(); }
    FrozenColumnTableView& Grid() const { return *grid_; }
    ChannelTableModel& Model() const { return *model_; }
    CellEditors& Editors() const { return *editors_; }
    QLabel& StatusLabel() const { return *label1_; }
    QProgressBar& Progress() const { return *progressBar1_; }
    UndoHistory& History() const { return *history_; }

    // LinkListener
    void OnLinkStatus(const std::string& text, StatusColour colour) override;
    void OnWriteReadEnabled(bool enabled) override;
    void OnTransferButtonsEnabled(bool enabled) override;
    void OnPortInUse(bool inUse) override;
    void OnProgress(int value) override;
    void OnMessage(const std::string& text, MessageKind kind) override;
    void OnCloseCellEditors() override;
    void OnPortNameChanged() override;
    void OnImageAccepted() override;
    void OnImageReceived(std::span<const uint8_t> image) override;
    void OnBackupFailed(const std::string& text) override;
    void OnImageForCompare(std::span<const uint8_t> image) override;

signals:
    void writeReadEnabled(bool enabled);
    void transferButtonsEnabled(bool enabled);
    void portInUse(bool inUse);
    void portNameChanged();
    void imageAccepted();
    void backupFailed(const QString& text);
    // A compare read brought the radio's image; the workspace is unchanged.
    void imageForCompare(const QByteArray& image);

private:
    void SetUpGrid();

    ProgramSession& session_;
    Workspace& ws_;
    MessageSink& messages_;
    ChannelTableModel* model_;
    FrozenColumnTableView* grid_;
    CellEditors* editors_;
    QLabel* label1_;
    QProgressBar* progressBar1_;
    UndoHistory* history_ = nullptr;
    bool readStepOpen_ = false;  // between a read's arrival and its decode
    std::deque<std::pair<std::string, MessageKind>> pendingMessages_;
    bool messagesPosted_ = false;
    bool showingMessages_ = false;
};

}  // namespace corvane

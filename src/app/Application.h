#pragma once
// Runs the program's windows in order: the access code, then the main frame.
#include <QObject>
#include <QPointer>
#include <memory>

#include "app/AppOptions.h"
#include "session/ProgramSession.h"
#include "store/RecoverySet.h"

namespace corvane {

class MainWindow;
class MessageSink;
class AccessCodeDialog;

class Application final : public QObject {
    Q_OBJECT
public:
    Application(const AppOptions& options, MessageSink& messages, LinkFactory linkFactory);
    ~Application() override;

    // Shows the access-code window (and types the code given on the command line).
    // First an interrupted save is finished or undone and what a killed run
    // left in Data/recovery is looked at; damaged files are reset (copies
    // kept, said once the frame is open) only after a valid code. A working
    // file too large to read is reported and ends the program at once.
    void Start();

    ProgramSession& Session() { return session_; }
    Workspace& workspace() { return session_.Ws(); }
    AccessCodeDialog* PasswordWindow() const { return password_.get(); }
    MainWindow* MainFrame() const { return frame_.get(); }

signals:
    // The program is over: a refused code, Exit or the close box.
    void finished();

private:
    void OpenMainFrame();

    ProgramSession session_;
    Status folderStatus_;
    MessageSink& messages_;
    QString accessCode_;
    QString startNotice_;  // shown once the frame is open
    std::optional<LeftRecovery> leftRecovery_;  // found before the frame's load could write
    std::unique_ptr<AccessCodeDialog> password_;
    std::unique_ptr<MainWindow> frame_;
};

// The program folder: the --folder option or the executable's folder.
std::filesystem::path ProgramFolderFor(const AppOptions& options);

}  // namespace corvane

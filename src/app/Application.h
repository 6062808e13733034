#pragma once
// Runs the program's windows in order: the access code, then the main frame.
#include <QObject>
#include <QPointer>
#include <memory>

#include "app/AppOptions.h"
#include "editor/LinkOwner.h"
#include "model/Workspace.h"

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
    // First an interrupted save is finished or undone and damaged files are
    // reset with copies kept (said once the frame is open). A working file too
    // large to read, or one no copy could be kept of, is reported and ends the
    // program at once, before any file is read or written.
    void Start();

    Workspace& workspace() { return ws_; }
    AccessCodeDialog* PasswordWindow() const { return password_.get(); }
    MainWindow* MainFrame() const { return frame_.get(); }

signals:
    // The program is over: a refused code, Exit or the close box.
    void finished();

private:
    void OpenMainFrame();

    Workspace ws_;
    Status folderStatus_;
    MessageSink& messages_;
    LinkFactory linkFactory_;
    QString accessCode_;
    QString startNotice_;  // damaged files reset at the start, shown once the frame is open
    std::unique_ptr<AccessCodeDialog> password_;
    std::unique_ptr<MainWindow> frame_;
};

// The program folder: the --folder option or the executable's folder.
std::filesystem::path ProgramFolderFor(const AppOptions& options);

}  // namespace corvane

#pragma once
// The main frame: menus, the toolbar and the channel editor as its one MDI
// child. Every user action starts here.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "image/ImageDiff.h"
#include "link/LinkClock.h"
#include "model/Status.h"
#include "model/Workspace.h"
#include "session/CommandTable.h"
#include "session/ProgramSession.h"

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;

namespace corvane {

class MessageSink;
class CrashRecovery;
class GroupWindow;
class AboutWindow;
class CompareWindow;
class FleetWindow;
class ChannelWindow;
class ConnectionDoctorWindow;
class EditMenu;
class SettingsWindow;

constexpr int kPortMenuCount = 12;

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    // The frame of the session's run; the session outlives it.
    MainWindow(ProgramSession& session, MessageSink& messages, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The frame's load: sizes, caption, the editor's own load, menu ticks.
    void OpenFrame();

    // "Corvane PC Programmer - Kestrel : ..." by edition.
    static QString CaptionFor(int16_t edition);

    // A toolbar button: open cell editors close first.
    void OnToolbarClicked(Command command);
    // What a menu item, a toolbar button or a shortcut runs.
    void RunCommand(Command command);
    void CheckPortMenu();
    void CheckModeMenu();
    void SelectPort(int number);   // com1..com12
    void SelectDefaultMode();      // mode/default
    void SelectCustomMode();       // mode/custom
    void ShowHelp();               // information/help
    // File > Open Image... / Save Image... after their dialogs; true when done.
    bool RunOpenImage(const QString& path);
    bool RunSaveImage(const QString& path);
    // File > Export CHIRP CSV... / Import CHIRP CSV... after their dialogs.
    bool RunExportCsv(const QString& path);
    bool RunImportCsv(const QString& path);
    // File > OpenFile(&O) after its dialog: one undo step, its message said
    // over the table it left; true when the workspace changed.
    bool RunOpenWorkbook(const QString& path);
    // File > Compare with Image File... after its dialog; true when the table shows.
    bool RunCompareWithImageFile(const QString& path);

    ChannelWindow& Editor() const { return *editor_; }
    // The set kept after every step, and what a killed run left behind.
    CrashRecovery& Recovery() const { return *recovery_; }
    // File > Recover Unsaved Changes... enabled while a killed run's changes are offered.
    void SetRecoveryOffered(bool offered);
    QToolBar& Toolbar() const { return *toolbar_; }
    QAction* ToolbarAction(const QString& key) const;
    QAction* MenuAction(Command command) const;
    QAction* PortAction(int number) const { return portActions_.at(number - 1); }
    // A transfer or the detection holds the port: the commands that would
    // re-open it or replace the channel table refuse, shortcuts included.
    bool PortInUse() const;
    AboutWindow* HelpWindow() const;
    SettingsWindow* ShownSettingsWindow() const;
    GroupWindow* ShownGroupWindow() const;
    ConnectionDoctorWindow* ShownDoctorWindow() const;
    CompareWindow* ShownCompareWindow() const;
    FleetWindow* ShownFleetWindow() const;

signals:
    // The program is over; the application leaves its event loop.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void AddMenuItem(QMenu& menu, Command command);
    void AddPortItems(QMenu& port);
    void BuildToolbar();
    void ApplyFrameSize();
    // Every menu item and button enabled as the command table says for now.
    void RefreshCommands();
    void FollowVerifyItem();
    // Port > Diagnose Connection...: the connection doctor's window.
    void ShowConnectionDoctor();
    // File > Print Channel List...
    void PrintChannelList();
    void RefreshAfterRead();
    // Closes the other windows and announces the end.
    void EndProgram();
    void ExitProgram();
    void NewFile();
    void RequestWrite();
    void RequestRead();
    void StartAutoDetect();
    void ShowSetup();
    void ShowGroup();
    void OpenWorkbook();
    void SaveWorkbook();
    void OpenImage();
    void SaveImage();
    void ExportCsv();
    void ImportCsv();
    void CompareWithRadio();
    void CompareWithImageFile();
    // A compare read's image: the table, or before a write the question.
    void OnImageForCompare(const QByteArray& image);
    void ShowCompareWindow(std::vector<Difference> differences, const QString& otherTitle, const QString& caption,
                           bool offerWrite);
    // The fleet runs its own link: the main one lets go of the port meanwhile.
    void OpenFleetWindow();
    // A backup the link could not keep: a status line, not a dialog mid-transfer.
    void ShowBackupFailure(const QString& text);
    void ChangeMode(uint8_t mode);
    void ReportIfFailed(const Status& status);
    void ShowMessage(const QString& text);
    // A message of another window is owned by it (the frame while it is not there yet).
    void ShowMessageFrom(QWidget* window, const QString& text);

    ProgramSession& session_;
    Workspace& ws_;
    MessageSink& messages_;
    QMdiArea* mdiArea_;
    ChannelWindow* editor_;
    QToolBar* toolbar_;
    std::array<QAction*, kPortMenuCount> portActions_{};
    std::array<QAction*, kCommandCount> menuActions_{};
    std::vector<std::pair<QAction*, Command>> commandActions_;  // menu items and buttons
    CommandState commandState_{.linkReady = true};  // Down and Up work until the link says otherwise
    EditMenu* edit_ = nullptr;
    CrashRecovery* recovery_ = nullptr;
    // Port > Show Changes before Write: its tick kept per user.
    void FollowShowChangesItem();
    // What the running compare read is for.
    enum class CompareRead { None, Look, BeforeWrite };
    CompareRead compareRead_ = CompareRead::None;
    std::unique_ptr<LinkClock> fleetClock_;
    QPointer<CompareWindow> compare_;
    QPointer<FleetWindow> fleet_;
    QPointer<AboutWindow> help_;
    QPointer<SettingsWindow> setup_;
    QPointer<GroupWindow> group_;
    QPointer<ConnectionDoctorWindow> doctor_;
    bool ended_ = false;
};

}  // namespace corvane

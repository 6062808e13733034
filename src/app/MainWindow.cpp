#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

#include "app/AboutWindow.h"
#include "app/CrashRecovery.h"
#include "app/CsvFileCommands.h"
#include "app/EditMenu.h"
#include "app/FixedSubWindow.h"
#include "app/ImageFileCommands.h"
#include "app/MessageBoxes.h"
#include "app/Resources.h"
#include "app/WindowPinning.h"
#include "editor/ChannelWindow.h"
#include "editor/Twips.h"
#include "editor/UndoHistory.h"
#include "forms/FormHelpers.h"
#include "model/AccessCode.h"
#include "model/Frequency.h"
#include "model/NumberParse.h"
#include "store/ConfigFiles.h"

#include "forms/ConnectionDoctorWindow.h"
#include "forms/FleetWindow.h"
#include "forms/GroupWindow.h"
#include "forms/SettingsWindow.h"

namespace corvane {

namespace {

constexpr int kFrameExtraWidthTwips = 230;
constexpr int kFrameExtraHeightTwips = 900;
constexpr int kToolbarIconSize = 32;

QList<QKeySequence> Shortcuts(std::string_view keys) {
    QList<QKeySequence> sequences;
    for (const QString& key : forms::ToQString(keys).split(u';', Qt::SkipEmptyParts))
        sequences << QKeySequence::fromString(key, QKeySequence::PortableText);
    return sequences;
}

// Qt shows a button's caption when its action has no tip; these buttons have none.
class SwallowToolTip final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::ToolTip || QObject::eventFilter(watched, event);
    }
};

}  // namespace

MainWindow::MainWindow(ProgramSession& session, MessageSink& messages, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      ws_(session.Ws()),
      messages_(messages),
      mdiArea_(new QMdiArea(this)),
      editor_(new ChannelWindow(session, messages)),
      toolbar_(new QToolBar(this)) {
    InitResources();  // registering twice is harmless
    KeepModalsAboveProgram();
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(kMessageTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/logo.svg")));
    // No resizable border and no maximize box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    mdiArea_->setObjectName(QStringLiteral("MDIArea"));
    setCentralWidget(mdiArea_);
    BuildMenus();
    BuildToolbar();
    edit_ = new EditMenu(*this, ws_, messages_);
    recovery_ = new CrashRecovery(*this, ws_, messages_);

    auto* child = new FixedSubWindow;
    child->setObjectName(QStringLiteral("PCSettingWindow"));
    child->setWidget(editor_);
    mdiArea_->addSubWindow(child);

    connect(editor_, &ChannelWindow::writeReadEnabled, this, [this](bool enabled) {
        commandState_.linkReady = enabled;
        RefreshCommands();
    });
    connect(editor_, &ChannelWindow::transferButtonsEnabled, this, [this](bool enabled) {
        commandState_.transferLocked = !enabled;
        RefreshCommands();
    });
    connect(editor_, &ChannelWindow::portInUse, this, [this](bool inUse) {
        commandState_.portInUse = inUse;
        if (group_) group_->SetPortInUse(inUse);
        RefreshCommands();
    });
    connect(&editor_->History(), &UndoHistory::stateChanged, this, &MainWindow::RefreshCommands);
    RefreshCommands();
    connect(editor_, &ChannelWindow::portNameChanged, this, &MainWindow::CheckPortMenu);
    connect(editor_, &ChannelWindow::imageAccepted, this, &MainWindow::RefreshAfterRead);
    connect(editor_, &ChannelWindow::backupFailed, this, &MainWindow::ShowBackupFailure);
    connect(editor_, &ChannelWindow::imageForCompare, this, &MainWindow::OnImageForCompare);
}

MainWindow::~MainWindow() {
    // The editor goes down with the MDI area; what it reports then must not reach a half-destroyed frame.
    disconnect(editor_, nullptr, this, nullptr);
    delete fleet_.data();  // stops a run and lets go of its port
    // The editor listens to the link: the link ends first.
    session_.CloseLink();
    for (QWidget* window : {static_cast<QWidget*>(help_.data()), static_cast<QWidget*>(group_.data()),
                            static_cast<QWidget*>(setup_.data())}) {
        delete window;
    }
}

QString MainWindow::CaptionFor(int16_t edition) {
    return QString::fromStdString(FrameCaption(edition));
}

void MainWindow::BuildMenus() {
    for (const MenuSpec& spec : MenuBar()) {
        QMenu* menu = menuBar()->addMenu(forms::ToQString(spec.caption));
        menu->setObjectName(forms::ToQString(spec.name));
        for (const MenuEntry& entry : spec.entries) {
            if ((entry.faces & kDesktop) == 0) continue;
            if (!entry.command) {
                menu->addSeparator();
            } else if (*entry.command == Command::ChoosePort) {
                AddPortItems(*menu);
            } else {
                AddMenuItem(*menu, *entry.command);
            }
        }
    }
    FollowVerifyItem();
    FollowShowChangesItem();
}

void MainWindow::AddMenuItem(QMenu& menu, Command command) {
    const CommandSpec& spec = Spec(command);
    QAction* item = menu.addAction(forms::ToQString(spec.menuCaption));
    item->setObjectName(forms::ToQString(spec.menuName));
    item->setCheckable(spec.checkable);
    item->setShortcuts(Shortcuts(spec.shortcuts));
    if (!spec.toolTip.empty()) {
        item->setToolTip(forms::ToQString(spec.toolTip));
        menu.setToolTipsVisible(true);
    }
    // Verify after Write and Show Changes before Write follow their ticks (Follow...Item).
    if (command != Command::VerifyAfterWrite && command != Command::ShowChangesBeforeWrite)
        connect(item, &QAction::triggered, this, [this, command] { RunCommand(command); });
    menuActions_[static_cast<std::size_t>(command)] = item;
    commandActions_.emplace_back(item, command);
}

void MainWindow::AddPortItems(QMenu& port) {
    const CommandSpec& spec = Spec(Command::ChoosePort);
    for (int number = 1; number <= kPortMenuCount; ++number) {
        if (number == 5 || number == 9) port.addSeparator();
        QAction* item = port.addAction(forms::ToQString(spec.menuCaption) + QString::number(number), this,
                                       [this, number] { SelectPort(number); });
        item->setObjectName(forms::ToQString(spec.menuName) + QString::number(number));
        item->setCheckable(true);
        portActions_[number - 1] = item;
        commandActions_.emplace_back(item, Command::ChoosePort);
    }
}

void MainWindow::BuildToolbar() {
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    for (const std::optional<Command>& button : ToolbarLayout()) {
        if (!button) {
            toolbar_->addSeparator();
            continue;
        }
        const Command command = *button;
        const CommandSpec& spec = Spec(command);
        QAction* action = toolbar_->addAction(QIcon(QStringLiteral(":/icons/") + forms::ToQString(spec.icon)),
                                              forms::ToQString(spec.toolbarCaption));
        action->setObjectName(forms::ToQString(spec.toolbarKey));
        action->setToolTip(forms::ToQString(spec.toolTip));
        if (spec.toolTip.empty()) toolbar_->widgetForAction(action)->installEventFilter(new SwallowToolTip(action));
        connect(action, &QAction::triggered, this, [this, command] { OnToolbarClicked(command); });
        commandActions_.emplace_back(action, command);
    }
}

AboutWindow* MainWindow::HelpWindow() const { return help_; }
SettingsWindow* MainWindow::ShownSettingsWindow() const { return setup_; }
GroupWindow* MainWindow::ShownGroupWindow() const { return group_; }

QAction* MainWindow::ToolbarAction(const QString& key) const { return toolbar_->findChild<QAction*>(key); }

QAction* MainWindow::MenuAction(Command command) const { return menuActions_[static_cast<std::size_t>(command)]; }

void MainWindow::ApplyFrameSize() {
    const int width = editor_->width() + TwipsToPixels(kFrameExtraWidthTwips);
    const int height = editor_->height() + TwipsToPixels(kFrameExtraHeightTwips) + toolbar_->sizeHint().height();
    setFixedSize(width, height);
}

void MainWindow::OpenFrame() {
    move(0, 0);
    const Status loaded = editor_->LoadChannels();
    ApplyFrameSize();
    setWindowTitle(CaptionFor(ws_.edition));
    editor_->show();
    mdiArea_->tileSubWindows();
    ReportIfFailed(loaded);
    RefreshPresetFrequencies(ws_.presets, ws_.edition);
    ReportIfFailed(LoadConfigFile(ws_));
    session_.SetVerifyAfterWrite(MenuAction(Command::VerifyAfterWrite)->isChecked());
    CheckPortMenu();
    CheckModeMenu();
}

void MainWindow::CheckPortMenu() {
    for (QAction* item : portActions_) item->setChecked(false);
    const long long number = LenientInteger(ws_.portName);
    if (number >= 1 && number <= kPortMenuCount) PortAction(static_cast<int>(number))->setChecked(true);
}

void MainWindow::CheckModeMenu() {
    MenuAction(Command::ModeDefault)->setChecked(ws_.channelMode == kModeDefault);
    MenuAction(Command::ModeCustom)->setChecked(ws_.channelMode == kModeCustom);
    // Groups exist in Custom mode only: whatever made the mode Default (the
    // menu, a read, an import, an undo) also closes the group window.
    if (ws_.channelMode != kModeCustom && group_) group_->close();
}

void MainWindow::RefreshAfterRead() {
    setWindowTitle(CaptionFor(ws_.edition));
    CheckModeMenu();
    CheckPortMenu();
}

void MainWindow::ReportIfFailed(const Status& status) {
    if (!status.ok()) ShowMessage(QString::fromStdString(status.message()));
}

void MainWindow::ShowMessage(const QString& text) { messages_.Show(this, text); }

void MainWindow::ShowMessageFrom(QWidget* window, const QString& text) {
    messages_.Show(window != nullptr ? window : this, text);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!ended_) {
        // The close box: the editor's unload saves the working files only.
        const Status saved = editor_->SaveAndCloseChannels();
        ReportIfFailed(saved);
        if (saved.ok()) recovery_->RunEndedSaved();
        EndProgram();
    }
    event->accept();
}

void MainWindow::EndProgram() {
    ended_ = true;
    delete doctor_.data();  // without giving the port back to a link that has ended
    for (QWidget* window : {static_cast<QWidget*>(help_.data()), static_cast<QWidget*>(group_.data()),
                            static_cast<QWidget*>(setup_.data())}) {
        if (window != nullptr) window->close();
    }
    close();
    emit programEnded();
}

}  // namespace corvane

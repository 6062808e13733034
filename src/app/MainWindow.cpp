#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

#include "app/CrashRecovery.h"
#include "app/EditMenu.h"
#include "app/FixedSubWindow.h"
#include "app/CsvFileCommands.h"
#include "app/ImageFileCommands.h"
#include "app/MessageBoxes.h"
#include "app/Resources.h"
#include "app/AboutWindow.h"
#include "editor/Twips.h"
#include "editor/ChannelWindow.h"
#include "link/qt/SerialDevices.h"
#include "model/AccessCode.h"
#include "model/Frequency.h"
#include "model/NumberParse.h"
#include "store/ConfigFiles.h"

#include "forms/ConnectionDoctorWindow.h"
#include "forms/GroupWindow.h"
#include "forms/SettingsWindow.h"

namespace corvane {

namespace {

constexpr int kFrameExtraWidthTwips = 230;
constexpr int kFrameExtraHeightTwips = 900;
constexpr int kToolbarIconSize = 32;

struct ToolbarEntry {
    const char* key;  // nullptr: a separator
    const char* caption;
    const char* tip;
    const char* icon;
};

// Positions 1..14 of Toolbar1.
constexpr std::array<ToolbarEntry, 14> kToolbarEntries{{
    {"exit", "Exit", "", ":/icons/exit.svg"},
    {nullptr, nullptr, nullptr, nullptr},
    {"program", "Down", "Write to Radio", ":/icons/down.svg"},
    {"upload", "Up", "Read from Radio", ":/icons/up.svg"},
    {nullptr, nullptr, nullptr, nullptr},
    {"auto", "Auto", "Auto Detect", ":/icons/auto.svg"},
    {nullptr, nullptr, nullptr, nullptr},
    {"nFile", "New File", "", ":/icons/new.svg"},
    {"oFile", "Open File", "", ":/icons/open.svg"},
    {"sFile", "Save File", "", ":/icons/save.svg"},
    {nullptr, nullptr, nullptr, nullptr},
    {"setup", "Set Up", "", ":/icons/setup.svg"},
    {nullptr, nullptr, nullptr, nullptr},
    {"group", "Group", "", ":/icons/group.svg"},
}};

// Qt shows a button's caption when its action has no tip; these buttons have none.
class SwallowToolTip final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::ToolTip || QObject::eventFilter(watched, event);
    }
};

// The buttons a running transfer locks.
constexpr std::array<const char*, 8> kTransferKeys{"program", "upload", "auto", "nFile", "oFile", "sFile", "setup", "group"};

}  // namespace

MainWindow::MainWindow(Workspace& ws, MessageSink& messages, LinkFactory linkFactory, QWidget* parent)
    : QMainWindow(parent), ws_(ws), messages_(messages), mdiArea_(new QMdiArea(this)),
      editor_(new ChannelWindow(ws, messages, std::move(linkFactory))), toolbar_(new QToolBar(this)) {
    InitResources();  // registering twice is harmless
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
    new EditMenu(*this, ws_, messages_);
    recovery_ = new CrashRecovery(*this, ws_, messages_);

    auto* child = new FixedSubWindow;
    child->setObjectName(QStringLiteral("PCSettingWindow"));
    child->setWidget(editor_);
    mdiArea_->addSubWindow(child);

    connect(editor_, &ChannelWindow::writeReadEnabled, this, &MainWindow::SetWriteReadEnabled);
    connect(editor_, &ChannelWindow::transferButtonsEnabled, this, &MainWindow::SetTransferButtonsEnabled);
    connect(editor_, &ChannelWindow::portInUse, this, [this](bool inUse) { SetPortCommandsEnabled(!inUse); });
    connect(editor_, &ChannelWindow::portNameChanged, this, &MainWindow::CheckPortMenu);
    connect(editor_, &ChannelWindow::imageAccepted, this, &MainWindow::RefreshAfterRead);
    connect(editor_, &ChannelWindow::backupFailed, this, &MainWindow::ShowBackupFailure);
}

MainWindow::~MainWindow() {
    // The editor goes down with the MDI area; what it reports then must not reach a half-destroyed frame.
    disconnect(editor_, nullptr, this, nullptr);
    for (QWidget* window : {static_cast<QWidget*>(help_.data()), static_cast<QWidget*>(group_.data()),
                            static_cast<QWidget*>(setup_.data())}) {
        delete window;
    }
}

QString MainWindow::CaptionFor(int16_t edition) {
    return QString::fromStdString(FrameCaption(edition));
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* openFile = file->addAction(QStringLiteral("OpenFile(&O)"), this, [this] { OpenWorkbook(); });
    openFile->setObjectName(QStringLiteral("openFile"));
    file->addSeparator();
    QAction* saveFile = file->addAction(QStringLiteral("SaveFile(&S)"), this, [this] { SaveWorkbook(); });
    saveFile->setObjectName(QStringLiteral("saveFile"));
    file->addSeparator();
    QAction* openImage = file->addAction(QString::fromLatin1(kOpenImageText), this, [this] { OpenImage(); });
    openImage->setObjectName(QStringLiteral("openImage"));
    QAction* saveImage = file->addAction(QString::fromLatin1(kSaveImageText), this, [this] { SaveImage(); });
    saveImage->setObjectName(QStringLiteral("saveImage"));
    file->addSeparator();
    QAction* exportCsv = file->addAction(QString::fromLatin1(kExportCsvText), this, [this] { ExportCsv(); });
    exportCsv->setObjectName(QStringLiteral("exportCsv"));
    QAction* importCsv = file->addAction(QString::fromLatin1(kImportCsvText), this, [this] { ImportCsv(); });
    importCsv->setObjectName(QStringLiteral("importCsv"));
    file->addSeparator();
    BuildPrintItem(*file);
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("Exit(&X)"), this, [this] { ExitProgram(); });
    exit->setObjectName(QStringLiteral("mnuExit"));

    QMenu* port = menuBar()->addMenu(QStringLiteral("Port(&P)"));
    port->setObjectName(QStringLiteral("comport"));
    port->setToolTipsVisible(true);
    for (int number = 1; number <= kPortMenuCount; ++number) {
        if (number == 5 || number == 9) port->addSeparator();
        QAction* item = port->addAction(QStringLiteral("COM%1").arg(number), this, [this, number] { SelectPort(number); });
        item->setObjectName(QStringLiteral("com%1").arg(number));
        item->setCheckable(true);
        portActions_[number - 1] = item;
    }
    BuildVerifyItem(*port);
    BuildDiagnoseItem(*port);

    QMenu* mode = menuBar()->addMenu(QStringLiteral("Mode(&M)"));
    mode->setObjectName(QStringLiteral("mode"));
    defaultMode_ = mode->addAction(QStringLiteral("Default"), this, [this] { SelectDefaultMode(); });
    defaultMode_->setObjectName(QStringLiteral("default"));
    defaultMode_->setCheckable(true);
    customMode_ = mode->addAction(QStringLiteral("Custom"), this, [this] { SelectCustomMode(); });
    customMode_->setObjectName(QStringLiteral("custom"));
    customMode_->setCheckable(true);

    QMenu* information = menuBar()->addMenu(QStringLiteral("Help(&H)"));
    information->setObjectName(QStringLiteral("information"));
    QAction* help = information->addAction(QStringLiteral("Help"), this, [this] { ShowHelp(); });
    help->setObjectName(QStringLiteral("help"));
}

void MainWindow::BuildToolbar() {
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    for (const ToolbarEntry& entry : kToolbarEntries) {
        if (entry.key == nullptr) {
            toolbar_->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(entry.key);
        QAction* action = toolbar_->addAction(QIcon(QString::fromLatin1(entry.icon)), QString::fromLatin1(entry.caption));
        action->setObjectName(key);
        action->setToolTip(QString::fromLatin1(entry.tip));
        if (*entry.tip == '\0') toolbar_->widgetForAction(action)->installEventFilter(new SwallowToolTip(action));
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
}

AboutWindow* MainWindow::HelpWindow() const { return help_; }
SettingsWindow* MainWindow::ShownSettingsWindow() const { return setup_; }
GroupWindow* MainWindow::ShownGroupWindow() const { return group_; }

QAction* MainWindow::ToolbarAction(const QString& key) const { return toolbar_->findChild<QAction*>(key); }

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
    if (LinkEngine* link = editor_->Link()) {
        link->SetVerifyAfterWrite(verifyAfterWrite_->isChecked());
        for (int number = 1; number <= kPortMenuCount; ++number) {
            PortAction(number)->setToolTip(QString::fromStdString(DeviceWithCable(link->Ports().DeviceForPort(std::to_string(number)))));
            PortAction(number)->setStatusTip(PortAction(number)->toolTip());
        }
    }
    CheckPortMenu();
    CheckModeMenu();
}

void MainWindow::CheckPortMenu() {
    for (QAction* item : portActions_) item->setChecked(false);
    const long long number = LenientInteger(ws_.portName);
    if (number >= 1 && number <= kPortMenuCount) PortAction(static_cast<int>(number))->setChecked(true);
}

void MainWindow::CheckModeMenu() {
    defaultMode_->setChecked(ws_.channelMode == kModeDefault);
    customMode_->setChecked(ws_.channelMode == kModeCustom);
    // Groups exist in Custom mode only: whatever made the mode Default (the
    // menu, a read, an import, an undo) also closes the group window.
    if (ws_.channelMode != kModeCustom && group_) group_->close();
}

void MainWindow::SetTransferButtonsEnabled(bool enabled) {
    for (const char* key : kTransferKeys) {
        if (QAction* action = ToolbarAction(QString::fromLatin1(key))) action->setEnabled(enabled);
    }
    // The image and CSV commands wait for a transfer like the file buttons do.
    for (const char* name : {"openImage", "saveImage", "exportCsv", "importCsv", "printChannelList"}) {
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(name))) action->setEnabled(enabled);
    }
}

void MainWindow::SetWriteReadEnabled(bool enabled) {
    for (const QString& key : {QStringLiteral("program"), QStringLiteral("upload")}) {
        if (QAction* action = ToolbarAction(key)) action->setEnabled(enabled);
    }
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

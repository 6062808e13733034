#include "app/Application.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTimer>
#include <utility>

#include "app/CrashRecovery.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/AccessCodeDialog.h"
#include "app/WindowPinning.h"
#include "store/ProgramFolder.h"
#include "store/WorkingSet.h"

namespace corvane {

// Beside the program when that folder takes writes; an installed copy keeps
// its files in the per-user data folder instead.
std::filesystem::path ProgramFolderFor(const AppOptions& options) {
    if (!options.folder.isEmpty()) return std::filesystem::path(options.folder.toStdString());
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return ResolveProgramFolder(QCoreApplication::applicationDirPath().toStdString(), perUser.toStdString());
}

Application::Application(const AppOptions& options, MessageSink& messages, LinkFactory linkFactory)
    : session_(ProgramFolderFor(options).string(), SavePolicy::AtSavePoints, std::move(linkFactory)),
      messages_(messages),
      accessCode_(options.accessCode) {
    KeepModalsAboveProgram();
    // A --folder that does not exist yet is made; when that fails the first file read says why.
    if (!options.folder.isEmpty()) folderStatus_ = CreateFolderIfMissing(session_.Ws().programFolder);
}

Application::~Application() = default;

void Application::Start() {
    if (!folderStatus_.ok()) messages_.Show(nullptr, QString::fromStdString(folderStatus_.message()));
    password_ = std::make_unique<AccessCodeDialog>(session_.Access(), messages_);
    connect(password_.get(), &AccessCodeDialog::codeAccepted, this, &Application::OpenMainFrame, Qt::QueuedConnection);
    connect(password_.get(), &AccessCodeDialog::codeRefused, this, &Application::finished, Qt::QueuedConnection);
    connect(password_.get(), &AccessCodeDialog::closedWithoutCode, this, &Application::finished, Qt::QueuedConnection);
    // A file too large to read is said and ends the program; nothing else is
    // written before a valid code.
    if (!password_->Prepare()) {
        password_.reset();
        QTimer::singleShot(0, this, &Application::finished);
        return;
    }
    // Looked at before the frame's load rewrites any channel file.
    if (auto left = FindLeftRecovery(session_.Ws().programFolder); left) {
        leftRecovery_ = std::move(left.value());
    } else {
        startNotice_ = QString::fromStdString(left.message());
    }
    password_->show();
    if (!accessCode_.isEmpty()) {
        password_->CodeBox().setText(accessCode_);
        QTimer::singleShot(0, password_.get(), &AccessCodeDialog::Text1_Enter);
    }
}

void Application::OpenMainFrame() {
    frame_ = std::make_unique<MainWindow>(session_, messages_);
    connect(frame_.get(), &MainWindow::programEnded, this, &Application::finished, Qt::QueuedConnection);
    frame_->OpenFrame();
    frame_->show();
    for (const QString& notice : {password_->StartNotice(), std::exchange(startNotice_, QString()),
                                  frame_->Recovery().Offer(std::exchange(leftRecovery_, std::nullopt))}) {
        if (!notice.isEmpty()) messages_.Show(frame_.get(), notice);
    }
}

}  // namespace corvane

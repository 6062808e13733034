#include "app/ImageFileCommands.h"

#include <QFileDialog>
#include <QFileInfo>
#include <filesystem>

#include "image/MemoryImage.h"
#include "store/ImageBackups.h"
#include "store/WorkingSet.h"

namespace corvane {
namespace {

QString StartFolder(const Workspace& ws) {
    std::error_code ec;
    const std::filesystem::path backups = DefaultBackupFolder(ws);
    const std::filesystem::path start = std::filesystem::is_directory(backups, ec) ? backups : ws.DataFolder();
    return QString::fromStdString(start.string());
}

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(path.toStdString()); }

// Qt's own dialog, which opens above the program's pinned windows like every box.
constexpr QFileDialog::Options kDialogOptions = QFileDialog::DontUseNativeDialog;

}  // namespace

QString ChooseImageToOpen(QWidget* parent, const Workspace& ws) {
    return QFileDialog::getOpenFileName(parent, QString::fromLatin1(kOpenImageText).remove(QStringLiteral("...")),
                                        StartFolder(ws), QString::fromLatin1(kImageFilter), nullptr, kDialogOptions);
}

QString ChooseImageToSave(QWidget* parent, const Workspace& ws) {
    QString path = QFileDialog::getSaveFileName(parent, QString::fromLatin1(kSaveImageText).remove(QStringLiteral("...")),
                                                StartFolder(ws), QString::fromLatin1(kImageFilter), nullptr,
                                                kDialogOptions);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + QLatin1String(kImageSuffix);
    return path;
}

bool OpenImageFromPath(Workspace& ws, const QString& path, const MessageFn& tell) {
    const OpenedImage opened = OpenImageFile(ToPath(path), ws);
    if (!opened.message.empty()) tell(QString::fromStdString(opened.message));
    return opened.taken;
}

bool CheckImageBuilds(const Workspace& ws, const MessageFn& tell) {
    const Result<MemoryImage> image = BuildImage(ws);
    if (!image.ok()) tell(QString::fromStdString(image.message()));
    return image.ok();
}

bool SaveImageToPath(const Workspace& ws, const QString& path, const MessageFn& tell) {
    const Result<MemoryImage> image = BuildImage(ws);
    if (!image.ok()) {
        tell(QString::fromStdString(image.message()));
        return false;
    }
    if (const Status written = WriteImageFile(ToPath(path), *image); !written.ok()) {
        tell(QString::fromStdString(written.message()));
        return false;
    }
    return true;
}

}  // namespace corvane

#include "forms/SpreadsheetDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <filesystem>

#include "store/SavePoint.h"

#ifdef CORVANE_HAVE_WORKBOOK
#include "store/workbook/SpreadsheetExport.h"
#endif

namespace corvane {
namespace {

// Qt's own dialog: the native ones may append the filter's extension.
constexpr QFileDialog::Options kSaveOptions = QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite;
constexpr QFileDialog::Options kOpenOptions = QFileDialog::DontUseNativeDialog;

std::filesystem::path ToPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString DataFolderText(const Workspace& ws) {
    return QString::fromStdString(ws.DataFolder().string());
}

#ifndef CORVANE_HAVE_WORKBOOK
constexpr const char* kNoSupportText = "Spreadsheet files are not supported by this build.";
#endif

}  // namespace

void ExportToChosenPath(const Workspace& ws, const QString& path, const MessageFn& tell) {
    if (path.isEmpty()) return;
#ifdef CORVANE_HAVE_WORKBOOK
    if (const Status saved = ExportSpreadsheet(ws, ToPath(path)); !saved) {
        tell(QString::fromStdString(saved.message()));
    }
#else
    (void)ws;
    tell(QString::fromLatin1(kNoSupportText));
#endif
}

std::optional<ImportResult> ImportFromChosenPath(Workspace& ws, const QString& path, const MessageFn& tell) {
    if (path.isEmpty()) return std::nullopt;
#ifdef CORVANE_HAVE_WORKBOOK
    SavePoint point(ws.programFolder);  // the import's files as one set
    ImportResult result = ImportSpreadsheet(ws, ToPath(path));
    if (const Status saved = point.Commit(); !saved && result.message.empty()) result.message = saved.message();
    if (!result.message.empty()) tell(QString::fromStdString(result.message));
    return result;
#else
    (void)ws;
    tell(QString::fromLatin1(kNoSupportText));
    return ImportResult{ImportOutcome::Failed, kNoSupportText};
#endif
}

void RunSpreadsheetExport(QWidget* parent, const Workspace& ws, const MessageFn& tell) {
    const QString path = QFileDialog::getSaveFileName(parent, QString::fromLatin1(kFileSaveTitle), DataFolderText(ws),
                                                      QString::fromLatin1(kSaveFilter), nullptr, kSaveOptions);
    ExportToChosenPath(ws, path, tell);
}

QString ChooseWorkbookToOpen(QWidget* parent, const Workspace& ws) {
    return QFileDialog::getOpenFileName(parent, QString::fromLatin1(kFileOpenTitle), DataFolderText(ws),
                                        QString::fromLatin1(kOpenFilter), nullptr, kOpenOptions);
}


}  // namespace corvane

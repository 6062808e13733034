#include "app/CsvFileCommands.h"

#include <QFileDialog>
#include <QFileInfo>

#include "store/ChirpCsv.h"

namespace corvane {
namespace {

QString Title(const char* menuText) { return QString::fromLatin1(menuText).remove(QStringLiteral("...")); }

QString StartFolder(const Workspace& ws) { return QString::fromStdString(ws.DataFolder().string()); }

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(path.toStdString()); }

// Qt's own dialog, which opens above the program's pinned windows like every box.
constexpr QFileDialog::Options kDialogOptions = QFileDialog::DontUseNativeDialog;

}  // namespace

QString ChooseCsvToImport(QWidget* parent, const Workspace& ws) {
    return QFileDialog::getOpenFileName(parent, Title(kImportCsvText), StartFolder(ws), QString::fromLatin1(kCsvFilter),
                                        nullptr, kDialogOptions);
}

QString ChooseCsvToExport(QWidget* parent, const Workspace& ws) {
    QString path = QFileDialog::getSaveFileName(parent, Title(kExportCsvText), StartFolder(ws),
                                                QString::fromLatin1(kCsvFilter), nullptr, kDialogOptions);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + QLatin1String(kCsvSuffix);
    return path;
}

bool ExportCsvToPath(const Workspace& ws, const QString& path, const MessageFn& tell) {
    const Result<CsvExportReport> report = ExportChirpCsv(ws, ToPath(path));
    tell(QString::fromStdString(report.ok() ? report->Summary() : report.message()));
    return report.ok();
}

bool ImportCsvFromPath(Workspace& ws, const QString& path, const MessageFn& tell) {
    const Result<CsvImportReport> report = ImportChirpCsv(ws, ToPath(path));
    tell(QString::fromStdString(report.ok() ? report->Summary() : report.message()));
    return report.ok();
}

}  // namespace corvane

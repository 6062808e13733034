#include "session/FileCommands.h"

#include <fstream>
#include <iterator>

#include "image/MemoryImage.h"
#include "store/ChirpCsv.h"
#include "store/ImageBackups.h"
#include "store/SavePoint.h"
#include "store/WorkingSet.h"
#include "store/workbook/SpreadsheetExport.h"

namespace corvane {

Workbook FileCommands::ExportSheet() const { return BuildExportSheet(ws_); }

ImportResult FileCommands::ImportSheet(const Workbook& book) {
    SavePoint point(ws_.programFolder);  // the import's files as one set
    ImportResult result = corvane::ImportSheet(ws_, book);
    if (const Status saved = point.Commit(); !saved && result.message.empty()) result.message = saved.message();
    return result;
}

FileBytes FileCommands::ExportChirpCsv() const {
    const CsvExport csv = BuildChirpCsv(ws_);
    return {std::vector<uint8_t>(csv.bytes.begin(), csv.bytes.end()), csv.report.Summary(), true};
}

TakenIn FileCommands::ImportChirpCsv(const std::vector<uint8_t>& bytes, std::string_view fileName) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const Result<CsvImportReport> report = corvane::ImportChirpCsv(ws_, text, fileName);
    return {report.ok(), report.ok() ? report->Summary() : report.message()};
}

FileBytes FileCommands::SaveImage() const {
    const Result<MemoryImage> image = BuildImage(ws_);
    if (!image.ok()) return {{}, image.message(), false};
    return {std::vector<uint8_t>(image->begin(), image->end()), {}, true};
}

TakenIn FileCommands::OpenImage(const std::vector<uint8_t>& bytes, std::string_view fileName) {
    const OpenedImage opened = corvane::OpenImage(bytes, fileName, ws_);
    return {opened.taken, opened.message};
}

std::string FileCommands::TakeWorkingSet(const std::string& from) {
    Workspace taken;
    taken.programFolder = from;
    ClearToStartUpState(taken);
    if (Status loaded = LoadWorkingSetUnchangedEdition(taken); !loaded) return loaded.message();
    {
        SavePoint point(ws_.programFolder);
        for (const std::string& name : WorkingFileNames()) {
            std::ifstream in(taken.programFolder / name, std::ios::binary);
            std::string bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
            if (!in.good() && !in.eof()) return "cannot read " + name;
            (void)SaveWorkingFile(ws_.programFolder, name, std::move(bytes));
        }
        if (Status saved = point.Commit(); !saved) return saved.message();
    }
    return LoadWorkingSetUnchangedEdition(ws_).message();
}

}  // namespace corvane

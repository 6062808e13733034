#include "web/FileCommands.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "link/MemoryImage.h"
#include "store/ChirpCsv.h"
#include "store/ImageBackups.h"
#include "store/SavePoint.h"
#include "store/WorkingSet.h"
#include "store/workbook/SpreadsheetExport.h"

namespace corvane::web {
namespace {

Status WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out ? Status::Ok() : Status::Error("cannot write " + path);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The files in passing never stay: the origin storage mirrors the tree.
void Remove(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

}  // namespace

std::string FileCommands::ScratchFile(const char* name) const {
    std::error_code ec;
    std::filesystem::create_directories(scratch_, ec);
    return scratch_ + "/" + name;
}

Workbook FileCommands::ExportSheet() const { return BuildExportSheet(ws_); }

ImportResult FileCommands::ImportSheet(const Workbook& book) {
    SavePoint point(ws_.programFolder);  // the import's files as one set
    ImportResult result = corvane::ImportSheet(ws_, book);
    if (const Status saved = point.Commit(); !saved && result.message.empty()) result.message = saved.message();
    return result;
}

FileBytes FileCommands::ExportChirpCsv() {
    const std::string path = ScratchFile("export.csv");
    const Result<CsvExportReport> report = corvane::ExportChirpCsv(ws_, path);
    FileBytes out;
    if (report.ok()) {
        out.bytes = ReadBytes(path);
        out.message = report->Summary();
        out.ok = true;
    } else {
        out.message = report.message();
    }
    Remove(path);
    return out;
}

TakenIn FileCommands::ImportChirpCsv(const std::vector<uint8_t>& bytes) {
    const std::string path = ScratchFile("import.csv");
    if (const Status written = WriteBytes(path, bytes); !written) return {false, written.message()};
    const Result<CsvImportReport> report = corvane::ImportChirpCsv(ws_, path);
    Remove(path);
    return {report.ok(), report.ok() ? report->Summary() : report.message()};
}

FileBytes FileCommands::SaveImage() {
    const Result<MemoryImage> image = BuildImage(ws_);
    if (!image.ok()) return {{}, image.message(), false};
    return {std::vector<uint8_t>(image->begin(), image->end()), {}, true};
}

TakenIn FileCommands::OpenImage(const std::vector<uint8_t>& bytes) {
    const std::string path = ScratchFile("open.img");
    if (const Status written = WriteBytes(path, bytes); !written) return {false, written.message()};
    const Result<MemoryImage> image = ReadImageFile(path);
    Remove(path);
    if (!image.ok()) return {false, image.message()};
    return {true, AcceptImageFromRadio(*image, ws_).message()};
}

std::string FileCommands::ReloadWorkingSet() { return LoadWorkingSetUnchangedEdition(ws_).message(); }

}  // namespace corvane::web

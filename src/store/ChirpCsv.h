#pragma once
// CHIRP's generic CSV: the channel list format other radio tools exchange.
// Export writes one line per channel with a receive frequency; import reads
// such a file into a Custom-mode channel table. Both stay beside the native
// files and the spreadsheet exchange and change neither.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

struct CsvExportReport {
    std::size_t channelsWritten = 0;
    // Channels whose CTCSS tone CHIRP's tone list lacks: written anyway, but
    // CHIRP refuses those lines when it loads the file.
    std::vector<int> channelsChirpRejects;
    std::string Summary() const;
};

// The channel table as CHIRP CSV (CR LF, UTF-8).
struct CsvExport {
    std::string bytes;
    CsvExportReport report;
};
CsvExport BuildChirpCsv(const Workspace& ws);

// Writes BuildChirpCsv to path as the working files are written (through a
// temporary file beside it), replacing the file whole.
Result<CsvExportReport> ExportChirpCsv(const Workspace& ws, const std::filesystem::path& path);

struct CsvImportReport {
    std::size_t channelsImported = 0;
    // "line 7: tone 1.0 Hz is not in this radio's CTCSS list", in file order.
    std::vector<std::string> skippedLines;
    std::string Summary() const;
};

// Reads the bytes of a CHIRP CSV file into ws: Custom mode, every channel the
// file does not name left empty, groups cleared; then Port.txt, Group.txt and
// the channel files are saved. The whole file is parsed before anything
// changes: a file that cannot be read, or that holds no usable channel,
// changes nothing. Refusals name the file by fileName, the name the user
// chose it by.
Result<CsvImportReport> ImportChirpCsv(Workspace& ws, std::string_view bytes, std::string_view fileName);
// The same with the file at path, named by path.
Result<CsvImportReport> ImportChirpCsv(Workspace& ws, const std::filesystem::path& path);

}  // namespace corvane

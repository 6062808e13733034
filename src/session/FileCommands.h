#pragma once
// The File menu's exchange formats for the page: spreadsheets as cells (the
// page reads and writes .xlsx and .ods itself; .xls is read here), CHIRP CSV
// and memory images as bytes, and the working set taken again after the page
// replaced its files. Each runs the same core code as the desktop program's
// command, on the bytes the user chose, named by the name they chose them by.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/Workspace.h"
#include "store/workbook/SpreadsheetImport.h"
#include "store/workbook/Workbook.h"

namespace corvane {

// A produced file, or why there is none.
struct FileBytes {
    std::vector<uint8_t> bytes;
    std::string message;  // for the user; may accompany bytes (a CSV report)
    bool ok = false;
};

// A command that took a file in: whether the workspace changed, and what to tell.
struct TakenIn {
    bool changed = false;
    std::string message;
};

class FileCommands {
public:
    explicit FileCommands(Workspace& ws) : ws_(ws) {}

    Workbook ExportSheet() const;
    ImportResult ImportSheet(const Workbook& book);

    FileBytes ExportChirpCsv() const;
    TakenIn ImportChirpCsv(const std::vector<uint8_t>& bytes, std::string_view fileName);

    // The image the next write would send, or the builder's refusal.
    FileBytes SaveImage() const;
    // Taken in as a completed read would be; changed when it was taken.
    TakenIn OpenImage(const std::vector<uint8_t>& bytes, std::string_view fileName);

    // Another working set (a folder, an archive) the page put into from:
    // read as a start reads it, its stored edition kept (as the CLI does),
    // missing files created; then its ten files replace the program's as one
    // set and the workspace is read from them. "" or what went wrong; on an
    // error before the set is written nothing has changed.
    std::string TakeWorkingSet(const std::string& from);

private:
    Workspace& ws_;
};

}  // namespace corvane

#pragma once
// The File menu's exchange formats for the page: spreadsheets as cells (the
// page reads and writes the file format), CHIRP CSV and memory images as
// bytes, and the working set taken again after the page replaced its files.
// Each runs the same core code as the desktop program's command.
#include <cstdint>
#include <string>
#include <vector>

#include "model/Workspace.h"
#include "store/workbook/SpreadsheetImport.h"
#include "store/workbook/Workbook.h"

namespace corvane::web {

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
    // scratch: a folder of Emscripten's file system for the files in passing.
    FileCommands(Workspace& ws, std::string scratch) : ws_(ws), scratch_(std::move(scratch)) {}

    Workbook ExportSheet() const;
    ImportResult ImportSheet(const Workbook& book);

    FileBytes ExportChirpCsv();
    TakenIn ImportChirpCsv(const std::vector<uint8_t>& bytes);

    // The image the next write would send, or the builder's refusal.
    FileBytes SaveImage();
    // Decoded as a completed read would be; changed when the decoder ran.
    TakenIn OpenImage(const std::vector<uint8_t>& bytes);

    // Port.txt, Group.txt and the channel files read again as stored, the
    // stored edition kept (as the CLI does): the page has put another
    // working set in place (a folder, an archive).
    std::string ReloadWorkingSet();

private:
    // A path in the scratch folder, which is created when missing.
    std::string ScratchFile(const char* name) const;

    Workspace& ws_;
    std::string scratch_;
};

}  // namespace corvane::web

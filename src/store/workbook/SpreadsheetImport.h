#pragma once
// Reads a workbook written by the export back into the workspace. The whole
// sheet is read into a staged copy first; the workspace changes only when
// every cell converted, so a failed import leaves everything as it was.
#include <filesystem>
#include <string>
#include <string_view>

#include "model/Status.h"
#include "model/Workspace.h"
#include "store/workbook/Workbook.h"

namespace corvane {

inline constexpr std::string_view kDirectoryErrorText = "[Error] Directory Selected .....";
inline constexpr std::string_view kImportFailurePrefix = "Import failed: ";

enum class ImportOutcome {
    Refused,          // not inside the Data folder; nothing happened
    Failed,           // unreadable workbook or a bad settings cell; nothing changed
    SameEdition,      // the workbook's channels, settings and groups were taken
    EditionDefaults,  // other edition (or empty A257): settings taken, default plan filled in
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Failed;
    // For the user: why it was refused or failed, what a workbook of another
    // edition reset, a save that failed; empty when there is nothing to say.
    std::string message;
    bool saveFailed = false;  // taken in memory, but a working file was not written

    // The workspace changed, so the caller refreshes the grid and the Mode menu.
    bool Changed() const { return outcome == ImportOutcome::SameEdition || outcome == ImportOutcome::EditionDefaults; }
};

// True when path, made absolute and free of ".", ".." and links, lies below
// the Data folder. Compared case-sensitively.
bool IsInsideDataFolder(const Workspace& ws, const std::filesystem::path& path);

// Copies the channel block and the settings block of book into staged, row
// by row; stops at the first settings cell that does not convert. Refuses a
// book with an error or an uncomputed formula in a cell it reads, one whose
// settings block (A257:A320) holds no value at all, and a settings text with
// a character outside Windows-1252 (the code page of Port.txt and Group.txt).
Status ReadSheetInto(const Workbook& book, Workspace& staged);

// Everything the import does once the workbook's first sheet is read: the
// sheet is taken or, for another edition, the default plan is filled in (the
// message says what was reset); writes Port.txt, Group.txt and (on the
// fallback) the channel files. Free of any file format, so the browser hands
// in the cells its own reader found.
ImportResult ImportSheet(Workspace& ws, const Workbook& book);

// The File Open command after the dialog: folder check, read, then either
// keep what was read or fall back to the current edition's default plan;
// writes Port.txt, Group.txt and (on the fallback) the channel files.
ImportResult ImportSpreadsheet(Workspace& ws, const std::filesystem::path& path);

}  // namespace corvane

#pragma once
// The resets of the working files' readers: what was wrong with a file, what
// replaces it, and the copy kept of every file a reset replaces. A missing
// file (a first start) is created without a word; a file that exists is
// never replaced before a copy of it is safe in the backups folder.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "model/Status.h"

namespace corvane {

struct Workspace;

struct DamagedFile {
    std::string name;     // "Tx_Freq.txt"
    std::string problem;  // "has only 100 of its 256 lines", "is missing", ...
};

struct WorkingFileBytes {
    std::string name;
    std::string bytes;
};

// One reset a reader would make: the files that made it reset, every file it
// rewrites (the frequency pair is reset together), and what that does.
struct FileReset {
    std::vector<DamagedFile> damaged;
    std::vector<WorkingFileBytes> files;
    std::string done;      // "both frequency files were reset"
    std::string wouldDo;   // "both frequency files would be reset"
};
using FileResets = std::vector<FileReset>;

// Why a working file could not be read at all: "is missing", "is a folder,
// not a file", "cannot be read (Permission denied)".
std::string UnreadableProblem(const std::filesystem::path& path);
// "is empty" or "has only N of its M lines".
std::string ShortFileProblem(std::size_t lines, std::size_t expected);

// True when a file the reset rewrites exists in folder (through links): the
// reset would replace it rather than create it.
bool ReplacesAFile(const std::filesystem::path& folder, const FileReset& reset);

// Copies every existing file the resets rewrite into a fresh
// backupsFolder/damaged-<date-time> (UTC, as the image backups), synced, and
// returns that folder. Nothing is reset when this fails.
Result<std::filesystem::path> KeepDamagedCopies(const std::filesystem::path& folder, const FileResets& resets,
                                                const std::filesystem::path& backupsFolder,
                                                std::chrono::system_clock::time_point when);

// One message: each damaged file and what was wrong, what was reset, and
// where the copies are.
std::string DamageNotice(const FileResets& resets, const std::filesystem::path& copies);

// A command that only reads refuses a reset that would replace a file, in one
// sentence naming the file and what is wrong with it. Ok when every reset
// would only create missing files (their defaults stay in memory).
Status RefuseReplacingResets(const std::filesystem::path& folder, const FileResets& resets);

// The start-up's repair: the resets that replace a file (not those that only
// create a missing one) are made as one set after copies of the files they
// replace were kept. Returns DamageNotice, or "" when nothing was replaced.
// When no copy can be kept, nothing is reset and the error says so.
Result<std::string> ReplaceDamagedFiles(const std::filesystem::path& folder, const FileResets& resets,
                                        const std::filesystem::path& backupsFolder);

// ApplyResets, returning DamageNotice when a file was replaced ("" when the
// resets only created missing files), for a window that loads a file again.
Result<std::string> ApplyResetsAndTell(const std::filesystem::path& folder, const FileResets& resets,
                                       const std::filesystem::path& backupsFolder);

// What a reader does with its resets outside a start-up: a copy of each file
// it replaces is kept first (refused when that fails), then every rewritten
// file is saved as one set (or staged in the open save point).
Status ApplyResets(const std::filesystem::path& folder, const FileResets& resets,
                   const std::filesystem::path& backupsFolder);
// The same in the workspace's program folder, copies kept in its backups folder.
Status ApplyResets(const Workspace& ws, const FileResets& resets);

}  // namespace corvane

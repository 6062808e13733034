#pragma once
// Several files replaced as one set: after a failure or a crash at any point,
// and the recovery at the next start, every file holds its old bytes or every
// file holds its new bytes, never a mix.
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Status.h"
#include "store/CommitFileSystem.h"

namespace corvane {

// The journal a commit keeps in its folder while it renames.
inline constexpr std::string_view kSaveJournalName = ".corvane-journal";

struct FileToCommit {
    std::filesystem::path path;
    std::string bytes;
};

// Writes files as one set:
//  1. each file's bytes to an exclusive temporary beside it (beside the file
//     a symbolic link names), with the old file's permission bits, synced;
//  2. the journal in journalFolder naming every temporary and its file,
//     ended by a line with their count and a checksum;
//  3. the renames; 4. a sync of every folder involved; 5. the journal removed.
// A file that exists but does not take writes, or any failure before the
// journal is complete, removes the temporaries and leaves every file as it
// was; the error names the file. A failure after it leaves the journal, so
// the next start completes the set.
Status CommitFileSet(const std::filesystem::path& journalFolder, const std::vector<FileToCommit>& files,
                     CommitFileSystem& fs);

enum class RecoveryAction {
    None,       // no journal
    Finished,   // a complete journal was carried out
    Discarded,  // an incomplete or damaged journal was dropped with its temporaries
};

struct Recovery {
    RecoveryAction action = RecoveryAction::None;
    int temporariesRemoved = 0;
};

// Run before the files are read: carries out a complete journal in folder
// (the renames it names that have not happened yet) and removes it; removes an
// incomplete one. Then removes every leftover temporary of the named files,
// beside them and beside the files their links name. Touches nothing else.
Result<Recovery> RecoverFileSet(const std::filesystem::path& folder, std::span<const std::string> fileNames,
                                CommitFileSystem& fs);

}  // namespace corvane

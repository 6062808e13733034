#pragma once
// A save point of the program (Exit, a read, an import, a port choice, ...)
// writes its working files as one set: they change together or not at all.
//
//     SavePoint point(ws.programFolder);
//     SaveChannelFiles(ws);      // staged, nothing written yet
//     SaveGroupFile(ws);
//     return point.Commit();     // all nine, or none
//
// While a save point is open for a folder on this thread, every working-file
// save of that folder (SaveConfigFile, SaveGroupFile, SaveChannelFiles and the
// loaders' rewrites) is staged in it; a later save of the same file replaces
// the earlier one. Without one, each such save commits at once on its own.
#include <filesystem>
#include <string>
#include <vector>

#include "model/Status.h"
#include "store/CommitFileSystem.h"
#include "store/SetCommit.h"

namespace corvane {

class SavePoint {
public:
    explicit SavePoint(const std::filesystem::path& folder);
    SavePoint(const std::filesystem::path& folder, CommitFileSystem& fs);
    // Without Commit nothing staged is written.
    ~SavePoint();
    SavePoint(const SavePoint&) = delete;
    SavePoint& operator=(const SavePoint&) = delete;

    // Writes what was staged as one set (see CommitFileSet). A save point
    // opened inside another one for the same folder joins it: its files are
    // committed with the outer one, and its own Commit only returns Ok.
    // After Commit, saves of the folder commit at once again.
    [[nodiscard]] Status Commit();

    // At Commit nothing is written when every staged file already holds its
    // bytes (a save after each step, most of which change nothing). Applies
    // to the save point this one joined, if any.
    void SkipWhenUnchanged();

    // The names of the files staged so far, in staging order.
    std::vector<std::string> StagedNames() const;

    // Stages bytes as folder/name in the save point open for folder on this
    // thread; false when there is none.
    static bool Stage(const std::filesystem::path& folder, const std::string& name, std::string bytes);

private:
    std::filesystem::path folder_;
    CommitFileSystem& fs_;
    SavePoint* joined_ = nullptr;    // the open save point of the same folder this one belongs to
    SavePoint* previous_ = nullptr;  // the innermost open save point when this one opened
    bool open_ = true;
    bool skipWhenUnchanged_ = false;
    std::vector<FileToCommit> files_;
};

// Writes a working file of folder: staged in the open save point of that
// folder, else committed at once as a set of one.
Status SaveWorkingFile(const std::filesystem::path& folder, const std::string& name, std::string bytes);

}  // namespace corvane

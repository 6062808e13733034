// A working set another command only reads: the store's read-only load, which
// writes nothing and refuses a file start-up would reset; here a missing file
// is refused too, as defaults would not be the set the user named. Only a
// save interrupted in that folder is finished or undone, as any start does.
#include "cli/ReadOnlySet.h"

#include <system_error>

#include "store/WorkingSet.h"

namespace corvane::cli {

Status LoadWorkingSetReadOnly(const std::filesystem::path& folder, Workspace& ws) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return Status::Error("not a folder");
    // As at every start: a save interrupted there is finished or undone first.
    if (const Result<Recovery> recovered = RecoverInterruptedSave(folder); !recovered) return recovered.status();
    for (const std::string& name : WorkingFileNames()) {
        if (!std::filesystem::is_regular_file(folder / name, ec)) return Status::Error("not a working set: " + name + " is missing");
    }
    Workspace loaded;
    loaded.programFolder = folder;
    ClearToStartUpState(loaded);
    if (Status status = corvane::LoadWorkingSetReadOnly(loaded); !status) return status;
    ws = std::move(loaded);
    return Status::Ok();
}

}  // namespace corvane::cli

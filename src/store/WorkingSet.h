#pragma once
// The sequences of file operations the program runs at its fixed points
// (start-up, exit, a completed read), shared by the GUI and the CLI.
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "model/Status.h"
#include "model/Workspace.h"
#include "store/SetCommit.h"

namespace corvane {

// The names of the ten working files: Port.txt, Group.txt and the eight
// channel files.
std::vector<std::string> WorkingFileNames();

// An error naming the first working file in folder that is too large to read.
// Start-up stops on it: a load would otherwise treat the file as short and
// recover by rewriting it.
Status CheckWorkingFilesReadable(const std::filesystem::path& folder);

// Start-up clean-up: removes the temporary files that interrupted saves of
// the working files left behind (exactly their own name pattern, nothing
// else). Returns how many were removed.
int RemoveLeftoverTemporaryFiles(const std::filesystem::path& folder);

// The first thing every start does (program, page, every CLI verb), before
// any working file is read: a save interrupted after its journal was complete
// is finished, one interrupted before is discarded with its temporaries, so
// the files are the old set or the new set. An error when the journal's
// renames cannot be carried out (the files must not be read then).
Result<Recovery> RecoverInterruptedSave(const std::filesystem::path& folder);

enum class StartMode {
    MayReset,  // the program, the page and the verbs that save
    ReadOnly,  // verbs that only read: nothing is written
};

struct StartReport {
    Recovery recovery;
    // One message for the user when damaged files were reset: which, what
    // was wrong and where the copies are. Empty otherwise.
    std::string notice;
};

// Every start: RecoverInterruptedSave, the readability check, then (MayReset)
// the files a reader would replace at start-up because they are damaged (a
// short or unreadable frequency file, an empty marker line, a Port.txt or
// Group.txt that would become defaults) are copied into
// Data/backups/damaged-<date-time>/ and reset as the readers reset them, as
// one set. Missing files are left to the readers, which create them. An error
// ends the start: nothing is reset when no copy can be kept.
Result<StartReport> PrepareWorkingSet(const std::filesystem::path& folder, StartMode mode);

// The access-code window's read of Port.txt, before any code: a missing file
// is created with its defaults (a first start); a damaged one gets them in
// memory only, its reset waits for an accepted code. PreviousEdition is the
// edition read.
Status LoadConfigBeforeAccessCode(Workspace& ws);

struct AcceptedCode {
    std::string notice;  // PrepareWorkingSet's, said once the frame is open
    Status configSaved;
};

// A valid access code: the start's repair of damaged files (PrepareWorkingSet
// with MayReset: copies kept first), then Edition set and Port.txt saved. Only
// now is an existing working file replaced, so a refused code leaves every one
// as it was. An error ends the start (no copy could be kept).
Result<AcceptedCode> AcceptAccessCode(Workspace& ws, int16_t edition);

// Creates the Data folder of the spreadsheet dialogs when it is missing. It
// serves nothing else, so callers report a failure and go on.
Status EnsureDataFolder(const Workspace& ws);

// The channel editor's load: the readability check above, Port.txt,
// Group.txt, then the channel table from the working files when Edition
// equals PreviousEdition, else the edition's preset plan written out at once.
// Stops before changing anything when a file is too large to read.

// What it writes (files created, the preset plan) is one set.
Status LoadWorkingSet(Workspace& ws);

// For callers without an access code (the CLI): Port.txt read, its Edition
// taken as PreviousEdition, then the rest of LoadWorkingSet.
Status LoadWorkingSetUnchangedEdition(Workspace& ws);

// LoadWorkingSetUnchangedEdition for commands that only read: nothing is
// written. Missing files give their defaults in memory; a damaged file that
// start-up would replace is refused in one sentence naming it.
Status LoadWorkingSetReadOnly(Workspace& ws);

// Exit: the eight working files and Group.txt, as one set.
Status SaveWorkingSetOnExit(Workspace& ws);

// A completed read: decode, then Port.txt and Group.txt as one set.
Status AcceptImageFromRadio(std::span<const uint8_t> image, Workspace& ws);

}  // namespace corvane

#pragma once
// The sequences of file operations the program runs at its fixed points
// (start-up, exit, a completed read), shared by the GUI and the CLI.
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "model/Status.h"
#include "model/Workspace.h"

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

// Creates the Data folder of the spreadsheet dialogs when it is missing. It
// serves nothing else, so callers report a failure and go on.
Status EnsureDataFolder(const Workspace& ws);

// The channel editor's load: the readability check above, Port.txt,
// Group.txt, then the channel table from the working files when Edition
// equals PreviousEdition, else the edition's preset plan written out at once.
// Stops before changing anything when a file is too large to read.
Status LoadWorkingSet(Workspace& ws);

// For callers without an access code (the CLI): Port.txt read, its Edition
// taken as PreviousEdition, then the rest of LoadWorkingSet.
Status LoadWorkingSetUnchangedEdition(Workspace& ws);

// Exit: the eight working files and Group.txt.
Status SaveWorkingSetOnExit(Workspace& ws);

// A completed read: decode, then Port.txt and Group.txt.
Status AcceptImageFromRadio(std::span<const uint8_t> image, Workspace& ws);

}  // namespace corvane

#pragma once
// The sequences of file operations the program runs at its fixed points
// (start-up, exit, a completed read), shared by the GUI and the CLI.
#include <span>

#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

// The channel editor's load: Port.txt, the Data folder, Group.txt, then the
// channel table from the working files when Edition equals PreviousEdition,
// else the edition's preset plan written out at once.
Status LoadWorkingSet(Workspace& ws);

// For callers without an access code (the CLI): Port.txt read, its Edition
// taken as PreviousEdition, then the rest of LoadWorkingSet.
Status LoadWorkingSetUnchangedEdition(Workspace& ws);

// Exit: the eight working files and Group.txt.
Status SaveWorkingSetOnExit(Workspace& ws);

// A completed read: decode, then Port.txt and Group.txt.
Status AcceptImageFromRadio(std::span<const uint8_t> image, Workspace& ws);

}  // namespace corvane

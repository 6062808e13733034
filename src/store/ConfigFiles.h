#pragma once
// Port.txt (port, edition, mode, settings; 39 lines) and Group.txt (26 lines).
#include "model/Status.h"
#include "model/Workspace.h"
#include "store/DamagedFiles.h"

namespace corvane {

inline constexpr const char* kConfigFile = "Port.txt";
inline constexpr const char* kGroupFile = "Group.txt";
constexpr int kConfigFileLines = 39;
constexpr int kGroupFileLines = 26;

// Missing or empty file (no port on line 1, none known before): defaults
// applied, and the file's rewrite added to resets. A file too large to read
// is an error that changes neither the workspace nor the file. Texts are
// Windows-1252 in the file, UTF-8 in the workspace.
Status LoadConfigFile(Workspace& ws, FileResets& resets);
// The same, writing the reset at once (a copy of a file it replaces kept first).
Status LoadConfigFile(Workspace& ws);
// Through the set commit; staged inside an open save point.
Status SaveConfigFile(const Workspace& ws);

// Missing or short file (line 13 empty, as it was before): ResetGroupSetup
// and the file's rewrite added to resets. Too large: as above.
Status LoadGroupFile(Workspace& ws, FileResets& resets);
Status LoadGroupFile(Workspace& ws);
// The group window's load: LoadGroupFile, and the one notice of a damaged
// file it replaced (copy kept, as at the start); "" when none was.
Result<std::string> LoadGroupFileAndTell(Workspace& ws);
// Applies the empty-text rule to the workspace before writing.
Status SaveGroupFile(Workspace& ws);

}  // namespace corvane

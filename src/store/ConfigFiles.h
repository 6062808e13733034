#pragma once
// Port.txt (port, edition, mode, settings; 39 lines) and Group.txt (26 lines).
#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

inline constexpr const char* kConfigFile = "Port.txt";
inline constexpr const char* kGroupFile = "Group.txt";
constexpr int kConfigFileLines = 39;
constexpr int kGroupFileLines = 26;

// Missing or empty file: defaults applied and the file written. A file too
// large to read is an error that changes neither the workspace nor the file.
// Texts are Windows-1252 in the file, UTF-8 in the workspace.
Status LoadConfigFile(Workspace& ws);
Status SaveConfigFile(const Workspace& ws);

// Missing file: ResetGroupSetup and the file written. Too large: as above.
Status LoadGroupFile(Workspace& ws);
// Applies the empty-text rule to the workspace before writing.
Status SaveGroupFile(Workspace& ws);

}  // namespace corvane

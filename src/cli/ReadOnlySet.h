#pragma once
// Loading a working set another command only reads (diff, fleet): nothing in
// its folder may change, and a set a load would have to repair is refused
// rather than compared or written into radios.
#include <filesystem>

#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane::cli {

// The set in folder as the program loads it with the edition of its
// Port.txt (see corvane::LoadWorkingSetReadOnly). Refused when a working file
// is missing or damaged; the folder is left exactly as it was either way.
Status LoadWorkingSetReadOnly(const std::filesystem::path& folder, Workspace& ws);

}  // namespace corvane::cli

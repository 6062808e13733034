#pragma once
// Where the program keeps its working, configuration and group files.
// Beside the program when that folder takes writes (the portable layout);
// an installed copy under a read-only prefix uses the per-user data folder.
#include <filesystem>

#include "model/Status.h"

namespace corvane {

// Creates folder with its parents when it does not exist; an error naming it
// when that fails or when something other than a folder has its name.
Status CreateFolderIfMissing(const std::filesystem::path& folder);

// True when a file can really be created and removed in folder; permission
// bits alone say nothing about read-only mounts or access control lists.
bool IsFolderWritable(const std::filesystem::path& folder);

// True for PREFIX/bin of an installed copy (its desktop entry lies in
// PREFIX/share/applications).
bool IsInstalledLayout(const std::filesystem::path& executableDir);

// executableDir when it is writable and not an installed copy's bin folder,
// otherwise perUserDataDir (created with its parents when missing). An empty
// perUserDataDir leaves executableDir.
std::filesystem::path ResolveProgramFolder(const std::filesystem::path& executableDir,
                                           const std::filesystem::path& perUserDataDir);

// The per-user data folder shared by the desktop program and the CLI:
// $XDG_DATA_HOME/corvane, else $HOME/.local/share/corvane. Relative or unset
// values do not count (XDG rules); empty when neither gives a folder.
// Pass the environment values, which may be null.
std::filesystem::path PerUserDataFolder(const char* xdgDataHome, const char* home);

}  // namespace corvane

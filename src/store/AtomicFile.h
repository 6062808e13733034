#pragma once
// Whole-file saves that survive a crash and respect what the user set up:
// the new bytes go to a temporary file beside the file and are renamed over
// it, through symbolic links, with the old file's permission bits.
#include <filesystem>
#include <string>
#include <string_view>

#include "model/Status.h"

namespace corvane {

// Writes to a temporary file beside the file path names (following symbolic
// links) and renames it over the old one, so a crash or a full disk never
// leaves a truncated file. The old file's permission bits are kept; a file
// that the user may not write is a failed save and stays as it was.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The file a chain of symbolic links ends at (path itself when it is none);
// it need not exist, as a plain overwrite through a dangling link creates it.
Result<std::filesystem::path> ResolveLinkTarget(const std::filesystem::path& path);

// An error with the system's reason when an existing file does not take
// writes (a save replaces the file, so a "read-only" would go unnoticed).
Status CheckFileTakesWrites(const std::filesystem::path& path);

// The system's words for an errno value ("unknown error" for 0).
std::string ErrnoText(int error);

// A fresh temporary name beside target: target + ".tmp-" + random digits.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target);

// True for the name of a temporary file WriteFileAtomically makes for a file
// named fileName: fileName + ".tmp-" + the digits of the random suffix.
bool IsTemporaryNameOf(std::string_view candidate, std::string_view fileName);

// Removes the temporary files a save interrupted by a crash left behind for
// the given working file: beside it, and beside the file a symbolic link
// names. Touches nothing else. Returns how many were removed.
int RemoveLeftoverTemporaries(const std::filesystem::path& path);

}  // namespace corvane

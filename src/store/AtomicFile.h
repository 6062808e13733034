#pragma once
// Whole-file saves that survive a crash and respect what the user set up:
// the new bytes go to a temporary file beside the file and are renamed over
// it, through symbolic links, with the old file's permission bits.
#include <filesystem>
#include <string_view>

#include "model/Status.h"

namespace corvane {

// Writes to a temporary file beside the file path names (following symbolic
// links) and renames it over the old one, so a crash or a full disk never
// leaves a truncated file. The old file's permission bits are kept; a file
// that the user may not write is a failed save and stays as it was.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// True for the name of a temporary file WriteFileAtomically makes for a file
// named fileName: fileName + ".tmp-" + the digits of the random suffix.
bool IsTemporaryNameOf(std::string_view candidate, std::string_view fileName);

// Removes the temporary files a save interrupted by a crash left behind for
// the given working file: beside it, and beside the file a symbolic link
// names. Touches nothing else. Returns how many were removed.
int RemoveLeftoverTemporaries(const std::filesystem::path& path);

}  // namespace corvane

#include "store/ProgramFolder.h"

#include <cstdio>
#include <random>
#include <string>
#include <system_error>

namespace corvane {
namespace {

constexpr const char* kProbePrefix = ".corvane-write-probe-";
constexpr int kProbeAttempts = 4;
constexpr const char* kPerUserFolderName = "corvane";
constexpr const char* kDefaultDataHome = ".local/share";
// An installed copy sits in PREFIX/bin beside PREFIX/share/applications/corvane.desktop.
constexpr const char* kInstalledBinName = "bin";
constexpr const char* kInstalledDesktopEntry = "share/applications/corvane.desktop";

bool IsAbsoluteSetting(const char* value) {
    return value != nullptr && std::filesystem::path(value).is_absolute();
}

std::filesystem::path ProbeName(const std::filesystem::path& folder) {
    std::random_device random;
    return folder / (kProbePrefix + std::to_string(random()) + std::to_string(random()));
}

}  // namespace

Status CreateFolderIfMissing(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return Status::Ok();
    if (std::filesystem::exists(folder, error)) return Status::Error("cannot use " + folder.string() + ": it is not a folder");
    std::filesystem::create_directories(folder, error);
    if (error) return Status::Error("cannot create " + folder.string() + ": " + error.message());
    return Status::Ok();
}

bool IsFolderWritable(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error)) return false;
    // A name clash with a leftover probe is retried rather than read as "not writable".
    for (int attempt = 0; attempt < kProbeAttempts; ++attempt) {
        const std::filesystem::path probe = ProbeName(folder);
        // "x": create exclusively, so an existing file of that name is never touched.
        std::FILE* file = std::fopen(probe.c_str(), "wx");
        if (file == nullptr) {
            if (std::filesystem::exists(probe, error)) continue;
            return false;
        }
        const bool closed = std::fclose(file) == 0;
        const bool removed = std::filesystem::remove(probe, error);
        return closed && removed;
    }
    return false;
}

bool IsInstalledLayout(const std::filesystem::path& executableDir) {
    std::error_code error;
    return executableDir.filename() == kInstalledBinName &&
           std::filesystem::is_regular_file(executableDir.parent_path() / kInstalledDesktopEntry, error);
}

std::filesystem::path ResolveProgramFolder(const std::filesystem::path& executableDir,
                                           const std::filesystem::path& perUserDataDir) {
    if (perUserDataDir.empty()) return executableDir;
    // Even where it could (root), an installed copy never writes into the system's bin folder.
    if (!IsInstalledLayout(executableDir) && IsFolderWritable(executableDir)) return executableDir;
    std::error_code error;
    std::filesystem::create_directories(perUserDataDir, error);
    // On failure the later file writes report it; the folder choice stays stable.
    return perUserDataDir;
}

std::filesystem::path PerUserDataFolder(const char* xdgDataHome, const char* home) {
    if (IsAbsoluteSetting(xdgDataHome)) return std::filesystem::path(xdgDataHome) / kPerUserFolderName;
    if (IsAbsoluteSetting(home)) return std::filesystem::path(home) / kDefaultDataHome / kPerUserFolderName;
    return {};
}

}  // namespace corvane

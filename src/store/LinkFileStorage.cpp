#include "store/LinkFileStorage.h"

#include <chrono>

#include "store/ImageBackups.h"
#include "store/WorkingSet.h"

namespace corvane {

std::filesystem::path LinkFileStorage::BackupFolder() const {
    if (backupFolder_) return *backupFolder_;
    if (ws_.programFolder.empty()) return {};
    return DefaultBackupFolder(ws_);
}

Result<std::string> LinkFileStorage::KeepBackup(std::span<const uint8_t> image, int16_t edition, BackupKind kind) {
    const std::filesystem::path folder = BackupFolder();
    if (folder.empty()) return std::string();
    const Result<std::filesystem::path> saved =
        SaveImageBackup(folder, image, edition, kind, std::chrono::system_clock::now());
    if (!saved.ok()) return saved.status();
    return saved->string();
}

Status LinkFileStorage::AcceptRead(std::span<const uint8_t> image, Workspace& ws) {
    return AcceptImageFromRadio(image, ws);
}

}  // namespace corvane

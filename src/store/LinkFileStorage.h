#pragma once
// The link's storage on files: backups in a folder of image files, a read
// taken over as the program does it (decode, then Port.txt and Group.txt).
#include <filesystem>
#include <optional>

#include "link/LinkStorage.h"

namespace corvane {

class LinkFileStorage final : public LinkStorage {
public:
    explicit LinkFileStorage(const Workspace& ws) : ws_(ws) {}

    // Where backups go; empty switches them off. Until set: DefaultBackupFolder
    // of the workspace (none while the workspace has no program folder).
    void SetBackupFolder(std::filesystem::path folder) { backupFolder_ = std::move(folder); }
    std::filesystem::path BackupFolder() const;

    Result<std::string> KeepBackup(std::span<const uint8_t> image, int16_t edition, BackupKind kind) override;
    Status AcceptRead(std::span<const uint8_t> image, Workspace& ws) override;

private:
    const Workspace& ws_;
    std::optional<std::filesystem::path> backupFolder_;
};

}  // namespace corvane

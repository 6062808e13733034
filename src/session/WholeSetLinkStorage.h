#pragma once
// The link's storage for a face that saves after every step (the page): a
// read taken in with the whole set, so a run ended at any moment leaves the
// set before the read or the set after it.
#include <filesystem>
#include <span>

#include "link/LinkStorage.h"
#include "model/Status.h"
#include "model/Workspace.h"
#include "store/LinkFileStorage.h"

namespace corvane {

// Backups as on the desktop, and a read taken in with the whole set (channel
// files too) as one save.
class WholeSetLinkStorage final : public LinkStorage {
public:
    explicit WholeSetLinkStorage(const Workspace& ws) : files_(ws) {}

    std::filesystem::path BackupFolder() const { return files_.BackupFolder(); }
    Result<std::string> KeepBackup(std::span<const uint8_t> image, int16_t edition, BackupKind kind) override {
        return files_.KeepBackup(image, edition, kind);
    }
    Status AcceptRead(std::span<const uint8_t> image, Workspace& ws) override;

private:
    LinkFileStorage files_;
};

}  // namespace corvane

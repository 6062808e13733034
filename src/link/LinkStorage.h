#pragma once
// What the link hands over for keeping: a copy of every image that goes to
// or comes from the radio, and a completed read to take into the working set.
// The link owns this interface; files (or nothing, in the browser and in
// tests) are supplied from above.
#include <cstdint>
#include <span>
#include <string>

#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

enum class BackupKind { Read, Write };

class LinkStorage {
public:
    virtual ~LinkStorage() = default;

    // Keeps a copy of the image; returns where it went, "" when backups are off.
    virtual Result<std::string> KeepBackup(std::span<const uint8_t> image, int16_t edition, BackupKind kind) = 0;
    // A completed read: decode the image into ws and save what a read saves.
    // A refused image leaves ws unchanged.
    virtual Status AcceptRead(std::span<const uint8_t> image, Workspace& ws) = 0;
};

}  // namespace corvane

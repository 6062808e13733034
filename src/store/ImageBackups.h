#pragma once
// Image files: reading and writing a raw memory image, and the automatic
// backups kept of every image that goes to or comes from the radio.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "image/MemoryImage.h"
#include "link/LinkStorage.h"
#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

// How many backups a folder keeps; older ones are deleted.
constexpr std::size_t kBackupsKept = 50;

// DataFolder()/"backups".
std::filesystem::path DefaultBackupFolder(const Workspace& ws);

// "pmr-lpd", "korea" or "edition-N".
std::string EditionTag(int16_t edition);

// "YYYY-MM-DD_HHMMSS" in UTC, so that name order is time order.
std::string BackupStamp(std::chrono::system_clock::time_point when);

// "YYYY-MM-DD_HHMMSS_<edition>_<read|write>.img" in UTC, so that name order
// is time order; a second backup in the same second gets "-2", "-3", ...
std::string BackupFileName(std::chrono::system_clock::time_point when, int16_t edition, BackupKind kind,
                           int sequence = 1);

// True for names BackupFileName makes; nothing else in the folder is ever
// counted or deleted.
bool IsBackupFileName(const std::string& name);

// Writes the image into backupFolder (created when missing) under a fresh
// name, then deletes the oldest backups beyond kBackupsKept. The file just
// written is never deleted, even when the clock went backwards.
Result<std::filesystem::path> SaveImageBackup(const std::filesystem::path& backupFolder,
                                              std::span<const uint8_t> image, int16_t edition, BackupKind kind,
                                              std::chrono::system_clock::time_point when);

// The first kImageLength bytes; shorter input is refused.
Result<MemoryImage> ImageFromBytes(std::span<const uint8_t> bytes);
// The same for the file at path (its error does not name it).
Result<MemoryImage> ReadImageFile(const std::filesystem::path& path);

// What opening an image file did: whether the workspace took it, and what
// to tell (empty when nothing).
struct OpenedImage {
    bool taken = false;
    std::string message;
};
// Takes an image file in as a completed read takes the radio's image:
// decoded into ws, then Port.txt and Group.txt saved. An image refused (too
// short, an edition or mode byte no image has) changes nothing, and the
// message names the file by fileName, the name the user chose it by; a save
// that fails after it was taken is told as it is.
OpenedImage OpenImage(std::span<const uint8_t> bytes, std::string_view fileName, Workspace& ws);
// The same with the file at path, named by path.
OpenedImage OpenImageFile(const std::filesystem::path& path, Workspace& ws);

// The image as a file of exactly kImageLength bytes, written atomically.
Status WriteImageFile(const std::filesystem::path& path, const MemoryImage& image);

}  // namespace corvane

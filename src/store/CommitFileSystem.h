#pragma once
// The file operations a set commit is made of, behind one small interface:
// the program runs them on the disk (PosixCommitFileSystem), the tests inject
// faults between them, and the page can mirror each one, in order, into the
// browser's storage.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Status.h"

namespace corvane {

// Held while a commit or a start-up recovery runs, so that two programs on
// one folder never interleave theirs. Released when destroyed.
class FolderLock {
public:
    virtual ~FolderLock() = default;
};

class CommitFileSystem {
public:
    virtual ~CommitFileSystem() = default;

    // Creates path exclusively (a file, folder or link of that name, even a
    // dangling one, is an error and is left alone), writes bytes, gives it
    // perms (the default for a new file when none) and syncs it to the disk.
    // A failure leaves nothing at path.
    virtual Status WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                                std::optional<std::filesystem::perms> perms) = 0;
    // Replaces the journal at path as a whole, synced with its folder: after a
    // crash it is either the old one (or none) or the new one.
    virtual Status WriteJournal(const std::filesystem::path& path, std::string_view bytes) = 0;
    virtual Status Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual Status SyncFolder(const std::filesystem::path& folder) = 0;
    // A path that is already gone counts as removed.
    virtual Status Remove(const std::filesystem::path& path) = 0;
    // The names of the plain files in folder (no links, no folders), where a
    // commit's leftovers are looked for.
    virtual std::vector<std::string> ListPlainFiles(const std::filesystem::path& folder) = 0;
    // Waits for folder's lock; nullptr when the platform has none.
    virtual std::unique_ptr<FolderLock> LockFolder(const std::filesystem::path& folder);
};

// The operations on the local file system with the POSIX calls (open with
// O_EXCL | O_NOFOLLOW, fsync, rename, flock), also in the WebAssembly build.
class PosixCommitFileSystem final : public CommitFileSystem {
public:
    Status WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                        std::optional<std::filesystem::perms> perms) override;
    Status WriteJournal(const std::filesystem::path& path, std::string_view bytes) override;
    Status Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    Status SyncFolder(const std::filesystem::path& folder) override;
    Status Remove(const std::filesystem::path& path) override;
    std::vector<std::string> ListPlainFiles(const std::filesystem::path& folder) override;
    std::unique_ptr<FolderLock> LockFolder(const std::filesystem::path& folder) override;
};

// The operations every save point of this process uses: the POSIX ones
// unless a platform or a test installed others.
CommitFileSystem& WorkingFileSystem();

// Installs fs for every later save point of this process (nullptr: back to
// the POSIX operations). fs must outlive its use.
void SetWorkingFileSystem(CommitFileSystem* fs);

// SetWorkingFileSystem for the lifetime of a scope, then the previous one.
class ScopedWorkingFileSystem {
public:
    explicit ScopedWorkingFileSystem(CommitFileSystem& fs);
    ~ScopedWorkingFileSystem();
    ScopedWorkingFileSystem(const ScopedWorkingFileSystem&) = delete;
    ScopedWorkingFileSystem& operator=(const ScopedWorkingFileSystem&) = delete;

private:
    CommitFileSystem* previous_;
};

}  // namespace corvane

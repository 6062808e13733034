#include "store/CommitFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef __EMSCRIPTEN__
#include <sys/file.h>
#endif

#include <cerrno>
#include <system_error>

#include "store/AtomicFile.h"

namespace corvane {
namespace {

// A new file gets what a plain create would give it: rw for all, less the umask.
constexpr mode_t kNewFileMode = 0666;

Status Failed(int error) { return Status::Error(ErrnoText(error)); }

// Writes all of bytes, going on after partial writes and interruptions.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Some file systems cannot sync a folder at all; that is no failed save.
bool SyncUnsupported(int error) { return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS; }

#ifndef __EMSCRIPTEN__
class FlockedFolder final : public FolderLock {
public:
    explicit FlockedFolder(int fd) : fd_(fd) {}
    ~FlockedFolder() override { ::close(fd_); }  // closing releases the lock

private:
    int fd_;
};
#endif

PosixCommitFileSystem& PosixOperations() {
    static PosixCommitFileSystem posix;
    return posix;
}

CommitFileSystem* installed = nullptr;

}  // namespace

std::unique_ptr<FolderLock> CommitFileSystem::LockFolder(const std::filesystem::path&) { return nullptr; }

Status PosixCommitFileSystem::WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                                           std::optional<std::filesystem::perms> perms) {
    // O_EXCL refuses any entry of that name, a planted link included; O_NOFOLLOW says so twice.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
    if (fd < 0) return Failed(errno);
    bool ok = WriteAll(fd, bytes);
    if (ok && perms) ok = ::fchmod(fd, static_cast<mode_t>(*perms & std::filesystem::perms::mask)) == 0;
    if (ok) ok = ::fsync(fd) == 0;
    const int error = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok) return Status::Ok();
    ::unlink(path.c_str());
    return Failed(error != 0 ? error : errno);
}

Status PosixCommitFileSystem::WriteJournal(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path temp = TemporaryNameFor(path);
    if (Status written = WriteNewFile(temp, bytes, std::nullopt); !written) return written;
    if (Status renamed = Rename(temp, path); !renamed) {
        ::unlink(temp.c_str());
        return renamed;
    }
    return SyncFolder(path.parent_path());
}

Status PosixCommitFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return Failed(errno);
    return Status::Ok();
}

Status PosixCommitFileSystem::SyncFolder(const std::filesystem::path& folder) {
    const std::filesystem::path name = folder.empty() ? std::filesystem::path(".") : folder;
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder we may not open is one we cannot sync either; its renames are done.
    if (fd < 0) return Status::Ok();
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (synced || SyncUnsupported(error)) return Status::Ok();
    return Failed(error);
}

Status PosixCommitFileSystem::Remove(const std::filesystem::path& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return Failed(errno);
    return Status::Ok();
}

std::vector<std::string> PosixCommitFileSystem::ListPlainFiles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator entries(folder.empty() ? std::filesystem::path(".") : folder, ec);
    if (ec) return names;
    for (const auto& entry : entries) {
        std::error_code typeError;
        if (std::filesystem::is_regular_file(entry.symlink_status(typeError))) names.push_back(entry.path().filename().string());
    }
    return names;
}

std::unique_ptr<FolderLock> PosixCommitFileSystem::LockFolder(const std::filesystem::path& folder) {
#ifdef __EMSCRIPTEN__
    (void)folder;
    return nullptr;
#else
    const std::filesystem::path name = folder.empty() ? std::filesystem::path(".") : folder;
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;  // the commit's own writes will say what is wrong with the folder
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return nullptr;
        }
    }
    return std::make_unique<FlockedFolder>(fd);
#endif
}

CommitFileSystem& WorkingFileSystem() { return installed != nullptr ? *installed : PosixOperations(); }

void SetWorkingFileSystem(CommitFileSystem* fs) { installed = fs; }

ScopedWorkingFileSystem::ScopedWorkingFileSystem(CommitFileSystem& fs) : previous_(installed) { installed = &fs; }

ScopedWorkingFileSystem::~ScopedWorkingFileSystem() { installed = previous_; }

}  // namespace corvane

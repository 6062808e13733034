#include "store/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#ifdef __unix__
#include <unistd.h>
#endif

namespace corvane {

namespace {

constexpr std::string_view kTemporaryMarker = ".tmp-";
// Two random 32-bit numbers in decimal, back to back.
constexpr std::size_t kMinSuffixDigits = 2;
constexpr std::size_t kMaxSuffixDigits = 20;
// As the system's own limit on nested links, so a loop ends.
constexpr int kMaxLinkHops = 40;

Status WriteFailure(const std::filesystem::path& path, const std::string& reason) {
    return Status::Error("cannot write " + path.string() + ": " + reason);
}

Status WriteNewFile(const std::filesystem::path& temp, std::string_view bytes) {
    errno = 0;
    // "x" refuses to reuse a file that exists.
    std::FILE* file = std::fopen(temp.string().c_str(), "wbx");
    if (file == nullptr) return Status::Error(ErrnoText(errno));
    errno = 0;
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0;
#ifdef __unix__
    written = written && ::fsync(::fileno(file)) == 0;
#endif
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return Status::Ok();
    return Status::Error(ErrnoText(writeError != 0 ? writeError : errno));
}

int RemoveMatchesIn(const std::filesystem::path& folder, const std::string& fileName) {
    int removed = 0;
    std::error_code ec;
    std::filesystem::directory_iterator entries(folder.empty() ? std::filesystem::path(".") : folder, ec);
    if (ec) return 0;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (!IsTemporaryNameOf(name, fileName)) continue;
        // A leftover is a plain file; a folder or link of that name is someone else's.
        if (!std::filesystem::is_regular_file(entry.symlink_status(ec))) continue;
        if (std::filesystem::remove(entry.path(), ec)) ++removed;
    }
    return removed;
}

}  // namespace

Result<std::filesystem::path> ResolveLinkTarget(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, ec))) return current;
        const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec) return Status::Error(ec.message());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return Status::Error(std::generic_category().message(ELOOP));
}

Status CheckFileTakesWrites(const std::filesystem::path& path) {
    // Opened as a plain overwrite would open it.
    errno = 0;
    std::FILE* file = std::fopen(path.string().c_str(), "r+b");
    if (file == nullptr) return Status::Error(ErrnoText(errno));
    std::fclose(file);
    return Status::Ok();
}

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target) {
    // A random suffix keeps two writers (the program and the CLI) off each
    // other's temporary file.
    std::random_device random;
    std::filesystem::path temp = target;
    temp += std::string(kTemporaryMarker) + std::to_string(random()) + std::to_string(random());
    return temp;
}

Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const auto target = ResolveLinkTarget(path);
    if (!target) return WriteFailure(path, target.message());

    std::error_code ec;
    const std::filesystem::file_status old = std::filesystem::status(*target, ec);
    const bool replacing = std::filesystem::exists(old);
    if (replacing) {
        if (Status writable = CheckFileTakesWrites(*target); !writable) return WriteFailure(path, writable.message());
    }

    const std::filesystem::path temp = TemporaryNameFor(*target);
    std::error_code ignored;
    if (Status written = WriteNewFile(temp, bytes); !written) {
        std::filesystem::remove(temp, ignored);
        return WriteFailure(path, written.message());
    }
    if (replacing) {
        std::filesystem::permissions(temp, old.permissions(), std::filesystem::perm_options::replace, ec);
        if (ec) {
            std::filesystem::remove(temp, ignored);
            return WriteFailure(path, ec.message());
        }
    }
    std::filesystem::rename(temp, *target, ec);
    if (ec) {
        std::filesystem::remove(temp, ignored);
        return WriteFailure(path, ec.message());
    }
    return Status::Ok();
}

bool IsTemporaryNameOf(std::string_view candidate, std::string_view fileName) {
    if (!candidate.starts_with(fileName)) return false;
    candidate.remove_prefix(fileName.size());
    if (!candidate.starts_with(kTemporaryMarker)) return false;
    candidate.remove_prefix(kTemporaryMarker.size());
    if (candidate.size() < kMinSuffixDigits || candidate.size() > kMaxSuffixDigits) return false;
    for (const char c : candidate) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

int RemoveLeftoverTemporaries(const std::filesystem::path& path) {
    int removed = RemoveMatchesIn(path.parent_path(), path.filename().string());
    const auto target = ResolveLinkTarget(path);
    if (target && *target != path) removed += RemoveMatchesIn(target->parent_path(), target->filename().string());
    return removed;
}

std::string ErrnoText(int error) {
    return error != 0 ? std::generic_category().message(error) : std::string("unknown error");
}

}  // namespace corvane

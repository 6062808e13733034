#include "store/SavePoint.h"

#include <algorithm>
#include <cassert>
#include <fstream>
#include <iterator>
#include <system_error>

namespace corvane {
namespace {

// The innermost open save point of this thread; each one links to the one before.
thread_local SavePoint* innermost = nullptr;

std::filesystem::path Normal(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path normal = std::filesystem::absolute(folder, ec).lexically_normal();
    if (normal.filename().empty() && normal.has_parent_path()) normal = normal.parent_path();
    return normal;
}

bool HoldsBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) != bytes.size() || ec) return false;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) == bytes;
}

}  // namespace

SavePoint::SavePoint(const std::filesystem::path& folder) : SavePoint(folder, WorkingFileSystem()) {}

SavePoint::SavePoint(const std::filesystem::path& folder, CommitFileSystem& fs) : folder_(folder), fs_(fs) {
    for (SavePoint* open = innermost; open != nullptr; open = open->previous_) {
        if (open->open_ && Normal(open->folder_) == Normal(folder)) {
            joined_ = open;
            return;
        }
    }
    previous_ = innermost;
    innermost = this;
}

SavePoint::~SavePoint() {
    if (joined_ != nullptr) return;
    assert(innermost == this);
    innermost = previous_;
}

Status SavePoint::Commit() {
    if (joined_ != nullptr || !open_) return Status::Ok();
    open_ = false;
    if (skipWhenUnchanged_ && std::all_of(files_.begin(), files_.end(), [](const FileToCommit& file) {
            return HoldsBytes(file.path, file.bytes);
        })) {
        return Status::Ok();
    }
    return CommitFileSet(folder_, files_, fs_);
}

void SavePoint::SkipWhenUnchanged() { (joined_ != nullptr ? joined_ : this)->skipWhenUnchanged_ = true; }

std::vector<std::string> SavePoint::StagedNames() const {
    if (joined_ != nullptr) return joined_->StagedNames();
    std::vector<std::string> names;
    for (const FileToCommit& file : files_) names.push_back(file.path.filename().string());
    return names;
}

bool SavePoint::Stage(const std::filesystem::path& folder, const std::string& name, std::string bytes) {
    SavePoint* point = innermost;
    while (point != nullptr && !(point->open_ && Normal(point->folder_) == Normal(folder))) point = point->previous_;
    if (point == nullptr) return false;
    const std::filesystem::path path = point->folder_ / name;
    auto same = std::find_if(point->files_.begin(), point->files_.end(),
                             [&path](const FileToCommit& file) { return file.path == path; });
    if (same != point->files_.end()) {
        same->bytes = std::move(bytes);
    } else {
        point->files_.push_back(FileToCommit{path, std::move(bytes)});
    }
    return true;
}

Status SaveWorkingFile(const std::filesystem::path& folder, const std::string& name, std::string bytes) {
    if (SavePoint::Stage(folder, name, bytes)) return Status::Ok();
    return CommitFileSet(folder, {FileToCommit{folder / name, std::move(bytes)}}, WorkingFileSystem());
}

}  // namespace corvane

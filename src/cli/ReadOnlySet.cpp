// The loaders repair what they find missing or short by rewriting it; here
// they run on a copy, and any file they rewrote there is a damaged file.
#include "cli/ReadOnlySet.h"

#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <system_error>

#include "store/WorkingSet.h"

namespace corvane::cli {
namespace {

constexpr int kNameAttempts = 16;

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder of our own under the system's temporary folder.
Result<std::filesystem::path> MakeScratchFolder() {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) return Status::Error("no temporary folder: " + ec.message());
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path folder = base / ("corvane-read-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder, ec)) return folder;
    }
    return Status::Error("cannot create a temporary folder in " + base.string());
}

class ScratchCopy {
public:
    explicit ScratchCopy(std::filesystem::path folder) : folder_(std::move(folder)) {}
    ~ScratchCopy() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ScratchCopy(const ScratchCopy&) = delete;
    ScratchCopy& operator=(const ScratchCopy&) = delete;
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

}  // namespace

Status LoadWorkingSetReadOnly(const std::filesystem::path& folder, Workspace& ws) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return Status::Error("not a folder");
    if (Status readable = CheckWorkingFilesReadable(folder); !readable) return readable;
    std::map<std::string, std::string> original;
    for (const std::string& name : WorkingFileNames()) {
        if (!std::filesystem::is_regular_file(folder / name, ec)) return Status::Error("not a working set: " + name + " is missing");
        original[name] = FileBytes(folder / name);
    }

    const Result<std::filesystem::path> made = MakeScratchFolder();
    if (!made) return made.status();
    const ScratchCopy scratch(*made);
    for (const auto& [name, bytes] : original) {
        std::ofstream out(scratch.folder() / name, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return Status::Error("cannot copy " + name + " to " + scratch.folder().string());
    }

    Workspace loaded;
    loaded.programFolder = scratch.folder();
    ClearToStartUpState(loaded);
    if (Status status = LoadWorkingSetUnchangedEdition(loaded); !status) return status;
    for (const auto& [name, bytes] : original) {
        if (FileBytes(scratch.folder() / name) != bytes) {
            return Status::Error(name + " is damaged or incomplete (loading it would rewrite it)");
        }
    }
    loaded.programFolder = folder;
    ws = std::move(loaded);
    return Status::Ok();
}

}  // namespace corvane::cli

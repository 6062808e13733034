#include "store/DamagedFiles.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

#include "model/Workspace.h"
#include "store/CommitFileSystem.h"
#include "store/ImageBackups.h"
#include "store/SavePoint.h"

namespace corvane {
namespace {

constexpr std::string_view kCopiesPrefix = "damaged-";
// Two starts within one second get "-2", "-3", ...; beyond this something is wrong.
constexpr int kMaxCopyFolders = 100;

bool Exists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::status(path, ec));
}

std::string Describe(const FileReset& reset, const std::filesystem::path& folder) {
    std::string text;
    for (std::size_t i = 0; i < reset.damaged.size(); ++i) {
        if (i > 0) text += " and ";
        const DamagedFile& file = reset.damaged[i];
        text += (folder.empty() ? std::filesystem::path(file.name) : folder / file.name).string() + " " + file.problem;
    }
    return text;
}

std::string DescribeAll(const FileResets& resets, const std::filesystem::path& folder, bool done) {
    std::string text;
    for (const FileReset& reset : resets) {
        if (!text.empty()) text += "; ";
        text += Describe(reset, folder) + ", so " + (done ? reset.done : reset.wouldDo);
    }
    return text;
}

Result<std::string> ReadWhole(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return Status::Error("it is a folder");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::Error(errno != 0 ? std::strerror(errno) : "cannot be opened");
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return Status::Error("cannot be read");
    return bytes;
}

// A fresh folder for this start's copies; an existing one is never reused.
Result<std::filesystem::path> MakeCopiesFolder(const std::filesystem::path& backupsFolder,
                                               std::chrono::system_clock::time_point when) {
    std::error_code ec;
    std::filesystem::create_directories(backupsFolder, ec);
    if (ec) return Status::Error("cannot create " + backupsFolder.string() + ": " + ec.message());
    const std::string base = std::string(kCopiesPrefix) + BackupStamp(when);
    for (int sequence = 1; sequence <= kMaxCopyFolders; ++sequence) {
        const std::filesystem::path candidate =
            backupsFolder / (sequence == 1 ? base : base + "-" + std::to_string(sequence));
        if (std::filesystem::create_directory(candidate, ec)) return candidate;
        if (ec) return Status::Error("cannot create " + candidate.string() + ": " + ec.message());
    }
    return Status::Error("cannot create a new folder " + base + " in " + backupsFolder.string());
}

}  // namespace

namespace {

FileResets Replacing(const std::filesystem::path& folder, const FileResets& resets) {
    FileResets replacing;
    for (const FileReset& reset : resets) {
        if (ReplacesAFile(folder, reset)) replacing.push_back(reset);
    }
    return replacing;
}

// The copies' folder (empty when nothing is replaced), or the refusal.
Result<std::filesystem::path> KeepCopiesOrRefuse(const std::filesystem::path& folder, const FileResets& replacing,
                                                 const std::filesystem::path& backupsFolder) {
    if (replacing.empty()) return std::filesystem::path();
    const auto kept = KeepDamagedCopies(folder, replacing, backupsFolder, std::chrono::system_clock::now());
    if (kept) return kept;
    return Status::Error(DescribeAll(replacing, folder, false) + ", but no copy could be kept (" + kept.message() +
                         "), so the files were left as they are");
}

// Every file the resets rewrite, as one set.
Status SaveAll(const std::filesystem::path& folder, const FileResets& resets) {
    SavePoint point(folder);
    for (const FileReset& reset : resets) {
        // Staged in the save point: its Commit reports any failure.
        for (const WorkingFileBytes& file : reset.files) (void)SaveWorkingFile(folder, file.name, file.bytes);
    }
    return point.Commit();
}

}  // namespace

std::string UnreadableProblem(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) return "is missing";
    if (std::filesystem::is_directory(status)) return "is a folder, not a file";
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (in) return {};
    return std::string("cannot be read (") + (errno != 0 ? std::strerror(errno) : "unknown error") + ")";
}

std::string ShortFileProblem(std::size_t lines, std::size_t expected) {
    if (lines == 0) return "is empty";
    return "has only " + std::to_string(lines) + " of its " + std::to_string(expected) + " lines";
}

bool ReplacesAFile(const std::filesystem::path& folder, const FileReset& reset) {
    for (const WorkingFileBytes& file : reset.files) {
        if (Exists(folder / file.name)) return true;
    }
    return false;
}

Result<std::filesystem::path> KeepDamagedCopies(const std::filesystem::path& folder, const FileResets& resets,
                                                const std::filesystem::path& backupsFolder,
                                                std::chrono::system_clock::time_point when) {
    std::set<std::string> names;
    for (const FileReset& reset : resets) {
        for (const WorkingFileBytes& file : reset.files) {
            if (Exists(folder / file.name)) names.insert(file.name);
        }
    }
    if (names.empty()) return std::filesystem::path();
    // Everything is read before anything is written, so a file that cannot be
    // read leaves no half-filled folder behind.
    std::vector<std::pair<std::string, std::string>> originals;
    for (const std::string& name : names) {
        Result<std::string> bytes = ReadWhole(folder / name);
        if (!bytes) return Status::Error("cannot copy " + (folder / name).string() + ": " + bytes.message());
        originals.emplace_back(name, std::move(bytes.value()));
    }
    const Result<std::filesystem::path> copies = MakeCopiesFolder(backupsFolder, when);
    if (!copies) return copies.status();
    CommitFileSystem& fs = WorkingFileSystem();
    const auto failed = [&copies](std::string text) {
        std::error_code ignored;
        std::filesystem::remove_all(*copies, ignored);
        return Status::Error(std::move(text));
    };
    for (const auto& [name, bytes] : originals) {
        if (Status written = fs.WriteNewFile(*copies / name, bytes, std::nullopt); !written) {
            return failed("cannot write " + (*copies / name).string() + ": " + written.message());
        }
    }
    for (const auto& synced : {*copies, backupsFolder}) {
        if (Status status = fs.SyncFolder(synced); !status) {
            return failed("cannot sync the folder " + synced.string() + ": " + status.message());
        }
    }
    return *copies;
}

std::string DamageNotice(const FileResets& resets, const std::filesystem::path& copies) {
    return DescribeAll(resets, {}, true) + ". The files as they were are kept in " + copies.string() + ".";
}

Status RefuseReplacingResets(const std::filesystem::path& folder, const FileResets& resets) {
    for (const FileReset& reset : resets) {
        if (!ReplacesAFile(folder, reset)) continue;
        return Status::Error(Describe(reset, folder) + ", so " + reset.wouldDo +
                             "; this command only reads, so it changed nothing");
    }
    return Status::Ok();
}

Result<std::string> ReplaceDamagedFiles(const std::filesystem::path& folder, const FileResets& resets,
                                        const std::filesystem::path& backupsFolder) {
    const FileResets replacing = Replacing(folder, resets);
    if (replacing.empty()) return std::string();
    const auto copies = KeepCopiesOrRefuse(folder, replacing, backupsFolder);
    if (!copies) return copies.status();
    if (Status saved = SaveAll(folder, replacing); !saved) return saved;
    return DamageNotice(replacing, *copies);
}

Result<std::string> ApplyResetsAndTell(const std::filesystem::path& folder, const FileResets& resets,
                                       const std::filesystem::path& backupsFolder) {
    if (resets.empty()) return std::string();
    const FileResets replacing = Replacing(folder, resets);
    const auto copies = KeepCopiesOrRefuse(folder, replacing, backupsFolder);
    if (!copies) return copies.status();
    if (Status saved = SaveAll(folder, resets); !saved) return saved;
    return replacing.empty() ? std::string() : DamageNotice(replacing, *copies);
}

Status ApplyResets(const std::filesystem::path& folder, const FileResets& resets,
                   const std::filesystem::path& backupsFolder) {
    if (resets.empty()) return Status::Ok();
    if (const auto copies = KeepCopiesOrRefuse(folder, Replacing(folder, resets), backupsFolder); !copies) {
        return copies.status();
    }
    return SaveAll(folder, resets);
}

Status ApplyResets(const Workspace& ws, const FileResets& resets) {
    return ApplyResets(ws.programFolder, resets, DefaultBackupFolder(ws));
}

}  // namespace corvane

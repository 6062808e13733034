#include "store/SetCommit.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>

#include "store/AtomicFile.h"

namespace corvane {
namespace {

constexpr std::string_view kJournalHeader = "corvane set commit 1";
constexpr std::string_view kEntryWord = "file ";
constexpr std::string_view kEndWord = "end ";
constexpr char kFieldSeparator = '\t';
constexpr char kEscape = '%';
// A journal names ten files at most; anything near this is not ours.
constexpr std::size_t kMaxJournalBytes = 1024u * 1024u;
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

struct Entry {
    std::filesystem::path target;
    std::string temporaryName;  // beside target
};

std::uint64_t Checksum(std::string_view bytes) {
    std::uint64_t hash = kFnvOffset;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kFnvPrime;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    std::ostringstream out;
    out << std::hex << value;
    return out.str();
}

// Paths go on one line each: the separator, line ends and the escape itself
// are written as %XX.
std::string Escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == kEscape || c == kFieldSeparator || c == '\n' || c == '\r') {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(c);
            out += kEscape;
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != kEscape) {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        unsigned value = 0;
        for (std::size_t k = 1; k <= 2; ++k) {
            const char c = text[i + k];
            value <<= 4;
            if (c >= '0' && c <= '9') value |= static_cast<unsigned>(c - '0');
            else if (c >= 'A' && c <= 'F') value |= static_cast<unsigned>(c - 'A' + 10);
            else return std::nullopt;
        }
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

// A file of the journal's own folder is named by its file name alone, so
// the folder may be given as a relative path or be moved; others absolutely.
std::filesystem::path AbsoluteNormal(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path normal = std::filesystem::absolute(path, ec).lexically_normal();
    if (normal.filename().empty() && normal.has_parent_path()) normal = normal.parent_path();  // "dir/"
    return normal;
}

std::string JournalPathText(const std::filesystem::path& target, const std::filesystem::path& journalFolder) {
    const std::filesystem::path absolute = AbsoluteNormal(target);
    if (absolute.parent_path() == AbsoluteNormal(journalFolder)) return absolute.filename().string();
    return absolute.string();
}

std::string JournalText(const std::vector<Entry>& entries, const std::filesystem::path& journalFolder) {
    std::string body(kJournalHeader);
    body += '\n';
    for (const Entry& entry : entries) {
        body += kEntryWord;
        body += Escape(JournalPathText(entry.target, journalFolder));
        body += kFieldSeparator;
        body += Escape(entry.temporaryName);
        body += '\n';
    }
    return body + std::string(kEndWord) + std::to_string(entries.size()) + ' ' + Hex(Checksum(body)) + '\n';
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back(text);  // no line end: a torn last line
            break;
        }
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::optional<Entry> ParseEntry(std::string_view line, const std::filesystem::path& journalFolder) {
    if (!line.starts_with(kEntryWord)) return std::nullopt;
    line.remove_prefix(kEntryWord.size());
    const std::size_t separator = line.find(kFieldSeparator);
    if (separator == std::string_view::npos) return std::nullopt;
    const auto target = Unescape(line.substr(0, separator));
    const auto temporary = Unescape(line.substr(separator + 1));
    if (!target || !temporary || target->empty()) return std::nullopt;
    std::filesystem::path targetPath(*target);
    if (!targetPath.is_absolute()) targetPath = journalFolder / targetPath;
    // Only a temporary of the target's own name, beside it, is ever renamed.
    if (temporary->find('/') != std::string::npos || !IsTemporaryNameOf(*temporary, targetPath.filename().string())) {
        return std::nullopt;
    }
    return Entry{targetPath, *temporary};
}

// The entries of a complete journal; nullopt for a torn or foreign one.
std::optional<std::vector<Entry>> ParseJournal(const std::string& text, const std::filesystem::path& journalFolder) {
    if (!text.ends_with('\n')) return std::nullopt;
    const std::size_t endLine = text.rfind(kEndWord);
    if (endLine == std::string::npos || (endLine > 0 && text[endLine - 1] != '\n')) return std::nullopt;
    const std::string_view body(text.data(), endLine);
    const std::vector<std::string_view> lines = SplitLines(body);
    if (lines.empty() || lines.front() != kJournalHeader) return std::nullopt;
    std::vector<Entry> entries;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        auto entry = ParseEntry(lines[i], journalFolder);
        if (!entry) return std::nullopt;
        entries.push_back(std::move(*entry));
    }
    const std::string trailer = std::string(kEndWord) + std::to_string(entries.size()) + ' ' + Hex(Checksum(body)) + '\n';
    if (text.substr(endLine) != trailer) return std::nullopt;
    return entries;
}

std::optional<std::string> ReadJournal(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kMaxJournalBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxJournalBytes) return std::nullopt;
    return text;
}

bool IsPlainFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ec));
}

std::filesystem::path TemporaryOf(const Entry& entry) { return entry.target.parent_path() / entry.temporaryName; }

// Every folder a rename touched, and the journal's.
std::set<std::filesystem::path> FoldersOf(const std::vector<Entry>& entries, const std::filesystem::path& journalFolder) {
    std::set<std::filesystem::path> folders{journalFolder};
    for (const Entry& entry : entries) folders.insert(entry.target.parent_path());
    return folders;
}

Status SyncFolders(const std::set<std::filesystem::path>& folders, CommitFileSystem& fs) {
    for (const auto& folder : folders) {
        if (Status synced = fs.SyncFolder(folder); !synced) {
            return Status::Error("cannot sync the folder " + folder.string() + ": " + synced.message());
        }
    }
    return Status::Ok();
}

Status WriteFailure(const std::filesystem::path& path, const std::string& reason, std::size_t fileCount) {
    std::string text = "cannot write " + path.string() + ": " + reason;
    if (fileCount > 1) text += "; no file of this save was changed";
    return Status::Error(text);
}

// The target of path, its permission bits when it exists, or why it cannot be replaced.
struct Target {
    std::filesystem::path path;
    std::optional<std::filesystem::perms> perms;
};

Result<Target> PrepareTarget(const std::filesystem::path& path) {
    const auto target = ResolveLinkTarget(path);
    if (!target) return target.status();
    std::error_code ec;
    const std::filesystem::file_status old = std::filesystem::status(*target, ec);
    if (!std::filesystem::exists(old)) return Target{*target, std::nullopt};
    if (std::filesystem::is_directory(old)) return Status::Error(std::generic_category().message(EISDIR));
    if (Status writable = CheckFileTakesWrites(*target); !writable) return writable;
    return Target{*target, old.permissions()};
}

int RemoveTemporariesOf(const std::filesystem::path& folder, const std::string& fileName, CommitFileSystem& fs) {
    int removed = 0;
    for (const std::string& name : fs.ListPlainFiles(folder)) {
        if (IsTemporaryNameOf(name, fileName) && fs.Remove(folder / name).ok()) ++removed;
    }
    return removed;
}

int RemoveLeftovers(const std::filesystem::path& folder, std::span<const std::string> fileNames, CommitFileSystem& fs) {
    int removed = RemoveTemporariesOf(folder, std::string(kSaveJournalName), fs);
    for (const std::string& name : fileNames) {
        removed += RemoveTemporariesOf(folder, name, fs);
        const auto target = ResolveLinkTarget(folder / name);
        if (target && *target != folder / name) {
            removed += RemoveTemporariesOf(target->parent_path(), target->filename().string(), fs);
        }
    }
    return removed;
}

}  // namespace

Status CommitFileSet(const std::filesystem::path& journalFolder, const std::vector<FileToCommit>& files,
                     CommitFileSystem& fs) {
    if (files.empty()) return Status::Ok();
    const auto lock = fs.LockFolder(journalFolder);
    std::vector<Entry> entries;
    const auto discard = [&] {
        // Best effort on the way out: the failure being reported is the one that matters.
        for (const Entry& entry : entries) (void)fs.Remove(TemporaryOf(entry));
    };
    for (const FileToCommit& file : files) {
        const Result<Target> target = PrepareTarget(file.path);
        if (!target) {
            discard();
            return WriteFailure(file.path, target.message(), files.size());
        }
        const std::filesystem::path temporary = TemporaryNameFor(target->path);
        if (Status written = fs.WriteNewFile(temporary, file.bytes, target->perms); !written) {
            discard();
            return WriteFailure(file.path, written.message(), files.size());
        }
        entries.push_back(Entry{target->path, temporary.filename().string()});
    }

    const std::filesystem::path journal = journalFolder / kSaveJournalName;
    if (Status written = fs.WriteJournal(journal, JournalText(entries, journalFolder)); !written) {
        discard();
        return WriteFailure(journal, written.message(), files.size());
    }
    // From here on the set is decided: what fails now is finished at the next start.
    for (const Entry& entry : entries) {
        if (Status renamed = fs.Rename(TemporaryOf(entry), entry.target); !renamed) {
            return Status::Error("cannot finish saving " + entry.target.string() + ": " + renamed.message() +
                                 "; the save is completed at the next start");
        }
    }
    if (Status synced = SyncFolders(FoldersOf(entries, journalFolder), fs); !synced) return synced;
    // A journal that outlives its set is harmless: its temporaries are gone.
    (void)fs.Remove(journal);
    return Status::Ok();
}

Result<Recovery> RecoverFileSet(const std::filesystem::path& folder, std::span<const std::string> fileNames,
                                CommitFileSystem& fs) {
    const auto lock = fs.LockFolder(folder);
    Recovery recovery;
    const std::vector<std::string> plain = fs.ListPlainFiles(folder);
    const std::string journalName(kSaveJournalName);
    if (std::find(plain.begin(), plain.end(), journalName) != plain.end()) {
        const std::filesystem::path journal = folder / journalName;
        const std::optional<std::string> text = ReadJournal(journal);
        const auto entries = text ? ParseJournal(*text, folder) : std::nullopt;
        if (entries) {
            for (const Entry& entry : *entries) {
                // A temporary that is gone was renamed before the interruption.
                if (!IsPlainFile(TemporaryOf(entry))) continue;
                if (Status renamed = fs.Rename(TemporaryOf(entry), entry.target); !renamed) {
                    return Status::Error("cannot finish the interrupted save of " + entry.target.string() + ": " +
                                         renamed.message());
                }
            }
            if (Status synced = SyncFolders(FoldersOf(*entries, folder), fs); !synced) return synced;
            recovery.action = RecoveryAction::Finished;
        } else {
            recovery.action = RecoveryAction::Discarded;
        }
        if (Status removed = fs.Remove(journal); !removed) {
            return Status::Error("cannot remove " + journal.string() + ": " + removed.message());
        }
    }
    recovery.temporariesRemoved = RemoveLeftovers(folder, fileNames, fs);
    return recovery;
}

}  // namespace corvane

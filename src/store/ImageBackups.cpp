#include "store/ImageBackups.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <tuple>
#include <vector>

#include "store/TextLines.h"
#include "store/WorkingSet.h"

namespace corvane {
namespace {

constexpr std::string_view kBackupsFolderName = "backups";
constexpr std::string_view kExtension = ".img";
constexpr std::string_view kReadWord = "read";
constexpr std::string_view kWriteWord = "write";
constexpr std::string_view kStampPattern = "dddd-dd-dd_dddddd";
constexpr char kSequenceMark = '-';
constexpr char kFieldMark = '_';
constexpr int kFirstSequence = 1;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct BackupName {
    std::string stamp;
    int sequence = kFirstSequence;
    std::string name;

    bool operator<(const BackupName& other) const {
        return std::tie(stamp, sequence, name) < std::tie(other.stamp, other.sequence, other.name);
    }
};

bool MatchesStamp(std::string_view text) {
    if (text.size() != kStampPattern.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (kStampPattern[i] == 'd' ? !digit : text[i] != kStampPattern[i]) return false;
    }
    return true;
}

bool IsTagChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'; }

// "write", "read", "write-2": the kind and the sequence; nullopt otherwise.
std::optional<int> ParseKindAndSequence(std::string_view text) {
    std::string_view word = text;
    int sequence = kFirstSequence;
    if (const std::size_t mark = text.find(kSequenceMark); mark != std::string_view::npos) {
        word = text.substr(0, mark);
        const std::string_view digits = text.substr(mark + 1);
        constexpr std::size_t kMaxDigits = 6;
        if (digits.empty() || digits.size() > kMaxDigits || digits[0] == '0') return std::nullopt;
        sequence = 0;
        for (char c : digits) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
            sequence = sequence * 10 + (c - '0');
        }
        if (sequence <= kFirstSequence) return std::nullopt;
    }
    if (word != kReadWord && word != kWriteWord) return std::nullopt;
    return sequence;
}

std::optional<BackupName> ParseBackupName(const std::string& name) {
    std::string_view rest = name;
    if (!rest.ends_with(kExtension)) return std::nullopt;
    rest.remove_suffix(kExtension.size());
    if (rest.size() <= kStampPattern.size() + 1 || !MatchesStamp(rest.substr(0, kStampPattern.size()))) {
        return std::nullopt;
    }
    const std::string_view stamp = rest.substr(0, kStampPattern.size());
    rest.remove_prefix(kStampPattern.size());
    if (rest.front() != kFieldMark) return std::nullopt;
    rest.remove_prefix(1);
    const std::size_t last = rest.rfind(kFieldMark);
    if (last == std::string_view::npos || last == 0) return std::nullopt;
    const std::string_view tag = rest.substr(0, last);
    if (!std::all_of(tag.begin(), tag.end(), IsTagChar)) return std::nullopt;
    const std::optional<int> sequence = ParseKindAndSequence(rest.substr(last + 1));
    if (!sequence) return std::nullopt;
    return BackupName{std::string(stamp), *sequence, name};
}

// Our backups in folder, oldest first. Unreadable entries are skipped.
std::vector<BackupName> ListBackups(const std::filesystem::path& folder) {
    std::vector<BackupName> found;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return found;
    for (const std::filesystem::directory_entry& entry : it) {
        std::error_code typeError;
        if (!entry.is_regular_file(typeError) || typeError) continue;
        if (auto parsed = ParseBackupName(entry.path().filename().string())) found.push_back(std::move(*parsed));
    }
    std::sort(found.begin(), found.end());
    return found;
}

int NextSequence(const std::vector<BackupName>& existing, const std::string& stamp) {
    int sequence = 0;
    for (const BackupName& backup : existing) {
        if (backup.stamp == stamp) sequence = std::max(sequence, backup.sequence);
    }
    return sequence + 1;
}

void PruneBackups(const std::filesystem::path& folder, const std::string& keepName) {
    const std::vector<BackupName> backups = ListBackups(folder);
    if (backups.size() <= kBackupsKept) return;
    std::size_t excess = backups.size() - kBackupsKept;
    for (const BackupName& backup : backups) {
        if (excess == 0) break;
        if (backup.name == keepName) continue;
        std::error_code ignored;  // a file that will not go is tried again next time
        std::filesystem::remove(folder / backup.name, ignored);
        --excess;
    }
}

}  // namespace

std::string BackupStamp(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H%M%S", &parts);
    return text;
}

std::filesystem::path DefaultBackupFolder(const Workspace& ws) { return ws.DataFolder() / kBackupsFolderName; }

std::string EditionTag(int16_t edition) {
    if (edition == kEditionPmrLpd) return "pmr-lpd";
    if (edition == kEditionKorea) return "korea";
    return "edition-" + std::to_string(edition);
}

std::string BackupFileName(std::chrono::system_clock::time_point when, int16_t edition, BackupKind kind,
                           int sequence) {
    std::string name = BackupStamp(when);
    name += kFieldMark;
    name += EditionTag(edition);
    name += kFieldMark;
    name += kind == BackupKind::Read ? kReadWord : kWriteWord;
    if (sequence > kFirstSequence) name += kSequenceMark + std::to_string(sequence);
    name += kExtension;
    return name;
}

bool IsBackupFileName(const std::string& name) { return ParseBackupName(name).has_value(); }

Result<std::filesystem::path> SaveImageBackup(const std::filesystem::path& backupFolder,
                                              std::span<const uint8_t> image, int16_t edition, BackupKind kind,
                                              std::chrono::system_clock::time_point when) {
    if (backupFolder.empty()) return Status::Error("no backup folder");
    std::error_code ec;
    std::filesystem::create_directories(backupFolder, ec);
    if (ec) return Status::Error("cannot create " + backupFolder.string() + ": " + ec.message());

    const std::string stamp = BackupStamp(when);
    int sequence = NextSequence(ListBackups(backupFolder), stamp);
    std::filesystem::path path = backupFolder / BackupFileName(when, edition, kind, sequence);
    // Another program may have taken the name since the listing.
    while (std::filesystem::exists(path, ec)) path = backupFolder / BackupFileName(when, edition, kind, ++sequence);

    const std::span<const uint8_t> bytes = image.first(std::min(image.size(), kImageLength));
    const Status written =
        WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!written) return written;
    PruneBackups(backupFolder, path.filename().string());
    return path;
}

Result<MemoryImage> ImageFromBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() < kImageLength) {
        return Status::Error("only " + std::to_string(bytes.size()) + " bytes, an image has " + std::to_string(kImageLength));
    }
    MemoryImage image{};
    std::copy_n(bytes.begin(), kImageLength, image.begin());
    return image;
}

Result<MemoryImage> ReadImageFile(const std::filesystem::path& path) {
    // stdio rather than a stream: a folder or unreadable device must come
    // back as an error, not as an exception from the stream buffer.
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "rb"));
    if (!file) return Status::Error("cannot open the file");
    MemoryImage image{};
    std::size_t count = 0;
    while (count < kImageLength) {
        const std::size_t got = std::fread(image.data() + count, 1, kImageLength - count, file.get());
        if (got == 0) break;
        count += got;
    }
    if (std::ferror(file.get())) return Status::Error("cannot read the file");
    return ImageFromBytes(std::span<const uint8_t>(image.data(), count));
}

OpenedImage OpenImage(std::span<const uint8_t> bytes, std::string_view fileName, Workspace& ws) {
    const std::string named = std::string(fileName) + ": ";
    const Result<MemoryImage> image = ImageFromBytes(bytes);
    if (!image) return {false, named + image.message()};
    // The read's own checks, on a workspace of no consequence: a refusal
    // names the file and leaves ws as it was.
    Workspace probe;
    if (const Status decodes = DecodeImage(*image, probe); !decodes) return {false, named + decodes.message()};
    return {true, AcceptImageFromRadio(*image, ws).message()};
}

OpenedImage OpenImageFile(const std::filesystem::path& path, Workspace& ws) {
    const Result<MemoryImage> image = ReadImageFile(path);
    if (!image) return {false, path.string() + ": " + image.message()};
    return OpenImage(*image, path.string(), ws);
}

Status WriteImageFile(const std::filesystem::path& path, const MemoryImage& image) {
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

}  // namespace corvane

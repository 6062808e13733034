// libzip behind ZipArchive.
#include "store/workbook/ZipArchive.h"

#include <zip.h>

#include <array>
#include <optional>
#include <string>

namespace corvane::detail {
namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;

class EntryHandle {
public:
    explicit EntryHandle(zip_file_t* file) : file_(file) {}
    EntryHandle(const EntryHandle&) = delete;
    EntryHandle& operator=(const EntryHandle&) = delete;
    ~EntryHandle() {
        if (file_ != nullptr) zip_fclose(file_);
    }
    zip_file_t* get() const { return file_; }

private:
    zip_file_t* file_;
};

// No workbook has more parts than this (a sheet, its styles, relationships,
// a few pictures); libzip reads every entry of the directory when it opens
// an archive, so the count is looked at first.
constexpr std::uint64_t kMaxEntries = 10'000;
constexpr std::uint32_t kEndOfDirectory = 0x06054B50;
constexpr std::uint32_t kZip64Locator = 0x07064B50;
constexpr std::uint32_t kZip64EndOfDirectory = 0x06064B50;
constexpr std::size_t kEndOfDirectoryBytes = 22;
constexpr std::size_t kLocatorBytes = 20;
constexpr std::size_t kMaxCommentBytes = 0xFFFF;
constexpr std::uint16_t kZip64Marker = 0xFFFF;

std::uint64_t Little(std::string_view bytes, std::size_t at, int width) {
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// The entry count the end of the central directory declares (ZIP64 too);
// none when there is no such record, which libzip then reports.
std::optional<std::uint64_t> DeclaredEntries(std::string_view bytes) {
    if (bytes.size() < kEndOfDirectoryBytes) return std::nullopt;
    const std::size_t lowest = bytes.size() > kEndOfDirectoryBytes + kMaxCommentBytes ? bytes.size() - kEndOfDirectoryBytes - kMaxCommentBytes : 0;
    for (std::size_t at = bytes.size() - kEndOfDirectoryBytes + 1; at-- > lowest;) {
        if (Little(bytes, at, 4) != kEndOfDirectory || at + kEndOfDirectoryBytes + Little(bytes, at + 20, 2) != bytes.size()) continue;
        const std::uint64_t entries = Little(bytes, at + 10, 2);
        if (entries != kZip64Marker || at < kLocatorBytes || Little(bytes, at - kLocatorBytes, 4) != kZip64Locator) return entries;
        const std::uint64_t zip64At = Little(bytes, at - kLocatorBytes + 8, 8);
        if (bytes.size() < 40 || zip64At > bytes.size() - 40 || Little(bytes, static_cast<std::size_t>(zip64At), 4) != kZip64EndOfDirectory) return entries;
        return Little(bytes, static_cast<std::size_t>(zip64At) + 32, 8);
    }
    return std::nullopt;
}

}  // namespace

void ZipArchive::Closer::operator()(zip* archive) const { zip_discard(archive); }

Result<ZipArchive> ZipArchive::Open(std::string_view bytes, std::uint64_t budget) {
    if (const auto entries = DeclaredEntries(bytes); entries && *entries > kMaxEntries) {
        return Status::Error("holds " + std::to_string(*entries) + " parts, far more than any workbook");
    }
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_error_fini(&error);
    if (source == nullptr) return Status::Error(std::string(kDamaged));
    zip_t* opened = zip_open_from_source(source, ZIP_RDONLY, nullptr);
    if (opened == nullptr) {
        zip_source_free(source);
        return Status::Error(std::string(kDamaged));
    }
    ZipArchive archive(opened, budget);

    const zip_int64_t entries = zip_get_num_entries(opened, 0);
    std::uint64_t declared = 0;
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(opened, static_cast<zip_uint64_t>(i), 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
            return Status::Error(std::string(kDamaged));
        }
        declared += stat.size;
        if (stat.size > budget || declared > budget) return Status::Error(std::string(kTooLargeUnpacked));
    }
    return archive;
}

bool ZipArchive::Has(std::string_view name) const {
    return zip_name_locate(archive_.get(), std::string(name).c_str(), ZIP_FL_NOCASE) >= 0;
}

Result<std::uint64_t> ZipArchive::DeclaredSize(std::string_view name) const {
    zip_stat_t stat;
    if (zip_stat(archive_.get(), std::string(name).c_str(), ZIP_FL_NOCASE, &stat) != 0) return Status::Error("lacks its part " + std::string(name));
    if ((stat.valid & ZIP_STAT_SIZE) == 0) return Status::Error(std::string(kDamaged));
    return static_cast<std::uint64_t>(stat.size);
}

Status ZipArchive::Stream(std::string_view name, const Sink& sink) {
    const zip_int64_t index = zip_name_locate(archive_.get(), std::string(name).c_str(), ZIP_FL_NOCASE);
    if (index < 0) return Status::Error("lacks its part " + std::string(name));
    EntryHandle entry(zip_fopen_index(archive_.get(), static_cast<zip_uint64_t>(index), 0));
    if (entry.get() == nullptr) return Status::Error(std::string(kDamaged));
    std::array<char, kChunkBytes> buffer;
    for (;;) {
        const zip_int64_t got = zip_fread(entry.get(), buffer.data(), buffer.size());
        if (got < 0) return Status::Error(std::string(kDamaged));
        if (got == 0) return Status::Ok();
        const auto count = static_cast<std::uint64_t>(got);
        if (count > budgetLeft_) return Status::Error(std::string(kTooLargeUnpacked));
        budgetLeft_ -= count;
        if (!sink(std::string_view(buffer.data(), static_cast<std::size_t>(count)))) return Status::Ok();
    }
}

Result<std::string> ZipArchive::Read(std::string_view name) {
    std::string whole;
    if (Status read = Stream(name, [&whole](std::string_view chunk) {
        whole.append(chunk);
        return true;
    }); !read) return read;
    return whole;
}

}  // namespace corvane::detail

// libzip behind ZipArchive.
#include "store/workbook/ZipArchive.h"

#include <zip.h>

#include <array>
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

}  // namespace

void ZipArchive::Closer::operator()(zip* archive) const { zip_discard(archive); }

Result<ZipArchive> ZipArchive::Open(std::string_view bytes, std::uint64_t budget) {
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

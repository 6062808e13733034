// libgsf opens the compound file and hands its workbook stream to the
// record scan of BiffRecords.cpp.
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>

#include <memory>
#include <mutex>
#include <string>

#include "store/workbook/BiffRecords.h"
#include "store/workbook/ZipArchive.h"

namespace corvane::detail {
namespace {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};

// libgsf reports a damaged compound file on stderr as well as by its result;
// the import says it in one sentence of its own.
void SilenceLibgsf() {
    static std::once_flag once;
    std::call_once(once, [] {
        const auto discard = [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {};
        constexpr auto kLevels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE);
        for (const char* domain : {"libgsf", "libgsf:msole"}) g_log_set_handler(domain, kLevels, discard, nullptr);
    });
}

Result<std::string> WorkbookStream(std::string_view compoundFile) {
    SilenceLibgsf();
    std::unique_ptr<GsfInput, GObjectUnref> input(
        gsf_input_memory_new(reinterpret_cast<const guint8*>(compoundFile.data()), static_cast<gsf_off_t>(compoundFile.size()), FALSE));
    if (!input) return Status::Error(std::string(kDamaged));
    GError* error = nullptr;
    std::unique_ptr<GsfInfile, GObjectUnref> ole(gsf_infile_msole_new(input.get(), &error));
    if (error != nullptr) g_error_free(error);
    if (!ole) return Status::Error(std::string(kDamaged));
    std::unique_ptr<GsfInput, GObjectUnref> stream(gsf_infile_child_by_name(ole.get(), "Workbook"));
    if (!stream) stream.reset(gsf_infile_child_by_name(ole.get(), "Book"));
    if (!stream) return Status::Error("holds no workbook (is it a spreadsheet?)");
    const gsf_off_t size = gsf_input_size(stream.get());
    if (size < 0 || static_cast<std::uint64_t>(size) > kMaxUnpackedWorkbookBytes) return Status::Error(std::string(kTooLargeUnpacked));
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && gsf_input_read(stream.get(), bytes.size(), reinterpret_cast<guint8*>(bytes.data())) == nullptr) {
        return Status::Error(std::string(kDamaged));
    }
    return bytes;
}

}  // namespace

Result<BiffFacts> ScanBiff(std::string_view compoundFile, ReadArea area) {
    const Result<std::string> stream = WorkbookStream(compoundFile);
    if (!stream) return stream.status();
    return ScanBiffStream(*stream, area);
}

}  // namespace corvane::detail

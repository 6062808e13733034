#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "store/workbook/Workbook.h"
#include "store/workbook/WorkbookReaders.h"
#include "store/workbook/ZipArchive.h"

namespace corvane {
namespace {

constexpr std::string_view kZipMagic{"PK\x03\x04", 4};
constexpr std::string_view kOle2Magic{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};
constexpr std::string_view kOdfMimetypePart = "mimetype";
constexpr std::string_view kOdfSpreadsheetType = "application/vnd.oasis.opendocument.spreadsheet";
constexpr std::string_view kOdfContentPart = "content.xml";
constexpr std::string_view kOoxmlContentTypesPart = "[Content_Types].xml";
static_assert(detail::kTooLargeUnpacked.find("32 MB") != std::string_view::npos &&
              kMaxUnpackedWorkbookBytes == 32 * kMegabyte);

// The whole file, or the reason it is not read: one sentence naming it.
Result<std::string> ReadWhole(const std::filesystem::path& path) {
    const std::string name = path.string();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return Status::Error(name + " does not exist.");
    if (std::filesystem::is_directory(path, ec)) return Status::Error(name + " is a folder, not a workbook.");
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return Status::Error(name + " cannot be read: " + ec.message() + ".");
    if (Status fits = detail::CheckWorkbookSize(size, name); !fits) return fits;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::Error(name + " cannot be opened for reading (is it readable?).");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return Status::Error(name + " cannot be read.");
    return bytes;
}

WorkbookFormat ZipFormat(detail::ZipArchive& archive) {
    if (archive.Has(kOdfMimetypePart)) {
        const Result<std::string> type = archive.Read(kOdfMimetypePart);
        return type && *type == kOdfSpreadsheetType ? WorkbookFormat::OpenDocument : WorkbookFormat::Unknown;
    }
    if (archive.Has(kOoxmlContentTypesPart)) return WorkbookFormat::OfficeOpenXml;
    if (archive.Has(kOdfContentPart)) return WorkbookFormat::OpenDocument;
    return WorkbookFormat::Unknown;
}

Status NotAWorkbook(std::string_view name) { return detail::Named(name, "is not a spreadsheet workbook (.xlsx, .ods or .xls)"); }

Result<Workbook> ReadZip(std::string_view bytes, std::string_view name, ReadArea area) {
    Result<detail::ZipArchive> archive = detail::ZipArchive::Open(bytes, kMaxUnpackedWorkbookBytes);
    if (!archive) return detail::Named(name, archive.message());
    Result<Workbook> book = NotAWorkbook(name);
    switch (ZipFormat(archive.value())) {
        case WorkbookFormat::OfficeOpenXml: book = detail::ReadOfficeOpenXml(archive.value(), area); break;
        case WorkbookFormat::OpenDocument: book = detail::ReadOpenDocument(archive.value(), area); break;
        default: return NotAWorkbook(name);
    }
    if (!book) return detail::Named(name, book.message());
    return book;
}

}  // namespace

WorkbookFormat DetectWorkbookFormat(std::string_view bytes) {
    if (bytes.starts_with(kOle2Magic)) return WorkbookFormat::LegacyBinary;
    if (!bytes.starts_with(kZipMagic) || bytes.size() > kMaxWorkbookFileBytes) return WorkbookFormat::Unknown;
    Result<detail::ZipArchive> archive = detail::ZipArchive::Open(bytes, kMaxUnpackedWorkbookBytes);
    return archive ? ZipFormat(archive.value()) : WorkbookFormat::Unknown;
}

WorkbookFormat DetectWorkbookFormat(const std::filesystem::path& path) {
    const auto bytes = ReadWhole(path);
    return bytes ? DetectWorkbookFormat(std::string_view(*bytes)) : WorkbookFormat::Unknown;
}

Result<Workbook> ReadWorkbook(std::string_view bytes, std::string_view name, ReadArea area) {
    if (Status fits = detail::CheckWorkbookSize(bytes.size(), name); !fits) return fits;
    if (bytes.starts_with(kZipMagic)) return ReadZip(bytes, name, area);
    if (bytes.starts_with(kOle2Magic)) return ReadLegacyWorkbook(bytes, name, area);
    return NotAWorkbook(name);
}

Result<Workbook> OpenWorkbook(const std::filesystem::path& path, ReadArea area) {
    const auto bytes = ReadWhole(path);
    if (!bytes) return bytes.status();
    return ReadWorkbook(*bytes, path.string(), area);
}

std::optional<double> detail::ParseStoredNumber(std::string_view text) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace corvane

#include <orcus/format_detection.hpp>

#include <array>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "store/workbook/Workbook.h"
#include "store/workbook/WorkbookReaders.h"

namespace corvane {
namespace {

constexpr std::string_view kZipMagic{"PK\x03\x04", 4};
constexpr std::string_view kOle2Magic{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};
// A workbook of this tool is a few tens of kilobytes; anything far larger is
// not one of ours and is not pulled into memory.
constexpr std::uintmax_t kMaxWorkbookBytes = 64u * 1024u * 1024u;

std::optional<std::string> ReadWhole(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxWorkbookBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

WorkbookFormat DetectBytes(std::string_view bytes) {
    if (bytes.starts_with(kOle2Magic)) return WorkbookFormat::LegacyBinary;
    if (!bytes.starts_with(kZipMagic)) return WorkbookFormat::Unknown;
    try {
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
        switch (orcus::detect(data, bytes.size())) {
            case orcus::format_t::xlsx: return WorkbookFormat::OfficeOpenXml;
            case orcus::format_t::ods: return WorkbookFormat::OpenDocument;
            default: return WorkbookFormat::Unknown;
        }
    } catch (const std::exception&) {
        return WorkbookFormat::Unknown;
    }
}

}  // namespace

WorkbookFormat DetectWorkbookFormat(const std::filesystem::path& path) {
    const auto bytes = ReadWhole(path);
    return bytes ? DetectBytes(*bytes) : WorkbookFormat::Unknown;
}

Result<Workbook> OpenWorkbook(const std::filesystem::path& path, ReadArea area) {
    const auto bytes = ReadWhole(path);
    if (!bytes) return Status::Error("cannot read " + path.string());
    switch (const WorkbookFormat format = DetectBytes(*bytes)) {
        case WorkbookFormat::OfficeOpenXml:
        case WorkbookFormat::OpenDocument:
            return detail::ReadZipWorkbook(*bytes, format, area);
        case WorkbookFormat::LegacyBinary:
            return detail::ReadLegacyWorkbook(path, area);
        case WorkbookFormat::Unknown:
            break;
    }
    return Status::Error(path.string() + " is not a spreadsheet workbook");
}

}  // namespace corvane

#pragma once
// .xls files made by hand for the reader's tests and the bench: BIFF records
// and a version-3 compound file (512-byte sectors) holding their stream,
// with where its tables lie, so a test can damage exactly one of them.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::testing {

inline std::string Le16(std::uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
}
inline std::string Le32(std::uint32_t value) { return Le16(value & 0xFFFF) + Le16(value >> 16); }
inline std::string Le64(double value) {
    char bytes[8];
    std::memcpy(bytes, &value, sizeof bytes);
    return std::string(bytes, sizeof bytes);
}

inline std::string Record(std::uint16_t type, std::string_view data) {
    return Le16(type) + Le16(static_cast<std::uint32_t>(data.size())) + std::string(data);
}

// Row, column (both from 1) and format 0, as every cell record starts.
inline std::string CellHead(int row, int col) { return Le16(row - 1) + Le16(col - 1) + Le16(0); }

// A BIFF8 string: 16-bit count, flags, Latin-1 or UTF-16LE characters.
inline std::string Biff8Text(std::string_view latin1) { return Le16(static_cast<std::uint32_t>(latin1.size())) + '\0' + std::string(latin1); }
inline std::string Biff8WideText(std::u16string_view text) {
    std::string out = Le16(static_cast<std::uint32_t>(text.size())) + '\x01';
    for (const char16_t unit : text) out += Le16(unit);
    return out;
}

namespace biff {
constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kLabel = 0x0204;
constexpr std::uint16_t kRString = 0x00D6;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kSharedFormula = 0x04BC;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kBlank = 0x0201;
constexpr std::uint16_t kMulBlank = 0x00BE;
constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kBiff5 = 0x0500;
}  // namespace biff

// A workbook stream: the globals (BOF, the given records, one BOUNDSHEET
// naming the sheet, EOF), then the sheet (BOF, the given records, EOF).
inline std::string WorkbookStream(const std::vector<std::string>& globals, const std::vector<std::string>& sheet,
                                  std::uint16_t version = biff::kBiff8) {
    const std::string name = version == biff::kBiff8 ? std::string("\x01\x00", 2) + "S" : std::string("\x01", 1) + "S";
    std::string head = Record(biff::kBof, Le16(version) + Le16(0x0005) + std::string(version == biff::kBiff8 ? 12 : 4, '\0'));
    for (const std::string& record : globals) head += record;
    const std::size_t boundSheetAt = head.size();
    head += Record(biff::kBoundSheet, Le32(0) + Le16(0) + name);
    head += Record(biff::kEof, "");
    head.replace(boundSheetAt + 4, 4, Le32(static_cast<std::uint32_t>(head.size())));
    std::string body = Record(biff::kBof, Le16(version) + Le16(0x0010) + std::string(version == biff::kBiff8 ? 12 : 4, '\0'));
    for (const std::string& record : sheet) body += record;
    body += Record(biff::kEof, "");
    return head + body;
}

// Where the parts of a built compound file lie, in sector numbers.
struct CompoundLayout {
    std::uint32_t firstFatSector = 0;
    std::uint32_t directorySector = 0;
    std::uint32_t firstStreamSector = 0;  // of the stream, or of the mini stream when it is small
    bool inMiniStream = false;
    std::uint32_t firstDifatSector = 0xFFFFFFFE;  // none below 109 table sectors
    static std::size_t Offset(std::uint32_t sector) { return (static_cast<std::size_t>(sector) + 1) * 512; }
};

// A version-3 compound file with one top-level stream; below 4096 bytes the
// stream lives in the mini stream, as the format demands.
inline std::string CompoundFile(std::string_view streamName, std::string_view stream, CompoundLayout* layout = nullptr) {
    constexpr std::size_t kSector = 512;
    constexpr std::size_t kMini = 64;
    constexpr std::uint32_t kFree = 0xFFFFFFFF;
    constexpr std::uint32_t kEnd = 0xFFFFFFFE;
    constexpr std::uint32_t kFatMark = 0xFFFFFFFD;
    const bool mini = stream.size() < 4096;
    const std::size_t miniSectors = mini ? (stream.size() + kMini - 1) / kMini : 0;
    const std::size_t miniFatSectors = mini ? (miniSectors * 4 + kSector - 1) / kSector : 0;
    const std::size_t dataBytes = mini ? miniSectors * kMini : stream.size();
    const std::size_t dataSectors = (dataBytes + kSector - 1) / kSector;
    // The allocation table's own sectors are listed in the header (109) and
    // then in DIFAT sectors of 127 each.
    std::size_t fatSectors = 1;
    std::size_t difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > 109 ? (fatSectors - 109 + 126) / 127 : 0;
        if (fatSectors * (kSector / 4) >= fatSectors + difatSectors + 1 + miniFatSectors + dataSectors) break;
        ++fatSectors;
    }
    const auto firstDifat = static_cast<std::uint32_t>(fatSectors);
    const auto directory = static_cast<std::uint32_t>(fatSectors + difatSectors);
    const auto firstMiniFat = static_cast<std::uint32_t>(directory + 1);
    const auto firstData = static_cast<std::uint32_t>(firstMiniFat + miniFatSectors);

    std::vector<std::uint32_t> fat(fatSectors * (kSector / 4), kFree);
    for (std::size_t i = 0; i < fatSectors; ++i) fat[i] = kFatMark;
    for (std::size_t i = 0; i < difatSectors; ++i) fat[firstDifat + i] = 0xFFFFFFFC;
    fat[directory] = kEnd;
    const auto chain = [&fat](std::uint32_t first, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) fat[first + i] = i + 1 < count ? static_cast<std::uint32_t>(first + i + 1) : kEnd;
    };
    chain(firstMiniFat, miniFatSectors);
    chain(firstData, dataSectors);

    std::string header = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0') + Le16(0x3E) + Le16(3) + Le16(0xFFFE) +
                         Le16(9) + Le16(6) + std::string(6, '\0') + Le32(0) + Le32(static_cast<std::uint32_t>(fatSectors)) +
                         Le32(directory) + Le32(0) + Le32(4096) + Le32(mini ? firstMiniFat : kEnd) +
                         Le32(static_cast<std::uint32_t>(miniFatSectors)) + Le32(difatSectors > 0 ? firstDifat : kEnd) +
                         Le32(static_cast<std::uint32_t>(difatSectors));
    for (std::size_t i = 0; i < 109; ++i) header += Le32(i < fatSectors ? static_cast<std::uint32_t>(i) : kFree);

    std::string body;
    for (const std::uint32_t entry : fat) body += Le32(entry);
    for (std::size_t d = 0; d < difatSectors; ++d) {
        std::string difat;
        for (std::size_t i = 0; i < 127; ++i) {
            const std::size_t listed = 109 + d * 127 + i;
            difat += Le32(listed < fatSectors ? static_cast<std::uint32_t>(listed) : kFree);
        }
        difat += Le32(d + 1 < difatSectors ? static_cast<std::uint32_t>(firstDifat + d + 1) : kEnd);
        body += difat;
    }
    const auto entry = [](std::string_view name, std::uint8_t type, std::uint32_t child, std::uint32_t start, std::uint32_t size) {
        std::string raw;
        for (const char c : name) raw += Le16(static_cast<unsigned char>(c));
        raw.resize(64, '\0');
        raw += Le16(static_cast<std::uint32_t>((name.size() + 1) * 2)) + static_cast<char>(type) + '\x01';
        raw += Le32(0xFFFFFFFF) + Le32(0xFFFFFFFF) + Le32(child) + std::string(16 + 4 + 16, '\0');
        raw += Le32(start) + Le32(size) + Le32(0);
        return raw;
    };
    std::string dir = entry("Root Entry", 5, 1, mini ? firstData : kEnd, static_cast<std::uint32_t>(mini ? miniSectors * kMini : 0));
    dir += entry(streamName, 2, 0xFFFFFFFF, mini ? 0 : firstData, static_cast<std::uint32_t>(stream.size()));
    dir.resize(kSector, '\0');
    body += dir;
    if (mini) {
        std::string miniFat;
        for (std::size_t i = 0; i < miniSectors; ++i) miniFat += Le32(i + 1 < miniSectors ? static_cast<std::uint32_t>(i + 1) : kEnd);
        miniFat.resize(miniFatSectors * kSector, '\xFF');
        body += miniFat;
    }
    std::string data(stream);
    data.resize(dataSectors * kSector, '\0');
    body += data;
    if (layout != nullptr) *layout = {0, directory, firstData, mini, difatSectors > 0 ? firstDifat : kEnd};
    return header + body;
}

}  // namespace corvane::testing

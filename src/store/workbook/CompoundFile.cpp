#include "store/workbook/CompoundFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "store/workbook/ReadFailure.h"

namespace corvane::detail {
namespace {

constexpr std::string_view kSignature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};
constexpr std::size_t kHeaderBytes = 512;
constexpr std::uint16_t kByteOrderMark = 0xFFFE;
constexpr std::uint16_t kVersion3 = 3;  // 512-byte sectors
constexpr std::uint16_t kVersion4 = 4;  // 4096-byte sectors
constexpr std::uint16_t kShift512 = 9;
constexpr std::uint16_t kShift4096 = 12;
constexpr std::uint16_t kMiniSectorShift = 6;
constexpr std::uint32_t kMiniStreamCutoff = 4096;
constexpr std::size_t kHeaderFatSlots = 109;
constexpr std::size_t kHeaderFatSlotsAt = 76;
constexpr std::size_t kEntryBytes = 128;
constexpr std::size_t kNameBytes = 64;

// Sector numbers at and above this are markers, not sectors.
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

constexpr std::uint8_t kStreamEntry = 2;
constexpr std::uint8_t kRootEntry = 5;

const std::string kLoops = DamagedBecause("a sector chain of its compound file loops");
// A sector beyond the end: the file was cut short, or names what it does not hold.
const std::string kOutside(kDamaged);

std::uint16_t U16(std::string_view data, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(data[at]) | static_cast<std::uint8_t>(data[at + 1]) << 8);
}

std::uint32_t U32(std::string_view data, std::size_t at) { return U16(data, at) | static_cast<std::uint32_t>(U16(data, at + 2)) << 16; }

struct Entry {
    std::string name;  // ASCII letters folded to lower case; others kept as UTF-16 units
    std::uint8_t type = 0;
    std::uint32_t left = kNoStream;
    std::uint32_t right = kNoStream;
    std::uint32_t child = kNoStream;
    std::uint32_t start = kEndOfChain;
    std::uint64_t size = 0;
};

// Sectors of the file and the chains through them; every step is checked.
class SectorFile {
public:
    SectorFile(std::string_view bytes, std::size_t sectorBytes)
        : bytes_(bytes), sectorBytes_(sectorBytes),
          sectorCount_(bytes.size() > sectorBytes ? (bytes.size() - sectorBytes + sectorBytes - 1) / sectorBytes : 0) {}

    std::size_t sectorBytes() const { return sectorBytes_; }
    std::size_t sectorCount() const { return sectorCount_; }

    // The sector's bytes; the last sector of a file may be cut short.
    std::string_view Sector(std::uint32_t sector) const {
        const std::size_t at = (static_cast<std::size_t>(sector) + 1) * sectorBytes_;
        return bytes_.substr(at, sectorBytes_);
    }

    void SetFat(std::vector<std::uint32_t> fat) { fat_ = std::move(fat); }

    // The sectors of the chain from start, at most maxSectors of them.
    Result<std::vector<std::uint32_t>> Chain(std::uint32_t start, std::size_t maxSectors) const {
        return FollowChain(start, maxSectors, fat_, sectorCount_);
    }

    // Follows next[] from start until the end marker; refuses a number
    // outside count and a chain that comes back to where it has been.
    static Result<std::vector<std::uint32_t>> FollowChain(std::uint32_t start, std::size_t maxLinks,
                                                         const std::vector<std::uint32_t>& next, std::size_t count) {
        std::vector<std::uint32_t> chain;
        std::vector<bool> seen(count, false);
        for (std::uint32_t at = start; at != kEndOfChain && chain.size() < maxLinks;) {
            if (at >= count || at >= next.size()) return Status::Error(kOutside);
            if (seen[at]) return Status::Error(kLoops);
            seen[at] = true;
            chain.push_back(at);
            at = next[at];
        }
        return chain;
    }

private:
    std::string_view bytes_;
    std::size_t sectorBytes_;
    std::size_t sectorCount_;
    std::vector<std::uint32_t> fat_;
};

// The numbers of the sectors that hold the allocation table: 109 in the
// header, the rest in a chain of their own.
Result<std::vector<std::uint32_t>> FatSectors(std::string_view header, const SectorFile& file) {
    const std::uint32_t fatSectorCount = U32(header, 44);
    if (fatSectorCount > file.sectorCount()) return Status::Error(kOutside);
    std::vector<std::uint32_t> sectors;
    for (std::size_t i = 0; i < kHeaderFatSlots && sectors.size() < fatSectorCount; ++i) {
        sectors.push_back(U32(header, kHeaderFatSlotsAt + 4 * i));
    }
    const std::size_t slotsPerSector = file.sectorBytes() / 4 - 1;  // the last names the next one
    std::vector<bool> seen(file.sectorCount(), false);
    for (std::uint32_t next = U32(header, 68); sectors.size() < fatSectorCount && next < kMaxRegularSector;) {
        if (next >= file.sectorCount()) return Status::Error(kOutside);
        if (seen[next]) return Status::Error(kLoops);
        seen[next] = true;
        const std::string_view sector = file.Sector(next);
        if (sector.size() < file.sectorBytes()) return Status::Error(std::string(kDamaged));
        for (std::size_t i = 0; i < slotsPerSector && sectors.size() < fatSectorCount; ++i) sectors.push_back(U32(sector, 4 * i));
        next = U32(sector, 4 * slotsPerSector);
    }
    if (sectors.size() < fatSectorCount) return Status::Error(std::string(kDamaged));
    return sectors;
}

// Entries beyond the file's sectors can never be used, so the table stops there.
Result<std::vector<std::uint32_t>> ReadFat(std::string_view header, const SectorFile& file) {
    const auto sectors = FatSectors(header, file);
    if (!sectors) return sectors.status();
    std::vector<std::uint32_t> fat;
    fat.reserve(file.sectorCount());
    for (const std::uint32_t sector : *sectors) {
        if (sector >= file.sectorCount()) return Status::Error(kOutside);
        const std::string_view data = file.Sector(sector);
        if (data.size() < file.sectorBytes()) return Status::Error(std::string(kDamaged));
        for (std::size_t at = 0; at < data.size() && fat.size() < file.sectorCount(); at += 4) fat.push_back(U32(data, at));
    }
    return fat;
}

// The bytes of a chain of sectors of `unit` bytes each, cut to size.
Result<std::string> Gather(const std::vector<std::uint32_t>& chain, std::uint64_t size, std::size_t unit,
                           const auto& sectorBytes) {
    if (chain.size() * unit < size) return Status::Error(std::string(kDamaged));
    std::string out;
    out.reserve(static_cast<std::size_t>(size));
    for (const std::uint32_t sector : chain) {
        if (out.size() >= size) break;
        const std::string_view data = sectorBytes(sector);
        const std::size_t wanted = std::min<std::size_t>(unit, static_cast<std::size_t>(size - out.size()));
        if (data.size() < wanted) return Status::Error(std::string(kDamaged));
        out.append(data.substr(0, wanted));
    }
    return out;
}

Result<std::string> ReadChain(const SectorFile& file, std::uint32_t start, std::uint64_t size) {
    const std::size_t sectors = static_cast<std::size_t>((size + file.sectorBytes() - 1) / file.sectorBytes());
    const auto chain = file.Chain(start, sectors);
    if (!chain) return chain.status();
    return Gather(*chain, size, file.sectorBytes(), [&file](std::uint32_t s) { return file.Sector(s); });
}

// Names compare without case; ASCII letters are all the streams we look for use.
std::string FoldedName(std::string_view raw, std::size_t lengthBytes) {
    std::string name;
    const std::size_t units = std::min(lengthBytes, kNameBytes) / 2;
    for (std::size_t i = 0; i + 1 < units; ++i) {  // the last unit is the terminator
        const std::uint16_t unit = U16(raw, 2 * i);
        if (unit < 0x80) {
            name += static_cast<char>(unit >= 'A' && unit <= 'Z' ? unit - 'A' + 'a' : unit);
        } else {
            name += '\x80';  // no name looked for has it
        }
    }
    return name;
}

Result<std::vector<Entry>> ReadDirectory(const SectorFile& file, std::uint32_t start, bool version3) {
    const auto chain = file.Chain(start, file.sectorCount());
    if (!chain) return chain.status();
    std::vector<Entry> entries;
    for (const std::uint32_t sector : *chain) {
        const std::string_view data = file.Sector(sector);
        for (std::size_t at = 0; at + kEntryBytes <= data.size(); at += kEntryBytes) {
            const std::string_view raw = data.substr(at, kEntryBytes);
            Entry entry;
            entry.name = FoldedName(raw, U16(raw, 64));
            entry.type = static_cast<std::uint8_t>(raw[66]);
            entry.left = U32(raw, 68);
            entry.right = U32(raw, 72);
            entry.child = U32(raw, 76);
            entry.start = U32(raw, 116);
            // Version 3 files may leave garbage in the high half.
            entry.size = U32(raw, 120) | (version3 ? 0 : static_cast<std::uint64_t>(U32(raw, 124)) << 32);
            entries.push_back(std::move(entry));
        }
    }
    if (entries.empty() || entries.front().type != kRootEntry) return Status::Error(DamagedBecause("its compound file has no root"));
    return entries;
}

// The entry of the first name among the root's children (a tree through
// left and right siblings), visiting each entry at most once.
Result<const Entry*> FindTopLevel(const std::vector<Entry>& entries, std::initializer_list<std::string_view> names) {
    std::vector<bool> seen(entries.size(), false);
    std::vector<std::uint32_t> pending{entries.front().child};
    std::vector<const Entry*> children;
    while (!pending.empty()) {
        const std::uint32_t at = pending.back();
        pending.pop_back();
        if (at == kNoStream) continue;
        if (at >= entries.size()) return Status::Error(DamagedBecause("its compound file names an entry it does not hold"));
        if (seen[at]) return Status::Error(DamagedBecause("the directory of its compound file loops"));
        seen[at] = true;
        children.push_back(&entries[at]);
        pending.push_back(entries[at].left);
        pending.push_back(entries[at].right);
    }
    for (const std::string_view wanted : names) {
        for (const Entry* child : children) {
            if (child->type == kStreamEntry && child->name == wanted) return child;
        }
    }
    return static_cast<const Entry*>(nullptr);
}

// A stream below the cutoff lives in the mini stream: 64-byte sectors inside
// the root entry's own stream, chained through the mini allocation table.
Result<std::string> ReadMiniStream(const SectorFile& file, std::string_view header, const Entry& root, const Entry& stream) {
    constexpr std::size_t kMiniSectorBytes = std::size_t{1} << kMiniSectorShift;
    const std::uint64_t rootLimit = static_cast<std::uint64_t>(file.sectorCount()) * file.sectorBytes();
    if (root.size > rootLimit) return Status::Error(std::string(kDamaged));
    const auto miniStream = ReadChain(file, root.start, root.size);
    if (!miniStream) return miniStream.status();
    const std::uint32_t miniFatSectors = U32(header, 64);
    if (miniFatSectors > file.sectorCount()) return Status::Error(kOutside);
    const auto miniFatBytes = ReadChain(file, U32(header, 60), static_cast<std::uint64_t>(miniFatSectors) * file.sectorBytes());
    if (!miniFatBytes) return miniFatBytes.status();
    std::vector<std::uint32_t> miniFat;
    for (std::size_t at = 0; at + 4 <= miniFatBytes->size(); at += 4) miniFat.push_back(U32(*miniFatBytes, at));

    const std::size_t miniSectorCount = miniStream->size() / kMiniSectorBytes;
    const std::size_t needed = static_cast<std::size_t>((stream.size + kMiniSectorBytes - 1) / kMiniSectorBytes);
    const auto chain = SectorFile::FollowChain(stream.start, needed, miniFat, miniSectorCount);
    if (!chain) return chain.status();
    const std::string_view mini = *miniStream;
    return Gather(*chain, stream.size, kMiniSectorBytes,
                  [mini](std::uint32_t s) { return mini.substr(static_cast<std::size_t>(s) * kMiniSectorBytes, kMiniSectorBytes); });
}

}  // namespace

Result<std::string> ReadCompoundStream(std::string_view bytes, std::initializer_list<std::string_view> names,
                                       std::size_t maxStreamBytes) {
    if (bytes.size() < kHeaderBytes || !bytes.starts_with(kSignature)) return Status::Error(std::string(kDamaged));
    const std::string_view header = bytes.substr(0, kHeaderBytes);
    const std::uint16_t version = U16(header, 26);
    const std::uint16_t shift = U16(header, 30);
    const bool sane = U16(header, 28) == kByteOrderMark && U16(header, 32) == kMiniSectorShift &&
                      U32(header, 56) == kMiniStreamCutoff &&
                      ((version == kVersion3 && shift == kShift512) || (version == kVersion4 && shift == kShift4096));
    if (!sane) return Status::Error(DamagedBecause("its compound file header is not one of a known version"));

    SectorFile file(bytes, std::size_t{1} << shift);
    auto fat = ReadFat(header, file);
    if (!fat) return fat.status();
    file.SetFat(std::move(fat.value()));
    const auto entries = ReadDirectory(file, U32(header, 48), version == kVersion3);
    if (!entries) return entries.status();
    const auto found = FindTopLevel(*entries, names);
    if (!found) return found.status();
    const Entry* stream = *found;
    if (stream == nullptr) return Status::Error("holds no workbook (is it a spreadsheet?)");
    if (stream->size > maxStreamBytes) return Status::Error(std::string(kTooLargeUnpacked));
    if (stream->size < kMiniStreamCutoff) return ReadMiniStream(file, header, entries->front(), *stream);
    return ReadChain(file, stream->start, stream->size);
}

}  // namespace corvane::detail

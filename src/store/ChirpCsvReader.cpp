// Import: the whole file is parsed first; only a file with at least one
// usable channel replaces the channel table.
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ChannelFiles.h"
#include "store/ChirpCsv.h"
#include "store/ChirpCsvFields.h"
#include "store/ChirpCsvLine.h"
#include "store/ConfigFiles.h"
#include "store/SavePoint.h"

namespace corvane {
namespace {

using namespace chirpcsv;

// Far beyond any channel list; keeps a wrongly chosen file from eating memory.
constexpr std::uintmax_t kMaxFileBytes = 4u * 1024u * 1024u;

Status TooLarge(std::string_view fileName) {
    return Status::Error("cannot read " + std::string(fileName) + ": file is too large for a channel list");
}

Result<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return Status::Error("cannot read " + path.string() + ": not a file");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return Status::Error("cannot read " + path.string() + ": " + error.message());
    if (size > kMaxFileBytes) return TooLarge(path.string());
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::Error("cannot read " + path.string());
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return Status::Error("cannot read " + path.string());
    return bytes;
}

struct ParsedFile {
    std::vector<ImportedChannel> channels;
    std::vector<std::string> skipped;
};

std::string LineNote(int line, const std::string& reason) { return "line " + std::to_string(line) + ": " + reason; }

Result<ParsedFile> ParseFile(std::string_view text, int16_t edition) {
    const std::vector<CsvRecord> records = SplitCsvRecords(text);
    if (records.empty()) return Status::Error("the file holds no CHIRP CSV header");
    const CsvHeader header(records.front().fields);
    if (!header.Has("Location") || !header.Has("Frequency")) {
        return Status::Error("not a CHIRP CSV file: the first line lacks the Location and Frequency columns");
    }
    ParsedFile parsed;
    std::map<int, int> lineOfLocation;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const CsvRecord& record = records[i];
        if (record.unterminatedQuote) {
            parsed.skipped.push_back(LineNote(record.line, "a quoted field is never closed"));
            continue;
        }
        auto channel = ParseChannelLine(header, record.fields, edition);
        if (!channel) {
            parsed.skipped.push_back(LineNote(record.line, channel.message()));
            continue;
        }
        const auto [first, inserted] = lineOfLocation.emplace(channel->location, record.line);
        if (!inserted) {
            parsed.skipped.push_back(LineNote(record.line, "location " + std::to_string(channel->location) +
                                                               " was already given on line " +
                                                               std::to_string(first->second)));
            continue;
        }
        parsed.channels.push_back(std::move(channel.value()));
    }
    return parsed;
}

std::string SkippedList(const std::vector<std::string>& skipped) {
    std::string text;
    for (const std::string& note : skipped) text += "\n" + note;
    return text;
}

void StoreChannel(ChannelTable& table, const ImportedChannel& channel) {
    const int row = channel.location;
    table.SetCell(row, ColRxFreq, channel.rxFreq);
    table.SetCell(row, ColTxFreq, channel.txFreq);
    table.SetCell(row, ColCtcss, channel.ctcss);
    table.SetCell(row, ColDcs, channel.dcs);
    table.SetCell(row, ColScan, channel.scan);
    table.SetCell(row, ColBand, channel.band);
    table.SetCell(row, ColPower, channel.power);
}

// Frequencies from outside the preset plan need Custom mode, which always
// uses the combined band; groups have no CHIRP column and start over.
void ApplyChannels(Workspace& ws, const std::vector<ImportedChannel>& channels) {
    ws.channelMode = kModeCustom;
    ws.settings.BandSelect = kBandPmrLpd;
    FillDefaults(ws);
    ClearGroupSizes(ws.groups);
    ClearGroupLayout(ws.groups, ws.channels);
    for (const ImportedChannel& channel : channels) StoreChannel(ws.channels, channel);
}

// Port.txt, Group.txt and the channel files as one set.
Status SaveImported(Workspace& ws) {
    SavePoint point(ws.programFolder);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveConfigFile(ws);
    (void)SaveGroupFile(ws);
    (void)SaveChannelFiles(ws);
    return point.Commit();
}

}  // namespace

std::string CsvImportReport::Summary() const {
    std::string text = "Imported " + CountOf(channelsImported, "channel") + " from CHIRP CSV.";
    if (skippedLines.empty()) return text;
    return text + "\nSkipped " + CountOf(skippedLines.size(), "line") + ":" + SkippedList(skippedLines);
}

Result<CsvImportReport> ImportChirpCsv(Workspace& ws, const std::filesystem::path& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return bytes.status();
    return ImportChirpCsv(ws, *bytes, path.string());
}

Result<CsvImportReport> ImportChirpCsv(Workspace& ws, std::string_view bytes, std::string_view fileName) {
    if (bytes.size() > kMaxFileBytes) return TooLarge(fileName);
    const auto parsed = ParseFile(bytes, ws.edition);
    const std::string name(fileName);
    if (!parsed) return Status::Error(name + ": " + parsed.message());
    if (parsed->channels.empty()) {
        return Status::Error(name + ": no line could be imported; nothing was changed." + SkippedList(parsed->skipped));
    }
    ApplyChannels(ws, parsed->channels);
    CsvImportReport report;
    report.channelsImported = parsed->channels.size();
    report.skippedLines = parsed->skipped;
    if (Status saved = SaveImported(ws); !saved) {
        return Status::Error("channels imported, but saving failed: " + saved.message());
    }
    return report;
}

}  // namespace corvane

// Export: one CHIRP CSV line per channel that has a receive frequency.
#include <array>
#include <string>
#include <utility>

#include "model/Frequency.h"
#include "model/ToneTable.h"
#include "store/ChirpCsv.h"
#include "store/ChirpCsvFields.h"
#include "store/TextLines.h"

namespace corvane {
namespace {

using namespace chirpcsv;

enum Field : std::size_t {
    kLocation, kName, kFrequency, kDuplex, kOffset, kTone, kRToneFreq, kCToneFreq, kDtcsCode,
    kDtcsPolarity, kRxDtcsCode, kCrossMode, kMode, kTStep, kSkip, kPower, kComment,
};

using Line = std::array<std::string, kColumns.size()>;

constexpr std::string_view kDuplexOff = "off";
constexpr std::string_view kDuplexSplit = "split";
constexpr std::string_view kToneSquelch = "TSQL";
constexpr std::string_view kDigitalSquelch = "DTCS";
constexpr std::string_view kInvertedPolarity = "RR";
constexpr std::string_view kNarrowMode = "NFM";
constexpr std::string_view kWideMode = "FM";
constexpr std::string_view kSkipped = "S";

std::string JoinFields(const Line& fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text.push_back(',');
        text += CsvField(fields[i]);
    }
    return text + std::string(kCsvLineEnd);
}

std::string HeaderLine() {
    Line header;
    for (std::size_t i = 0; i < kColumns.size(); ++i) header[i] = std::string(kColumns[i]);
    return JoinFields(header);
}

// "CH-007": the channel label without its brackets.
std::string ChannelName(int channel) {
    const std::string label = ChannelLabel(channel);
    return label.substr(1, label.size() - 2);
}

void FillDuplex(Line& line, int64_t rxHertz, int64_t txHertz) {
    line[kOffset] = std::string(kZeroOffset);
    if (txHertz == rxHertz) return;
    if (txHertz <= 0) {
        line[kDuplex] = std::string(kDuplexOff);
        return;
    }
    line[kDuplex] = std::string(kDuplexSplit);
    line[kOffset] = FormatHertz(txHertz);
}

// Returns false when CHIRP will refuse the line's tone.
bool FillTone(Line& line, const ChannelTable& table, int row, int16_t edition) {
    line[kRToneFreq] = line[kCToneFreq] = std::string(kDefaultToneText);
    line[kDtcsCode] = line[kRxDtcsCode] = std::string(kDefaultDtcsCode);
    line[kDtcsPolarity] = std::string(kDefaultPolarity);
    line[kCrossMode] = std::string(kDefaultCrossMode);
    // The radio sends the CTCSS tone when a channel holds both.
    const DecodedTone tone = DecodeToneNumber(
        ToneNumberCtcssFirst(table.GetCell(row, ColCtcss), table.GetCell(row, ColDcs), edition));
    if (tone.ctcssCode > 0) {
        const int tenths = CtcssTenths(tone.ctcssCode);
        line[kTone] = std::string(kToneSquelch);
        line[kRToneFreq] = line[kCToneFreq] = TenthsText(tenths);
        return ChirpAcceptsToneTenths(tenths);
    }
    if (tone.dcsCode > 0) {
        const auto parts = DcsPartsOf(DcsLabel(tone.dcsCode, edition));
        if (!parts) return true;
        line[kTone] = std::string(kDigitalSquelch);
        line[kDtcsCode] = line[kRxDtcsCode] = parts->digits;
        line[kDtcsPolarity] = std::string(parts->inverted ? kInvertedPolarity : kDefaultPolarity);
    }
    return true;
}

Line ChannelLine(const ChannelTable& table, int row, int64_t rxHertz, int16_t edition, bool& chirpRejects) {
    Line line;
    line[kLocation] = std::to_string(row);
    line[kName] = ChannelName(row);
    line[kFrequency] = FormatHertz(rxHertz);
    FillDuplex(line, rxHertz, FrequencyTextToHertz(table.GetCell(row, ColTxFreq)));
    chirpRejects = !FillTone(line, table, row, edition);
    line[kMode] = std::string(table.GetCell(row, ColBand) == kNarrow ? kNarrowMode : kWideMode);
    line[kTStep] = std::string(kTuningStep);
    line[kSkip] = table.GetCell(row, ColScan) == kNo ? std::string(kSkipped) : std::string();
    line[kPower] = std::string(table.GetCell(row, ColPower) == kLow ? kLowPowerText : kHighPowerText);
    line[kComment] = table.GetCell(row, ColGroup);
    return line;
}

}  // namespace

std::string CsvExportReport::Summary() const {
    std::string text = "Exported " + CountOf(channelsWritten, "channel") + " to CHIRP CSV.";
    if (channelsChirpRejects.empty()) return text;
    text += channelsChirpRejects.size() == 1 ? "\nCHIRP's CTCSS list lacks the tone of channel "
                                              : "\nCHIRP's CTCSS list lacks the tones of channels ";
    for (std::size_t i = 0; i < channelsChirpRejects.size(); ++i) {
        if (i > 0) text += ", ";
        text += std::to_string(channelsChirpRejects[i]);
    }
    return text + (channelsChirpRejects.size() == 1 ? ": CHIRP will not load that line." : ": CHIRP will not load those lines.");
}

CsvExport BuildChirpCsv(const Workspace& ws) {
    CsvExportReport report;
    std::string body = HeaderLine();
    for (int row = 1; row <= kChannelCount; ++row) {
        const int64_t rxHertz = FrequencyTextToHertz(ws.channels.GetCell(row, ColRxFreq));
        if (rxHertz <= 0) continue;
        bool chirpRejects = false;
        body += JoinFields(ChannelLine(ws.channels, row, rxHertz, ws.edition, chirpRejects));
        ++report.channelsWritten;
        if (chirpRejects) report.channelsChirpRejects.push_back(row);
    }
    return {std::move(body), std::move(report)};
}

Result<CsvExportReport> ExportChirpCsv(const Workspace& ws, const std::filesystem::path& path) {
    CsvExport csv = BuildChirpCsv(ws);
    if (Status written = WriteFileAtomically(path, csv.bytes); !written) return written;
    return std::move(csv.report);
}

}  // namespace corvane

#include "store/ChannelFiles.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "model/NumberParse.h"
#include "model/ToneTable.h"
#include "store/TextLines.h"

namespace corvane {

namespace {

// Line 1 is a marker, line k + 1 holds channel k.
constexpr std::size_t kLinesPerFile = static_cast<std::size_t>(kChannelFileLines);
inline constexpr std::string_view kEmptyFrequencyText = "0";
constexpr int16_t kToneMarker = 0;
constexpr int16_t kSavedFlagMarker = 1;

struct FlagFileSpec {
    FlagField field;
    const char* fileName;
    Column column;
    std::string_view wordForZero;
    std::string_view wordForOther;
    int16_t resetValue;
    int16_t resetMarker;
};

constexpr std::array<FlagFileSpec, 5> kFlagFiles{{
    {FlagField::Scan, "Scan.txt", ColScan, kNo, kYes, 1, 1},
    {FlagField::Band, "Band.txt", ColBand, kNarrow, kWide, 0, 0},
    {FlagField::Power, "Power.txt", ColPower, kLow, kHigh, 0, 0},
    {FlagField::Scrambler, "Scr.txt", ColScrambler, kOff, kOn, 0, 0},
    {FlagField::Compander, "Comp.txt", ColCompander, kOff, kOn, 0, 1},
}};

const FlagFileSpec& SpecOf(FlagField field) {
    for (const auto& spec : kFlagFiles) {
        if (spec.field == field) return spec;
    }
    return kFlagFiles.front();
}

std::filesystem::path FileIn(const Workspace& ws, const char* name) { return ws.programFolder / name; }

Status FirstFailure(const Status& first, const Status& next) { return first.ok() ? next : first; }

// The marker text and the 255 channel values of an integer file; a missing
// file reads as an empty marker, a missing line or a value that does not fit
// 16 bits as 0.
struct IntegerFile {
    std::string marker;
    std::array<int16_t, kRowCount> values{};  // index = channel, 0 unused
};

Result<IntegerFile> ReadIntegerFile(const std::filesystem::path& path) {
    const auto read = ReadValueLines(path, kLinesPerFile);
    if (!read) return read.status();
    const std::vector<std::string>& lines = read->lines;
    IntegerFile file;
    if (lines.empty()) return file;
    file.marker = std::string(LineValue(lines.front()));
    for (std::size_t row = 1; row < lines.size(); ++row) file.values[row] = ReadInt16Value(lines[row]).value_or(0);
    return file;
}

Status WriteIntegerFile(const std::filesystem::path& path, int16_t marker, const std::array<int16_t, kRowCount>& values) {
    std::vector<std::string> lines;
    lines.reserve(kLinesPerFile);
    lines.push_back(FormatIntegerValue(marker));
    for (int row = 1; row <= kChannelCount; ++row) lines.push_back(FormatIntegerValue(values[row]));
    return WriteFileAtomically(path, JoinLines(lines));
}

Status WriteFrequencyFile(const std::filesystem::path& path, const ChannelTable& table, Column column) {
    std::vector<std::string> lines;
    lines.reserve(kLinesPerFile);
    lines.emplace_back(kEmptyFrequencyText);
    for (int row = 1; row <= kChannelCount; ++row) {
        const std::string& text = table.GetCell(row, column);
        lines.push_back(text.empty() ? std::string(kEmptyFrequencyText) : TextValueForLine(text));
    }
    return WriteFileAtomically(path, JoinLines(lines));
}

// A complete file's lines; nullopt for a missing or short file (which the
// loader recovers from); an error for a file too large to read.
Result<std::optional<std::vector<std::string>>> ReadFrequencyFile(const std::filesystem::path& path) {
    auto read = ReadValueLines(path, kLinesPerFile);
    if (!read) return read.status();
    if (read->lines.size() < kLinesPerFile) return std::optional<std::vector<std::string>>{};
    return std::optional<std::vector<std::string>>(std::move(read.value().lines));
}

void SetFrequencyFromLine(ChannelTable& table, int row, Column column, std::string_view line) {
    const double mhz = LenientNumber(LineValue(line));
    // A run of digits too long for a double reads as infinity: treat as junk.
    if (mhz != 0.0 && std::isfinite(mhz)) {
        table.SetFrequencyCell(mhz, row, column);
    } else {
        table.SetCell(row, column, "");
    }
}

}  // namespace

const char* FlagFileName(FlagField field) { return SpecOf(field).fileName; }

Status LoadFrequencyFiles(Workspace& ws) {
    const auto rxRead = ReadFrequencyFile(FileIn(ws, kRxFreqFile));
    if (!rxRead) return rxRead.status();
    const auto txRead = ReadFrequencyFile(FileIn(ws, kTxFreqFile));
    // Neither column is reset, nor either file rewritten, over a file we cannot read.
    if (!txRead) return txRead.status();
    const auto& rx = *rxRead;
    const auto& tx = *txRead;
    ChannelTable& table = ws.channels;
    for (int row = 1; row <= kChannelCount; ++row) {
        table.SetCell(row, ColLabel, ChannelLabel(row));
        if (rx && tx) {
            SetFrequencyFromLine(table, row, ColRxFreq, (*rx)[row]);
            SetFrequencyFromLine(table, row, ColTxFreq, (*tx)[row]);
        } else {
            // One bad file blanks both columns, and both files are rewritten.
            table.SetCell(row, ColRxFreq, "");
            table.SetCell(row, ColTxFreq, "");
        }
    }
    if (rx && tx) return Status::Ok();
    return SaveFrequencyFiles(ws);
}

Status SaveFrequencyFiles(const Workspace& ws) {
    const Status rx = WriteFrequencyFile(FileIn(ws, kRxFreqFile), ws.channels, ColRxFreq);
    const Status tx = WriteFrequencyFile(FileIn(ws, kTxFreqFile), ws.channels, ColTxFreq);
    return FirstFailure(rx, tx);
}

Status LoadToneFile(Workspace& ws) {
    const auto path = FileIn(ws, kToneFile);
    auto read = ReadIntegerFile(path);
    if (!read) return read.status();
    IntegerFile& file = read.value();
    Status status;
    if (file.marker.empty()) {
        file.values.fill(0);
        status = WriteIntegerFile(path, kToneMarker, file.values);
    }
    for (int row = 1; row <= kChannelCount; ++row) {
        const int value = file.values[row];
        const bool isDcs = value >= kToneNumberDcsOffset + 1;
        ws.channels.SetCell(row, ColCtcss, CtcssLabel(isDcs ? 0 : value));
        ws.channels.SetCell(row, ColDcs, DcsLabel(isDcs ? value - kToneNumberDcsOffset : 0, ws.edition));
    }
    return status;
}

Status SaveToneFile(const Workspace& ws) {
    std::array<int16_t, kRowCount> values{};
    for (int row = 1; row <= kChannelCount; ++row) {
        const int tone = ToneNumberDcsFirst(ws.channels.GetCell(row, ColCtcss), ws.channels.GetCell(row, ColDcs), ws.edition);
        values[row] = ToInt16(tone);
    }
    return WriteIntegerFile(FileIn(ws, kToneFile), kToneMarker, values);
}

Status LoadFlagFile(Workspace& ws, FlagField field) {
    const FlagFileSpec& spec = SpecOf(field);
    const auto path = FileIn(ws, spec.fileName);
    auto read = ReadIntegerFile(path);
    if (!read) return read.status();
    IntegerFile& file = read.value();
    Status status;
    if (file.marker.empty()) {
        file.values.fill(spec.resetValue);
        status = WriteIntegerFile(path, spec.resetMarker, file.values);
    }
    for (int row = 1; row <= kChannelCount; ++row) {
        const std::string_view word = file.values[row] == 0 ? spec.wordForZero : spec.wordForOther;
        ws.channels.SetCell(row, spec.column, std::string(word));
    }
    return status;
}

Status SaveFlagFile(const Workspace& ws, FlagField field) {
    const FlagFileSpec& spec = SpecOf(field);
    std::array<int16_t, kRowCount> values{};
    for (int row = 1; row <= kChannelCount; ++row) {
        values[row] = ws.channels.GetCell(row, spec.column) == spec.wordForZero ? 0 : 1;
    }
    return WriteIntegerFile(FileIn(ws, spec.fileName), kSavedFlagMarker, values);
}

Status LoadChannelFiles(Workspace& ws) {
    Status status = LoadFrequencyFiles(ws);
    status = FirstFailure(status, LoadToneFile(ws));
    for (const auto& spec : kFlagFiles) status = FirstFailure(status, LoadFlagFile(ws, spec.field));
    return status;
}

Status SaveChannelFiles(const Workspace& ws) {
    Status status = SaveFrequencyFiles(ws);
    status = FirstFailure(status, SaveToneFile(ws));
    for (const auto& spec : kFlagFiles) status = FirstFailure(status, SaveFlagFile(ws, spec.field));
    return status;
}

}  // namespace corvane

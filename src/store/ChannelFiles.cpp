#include "store/ChannelFiles.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "model/NumberParse.h"
#include "model/ToneTable.h"
#include "store/ImageBackups.h"
#include "store/SavePoint.h"
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

constexpr std::string_view kFrequencyResetDone = "both frequency files were reset";
constexpr std::string_view kFrequencyResetWould = "both frequency files would be reset";
constexpr std::string_view kFileResetDone = "it was reset to its defaults";
constexpr std::string_view kFileResetWould = "it would be reset to its defaults";

// The marker text and the 255 channel values of an integer file; a missing
// file reads as an empty marker, a missing line or a value that does not fit
// 16 bits as 0.
struct IntegerFile {
    bool found = false;
    std::size_t lineCount = 0;
    std::string marker;
    std::array<int16_t, kRowCount> values{};  // index = channel, 0 unused
};

Result<IntegerFile> ReadIntegerFile(const std::filesystem::path& path) {
    const auto read = ReadValueLines(path, kLinesPerFile);
    if (!read) return read.status();
    const std::vector<std::string>& lines = read->lines;
    IntegerFile file;
    file.found = read->found;
    file.lineCount = lines.size();
    if (lines.empty()) return file;
    file.marker = std::string(LineValue(lines.front()));
    for (std::size_t row = 1; row < lines.size(); ++row) file.values[row] = ReadInt16Value(lines[row]).value_or(0);
    return file;
}

// Why an integer file's marker reads empty.
std::string EmptyMarkerProblem(const std::filesystem::path& path, const IntegerFile& file) {
    if (!file.found) {
        const std::string problem = UnreadableProblem(path);
        return problem.empty() ? std::string("cannot be read") : problem;
    }
    if (file.lineCount == 0) return ShortFileProblem(0, kLinesPerFile);
    return "has an empty first line";
}

FileReset SingleFileReset(const char* name, std::string problem, std::string bytes) {
    return FileReset{{DamagedFile{name, std::move(problem)}},
                     {WorkingFileBytes{name, std::move(bytes)}},
                     std::string(kFileResetDone),
                     std::string(kFileResetWould)};
}

std::string IntegerFileBytes(int16_t marker, const std::array<int16_t, kRowCount>& values) {
    std::vector<std::string> lines;
    lines.reserve(kLinesPerFile);
    lines.push_back(FormatIntegerValue(marker));
    for (int row = 1; row <= kChannelCount; ++row) lines.push_back(FormatIntegerValue(values[row]));
    return JoinLines(lines);
}

std::string FrequencyFileBytes(const ChannelTable& table, Column column) {
    std::vector<std::string> lines;
    lines.reserve(kLinesPerFile);
    lines.emplace_back(kEmptyFrequencyText);
    for (int row = 1; row <= kChannelCount; ++row) {
        const std::string& text = table.GetCell(row, column);
        lines.push_back(text.empty() ? std::string(kEmptyFrequencyText) : TextValueForLine(text));
    }
    return JoinLines(lines);
}

// A complete file's lines, or why the loader resets (missing, unreadable,
// short); an error for a file too large to read.
struct FrequencyFile {
    std::optional<std::vector<std::string>> lines;
    std::string problem;
};

Result<FrequencyFile> ReadFrequencyFile(const std::filesystem::path& path) {
    auto read = ReadValueLines(path, kLinesPerFile);
    if (!read) return read.status();
    if (!read->found) {
        const std::string problem = UnreadableProblem(path);
        return FrequencyFile{std::nullopt, problem.empty() ? std::string("cannot be read") : problem};
    }
    if (read->lines.size() < kLinesPerFile) return FrequencyFile{std::nullopt, ShortFileProblem(read->lines.size(), kLinesPerFile)};
    return FrequencyFile{std::move(read.value().lines), {}};
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

Status LoadFrequencyFiles(Workspace& ws, FileResets& resets) {
    const auto rxRead = ReadFrequencyFile(FileIn(ws, kRxFreqFile));
    if (!rxRead) return rxRead.status();
    const auto txRead = ReadFrequencyFile(FileIn(ws, kTxFreqFile));
    // Neither column is reset, nor either file rewritten, over a file we cannot read.
    if (!txRead) return txRead.status();
    const auto& rx = rxRead->lines;
    const auto& tx = txRead->lines;
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
    FileReset reset;
    if (!rx) reset.damaged.push_back(DamagedFile{kRxFreqFile, rxRead->problem});
    if (!tx) reset.damaged.push_back(DamagedFile{kTxFreqFile, txRead->problem});
    reset.files = {WorkingFileBytes{kRxFreqFile, FrequencyFileBytes(table, ColRxFreq)},
                   WorkingFileBytes{kTxFreqFile, FrequencyFileBytes(table, ColTxFreq)}};
    reset.done = kFrequencyResetDone;
    reset.wouldDo = kFrequencyResetWould;
    resets.push_back(std::move(reset));
    return Status::Ok();
}

Status SaveFrequencyFiles(const Workspace& ws) {
    SavePoint point(ws.programFolder);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveWorkingFile(ws.programFolder, kRxFreqFile, FrequencyFileBytes(ws.channels, ColRxFreq));
    (void)SaveWorkingFile(ws.programFolder, kTxFreqFile, FrequencyFileBytes(ws.channels, ColTxFreq));
    return point.Commit();
}

Status LoadToneFile(Workspace& ws, FileResets& resets) {
    const auto path = FileIn(ws, kToneFile);
    auto read = ReadIntegerFile(path);
    if (!read) return read.status();
    IntegerFile& file = read.value();
    if (file.marker.empty()) {
        file.values.fill(0);
        resets.push_back(SingleFileReset(kToneFile, EmptyMarkerProblem(path, file), IntegerFileBytes(kToneMarker, file.values)));
    }
    for (int row = 1; row <= kChannelCount; ++row) {
        const int value = file.values[row];
        const bool isDcs = value >= kToneNumberDcsOffset + 1;
        ws.channels.SetCell(row, ColCtcss, CtcssLabel(isDcs ? 0 : value));
        ws.channels.SetCell(row, ColDcs, DcsLabel(isDcs ? value - kToneNumberDcsOffset : 0, ws.edition));
    }
    return Status::Ok();
}

Status SaveToneFile(const Workspace& ws) {
    std::array<int16_t, kRowCount> values{};
    for (int row = 1; row <= kChannelCount; ++row) {
        const int tone = ToneNumberDcsFirst(ws.channels.GetCell(row, ColCtcss), ws.channels.GetCell(row, ColDcs), ws.edition);
        values[row] = ToInt16(tone);
    }
    return SaveWorkingFile(ws.programFolder, kToneFile, IntegerFileBytes(kToneMarker, values));
}

Status LoadFlagFile(Workspace& ws, FlagField field, FileResets& resets) {
    const FlagFileSpec& spec = SpecOf(field);
    const auto path = FileIn(ws, spec.fileName);
    auto read = ReadIntegerFile(path);
    if (!read) return read.status();
    IntegerFile& file = read.value();
    if (file.marker.empty()) {
        file.values.fill(spec.resetValue);
        resets.push_back(SingleFileReset(spec.fileName, EmptyMarkerProblem(path, file),
                                         IntegerFileBytes(spec.resetMarker, file.values)));
    }
    for (int row = 1; row <= kChannelCount; ++row) {
        const std::string_view word = file.values[row] == 0 ? spec.wordForZero : spec.wordForOther;
        ws.channels.SetCell(row, spec.column, std::string(word));
    }
    return Status::Ok();
}

Status SaveFlagFile(const Workspace& ws, FlagField field) {
    const FlagFileSpec& spec = SpecOf(field);
    std::array<int16_t, kRowCount> values{};
    for (int row = 1; row <= kChannelCount; ++row) {
        values[row] = ws.channels.GetCell(row, spec.column) == spec.wordForZero ? 0 : 1;
    }
    return SaveWorkingFile(ws.programFolder, spec.fileName, IntegerFileBytes(kSavedFlagMarker, values));
}

Status LoadChannelFiles(Workspace& ws, FileResets& resets) {
    Status status = LoadFrequencyFiles(ws, resets);
    status = FirstFailure(status, LoadToneFile(ws, resets));
    for (const auto& spec : kFlagFiles) status = FirstFailure(status, LoadFlagFile(ws, spec.field, resets));
    return status;
}

Status LoadFrequencyFiles(Workspace& ws) {
    FileResets resets;
    if (Status loaded = LoadFrequencyFiles(ws, resets); !loaded) return loaded;
    return ApplyResets(ws, resets);
}

Status LoadToneFile(Workspace& ws) {
    FileResets resets;
    if (Status loaded = LoadToneFile(ws, resets); !loaded) return loaded;
    return ApplyResets(ws, resets);
}

Status LoadFlagFile(Workspace& ws, FlagField field) {
    FileResets resets;
    if (Status loaded = LoadFlagFile(ws, field, resets); !loaded) return loaded;
    return ApplyResets(ws, resets);
}

Status LoadChannelFiles(Workspace& ws) {
    FileResets resets;
    const Status loaded = LoadChannelFiles(ws, resets);
    return FirstFailure(loaded, ApplyResets(ws, resets));
}

Status SaveChannelFiles(const Workspace& ws) {
    SavePoint point(ws.programFolder);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveFrequencyFiles(ws);
    (void)SaveToneFile(ws);
    for (const auto& spec : kFlagFiles) (void)SaveFlagFile(ws, spec.field);
    return point.Commit();
}

}  // namespace corvane

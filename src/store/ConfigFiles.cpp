#include "store/ConfigFiles.h"

#include <string>
#include <vector>

#include "model/CodePage.h"
#include "model/Edition.h"
#include "model/GroupTable.h"
#include "model/SettingsRecord.h"
#include "store/ImageBackups.h"
#include "store/SavePoint.h"
#include "store/TextLines.h"

namespace corvane {

namespace {

constexpr int16_t kDefaultEdition = kEditionKorea;
// Group.txt line 13 doubles as the file's presence marker.
inline constexpr std::string_view kEmptyFreqSetText = "0";

// Port.txt line order. HiddenSetting8 appears twice (lines 19 and 27), so on
// reading line 27 is the one that counts.
template <typename W, typename Visit>
void ForEachConfigLine(W& ws, Visit&& visit) {
    auto& s = ws.settings;
    visit(ws.portName);
    visit(ws.edition);
    visit(ws.channelMode);
    visit(s.FunctionFlags1);
    visit(s.FunctionFlags2);
    visit(s.ScanDelayTime);
    visit(s.ScanStayTime);
    visit(s.SpareSetting1);
    visit(s.SpareSetting2);
    visit(s.ResumeTime);
    visit(s.TotalTime);
    visit(s.Bclo);
    visit(s.BacklightType);
    visit(s.BacklightOnTime);
    visit(s.SqTail);
    visit(s.VoxLevel);
    visit(s.VoxAttackTime);
    visit(s.VoxReleaseTime);
    visit(s.HiddenSetting8);
    visit(s.PowerSaveOnTime);
    visit(s.PowerSaveOffTime);
    visit(s.SpareSetting3);
    visit(s.KeyP1Side);
    visit(s.KeyP2Left);
    visit(s.KeyP3Center);
    visit(s.KeyP4Right);
    visit(s.HiddenSetting8);
    visit(s.HiddenSetting23);
    visit(s.DtmfGenerationTime);
    visit(s.DtmfPauseTime);
    visit(s.DtmfDelayTime);
    visit(s.DtmfId);
    visit(s.NameId);
    visit(s.PriChannel);
    visit(s.CallTone);
    visit(s.PowerControl);
    visit(s.BandSelect);
    visit(s.Squelch);
    visit(s.SpareSetting4);
}

// Group.txt line order.
template <typename G, typename Visit>
void ForEachGroupLine(G& g, Visit&& visit) {
    for (auto& size : g.GroupSize) visit(size);
    visit(g.GroupsEnabled);
    visit(g.GroupSlotCount);
    visit(g.FreqSetStartChannel);
    visit(g.FreqSetLastChannel);
    visit(g.FreqSetStartFrequency);
    visit(g.FreqSetTarget);
    visit(g.FreqSetDirection);
    visit(g.FreqSetBand);
    visit(g.FreqSetScan);
    visit(g.FreqSetStepIndex);
    visit(g.ToneSetKind);
    visit(g.ToneSetDirection);
    visit(g.ToneSetStepIndex);
    visit(g.ToneSetStartCode);
    visit(g.ToneSetStartChannel);
    visit(g.ToneSetLastChannel);
}

// Assigns line after line; fields past the end of a short file, and fields
// whose line holds a number that does not fit them, keep their value.
// Texts are stored in Windows-1252 and held as UTF-8.
class LineReader {
public:
    explicit LineReader(const std::vector<std::string>& lines) : lines_(lines) {}

    void operator()(std::string& field) {
        if (const auto* line = Next()) field = Windows1252ToUtf8(LineValue(*line));
    }
    void operator()(int16_t& field) {
        if (const auto* line = Next()) field = ReadInt16Value(*line).value_or(field);
    }
    void operator()(uint8_t& field) {
        if (const auto* line = Next()) field = ReadByteValue(*line).value_or(field);
    }

private:
    const std::string* Next() { return index_ < lines_.size() ? &lines_[index_++] : nullptr; }

    const std::vector<std::string>& lines_;
    std::size_t index_ = 0;
};

class LineWriter {
public:
    void operator()(const std::string& field) { lines_.push_back(TextValueForLine(Utf8ToWindows1252(field))); }
    void operator()(int16_t field) { lines_.push_back(FormatIntegerValue(field)); }
    void operator()(uint8_t field) { lines_.push_back(FormatIntegerValue(field)); }

    std::string Body() const { return JoinLines(lines_); }

private:
    std::vector<std::string> lines_;
};

Result<ValueLines> ReadLines(const std::filesystem::path& path, int maxLines) {
    return ReadValueLines(path, static_cast<std::size_t>(maxLines));
}

void SetFreqSetTexts(GroupTable& groups, std::string_view text) {
    groups.FreqSetStartChannel = text;
    groups.FreqSetLastChannel = text;
    groups.FreqSetStartFrequency = text;
}

constexpr std::string_view kResetDone = "it was reset to its defaults";
constexpr std::string_view kResetWould = "it would be reset to its defaults";
// Group.txt line 13 (FreqSetStartChannel), the file's presence marker.
constexpr std::size_t kGroupMarkerLine = 13;

// Why a file read as missing or without the value on line `line`.
std::string ResetProblem(const std::filesystem::path& path, const ValueLines& read, std::size_t line, int expectedLines,
                         std::string_view emptyLineProblem) {
    if (!read.found) {
        const std::string problem = UnreadableProblem(path);
        return problem.empty() ? std::string("cannot be read") : problem;
    }
    if (read.lines.size() < line) return ShortFileProblem(read.lines.size(), static_cast<std::size_t>(expectedLines));
    return std::string(emptyLineProblem);
}

FileReset Reset(const char* name, std::string problem, std::string bytes) {
    return FileReset{{DamagedFile{name, std::move(problem)}}, {WorkingFileBytes{name, std::move(bytes)}},
                     std::string(kResetDone), std::string(kResetWould)};
}

std::string ConfigFileBytes(const Workspace& ws) {
    LineWriter writer;
    ForEachConfigLine(ws, writer);
    return writer.Body();
}

// Applies the empty-text rule to the workspace, then the file's bytes.
std::string GroupFileBytes(Workspace& ws) {
    GroupTable& groups = ws.groups;
    if (groups.FreqSetStartChannel.empty()) SetFreqSetTexts(groups, kEmptyFreqSetText);
    LineWriter writer;
    ForEachGroupLine(groups, writer);
    return writer.Body();
}

}  // namespace

Status LoadConfigFile(Workspace& ws, FileResets& resets) {
    const auto path = ws.programFolder / kConfigFile;
    const auto read = ReadLines(path, kConfigFileLines);
    // A file too large to read is left alone, and so is everything it holds.
    if (!read) return read.status();
    ForEachConfigLine(ws, LineReader(read->lines));
    if (!ws.portName.empty()) return Status::Ok();

    ws.portName = kDefaultPortName;
    ws.edition = kDefaultEdition;
    ws.channelMode = kModeDefault;
    ApplyRadioDefaults(ws.settings);
    resets.push_back(Reset(kConfigFile, ResetProblem(path, *read, 1, kConfigFileLines, "has no serial port on its first line"),
                           ConfigFileBytes(ws)));
    return Status::Ok();
}

Status LoadConfigFile(Workspace& ws) {
    FileResets resets;
    if (Status loaded = LoadConfigFile(ws, resets); !loaded) return loaded;
    return ApplyResets(ws, resets);
}

Status SaveConfigFile(const Workspace& ws) { return SaveWorkingFile(ws.programFolder, kConfigFile, ConfigFileBytes(ws)); }

Status LoadGroupFile(Workspace& ws, FileResets& resets) {
    const auto path = ws.programFolder / kGroupFile;
    const auto read = ReadLines(path, kGroupFileLines);
    if (!read) return read.status();
    GroupTable& groups = ws.groups;
    ForEachGroupLine(groups, LineReader(read->lines));
    if (groups.FreqSetStartChannel.empty()) {
        ResetGroupSetup(groups);
        resets.push_back(Reset(kGroupFile, ResetProblem(path, *read, kGroupMarkerLine, kGroupFileLines, "has an empty line 13"),
                               GroupFileBytes(ws)));
        return Status::Ok();
    }
    if (groups.FreqSetStartChannel == kEmptyFreqSetText) SetFreqSetTexts(groups, "");
    return Status::Ok();
}

Status LoadGroupFile(Workspace& ws) {
    FileResets resets;
    if (Status loaded = LoadGroupFile(ws, resets); !loaded) return loaded;
    return ApplyResets(ws, resets);
}

Result<std::string> LoadGroupFileAndTell(Workspace& ws) {
    FileResets resets;
    if (Status loaded = LoadGroupFile(ws, resets); !loaded) return loaded;
    return ApplyResetsAndTell(ws.programFolder, resets, DefaultBackupFolder(ws));
}

Status SaveGroupFile(Workspace& ws) { return SaveWorkingFile(ws.programFolder, kGroupFile, GroupFileBytes(ws)); }

}  // namespace corvane

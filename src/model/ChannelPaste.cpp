#include "model/ChannelPaste.h"

#include <algorithm>
#include <array>
#include <optional>

#include "model/Edition.h"
#include "model/Frequency.h"
#include "model/NumberParse.h"
#include "model/ToneTable.h"

namespace corvane {

namespace {

constexpr std::string_view kRefused = "Paste refused:";
constexpr int kDataColumnCount = kColumnCount - ColRxFreq;  // RX - FREQ .. COM

using Line = std::vector<std::string>;

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

Line SplitCells(std::string_view line) {
    Line cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(Trimmed(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start)));
        if (tab == std::string_view::npos) return cells;
        start = tab + 1;
    }
}

// Lines without their CR, trailing empty lines dropped.
std::vector<Line> SplitLines(std::string_view text) {
    std::vector<std::string_view> raw;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        raw.push_back(line);
        start = end + 1;
    }
    while (!raw.empty() && Trimmed(raw.back()).empty()) raw.pop_back();
    std::vector<Line> lines;
    for (std::string_view line : raw) lines.push_back(SplitCells(line));
    return lines;
}

int ColumnOfTitle(std::string_view title) {
    for (int col = 0; col < kColumnCount; ++col)
        if (kColumnHeaders[col] == title) return col;
    return -1;
}

// "No" is both a title and a SCAN value, so it alone does not make a title line.
bool IsTitleLine(const Line& line) {
    const auto title = [](const std::string& cell) { return ColumnOfTitle(cell) >= 0; };
    const auto otherThanNo = [](const std::string& cell) { return ColumnOfTitle(cell) > ColLabel; };
    return std::any_of(line.begin(), line.end(), otherThanNo) || std::all_of(line.begin(), line.end(), title);
}

std::string Shown(const std::string& text) { return text.empty() ? "an empty cell" : text; }

bool Contains(std::span<const std::string> list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

struct WordPair {
    std::string_view first;
    std::string_view second;
};

std::optional<WordPair> WordsOf(int col) {
    switch (col) {
        case ColScan: return WordPair{kYes, kNo};
        case ColBand: return WordPair{kWide, kNarrow};
        case ColPower: return WordPair{kHigh, kLow};
        case ColScrambler:
        case ColCompander: return WordPair{kOn, kOff};
        default: return std::nullopt;
    }
}

// What is wrong with one cell, or "" when the editors would accept it.
std::string CellProblem(int col, const std::string& text, const PasteRules& rules) {
    if (col == ColRxFreq || col == ColTxFreq) {
        switch (CheckFrequencyEntry(text)) {
            case FrequencyCheck::RangeError: return Shown(text) + " is outside 420-450 MHz";
            case FrequencyCheck::DivideError: return Shown(text) + " is not on the 6.25 kHz raster";
            case FrequencyCheck::Ok:
            case FrequencyCheck::Empty: return {};
        }
    }
    if (col == ColCtcss) return Contains(CtcssList(), text) ? std::string() : Shown(text) + " is not a CTCSS tone";
    if (col == ColDcs) return Contains(DcsListFor(rules.edition), text) ? std::string() : Shown(text) + " is not a DCS code";
    if (const auto words = WordsOf(col)) {
        if (text == words->first || text == words->second) return {};
        return Shown(text) + " is not " + std::string(words->first) + " or " + std::string(words->second);
    }
    return {};
}

bool IsPasted(int col, const PasteRules& rules) {
    if (col == ColLabel || col == ColGroup) return false;  // groups follow the group table
    if (rules.channelMode == kModeDefault) return col != ColRxFreq && col != ColTxFreq && col != ColBand;
    return true;
}

class Refusal {
public:
    void Add(std::string line) {
        ++count_;
        if (count_ <= kPasteErrorsListed) text_ += "\n" + line;
    }
    bool Empty() const { return count_ == 0; }
    Status ToStatus() const {
        std::string message = std::string(kRefused) + text_;
        if (count_ > kPasteErrorsListed) message += "\n... and " + std::to_string(count_ - kPasteErrorsListed) + " more";
        return Status::Error(message);
    }

private:
    int count_ = 0;
    std::string text_;
};

std::string RowPrefix(int dataRow) { return "row " + std::to_string(dataRow); }

// The table column of each cell position, from the title line or by count.
std::vector<int> LayoutFromTitles(const Line& titles, Refusal& refusal) {
    std::vector<int> columns;
    std::array<bool, kColumnCount> seen{};
    for (const std::string& title : titles) {
        const int col = ColumnOfTitle(title);
        if (col < 0) {
            refusal.Add("title line: unknown column " + Shown(title));
        } else if (seen[col]) {
            refusal.Add("title line: column " + title + " appears twice");
        } else {
            seen[col] = true;
        }
        columns.push_back(col);
    }
    return columns;
}

std::vector<int> LayoutByCount(std::size_t count) {
    std::vector<int> columns;
    const int first = count == kColumnCount ? ColLabel : ColRxFreq;
    for (int col = first; col < kColumnCount; ++col) columns.push_back(col);
    return columns;
}

// A channel taking both a CTCSS tone and a DCS code, or one of them alone
// switching the other off as the pickers do.
void CheckTonePair(const std::vector<int>& columns, const Line& cells, int row, int dataRow, const PasteRules& rules,
                   PastePlan& plan, Refusal& refusal) {
    const std::string* ctcss = nullptr;
    const std::string* dcs = nullptr;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == ColCtcss) ctcss = &cells[i];
        if (columns[i] == ColDcs) dcs = &cells[i];
    }
    // A cell refused on its own is already listed.
    if (ctcss != nullptr && !CellProblem(ColCtcss, *ctcss, rules).empty()) return;
    if (dcs != nullptr && !CellProblem(ColDcs, *dcs, rules).empty()) return;
    const bool ctcssOn = ctcss != nullptr && *ctcss != kCtcssOff;
    const bool dcsOn = dcs != nullptr && *dcs != kDcsOff;
    if (ctcssOn && dcsOn) {
        refusal.Add(RowPrefix(dataRow) + ", CTCSS/DCS: a channel takes a CTCSS tone or a DCS code, not both");
    } else if (ctcssOn && dcs == nullptr) {
        plan.cells.push_back({row, ColDcs, std::string(kDcsOff)});
    } else if (dcsOn && ctcss == nullptr) {
        plan.cells.push_back({row, ColCtcss, std::string(kCtcssOff)});
    }
}

}  // namespace

std::string CopyChannels(const ChannelTable& table, int firstRow, int lastRow) {
    std::string text;
    const auto appendLine = [&](int row) {
        for (int col = 0; col < kColumnCount; ++col) {
            if (col > 0) text += '\t';
            text += table.GetCell(row, col);
        }
        text += '\n';
    };
    appendLine(0);
    for (int row = std::max(firstRow, 1); row <= std::min(lastRow, kChannelCount); ++row) appendLine(row);
    return text;
}

Result<PastePlan> PlanPaste(std::string_view text, int startRow, const PasteRules& rules) {
    std::vector<Line> lines = SplitLines(text);
    PastePlan plan;
    plan.firstRow = startRow;
    if (lines.empty()) return plan;

    Refusal refusal;
    const bool titled = IsTitleLine(lines.front());
    std::vector<int> columns;
    if (titled) {
        columns = LayoutFromTitles(lines.front(), refusal);
        lines.erase(lines.begin());
    } else if (lines.front().size() == kColumnCount || lines.front().size() == kDataColumnCount) {
        columns = LayoutByCount(lines.front().size());
    } else {
        refusal.Add(RowPrefix(1) + ": " + std::to_string(lines.front().size()) + " columns; a channel line has " +
                    std::to_string(kColumnCount) + " or " + std::to_string(kDataColumnCount));
        return refusal.ToStatus();
    }
    if (!refusal.Empty()) return refusal.ToStatus();

    plan.rowCount = static_cast<int>(lines.size());
    if (startRow < 1 || startRow > kChannelCount) {
        refusal.Add("channel " + std::to_string(startRow) + " does not exist");
        return refusal.ToStatus();
    }
    const int lastRow = startRow + plan.rowCount - 1;
    if (lastRow > kChannelCount) {
        refusal.Add(std::to_string(plan.rowCount) + " channels from channel " + std::to_string(startRow) +
                    " would end at channel " + std::to_string(lastRow) + "; the last channel is " +
                    std::to_string(kChannelCount));
        return refusal.ToStatus();
    }

    for (int index = 0; index < plan.rowCount; ++index) {
        const Line& cells = lines[static_cast<std::size_t>(index)];
        const int dataRow = index + 1;
        const int row = startRow + index;
        if (cells.size() != columns.size()) {
            refusal.Add(RowPrefix(dataRow) + ": " + std::to_string(cells.size()) + " columns, expected " +
                        std::to_string(columns.size()));
            continue;
        }
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int col = columns[i];
            if (!IsPasted(col, rules)) continue;
            std::string text = cells[i];
            // A decimal comma reads as the frequency editor reads it: as a point.
            if (col == ColRxFreq || col == ColTxFreq) std::replace(text.begin(), text.end(), ',', '.');
            const std::string problem = CellProblem(col, text, rules);
            if (!problem.empty()) {
                refusal.Add(RowPrefix(dataRow) + ", " + std::string(kColumnHeaders[col]) + ": " + problem);
                continue;
            }
            plan.cells.push_back({row, col, std::move(text)});
        }
        CheckTonePair(columns, cells, row, dataRow, rules, plan, refusal);
    }
    if (!refusal.Empty()) return refusal.ToStatus();
    return plan;
}

void ApplyPaste(const PastePlan& plan, ChannelTable& table) {
    for (const PasteCell& cell : plan.cells) {
        if (cell.col == ColRxFreq || cell.col == ColTxFreq) {
            table.SetFrequencyCell(cell.text.empty() ? 0.0 : LenientNumber(cell.text), cell.row, cell.col);
        } else {
            table.SetCell(cell.row, cell.col, cell.text);
        }
    }
}

}  // namespace corvane

#pragma once
// Channels as tab-separated text (what a spreadsheet copies and pastes) and
// the checks a pasted text must pass before it may touch the table.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/ChannelTable.h"
#include "model/Status.h"

namespace corvane {

// Refusals list at most this many bad cells, then how many more there were.
constexpr int kPasteErrorsListed = 20;

// Channels firstRow..lastRow (all 11 columns) under a line of the column
// titles; every line ends with '\n'.
std::string CopyChannels(const ChannelTable& table, int firstRow, int lastRow);

struct PasteRules {
    int16_t edition = 0;    // picks the DCS list
    uint8_t channelMode = 0;  // Default mode keeps RX, TX and BAND as they are
};

struct PasteCell {
    int row = 0;
    int col = 0;
    std::string text;  // a frequency is stored normalized by ApplyPaste
};

struct PastePlan {
    int firstRow = 1;
    int rowCount = 0;  // 0: the text held no channel lines
    std::vector<PasteCell> cells;
};

// Reads the text as channel lines to be placed from channel startRow on:
// with or without the title line (columns by title, else 11 columns or the
// 9 from RX - FREQ to COM). No and GROUP are never pasted. Any bad cell
// refuses the whole text; the message lists them all.
Result<PastePlan> PlanPaste(std::string_view text, int startRow, const PasteRules& rules);

// Writes a plan made by PlanPaste; frequencies go through SetFrequencyCell.
void ApplyPaste(const PastePlan& plan, ChannelTable& table);

}  // namespace corvane

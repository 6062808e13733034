#include "model/CellEditing.h"

#include <array>

#include "model/CodePage.h"
#include "model/NumberParse.h"
#include "model/ToneTable.h"

namespace corvane {

namespace {

constexpr char16_t kBackspace = 8;
constexpr int kFirstPickerColumn = ColCtcss;  // Combo1 edits column 4, Combo7 column 10
constexpr int kCtcssPicker = 1;
constexpr int kDcsPicker = 2;

struct TwoEntries {
    std::string_view first;   // index 0
    std::string_view second;  // index 1
};

// Combo3..Combo7: the two entries in index order.
constexpr std::array<TwoEntries, 5> kTwoWayPickers{{
    {kNo, kYes},
    {kNarrow, kWide},
    {kLow, kHigh},
    {kOff, kOn},
    {kOff, kOn},
}};

bool IsChannelRow(int row) { return row >= 1 && row <= kChannelCount; }
bool IsFrequencyColumn(int col) { return col == ColRxFreq || col == ColTxFreq; }
bool Custom(const Workspace& ws) { return ws.channelMode != kModeDefault; }

void StoreFrequency(Workspace& ws, CellRef cell, double mhz) {
    const int row = cell.row;
    if (cell.col == ColRxFreq) {
        ws.channels.SetFrequencyCell(mhz, row, ColRxFreq);
        ws.channels.SetFrequencyCell(mhz, row, ColTxFreq);
    } else if (cell.col == ColTxFreq) {
        ws.channels.SetFrequencyCell(mhz, row, ColTxFreq);
    }
}

bool IsFrequencyCell(CellRef cell) { return IsChannelRow(cell.row) && IsFrequencyColumn(cell.col); }

}  // namespace

std::optional<char16_t> FilterFrequencyKey(char16_t typed) {
    if ((typed >= u'0' && typed <= u'9') || (typed >= u'A' && typed <= u'Z')) return typed;
    if (typed == u'.' || typed == kBackspace) return typed;
    if (typed == u',') return u'.';
    return std::nullopt;
}

int PickerColumn(int picker) {
    return picker >= 1 && picker <= kPickerCount ? picker + kFirstPickerColumn - 1 : -1;
}

int PickerOfColumn(int col) {
    return col >= kFirstPickerColumn && col < kFirstPickerColumn + kPickerCount ? col - kFirstPickerColumn + 1 : 0;
}

std::vector<std::string> PickerEntries(int picker, int16_t edition) {
    if (picker == kCtcssPicker) {
        const auto list = CtcssList();
        return {list.begin(), list.end()};
    }
    if (picker == kDcsPicker) {
        const auto list = DcsListFor(edition);
        return {list.begin(), list.end()};
    }
    if (picker < 3 || picker > kPickerCount) return {};
    const TwoEntries& two = kTwoWayPickers[static_cast<std::size_t>(picker - 3)];
    return {std::string(two.first), std::string(two.second)};
}

CellEditorChoice EditorForCell(const Workspace& ws, int row, int col) {
    if (!IsChannelRow(row)) return {};
    const std::string& cell = ws.channels.GetCell(row, col);
    switch (col) {
    case ColRxFreq:
    case ColTxFreq:
        return Custom(ws) ? CellEditorChoice{CellEditorKind::Text, 0, 0} : CellEditorChoice{};
    case ColCtcss:
        return {CellEditorKind::Picker, kCtcssPicker, CtcssCode(cell)};
    case ColDcs:
        return {CellEditorKind::Picker, kDcsPicker, DcsCode(cell, ws.edition)};
    case ColBand:
        if (!Custom(ws)) return {};
        [[fallthrough]];
    case ColScan:
    case ColPower:
    case ColScrambler:
    case ColCompander: {
        const int picker = PickerOfColumn(col);
        const bool second = cell == kTwoWayPickers[static_cast<std::size_t>(picker - 3)].second;
        return {CellEditorKind::Picker, picker, second ? 1 : 0};
    }
    default:
        return {};
    }
}

bool TypingOpensTextEditor(const Workspace& ws, int row, int col) {
    return Custom(ws) && IsChannelRow(row) && IsFrequencyColumn(col);
}

bool OpensOnCellText(int keyCode) { return keyCode >= 0 && keyCode <= kLastControlKey; }

std::string TextEditorOpeningText(const Workspace& ws, int row, int col, int keyCode) {
    if (OpensOnCellText(keyCode)) return ws.channels.GetCell(row, col);
    // One typed character; the editor's key filter has not seen it yet.
    std::string text;
    AppendUtf8(text, static_cast<char32_t>(keyCode));
    return text;
}

FrequencyCheck CommitFrequencyOnEnter(Workspace& ws, CellRef cell, std::string_view text) {
    const FrequencyCheck check = CheckFrequencyEntry(text);
    if (!IsFrequencyCell(cell)) return check;
    if (check == FrequencyCheck::Ok) {
        StoreFrequency(ws, cell, LenientNumber(text));
    } else {
        ws.channels.SetCell(cell.row, cell.col, std::string());
    }
    return check;
}

FrequencyCheck CommitFrequencyOnLeave(Workspace& ws, CellRef cell, std::string_view text) {
    const FrequencyCheck check = CheckFrequencyEntry(text);
    if (check == FrequencyCheck::Ok && IsFrequencyCell(cell)) StoreFrequency(ws, cell, LenientNumber(text));
    return check;
}

bool ApplyPick(Workspace& ws, int row, int col, int picker, int index) {
    if (!IsChannelRow(row) || PickerColumn(picker) != col) return false;
    const std::vector<std::string> entries = PickerEntries(picker, ws.edition);
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return false;
    if (col == ColCtcss) ws.channels.SetCell(row, ColDcs, std::string(kDcsOff));
    if (col == ColDcs) ws.channels.SetCell(row, ColCtcss, std::string(kCtcssOff));
    ws.channels.SetCell(row, col, entries[static_cast<std::size_t>(index)]);
    return true;
}

}  // namespace corvane

#pragma once
// What editing one grid cell means, for every face of the program: which
// editor a cell gets in which mode, the frequency editor's key filter and
// length, the pickers' entries, and how an entry or a pick is written.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Frequency.h"
#include "model/Workspace.h"

namespace corvane {

constexpr int kFrequencyEditMaxLength = 9;  // characters the user may type
constexpr int kPickerCount = 7;             // Combo1..Combo7
constexpr int kLastControlKey = 32;         // key codes 0..32 open the editor on the cell's text

// The character a typed character becomes, or nullopt when it is swallowed.
std::optional<char16_t> FilterFrequencyKey(char16_t typed);

// A grid cell; the views keep the one their open frequency editor belongs to.
struct CellRef {
    int row = 1;
    int col = 1;
};

enum class CellEditorKind { None, Text, Picker };

struct CellEditorChoice {
    CellEditorKind kind = CellEditorKind::None;
    int picker = 0;  // 1..7 for a picker
    int index = 0;   // the entry preselected when it opens
};

// What a click on (row, col) opens, with the current mode and edition.
CellEditorChoice EditorForCell(const Workspace& ws, int row, int col);
// Whether a character typed into the grid opens the frequency editor there.
bool TypingOpensTextEditor(const Workspace& ws, int row, int col);
// Whether a key code opens the frequency editor on the cell's text (control
// keys, Enter, the space bar) rather than on the typed character.
bool OpensOnCellText(int keyCode);
// The text the frequency editor opens with for a key code.
std::string TextEditorOpeningText(const Workspace& ws, int row, int col, int keyCode);

// The grid column a picker edits, and the picker of a column (0 for none).
int PickerColumn(int picker);
int PickerOfColumn(int col);
// A picker's entries in index order; Combo2 holds the edition's DCS list.
std::vector<std::string> PickerEntries(int picker, int16_t edition);

// Enter in the frequency editor: the check, then the entry written into the
// editor's cell (RX also sets TX); an empty or refused entry empties the cell.
// The check's result tells the caller which message to show.
FrequencyCheck CommitFrequencyOnEnter(Workspace& ws, CellRef cell, std::string_view text);
// Leaving the cell: the same, except that an empty or refused entry leaves
// the cell as it was.
FrequencyCheck CommitFrequencyOnLeave(Workspace& ws, CellRef cell, std::string_view text);

// A pick: the entry's text into (row, col); a tone switches the other tone
// off. False (and nothing written) for a picker that does not belong to the
// column or an index outside its entries.
bool ApplyPick(Workspace& ws, int row, int col, int picker, int index);

}  // namespace corvane

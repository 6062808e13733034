#pragma once
// The in-place editors of the channel grid: Text1 for the two frequency
// columns and the pickers Combo1..Combo7 for the others. At most one is
// visible; it floats exactly over the grid's current cell.
#include <QObject>
#include <array>

#include "model/CellEditing.h"
#include "model/Workspace.h"

class QComboBox;
class QModelIndex;
class QWidget;

namespace corvane {

class CellPicker;
class FrequencyEdit;
class FrozenColumnTableView;
class MessageSink;
class UndoHistory;

class CellEditors final : public QObject {
    Q_OBJECT
public:
    // The editors become children of host, which must contain the grid.
    CellEditors(Workspace& ws, MessageSink& messages, FrozenColumnTableView& grid, QWidget& host);

    // Fills the pickers from the tone lists of the current edition.
    void FillPickers();
    // Hides every editor; nothing is written.
    void CloseCellEditors();

    FrequencyEdit* Text1() const { return text1_; }
    CellPicker* Picker(int number) const { return pickers_.at(number - 1); }  // Combo1..Combo7
    bool AnyEditorVisible() const;
    // The cell Text1 writes into; back to the first channel's RX when channels are loaded.
    CellRef EditCell() const { return editCell_; }
    void ResetEditCell() { editCell_ = CellRef{}; }
    // Every commit becomes one step of this history (none when null).
    void SetHistory(UndoHistory* history) { history_ = history; }

    // While non-zero, picks are ignored (they are the program's own selections).
    int16_t SuppressComboClicks = 0;

    // Grid events, public so the window can route them.
    void OnCellClicked();
    void OnKeyTyped(int code);
    void OnCellLeft();
    void OnScrolled();

private:
    void OpenTextEditor(int code);
    void OpenPicker(int number, int index);
    void Text1_Enter();
    void Text1_Escape();
    // Focus went elsewhere (Tab, a click outside the grid): as leaving the cell.
    void Text1_FocusLeft();
    // The focus went to another window of the program (the group window):
    // as leaving the cell. A modal box, a list or another program does not count.
    void OnFocusChanged(QWidget* now);
    // Leaving the cell: a good entry is stored into the edit cell, an empty or
    // refused one changes nothing; Text1 closes either way.
    void CommitTextOnLeave();
    void ClosePickerForGrid();
    void PassKeyToGrid(int key, Qt::KeyboardModifiers modifiers);
    // Scrolls the current cell into sight; false when it still is not (no editor may open).
    bool BringCurrentCellIntoView();
    void ComboClick(int number, int index);
    // A refused entry empties Text1 after the check's message.
    void ShowRefusal(FrequencyCheck check);
    void HidePickers();
    void PlaceOverCurrentCell(QWidget& editor, bool takeCellHeight);
    int CurrentRow() const;     // table row, 1..255; 0 when none
    int CurrentColumn() const;  // -1 when none

    Workspace& ws_;
    MessageSink& messages_;
    FrozenColumnTableView& grid_;
    QWidget& host_;
    FrequencyEdit* text1_;
    std::array<CellPicker*, kPickerCount> pickers_{};
    int16_t dcsPickerEdition_ = 0;  // the edition whose DCS list Combo2 holds
    UndoHistory* history_ = nullptr;
    CellRef editCell_;
};

}  // namespace corvane

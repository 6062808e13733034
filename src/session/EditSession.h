#pragma once
// The channel grid's editing, the Mode menu, New File and the Edit menu as
// the page runs them: each call is one user action on the workspace,
// recorded as one undo step. The rules live in the core; this only runs
// them in order.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/CellEditing.h"
#include "model/StepHistory.h"
#include "model/Workspace.h"
#include "store/SavePoint.h"

namespace corvane {

class EditSession {
public:
    explicit EditSession(Workspace& ws) : ws_(ws) {}

    // Brackets one user action as one undo step for its scope; the setup
    // and group windows use it too. What the outermost step saves, and the
    // whole set as it ends, is written as one set.
    class Step {
    public:
        Step(EditSession& session, std::string_view name);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        EditSession& session_;
        std::optional<SavePoint> point_;
    };

    // Hears why a step's save failed.
    void SetSaveProblemSink(std::function<void(const std::string&)> sink) { saveProblem_ = std::move(sink); }

    // ---- cell editors ----
    // The editor a click on the cell opens.
    CellEditorChoice EditorFor(int row, int col) const;
    bool TypingOpensEditor(int row, int col) const;
    // Opens Text1 over the cell: its starting text; the cell becomes EditCell.
    std::string OpenTextEditor(int row, int col, int keyCode);
    // Whether it opened on the cell's text (then shown all selected).
    bool OpensOnCellText(int keyCode) const;
    // The character code a typed one becomes, -1 when it is swallowed.
    int FilterKey(int code) const;
    int MaxLength() const;
    std::vector<std::string> PickerEntries(int picker) const;
    // Enter in Text1 on the grid's current cell, and leaving the cell: the
    // refusal message to show ("" for none).
    std::string CommitOnEnter(int row, int col, const std::string& text);
    std::string CommitOnLeave(const std::string& text);
    bool Pick(int row, int col, int picker, int index);

    // ---- frame ----
    // The failed saves' messages, in order.
    std::vector<std::string> SelectMode(int mode);
    std::vector<std::string> NewFile();

    // ---- Edit menu ----
    // The run's undo history, which the desktop's Edit menu drives as well.
    StepHistory& History() { return history_; }
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::string UndoName() const { return history_.UndoName(); }
    std::string RedoName() const { return history_.RedoName(); }
    // "" or why the files could not follow.
    std::string Undo();
    std::string Redo();
    void SetLocked(bool locked) { history_.SetLocked(locked); }
    // Another folder's files replaced the workspace: its steps do not apply there.
    void ForgetSteps() { history_.Clear(); }
    // A read from the radio, from its first byte to the decoded workspace.
    void BeginReadStep() { history_.Begin(ws_, std::string(steps::kReadFromRadio)); }
    void EndReadStep() { history_.End(ws_); }

    std::string CopyChannels(int firstRow, int lastRow) const;
    // A refusal's message, or how many channels were placed.
    struct PasteOutcome {
        std::string message;
        int rows = 0;
    };
    PasteOutcome Paste(const std::string& text, int startRow);

private:
    void ReportSave(const Status& saved) const;

    Workspace& ws_;
    StepHistory history_;
    std::function<void(const std::string&)> saveProblem_;
    CellRef editCell_;  // the cell the open frequency editor belongs to
};

}  // namespace corvane

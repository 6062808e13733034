#include "web/EditSession.h"

#include "model/CellEditing.h"
#include "model/ChannelPaste.h"
#include "store/FrameActions.h"

namespace corvane::web {

namespace {

const char* KindName(CellEditorKind kind) {
    switch (kind) {
    case CellEditorKind::Text: return "text";
    case CellEditorKind::Picker: return "picker";
    case CellEditorKind::None: break;
    }
    return "none";
}

std::string RefusalMessage(FrequencyCheck check) { return std::string(FrequencyCheckMessage(check)); }

}  // namespace

emscripten::val EditSession::EditorFor(int row, int col) const {
    const CellEditorChoice choice = EditorForCell(ws_, row, col);
    emscripten::val result = emscripten::val::object();
    result.set("kind", std::string(KindName(choice.kind)));
    result.set("picker", choice.picker);
    result.set("index", choice.index);
    return result;
}

bool EditSession::TypingOpensEditor(int row, int col) const { return TypingOpensTextEditor(ws_, row, col); }

std::string EditSession::OpenTextEditor(int row, int col, int keyCode) {
    ws_.editCell = {row, col};
    return TextEditorOpeningText(ws_, row, col, keyCode);
}

bool EditSession::OpensOnCellText(int keyCode) const { return corvane::OpensOnCellText(keyCode); }

int EditSession::FilterKey(int code) const {
    if (code < 0 || code > 0xFFFF) return -1;
    const std::optional<char16_t> passed = FilterFrequencyKey(static_cast<char16_t>(code));
    return passed ? static_cast<int>(*passed) : -1;
}

int EditSession::MaxLength() const { return kFrequencyEditMaxLength; }

std::vector<std::string> EditSession::PickerEntries(int picker) const { return corvane::PickerEntries(picker, ws_.edition); }

std::string EditSession::CommitOnEnter(int row, int col, const std::string& text) {
    ws_.editCell = {row, col};
    const Step step(*this, steps::EditName(row, col));
    return RefusalMessage(CommitFrequencyOnEnter(ws_, text));
}

std::string EditSession::CommitOnLeave(const std::string& text) {
    const Step step(*this, steps::EditName(ws_.editCell.row, ws_.editCell.col));
    return RefusalMessage(CommitFrequencyOnLeave(ws_, text));
}

bool EditSession::Pick(int row, int col, int picker, int index) {
    const Step step(*this, steps::EditName(row, col));
    return ApplyPick(ws_, row, col, picker, index);
}

std::vector<std::string> EditSession::SelectMode(int mode) {
    const uint8_t chosen = mode == kModeCustom ? kModeCustom : kModeDefault;
    const Step step(*this, chosen == kModeCustom ? steps::kModeCustom : steps::kModeDefault);
    std::vector<std::string> problems;
    SelectChannelMode(ws_, chosen, [&](const Status& problem) { problems.push_back(problem.message()); });
    return problems;
}

std::vector<std::string> EditSession::NewFile() {
    const Step step(*this, steps::kNewFile);
    std::vector<std::string> problems;
    StartNewFile(ws_, [&](const Status& problem) { problems.push_back(problem.message()); });
    return problems;
}

std::string EditSession::Undo() {
    const std::optional<SnapshotDifference> moved = history_.Undo(ws_);
    return moved ? SaveAfterStep(ws_, *moved).message() : std::string();
}

std::string EditSession::Redo() {
    const std::optional<SnapshotDifference> moved = history_.Redo(ws_);
    return moved ? SaveAfterStep(ws_, *moved).message() : std::string();
}

std::string EditSession::CopyChannels(int firstRow, int lastRow) const {
    if (firstRow < 1 || lastRow < firstRow) return {};
    return corvane::CopyChannels(ws_.channels, firstRow, lastRow);
}

emscripten::val EditSession::Paste(const std::string& text, int startRow) {
    emscripten::val result = emscripten::val::object();
    result.set("message", std::string());
    result.set("rows", 0);
    const Result<PastePlan> plan = PlanPaste(text, startRow, PasteRules{ws_.edition, ws_.channelMode});
    if (!plan.ok()) {
        result.set("message", plan.message());
        return result;
    }
    if (plan->rowCount == 0) return result;
    {
        const Step step(*this, steps::PasteName(plan->rowCount));
        ApplyPaste(*plan, ws_.channels);
    }
    result.set("rows", plan->rowCount);
    return result;
}

}  // namespace corvane::web

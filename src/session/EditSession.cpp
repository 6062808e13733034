#include "session/EditSession.h"

#include "model/CellEditing.h"
#include "model/ChannelPaste.h"
#include "session/FrameActions.h"
#include "session/ShownSet.h"

namespace corvane {

namespace {

std::string RefusalMessage(FrequencyCheck check) { return std::string(FrequencyCheckMessage(check)); }

}  // namespace

EditSession::Step::Step(EditSession& session, std::string_view name) : session_(session) {
    if (!session_.history_.StepOpen()) point_.emplace(session_.ws_.programFolder);
    session_.history_.Begin(session_.ws_, std::string(name));
}

EditSession::Step::~Step() {
    const bool changed = session_.history_.End(session_.ws_);
    if (!point_) return;
    // A step that changed nothing (a refused import) leaves the files as they are.
    if (changed) StageShownSet(session_.ws_, point_->StagedNames());
    point_->SkipWhenUnchanged();
    session_.ReportSave(point_->Commit());
}

void EditSession::ReportSave(const Status& saved) const {
    if (!saved.ok() && saveProblem_) saveProblem_(saved.message());
}

CellEditorChoice EditSession::EditorFor(int row, int col) const { return EditorForCell(ws_, row, col); }

bool EditSession::TypingOpensEditor(int row, int col) const { return TypingOpensTextEditor(ws_, row, col); }

std::string EditSession::OpenTextEditor(int row, int col, int keyCode) {
    editCell_ = {row, col};
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
    editCell_ = {row, col};
    const Step step(*this, steps::EditName(row, col));
    return RefusalMessage(CommitFrequencyOnEnter(ws_, editCell_, text));
}

std::string EditSession::CommitOnLeave(const std::string& text) {
    const Step step(*this, steps::EditName(editCell_.row, editCell_.col));
    return RefusalMessage(CommitFrequencyOnLeave(ws_, editCell_, text));
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
    return history_.Undo(ws_) ? SaveShownSet(ws_).message() : std::string();
}

std::string EditSession::Redo() {
    return history_.Redo(ws_) ? SaveShownSet(ws_).message() : std::string();
}

std::string EditSession::CopyChannels(int firstRow, int lastRow) const {
    if (firstRow < 1 || lastRow < firstRow) return {};
    return corvane::CopyChannels(ws_.channels, firstRow, lastRow);
}

EditSession::PasteOutcome EditSession::Paste(const std::string& text, int startRow) {
    const Result<PastePlan> plan = PlanPaste(text, startRow, PasteRules{ws_.edition, ws_.channelMode});
    if (!plan.ok()) return {plan.message(), 0};
    if (plan->rowCount == 0) return {};
    const Step step(*this, steps::PasteName(plan->rowCount));
    ApplyPaste(*plan, ws_.channels);
    return {{}, plan->rowCount};
}

}  // namespace corvane

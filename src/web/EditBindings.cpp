// The page's view of the grid's editing and the Edit menu (EditSession).
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "session/EditSession.h"

namespace corvane::web {
namespace {

emscripten::val TextArrayOf(const std::vector<std::string>& texts) {
    emscripten::val array = emscripten::val::array();
    for (const std::string& text : texts) array.call<void>("push", text);
    return array;
}

const char* KindName(CellEditorKind kind) {
    switch (kind) {
    case CellEditorKind::Text: return "text";
    case CellEditorKind::Picker: return "picker";
    case CellEditorKind::None: break;
    }
    return "none";
}

// {kind: "none" | "text" | "picker", picker, index} for a click on the cell.
emscripten::val EditorFor(const EditSession& session, int row, int col) {
    const CellEditorChoice choice = session.EditorFor(row, col);
    emscripten::val result = emscripten::val::object();
    result.set("kind", std::string(KindName(choice.kind)));
    result.set("picker", choice.picker);
    result.set("index", choice.index);
    return result;
}

// {message, rows}.
emscripten::val Paste(EditSession& session, const std::string& text, int startRow) {
    const EditSession::PasteOutcome pasted = session.Paste(text, startRow);
    emscripten::val result = emscripten::val::object();
    result.set("message", pasted.message);
    result.set("rows", pasted.rows);
    return result;
}

}  // namespace
}  // namespace corvane::web

EMSCRIPTEN_BINDINGS(corvane_editing) {
    using namespace corvane::web;
    using corvane::EditSession;
    using emscripten::optional_override;

    emscripten::class_<EditSession>("EditSession")
        .function("editorFor", &EditorFor)
        .function("typingOpensEditor", &EditSession::TypingOpensEditor)
        .function("openTextEditor", &EditSession::OpenTextEditor)
        .function("opensOnCellText", &EditSession::OpensOnCellText)
        .function("filterKey", &EditSession::FilterKey)
        .function("maxLength", &EditSession::MaxLength)
        .function("pickerEntries", optional_override([](const EditSession& e, int picker) {
                      return TextArrayOf(e.PickerEntries(picker));
                  }))
        .function("commitOnEnter", &EditSession::CommitOnEnter)
        .function("commitOnLeave", &EditSession::CommitOnLeave)
        .function("pick", &EditSession::Pick)
        .function("selectMode",
                  optional_override([](EditSession& e, int mode) { return TextArrayOf(e.SelectMode(mode)); }))
        .function("newFile", optional_override([](EditSession& e) { return TextArrayOf(e.NewFile()); }))
        .function("canUndo", &EditSession::CanUndo)
        .function("canRedo", &EditSession::CanRedo)
        .function("undoName", &EditSession::UndoName)
        .function("redoName", &EditSession::RedoName)
        .function("undo", &EditSession::Undo)
        .function("redo", &EditSession::Redo)
        .function("setLocked", &EditSession::SetLocked)
        .function("beginReadStep", &EditSession::BeginReadStep)
        .function("endReadStep", &EditSession::EndReadStep)
        .function("copyChannels", &EditSession::CopyChannels)
        .function("paste", &Paste);
}

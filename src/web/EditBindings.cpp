// The page's view of the grid's editing and the Edit menu (EditSession).
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "web/EditSession.h"

namespace corvane::web {
namespace {

emscripten::val ArrayOf(const std::vector<std::string>& texts) {
    emscripten::val array = emscripten::val::array();
    for (const std::string& text : texts) array.call<void>("push", text);
    return array;
}

}  // namespace
}  // namespace corvane::web

EMSCRIPTEN_BINDINGS(corvane_editing) {
    using namespace corvane::web;
    using emscripten::optional_override;

    emscripten::class_<EditSession>("EditSession")
        .function("editorFor", &EditSession::EditorFor)
        .function("typingOpensEditor", &EditSession::TypingOpensEditor)
        .function("openTextEditor", &EditSession::OpenTextEditor)
        .function("opensOnCellText", &EditSession::OpensOnCellText)
        .function("filterKey", &EditSession::FilterKey)
        .function("maxLength", &EditSession::MaxLength)
        .function("pickerEntries", optional_override([](const EditSession& e, int picker) { return ArrayOf(e.PickerEntries(picker)); }))
        .function("commitOnEnter", &EditSession::CommitOnEnter)
        .function("commitOnLeave", &EditSession::CommitOnLeave)
        .function("pick", &EditSession::Pick)
        .function("selectMode", optional_override([](EditSession& e, int mode) { return ArrayOf(e.SelectMode(mode)); }))
        .function("newFile", optional_override([](EditSession& e) { return ArrayOf(e.NewFile()); }))
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
        .function("paste", &EditSession::Paste);
}

// The command table for the page: the same commands, texts, places and
// enabled rule as the desktop's menus and toolbar.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "session/CommandTable.h"

namespace corvane::web {
namespace {

emscripten::val Text(std::string_view text) { return emscripten::val(std::string(text)); }

emscripten::val CommandObject(const CommandSpec& spec) {
    emscripten::val command = emscripten::val::object();
    command.set("id", static_cast<int>(spec.id));
    command.set("menuName", Text(spec.menuName));
    command.set("menuCaption", Text(spec.menuCaption));
    command.set("toolbarKey", Text(spec.toolbarKey));
    command.set("toolbarCaption", Text(spec.toolbarCaption));
    command.set("toolTip", Text(spec.toolTip));
    command.set("icon", Text(spec.icon));
    command.set("shortcuts", Text(spec.shortcuts));
    command.set("checkable", spec.checkable);
    return command;
}

constexpr int kSeparator = -1;

// {commands: [by id], menus: [{name, caption, entries: [id | -1]}], toolbar: [id | -1]}, the page's entries only.
emscripten::val CommandTable() {
    emscripten::val commands = emscripten::val::array();
    for (const CommandSpec& spec : AllCommands()) commands.call<void>("push", CommandObject(spec));
    emscripten::val menus = emscripten::val::array();
    for (const MenuSpec& spec : MenuBar()) {
        emscripten::val entries = emscripten::val::array();
        for (const MenuEntry& entry : spec.entries) {
            if ((entry.faces & kPage) == 0) continue;
            entries.call<void>("push", entry.command ? static_cast<int>(*entry.command) : kSeparator);
        }
        emscripten::val menu = emscripten::val::object();
        menu.set("name", Text(spec.name));
        menu.set("caption", Text(spec.caption));
        menu.set("entries", entries);
        menus.call<void>("push", menu);
    }
    emscripten::val toolbar = emscripten::val::array();
    for (const std::optional<Command>& button : ToolbarLayout())
        toolbar.call<void>("push", button ? static_cast<int>(*button) : kSeparator);
    emscripten::val table = emscripten::val::object();
    table.set("commands", commands);
    table.set("menus", menus);
    table.set("toolbar", toolbar);
    return table;
}

// Whether each command (by id) may run in the state given.
emscripten::val CommandsEnabled(const emscripten::val& state) {
    const CommandState now{
        .portInUse = state["portInUse"].as<bool>(),
        .transferLocked = state["transferLocked"].as<bool>(),
        .linkReady = state["linkReady"].as<bool>(),
        .canUndo = state["canUndo"].as<bool>(),
        .canRedo = state["canRedo"].as<bool>(),
        .readOnly = state["readOnly"].as<bool>(),
    };
    emscripten::val enabled = emscripten::val::array();
    for (const CommandSpec& spec : AllCommands()) enabled.call<void>("push", IsEnabled(spec.id, now));
    return enabled;
}

}  // namespace
}  // namespace corvane::web

EMSCRIPTEN_BINDINGS(corvane_commands) {
    emscripten::function("commandTable", &corvane::web::CommandTable);
    emscripten::function("commandsEnabled", &corvane::web::CommandsEnabled);
}

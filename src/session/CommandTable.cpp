#include "session/CommandTable.h"

#include <array>

namespace corvane {

namespace {

using enum Command;

constexpr bool kWaits = true;
constexpr bool kRuns = false;

// In the order of the enum.
constexpr std::array<CommandSpec, kCommandCount> kCommands{{
    {Exit, "mnuExit", "Exit(&X)", "exit", "Exit", "", "exit.svg", "", false, kRuns},
    {Write, "", "", "program", "Down", "Write to Radio", "down.svg", "", false, kWaits},
    {Read, "", "", "upload", "Up", "Read from Radio", "up.svg", "", false, kWaits},
    {AutoDetect, "", "", "auto", "Auto", "Auto Detect", "auto.svg", "", false, kWaits},
    {NewFile, "", "", "nFile", "New File", "", "new.svg", "", false, kWaits},
    {OpenWorkbook, "openFile", "OpenFile(&O)", "oFile", "Open File", "", "open.svg", "", false, kWaits},
    {SaveWorkbook, "saveFile", "SaveFile(&S)", "sFile", "Save File", "", "save.svg", "", false, kWaits},
    {Setup, "", "", "setup", "Set Up", "", "setup.svg", "", false, kWaits},
    {Group, "", "", "group", "Group", "", "group.svg", "", false, kWaits},
    {OpenImage, "openImage", "Open Image...", "", "", "", "", "", false, kWaits},
    {SaveImage, "saveImage", "Save Image...", "", "", "", "", "", false, kWaits},
    {ExportCsv, "exportCsv", "Export CHIRP CSV...", "", "", "", "", "", false, kWaits},
    {ImportCsv, "importCsv", "Import CHIRP CSV...", "", "", "", "", "", false, kWaits},
    {OpenFolder, "openFolder", "Open Folder...", "", "", "", "", "", false, kWaits, kPage},
    {ExportWorkingSet, "exportWorkingSet", "Export Working Set...", "", "", "", "", "", false, kWaits, kPage},
    {ImportWorkingSet, "importWorkingSet", "Import Working Set...", "", "", "", "", "", false, kWaits, kPage},
    {Backups, "backups", "Backups...", "", "", "", "", "", false, kRuns, kPage},
    {Undo, "mnuUndo", "Undo", "", "", "", "", "Ctrl+Z", false, kWaits},
    {Redo, "mnuRedo", "Redo", "", "", "", "", "Ctrl+Y;Ctrl+Shift+Z", false, kWaits},
    {Copy, "mnuCopy", "Copy", "", "", "", "", "Ctrl+C", false, kRuns},
    {Paste, "mnuPaste", "Paste", "", "", "", "", "Ctrl+V", false, kWaits},
    {ChoosePort, "com", "COM", "", "", "", "", "", true, kWaits},
    {SelectPort, "selectPort", "Select Port...", "", "", "", "", "", false, kWaits, kPage},
    {VerifyAfterWrite, "verifyAfterWrite", "Verify after Write", "", "", "", "", "", true, kWaits},
    {ModeDefault, "default", "Default", "", "", "", "", "", true, kWaits},
    {ModeCustom, "custom", "Custom", "", "", "", "", "", true, kWaits},
    {Help, "help", "Help", "", "", "", "", "", false, kRuns},
    {PrintChannelList, "printChannelList", "Print Channel List...", "", "", "", "", "", false, kWaits},
    {DiagnoseConnection, "diagnoseConnection", "Diagnose Connection...", "", "", "", "", "", false, kWaits},
    {CompareWithRadio, "compareRadio", "Compare with Radio...", "", "", "", "", "", false, kWaits},
    {CompareWithImageFile, "compareImage", "Compare with Image File...", "", "", "", "", "", false, kWaits},
    {ShowChangesBeforeWrite, "showChangesBeforeWrite", "Show Changes before Write", "", "", "", "", "", true, kWaits},
    {ProgramSeveralRadios, "fleet", "Program Several Radios...", "", "", "", "", "", false, kWaits},
    {RecoverUnsaved, "mnuRecover", "Recover Unsaved Changes...", "", "", "", "", "", false, kWaits, kDesktop},
}};

constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        if (static_cast<std::size_t>(kCommands[i].id) != i) return false;
    return true;
}
static_assert(InEnumOrder());

constexpr MenuEntry kSeparator{std::nullopt, kBothFaces};
constexpr MenuEntry kPageSeparator{std::nullopt, kPage};
constexpr MenuEntry kDesktopSeparator{std::nullopt, kDesktop};

constexpr std::array<MenuEntry, 24> kFileMenu{{
    {OpenWorkbook},
    kSeparator,
    {SaveWorkbook},
    kSeparator,
    {OpenImage},
    {SaveImage},
    kSeparator,
    {ExportCsv},
    {ImportCsv},
    kSeparator,
    {CompareWithRadio},
    {CompareWithImageFile},
    kSeparator,
    {PrintChannelList},
    kSeparator,
    {OpenFolder, kPage},
    {ExportWorkingSet, kPage},
    {ImportWorkingSet, kPage},
    kPageSeparator,
    {Backups, kPage},
    kPageSeparator,
    {RecoverUnsaved, kDesktop},
    kDesktopSeparator,
    {Exit},
}};
constexpr std::array<MenuEntry, 5> kEditMenu{{{Undo}, {Redo}, kSeparator, {Copy}, {Paste}}};
// The page's port items follow its chooser; each face lays out its own ports.
constexpr std::array<MenuEntry, 8> kPortMenu{{
    {SelectPort, kPage}, {ChoosePort}, kSeparator, {VerifyAfterWrite}, {ShowChangesBeforeWrite}, kSeparator,
    {ProgramSeveralRadios}, {DiagnoseConnection}}};
constexpr std::array<MenuEntry, 2> kModeMenu{{{ModeDefault}, {ModeCustom}}};
constexpr std::array<MenuEntry, 1> kHelpMenu{{{Help}}};

constexpr std::array<MenuSpec, 5> kMenus{{
    {MenuId::File, "mnuFile", "File(&F)", kFileMenu},
    {MenuId::Edit, "mnuEdit", "Edit(&E)", kEditMenu},
    {MenuId::Port, "comport", "Port(&P)", kPortMenu},
    {MenuId::Mode, "mode", "Mode(&M)", kModeMenu},
    {MenuId::Help, "information", "Help(&H)", kHelpMenu},
}};

constexpr std::array<std::optional<Command>, 14> kToolbar{{
    Exit, std::nullopt, Write, Read, std::nullopt, AutoDetect, std::nullopt, NewFile, OpenWorkbook, SaveWorkbook,
    std::nullopt, Setup, std::nullopt, Group,
}};

}  // namespace

const CommandSpec& Spec(Command command) { return kCommands[static_cast<std::size_t>(command)]; }

std::span<const CommandSpec> AllCommands() { return kCommands; }

std::span<const MenuSpec> MenuBar() { return kMenus; }

std::span<const std::optional<Command>> ToolbarLayout() { return kToolbar; }

bool IsEnabled(Command command, const CommandState& state) {
    // Either sign of a running transfer holds the commands: the port taken
    // (from the click) and the toolbar locked (until the end is shown).
    const bool busy = state.portInUse || state.transferLocked;
    if (state.readOnly) return command == Exit || command == Help || command == PrintChannelList;
    switch (command) {
        case Write:
        case Read: return state.linkReady && !busy;
        case Undo: return state.canUndo && !busy;
        case Redo: return state.canRedo && !busy;
        case RecoverUnsaved: return state.recoveryOffered && !busy;
        default: return !(Spec(command).waitsForPort && busy);
    }
}

std::optional<Command> CommandNamed(std::string_view designerName) {
    if (designerName.empty()) return std::nullopt;
    for (const CommandSpec& spec : kCommands)
        if (spec.menuName == designerName || spec.toolbarKey == designerName) return spec.id;
    return std::nullopt;
}

}  // namespace corvane

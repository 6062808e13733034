#pragma once
// Every command of the main window, once for both faces: its designer
// names, texts, shortcuts, where it sits in the menus and on the toolbar,
// and when it may run. The desktop's menus and toolbar and the page's are
// built from this table; a face adds only how it runs each command.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace corvane {

enum class Command : uint8_t {
    Exit,
    Write,
    Read,
    AutoDetect,
    NewFile,
    OpenWorkbook,
    SaveWorkbook,
    Setup,
    Group,
    OpenImage,
    SaveImage,
    ExportCsv,
    ImportCsv,
    OpenFolder,
    ExportWorkingSet,
    ImportWorkingSet,
    Backups,
    Undo,
    Redo,
    Copy,
    Paste,
    ChoosePort,  // one item per port: COM1..COM12 on the desktop, the granted ports in the page
    SelectPort,  // the browser's port chooser
    VerifyAfterWrite,
    ModeDefault,
    ModeCustom,
    Help,
    PrintChannelList,
    DiagnoseConnection,
    CompareWithRadio,
    CompareWithImageFile,
    ShowChangesBeforeWrite,
    ProgramSeveralRadios,
    RecoverUnsaved,  // the desktop's crash recovery; the page saves every step
};

inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::RecoverUnsaved) + 1;

// Which face shows a command or a separator.
enum Face : uint8_t { kDesktop = 1, kPage = 2, kBothFaces = kDesktop | kPage };

enum class MenuId : uint8_t { File, Edit, Port, Mode, Help };

struct CommandSpec {
    Command id;
    std::string_view menuName;       // the menu item's designer name, "" when not in a menu
    std::string_view menuCaption;    // "&" marks the access key
    std::string_view toolbarKey;     // the toolbar button's designer key, "" when not on it
    std::string_view toolbarCaption;
    std::string_view toolTip;        // "" for none
    std::string_view icon;           // the toolbar picture's file name
    std::string_view shortcuts;      // portable key sequences, ";" between alternatives
    bool checkable = false;
    bool waitsForPort = false;       // disabled while a transfer or the detection holds the port
    uint8_t faces = kBothFaces;
};

// One menu entry: a command or a separator ("-"), for the faces given.
struct MenuEntry {
    std::optional<Command> command;  // nullopt: a separator
    uint8_t faces = kBothFaces;
};

struct MenuSpec {
    MenuId id;
    std::string_view name;     // designer name
    std::string_view caption;
    std::span<const MenuEntry> entries;
};

// What decides whether a command may run now.
struct CommandState {
    bool portInUse = false;       // a transfer (with its handshake and read-back) or the detection holds the port
    bool transferLocked = false;  // a transfer locked the toolbar
    bool linkReady = false;       // the radio answered: Down and Up may start
    bool canUndo = false;
    bool canRedo = false;
    bool readOnly = false;        // another run of the program edits: this one only shows the channels
    bool recoveryOffered = false;  // a killed run left changes that File > Recover Unsaved Changes... takes in
};

const CommandSpec& Spec(Command command);
std::span<const CommandSpec> AllCommands();
// The menu bar, in order; each face skips entries not meant for it.
std::span<const MenuSpec> MenuBar();
// The toolbar's positions, in order; nullopt: a separator.
std::span<const std::optional<Command>> ToolbarLayout();

// The one rule for every command's enabled state.
bool IsEnabled(Command command, const CommandState& state);

// The command behind a designer name, menu item or toolbar key.
std::optional<Command> CommandNamed(std::string_view designerName);

}  // namespace corvane

// The command table both faces build their menus and toolbars from: when
// each command may run, and that every command has one place on each face.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "session/CommandTable.h"

namespace corvane {
namespace {

std::set<Command> Enabled(const CommandState& state) {
    std::set<Command> enabled;
    for (const CommandSpec& spec : AllCommands())
        if (IsEnabled(spec.id, state)) enabled.insert(spec.id);
    return enabled;
}

const std::set<Command> kAlwaysRun{Command::Exit, Command::Copy, Command::Help, Command::Backups};

TEST(CommandTable, WhileThePortIsHeldOnlyWhatTouchesNeitherPortNorTableRuns) {
    // A detection takes the port without locking the toolbar; a transfer's
    // end shows its message with the toolbar still locked: both hold everything.
    for (const CommandState held :
         {CommandState{.portInUse = true, .linkReady = true, .canUndo = true, .canRedo = true, .recoveryOffered = true},
          CommandState{
              .transferLocked = true, .linkReady = true, .canUndo = true, .canRedo = true, .recoveryOffered = true}}) {
        EXPECT_EQ(Enabled(held), kAlwaysRun);
    }
    const CommandState idle{.linkReady = true, .canUndo = true, .canRedo = true, .recoveryOffered = true};
    EXPECT_EQ(Enabled(idle).size(), kCommandCount);
}

TEST(CommandTable, DownAndUpNeedTheRadioUndoRedoTheirStepsAndRecoveryAnOffer) {
    const CommandState failed{};  // the port went away: the rest comes back, Down and Up wait for an answer
    const std::set<Command> enabled = Enabled(failed);
    EXPECT_FALSE(enabled.contains(Command::Write));
    EXPECT_FALSE(enabled.contains(Command::Read));
    EXPECT_FALSE(enabled.contains(Command::Undo));
    EXPECT_FALSE(enabled.contains(Command::Redo));
    EXPECT_FALSE(enabled.contains(Command::RecoverUnsaved));
    EXPECT_TRUE(enabled.contains(Command::AutoDetect));
    EXPECT_TRUE(enabled.contains(Command::ChoosePort));
    EXPECT_EQ(enabled.size(), kCommandCount - 5);
    EXPECT_TRUE(IsEnabled(Command::Redo, CommandState{.canRedo = true}));
    EXPECT_TRUE(IsEnabled(Command::RecoverUnsaved, CommandState{.recoveryOffered = true}));
}

TEST(CommandTable, AReadOnlyRunOnlyShowsPrintsAndEnds) {
    const CommandState readOnly{
        .linkReady = true, .canUndo = true, .canRedo = true, .readOnly = true, .recoveryOffered = true};
    EXPECT_EQ(Enabled(readOnly), (std::set<Command>{Command::Exit, Command::Help, Command::PrintChannelList}));
}

TEST(CommandTable, EachFaceHasEveryCommandOnceByUniqueNames) {
    for (const uint8_t face : {kDesktop, kPage}) {
        std::multiset<Command> placed;
        std::set<std::string_view> names;
        for (const MenuSpec& menu : MenuBar()) {
            EXPECT_TRUE(names.insert(menu.name).second) << menu.name;
            for (const MenuEntry& entry : menu.entries)
                if (entry.command && (entry.faces & face) != 0) placed.insert(*entry.command);
        }
        for (const std::optional<Command>& button : ToolbarLayout())
            if (button && Spec(*button).menuName.empty()) placed.insert(*button);
        for (const CommandSpec& spec : AllCommands()) {
            const bool onFace = (spec.faces & face) != 0;
            EXPECT_EQ(placed.count(spec.id), onFace ? 1u : 0u) << spec.menuName << spec.toolbarKey;
            for (std::string_view name : {spec.menuName, spec.toolbarKey}) {
                if (name.empty()) continue;
                EXPECT_TRUE(names.insert(name).second) << name;
                EXPECT_EQ(CommandNamed(name), spec.id) << name;
            }
        }
    }
    EXPECT_EQ(Spec(Command::Write).toolbarKey, "program");
    EXPECT_EQ(Spec(Command::Write).toolTip, "Write to Radio");
    EXPECT_FALSE(CommandNamed("Write"));
}

}  // namespace
}  // namespace corvane

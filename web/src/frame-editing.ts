// The frame's shortcuts (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z, Ctrl+C, Ctrl+V), as
// the command table gives them.
import type { Command, CommandTable } from "./commands.js";
import type { MainWindow } from "./ui/main-window.js";

interface KeyChord {
  shift: boolean;
  key: string;
}

function chords(shortcuts: string): KeyChord[] {
  return shortcuts.split(";").filter(Boolean).map((text) => {
    const parts = text.split("+");
    return { shift: parts.includes("Shift"), key: parts[parts.length - 1].toLowerCase() };
  });
}

export function connectShortcuts(frame: MainWindow, table: CommandTable, run: (command: Command) => void): void {
  const bound = table.commands.flatMap((spec) => chords(spec.shortcuts).map((chord) => ({ chord, command: spec.id })));
  document.addEventListener("keydown", (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || frame.element.hidden) return;
    // A field keeps its own keys; a modal window keeps the frame's.
    const target = event.target as HTMLElement;
    if (target.closest("input, textarea, select, dialog") || document.querySelector("dialog[open]:modal")) return;
    const key = event.key.toLowerCase();
    const match = bound.find(({ chord }) => chord.key === key && chord.shift === event.shiftKey);
    if (!match) return;
    event.preventDefault();
    run(match.command);
  });
}

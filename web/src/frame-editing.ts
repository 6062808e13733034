// Connects the frame's Mode, Edit and Help menus, New File and the Edit
// keys (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z, Ctrl+C, Ctrl+V) to the grid's editing.
import type { Editing } from "./editing.js";
import type { AboutWindow } from "./ui/about-window.js";
import type { MainWindow } from "./ui/main-window.js";

export function connectEditing(frame: MainWindow, editing: Editing, about: AboutWindow): void {
  frame.setMenuAction("default", () => void editing.selectMode(0));
  frame.setMenuAction("custom", () => void editing.selectMode(1));
  frame.setMenuAction("help", () => {
    editing.closeCellEditors();
    about.show();
  });
  frame.setMenuAction("mnuUndo", () => void editing.undo());
  frame.setMenuAction("mnuRedo", () => void editing.redo());
  frame.setMenuAction("mnuCopy", () => void editing.copy());
  frame.setMenuAction("mnuPaste", () => void editing.paste());
  frame.handleToolbarKey("nFile");
  editing.refreshMenu();

  document.addEventListener("keydown", (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || frame.element.hidden) return;
    // A field keeps its own keys; a modal window keeps the frame's.
    const target = event.target as HTMLElement;
    if (target.closest("input, textarea, select, dialog") || document.querySelector("dialog[open]:modal")) return;
    const key = event.key.toLowerCase();
    const action =
      key === "z" && !event.shiftKey ? () => editing.undo()
      : key === "y" || (key === "z" && event.shiftKey) ? () => editing.redo()
      : key === "c" && !event.shiftKey ? () => editing.copy()
      : key === "v" && !event.shiftKey ? () => editing.paste()
      : null;
    if (!action) return;
    event.preventDefault();
    void action();
  });
}

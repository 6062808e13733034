// Toolbar1: the fourteen positions of the desktop toolbar with its icons.
import { el } from "./dom.js";

interface ToolbarEntry {
  key: string;
  caption: string;
  tip: string;
  icon: string;
}

const SEPARATOR = null;
export const TOOLBAR: (ToolbarEntry | null)[] = [
  { key: "exit", caption: "Exit", tip: "", icon: "exit.svg" },
  SEPARATOR,
  { key: "program", caption: "Down", tip: "Write to Radio", icon: "down.svg" },
  { key: "upload", caption: "Up", tip: "Read from Radio", icon: "up.svg" },
  SEPARATOR,
  { key: "auto", caption: "Auto", tip: "Auto Detect", icon: "auto.svg" },
  SEPARATOR,
  { key: "nFile", caption: "New File", tip: "", icon: "new.svg" },
  { key: "oFile", caption: "Open File", tip: "", icon: "open.svg" },
  { key: "sFile", caption: "Save File", tip: "", icon: "save.svg" },
  SEPARATOR,
  { key: "setup", caption: "Set Up", tip: "", icon: "setup.svg" },
  SEPARATOR,
  { key: "group", caption: "Group", tip: "", icon: "group.svg" },
];

// The buttons a running transfer locks.
export const TRANSFER_KEYS = ["program", "upload", "auto", "nFile", "oFile", "sFile", "setup", "group"];

export class Toolbar {
  readonly element: HTMLElement;
  private readonly buttons = new Map<string, HTMLButtonElement>();

  // Keys without a handler yet are shown and stay disabled.
  constructor(iconBase: string, private readonly handled: Set<string>, onClick: (key: string) => void) {
    this.element = el("div", { "data-name": "Toolbar1", class: "toolbar", role: "toolbar" });
    for (const entry of TOOLBAR) {
      if (!entry) {
        this.element.append(el("span", { class: "separator", role: "separator" }));
        continue;
      }
      const button = el("button", {
        type: "button",
        "data-key": entry.key,
        title: entry.tip || undefined,
        disabled: !handled.has(entry.key),
      }, el("img", { src: `${iconBase}/${entry.icon}`, alt: "" }), el("span", {}, entry.caption));
      button.addEventListener("click", () => onClick(entry.key));
      this.buttons.set(entry.key, button);
      this.element.append(button);
    }
  }

  // A key whose action has come: its button works from now on.
  handle(key: string): void {
    this.handled.add(key);
    const button = this.buttons.get(key);
    if (button) button.disabled = false;
  }

  setEnabled(key: string, enabled: boolean): void {
    const button = this.buttons.get(key);
    if (button) button.disabled = !enabled || !this.handled.has(key);
  }
}

// The main window (MDIForm1) with its menu bar and toolbar, and inside it the channel window (frmRadioMain): the
// grid, the status label and the progress bar.
import { Command, type CommandTable, SEPARATOR } from "../commands.js";
import type { StatusColour } from "../core.js";
import { el } from "./dom.js";
import { MenuBar, type MenuEntry } from "./menu-bar.js";
import { Toolbar } from "./toolbar.js";

const IMAGE_LENGTH = 1936;
const STATUS_COLOURS: Record<StatusColour, string> = { blue: "rgb(0, 0, 255)", red: "rgb(255, 0, 0)" };
const PORT_MENU = "comport";

export interface FrameActions {
  // A menu item, a toolbar button (toolbar true) or a shortcut.
  run(command: Command, toolbar: boolean): void;
  choosePort(index: number): void;
  // The mode menu shows a mode: windows that belong to one mode follow.
  modeShown?(channelMode: number): void;
}

export class MainWindow {
  readonly element: HTMLElement;
  private readonly caption: HTMLElement;
  private readonly menus: MenuBar;
  private readonly toolbar: Toolbar;
  private readonly label1: HTMLElement;
  private readonly progressBar1: HTMLProgressElement;
  private readonly gridSlot: HTMLElement;
  private readonly enabled = new Map<Command, boolean>();
  private readonly checked = new Map<Command, boolean>();
  private portLabels: readonly string[] = [];

  constructor(iconBase: string, private readonly table: CommandTable, private readonly actions: FrameActions) {
    this.caption = el("h1", { class: "titlebar", id: "MDIForm1-title" });
    this.menus = new MenuBar(table.menus.map((menu) => ({ name: menu.name, caption: menu.caption, items: this.menuItems(menu.entries) })), () => this.focusGrid());
    this.toolbar = new Toolbar(iconBase, table, (command) => actions.run(command, true));
    this.label1 = el("span", { "data-name": "Label1", class: "status-label", role: "status" });
    this.progressBar1 = el("progress", { "data-name": "ProgressBar1", max: String(IMAGE_LENGTH), value: "0", "aria-label": "Transfer progress" });
    this.gridSlot = el("div", { class: "grid-slot" });
    const editor = el(
      "section",
      { id: "frmRadioMain", class: "child-window", "aria-labelledby": "frmRadioMain-title" },
      el("h2", { class: "titlebar child", id: "frmRadioMain-title" }, "PC Setting"),
      this.gridSlot,
      el("div", { class: "statusbar" }, this.label1, this.progressBar1),
    );
    this.element = el(
      "section",
      { id: "MDIForm1", class: "window frame", hidden: true, "aria-labelledby": "MDIForm1-title" },
      this.caption, this.menus.element, this.toolbar.element, el("div", { class: "mdi-area" }, editor),
    );
    this.setPorts([], -1);
  }

  show(grid: HTMLElement): void {
    this.gridSlot.replaceChildren(grid);
    this.element.hidden = false;
  }

  hide(): void {
    this.element.hidden = true;
  }

  // The grid's current cell takes the focus (the grid shows it as its active cell).
  focusGrid(): void {
    if (this.element.hidden) return;
    this.gridSlot.querySelector<HTMLElement>("[role=grid]")?.focus({ preventScroll: true });
  }

  // The page offset where the toolbar ends: windows that float over the frame start below it.
  toolbarBottom(): number {
    return this.toolbar.element.getBoundingClientRect().bottom;
  }

  // The frame's caption is the page's title too.
  setCaption(text: string): void {
    this.caption.textContent = text;
    document.title = text;
  }

  // CheckModeMenu.
  setMode(channelMode: number): void {
    this.setChecked(Command.ModeDefault, channelMode === 0);
    this.setChecked(Command.ModeCustom, channelMode === 1);
    this.actions.modeShown?.(channelMode);
  }

  setChecked(command: Command, checked: boolean): void {
    this.checked.set(command, checked);
    this.menus.setChecked(this.table.commands[command].menuName, checked);
  }

  // The Port menu: the browser's chooser, then the ports granted so far, the current one ticked.
  setPorts(labels: readonly string[], current: number): void {
    this.portLabels = labels;
    const port = this.table.menus.find((menu) => menu.name === PORT_MENU);
    if (!port) return;
    this.menus.setItems(PORT_MENU, this.menuItems(port.entries));
    labels.forEach((_, index) => this.menus.setChecked(this.portName(index), index === current));
    for (const entry of port.entries) {
      if (entry === SEPARATOR) continue;
      const checked = this.checked.get(entry);
      if (checked !== undefined) this.menus.setChecked(this.table.commands[entry].menuName, checked);
      this.setEnabled(entry, this.enabled.get(entry) ?? true);
    }
  }

  // The command table's verdict for one command, on its menu item(s) and button.
  setEnabled(command: Command, enabled: boolean): void {
    this.enabled.set(command, enabled);
    this.toolbar.setEnabled(command, enabled);
    if (command === Command.ChoosePort) {
      this.portLabels.forEach((_, index) => this.menus.setEnabled(this.portName(index), enabled));
      return;
    }
    const name = this.table.commands[command].menuName;
    if (name) this.menus.setEnabled(name, enabled);
  }

  // Undo and Redo name their steps.
  setCommandCaption(command: Command, caption: string): void {
    this.menus.setCaption(this.table.commands[command].menuName, caption);
  }

  setStatus(text: string, colour: StatusColour): void {
    this.label1.textContent = text;
    this.label1.style.color = STATUS_COLOURS[colour];
    this.label1.dataset.colour = colour;
  }

  setProgress(value: number): void {
    this.progressBar1.value = value;
  }

  private portName(index: number): string {
    return `port${index + 1}`;
  }

  // A menu's entries, the granted ports in place of ChoosePort (after a separator when there are any).
  private menuItems(entries: readonly (Command | typeof SEPARATOR)[]): MenuEntry[] {
    const items: MenuEntry[] = [];
    for (const entry of entries) {
      if (entry === SEPARATOR) {
        items.push("-");
      } else if (entry === Command.ChoosePort) {
        if (this.portLabels.length > 0) items.push("-");
        this.portLabels.forEach((label, index) => {
          items.push({ name: this.portName(index), caption: label, checkable: true, action: () => this.actions.choosePort(index) });
        });
      } else {
        const spec = this.table.commands[entry];
        items.push({ name: spec.menuName, caption: spec.menuCaption, checkable: spec.checkable, title: spec.toolTip || undefined, action: () => this.actions.run(entry, false) });
      }
    }
    return items;
  }
}

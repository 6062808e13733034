// The main window (MDIForm1) with its menu bar and toolbar, and inside it the channel window (frmRadioMain): the
// grid, the status label and the progress bar.
import type { StatusColour } from "../core.js";
import { el } from "./dom.js";
import { MenuBar, type MenuEntry } from "./menu-bar.js";
import { Toolbar } from "./toolbar.js";

const IMAGE_LENGTH = 1936;
const STATUS_COLOURS: Record<StatusColour, string> = { blue: "rgb(0, 0, 255)", red: "rgb(255, 0, 0)" };

export interface FrameActions {
  toolbar(key: string): void;
  exit(): void;
  selectPort(): void;
  choosePort(index: number): void;
  backups(): void;
  // The mode menu shows a mode: windows that belong to one mode follow.
  modeShown?(channelMode: number): void;
  file(name: string): void; // File menu exchange commands, by item name
  printChannelList(): void;
  diagnoseConnection(): void;
}

// The toolbar keys this version handles; the rest come with the editing windows.
const HANDLED_KEYS = new Set(["exit", "program", "upload", "auto", "setup", "group", "oFile", "sFile"]);

export class MainWindow {
  readonly element: HTMLElement;
  private readonly caption: HTMLElement;
  private readonly menus: MenuBar;
  private readonly toolbar: Toolbar;
  private readonly label1: HTMLElement;
  private readonly progressBar1: HTMLProgressElement;
  private readonly gridSlot: HTMLElement;
  private portMenuEnabled = true;

  constructor(iconBase: string, private readonly actions: FrameActions) {
    this.caption = el("div", { class: "titlebar", id: "MDIForm1-title" });
    this.menus = new MenuBar([
      {
        name: "mnuFile",
        caption: "File(&F)",
        items: [
          { name: "openFile", caption: "OpenFile(&O)", action: () => actions.file("openFile") }, "-",
          { name: "saveFile", caption: "SaveFile(&S)", action: () => actions.file("saveFile") }, "-",
          { name: "openImage", caption: "Open Image...", action: () => actions.file("openImage") },
          { name: "saveImage", caption: "Save Image...", action: () => actions.file("saveImage") }, "-",
          { name: "exportCsv", caption: "Export CHIRP CSV...", action: () => actions.file("exportCsv") },
          { name: "importCsv", caption: "Import CHIRP CSV...", action: () => actions.file("importCsv") }, "-",
          { name: "printChannelList", caption: "Print Channel List...", action: () => actions.printChannelList() }, "-",
          { name: "openFolder", caption: "Open Folder...", action: () => actions.file("openFolder") },
          { name: "exportWorkingSet", caption: "Export Working Set...", action: () => actions.file("exportWorkingSet") },
          { name: "importWorkingSet", caption: "Import Working Set...", action: () => actions.file("importWorkingSet") }, "-",
          { name: "backups", caption: "Backups...", action: () => actions.backups() }, "-",
          { name: "mnuExit", caption: "Exit(&X)", action: () => actions.exit() },
        ],
      },
      {
        name: "mnuEdit",
        caption: "Edit(&E)",
        items: [{ name: "mnuUndo", caption: "Undo" }, { name: "mnuRedo", caption: "Redo" }, "-",
          { name: "mnuCopy", caption: "Copy" }, { name: "mnuPaste", caption: "Paste" }],
      },
      { name: "comport", caption: "Port(&P)", items: [] },
      {
        name: "mode",
        caption: "Mode(&M)",
        items: [{ name: "default", caption: "Default", checkable: true }, { name: "custom", caption: "Custom", checkable: true }],
      },
      { name: "information", caption: "Help(&H)", items: [{ name: "help", caption: "Help" }] },
    ]);
    this.toolbar = new Toolbar(iconBase, HANDLED_KEYS, (key) => actions.toolbar(key));
    this.label1 = el("span", { "data-name": "Label1", class: "status-label", role: "status" });
    this.progressBar1 = el("progress", { "data-name": "ProgressBar1", max: String(IMAGE_LENGTH), value: "0", "aria-label": "Transfer progress" });
    this.gridSlot = el("div", { class: "grid-slot" });
    const editor = el(
      "section",
      { id: "frmRadioMain", class: "child-window", "aria-labelledby": "frmRadioMain-title" },
      el("div", { class: "titlebar child", id: "frmRadioMain-title" }, "PC Setting"),
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

  // The frame's caption is the page's title too.
  setCaption(text: string): void {
    this.caption.textContent = text;
    document.title = text;
  }

  // CheckModeMenu.
  setMode(channelMode: number): void {
    this.menus.setChecked("default", channelMode === 0);
    this.menus.setChecked("custom", channelMode === 1);
    this.actions.modeShown?.(channelMode);
  }

  // The Port menu: the browser's chooser, the ports granted so far (the current one ticked), the doctor.
  setPorts(labels: readonly string[], current: number): void {
    const items: MenuEntry[] = [{ name: "selectPort", caption: "Select Port...", action: () => this.actions.selectPort() }];
    if (labels.length > 0) items.push("-");
    labels.forEach((label, index) => {
      items.push({ name: `port${index + 1}`, caption: label, checkable: true, action: () => this.actions.choosePort(index) });
    });
    items.push("-", { name: "diagnoseConnection", caption: "Diagnose Connection...", action: () => this.actions.diagnoseConnection() });
    this.menus.setItems("comport", items);
    labels.forEach((_, index) => this.menus.setChecked(`port${index + 1}`, index === current));
    if (!this.portMenuEnabled) this.setPortMenuEnabled(false);
  }

  // Select Port... and the granted ports, also those granted while disabled.
  setPortMenuEnabled(enabled: boolean): void {
    this.portMenuEnabled = enabled;
    this.menus.setMenuItemsEnabled("comport", enabled);
  }

  setStatus(text: string, colour: StatusColour): void {
    this.label1.textContent = text;
    this.label1.style.color = STATUS_COLOURS[colour];
    this.label1.dataset.colour = colour;
  }

  setProgress(value: number): void {
    this.progressBar1.value = value;
  }

  setMenuItemsEnabled(names: readonly string[], enabled: boolean): void {
    for (const name of names) this.menus.setEnabled(name, enabled);
  }

  // Menu items and toolbar keys whose actions a later module brings.
  setMenuAction(name: string, action: () => void): void {
    this.menus.setAction(name, action);
  }
  setMenuState(name: string, enabled: boolean, caption?: string): void {
    this.menus.setEnabled(name, enabled);
    if (caption !== undefined) this.menus.setCaption(name, caption);
  }
  handleToolbarKey(key: string): void {
    this.toolbar.handle(key);
  }

  setToolbarEnabled(keys: readonly string[], enabled: boolean): void {
    for (const key of keys) this.toolbar.setEnabled(key, enabled);
  }
}

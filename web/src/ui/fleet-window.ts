// frmFleet, Port > Program Several Radios...: the units list, each unit with
// its state, the prompt, the progress, Start and Stop, and the log (kept in
// the page's storage and offered as a download). Modal while open.
import { el } from "./dom.js";

const IMAGE_LENGTH = 1936;
const STATE_COLUMN = 3;
const DETAILS_COLUMN = 4;

export interface FleetWindowActions {
  chooseUnits(): void;
  start(): void;
  stop(): void;
  saveLog(): void;
  closed(): void;
}

export class FleetWindow {
  readonly element: HTMLDialogElement;
  private readonly listName: HTMLElement;
  private readonly body: HTMLTableSectionElement;
  private readonly prompt: HTMLElement;
  private readonly progress: HTMLProgressElement;
  private readonly status: HTMLElement;
  private readonly units: HTMLButtonElement;
  private readonly start: HTMLButtonElement;
  private readonly stop: HTMLButtonElement;
  private readonly saveLog: HTMLButtonElement;
  private labels: string[] = [];

  constructor(actions: FleetWindowActions) {
    this.units = el("button", { type: "button", "data-name": "Command1" }, "Units List...");
    this.listName = el("span", { "data-name": "Label1" }, "Choose the units list: one row per radio with its Label, Name ID and DTMF ID.");
    this.body = el("tbody");
    this.prompt = el("p", { "data-name": "Label2", role: "status" });
    this.progress = el("progress", { "data-name": "ProgressBar1", max: String(IMAGE_LENGTH), value: "0", "aria-label": "Write progress" });
    this.status = el("p", { "data-name": "Label3" });
    this.start = el("button", { type: "button", "data-name": "Command2", disabled: true }, "Start");
    this.stop = el("button", { type: "button", "data-name": "Command3", disabled: true }, "Stop");
    this.saveLog = el("button", { type: "button", "data-name": "Command5", disabled: true }, "Save Log...");
    const close = el("button", { type: "button", "data-name": "Command4" }, "Close");
    const head = el("tr", {}, ...["Label", "Name ID", "DTMF ID", "State", "Details"].map((title) => el("th", { scope: "col" }, title)));
    this.element = el(
      "dialog",
      { id: "frmFleet", class: "window fleet", "aria-labelledby": "frmFleet-title" },
      el("div", { class: "titlebar", id: "frmFleet-title" }, "Program Several Radios"),
      el("div", { class: "fleet-list" }, this.units, this.listName),
      el("div", { class: "compare-table" }, el("table", { "data-name": "MSHFlexGrid1" }, el("thead", {}, head), this.body)),
      this.prompt, this.progress, this.status,
      el("div", { class: "message-buttons" }, this.start, this.stop, this.saveLog, close),
    );
    this.units.addEventListener("click", () => actions.chooseUnits());
    this.start.addEventListener("click", () => actions.start());
    this.stop.addEventListener("click", () => actions.stop());
    this.saveLog.addEventListener("click", () => actions.saveLog());
    close.addEventListener("click", () => this.element.close());
    // Escape closes too; the run is stopped first either way.
    this.element.addEventListener("close", () => {
      this.element.remove();
      actions.closed();
    });
  }

  show(): void {
    document.body.append(this.element);
    this.element.showModal();
    this.units.focus();
  }

  setUnits(name: string, units: [string, string, string][]): void {
    this.labels = units.map((unit) => unit[0]);
    this.listName.textContent = `${name}: ${units.length} radios`;
    this.body.replaceChildren(...units.map((unit) => el("tr", {}, ...[...unit, "", ""].map((cell) => el("td", {}, cell)))));
    this.setRunning(false);
  }

  clearStates(): void {
    for (const row of this.body.rows) {
      row.cells[STATE_COLUMN].textContent = "";
      row.cells[DETAILS_COLUMN].textContent = "";
    }
  }

  setUnitState(label: string, state: string, details: string): void {
    const row = this.body.rows[this.labels.indexOf(label)];
    if (!row) return;
    row.cells[STATE_COLUMN].textContent = state;
    if (details) row.cells[DETAILS_COLUMN].textContent = details;
  }

  setPrompt(text: string): void {
    this.prompt.textContent = text;
  }

  setProgress(value: number): void {
    this.progress.value = value;
  }

  setStatus(text: string): void {
    this.status.textContent = text;
  }

  setRunning(running: boolean): void {
    this.units.disabled = running;
    this.start.disabled = running || this.labels.length === 0;
    this.stop.disabled = !running;
  }

  setLogReady(ready: boolean): void {
    this.saveLog.disabled = !ready;
  }
}

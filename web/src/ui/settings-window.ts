// frmSetup: the radio-wide settings. The controls hold values only; what
// they show, what "OK" stores, the key check and "Reset" come from the core.
import type { SetupLayout, SetupValues } from "../forms-core.js";
import { el } from "./dom.js";

export interface SetupActions {
  ok(values: SetupValues): void;
  reset(values: SetupValues): void;
  exit(): void;
  // Whether Text<box> may hold the text after an edit.
  textAccepted(box: number, text: string): boolean;
}

// Lists by frame, as positions in the core's list order (Combo<n+1>).
const TOT = [0, 1];
const VOX = [2, 3, 4];
const DTMF = [5, 6, 7];
const POWER_SAVE = [8, 9];
const SCAN = [10, 11];
const KEYS = [12, 13, 14, 15];
const DISPLAY = [16, 17, 18, 19];
const CALL_TONE = 20;
const SQUELCH = 21;
// Function boxes in the "Functions" frame, top to bottom; Check7 and Check8 sit on the bottom row.
const FUNCTION_BOXES = [0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15];
const SCAN_BOXES = [6, 7];
const POWER_CONTROL_BOX = 15;

export class SettingsWindow {
  readonly element: HTMLElement;
  private readonly lists: HTMLSelectElement[] = [];
  private readonly boxes: HTMLInputElement[] = [];
  private readonly bands: HTMLInputElement[] = [];
  private readonly bandFrame: HTMLFieldSetElement;
  private readonly dtmfId: HTMLInputElement;
  private readonly nameId: HTMLInputElement;
  private readonly priChannel: HTMLInputElement;
  private readonly priLabel: HTMLLabelElement;
  private frameCount = 0;

  constructor(layout: SetupLayout, actions: SetupActions) {
    layout.lists.forEach((list, index) => {
      const select = el("select", { "data-name": `Combo${index + 1}`, id: `frmSetup-Combo${index + 1}` });
      select.append(...list.items.map((item, position) => el("option", { value: String(position) }, item)));
      this.lists.push(select);
    });
    layout.boxCaptions.forEach((_, index) => {
      this.boxes.push(el("input", { type: "checkbox", "data-name": `Check${index + 1}`, id: `frmSetup-Check${index + 1}` }));
    });
    this.bandFrame = this.frame("LPD/PMR");
    layout.bandCaptions.forEach((caption, index) => {
      const option = el("input", { type: "radio", name: "frmSetup-band", "data-name": `Option${index + 1}`, id: `frmSetup-Option${index + 1}` });
      this.bands.push(option);
      this.bandFrame.append(el("label", { class: "option" }, option, caption));
    });
    this.dtmfId = el("input", { type: "text", "data-name": "Text1", id: "frmSetup-Text1", maxlength: String(layout.dtmfIdLength), size: "6" });
    this.nameId = el("input", { type: "text", "data-name": "Text2", id: "frmSetup-Text2", maxlength: String(layout.nameIdLength), size: "3" });
    this.priChannel = el("input", { type: "text", "data-name": "Text3", id: "frmSetup-Text3", maxlength: String(layout.priChannelLength), size: "4" });
    this.priLabel = el("label", { for: "frmSetup-Text3" }, "PRI Channel");
    // An edit (typed or pasted) the core refuses leaves the box as it was.
    [this.dtmfId, this.nameId, this.priChannel].forEach((box, index) => {
      let accepted = box.value;
      box.addEventListener("focus", () => { accepted = box.value; });
      box.addEventListener("input", () => {
        if (actions.textAccepted(index + 1, box.value)) {
          accepted = box.value;
          return;
        }
        const caret = Math.max(0, (box.selectionStart ?? 0) - (box.value.length - accepted.length));
        box.value = accepted;
        box.setSelectionRange(caret, caret);
      });
    });

    const row = (label: string, control: HTMLElement) =>
      el("div", { class: "form-row" }, el("label", { for: control.id }, label), control);
    const withLists = (caption: string, positions: number[]) => {
      const frame = this.frame(caption);
      frame.append(...positions.map((p) => row(layout.lists[p].label, this.lists[p])));
      return frame;
    };
    const boxRow = (index: number) => el("label", { class: "option" }, this.boxes[index], layout.boxCaptions[index]);
    const button = (name: string, caption: string, action?: () => void) => {
      const b = el("button", { type: "button", "data-name": name }, caption);
      if (action) b.addEventListener("click", action);
      return b;
    };

    const nameFrame = this.frame("");
    nameFrame.append(row("Name ID:", this.nameId), row(layout.lists[CALL_TONE].label, this.lists[CALL_TONE]),
      row(layout.lists[SQUELCH].label, this.lists[SQUELCH]));
    const dtmfFrame = withLists("DTMF Time", DTMF);
    dtmfFrame.append(row("DTMF ID:", this.dtmfId));
    const buttons = this.frame("");
    buttons.classList.add("buttons");
    buttons.append(
      button("Command1", "OK", () => actions.ok(this.values())),
      button("Command2", "Reset", () => actions.reset(this.values())),
      button("Command4", "Exit", () => actions.exit()));
    const functions = this.frame("Functions");
    functions.append(...FUNCTION_BOXES.map(boxRow));

    const columns = el("div", { class: "setup-columns" },
      el("div", { class: "setup-column" }, this.bandFrame, nameFrame, withLists("VOX", VOX), withLists("TOT", TOT)),
      el("div", { class: "setup-column" }, withLists("Scan", SCAN), withLists("", DISPLAY), withLists("Power Save", POWER_SAVE), buttons),
      el("div", { class: "setup-column" }, dtmfFrame, withLists("Key Define", KEYS)),
      el("div", { class: "setup-column" }, functions));
    const bottom = el("div", { class: "setup-bottom" },
      button("Command3", "DEBUG"), this.priLabel, this.priChannel, ...SCAN_BOXES.map(boxRow));

    this.element = el("section", {
      id: "frmSetup", class: "window form-window", role: "dialog", "aria-labelledby": "frmSetup-title", hidden: true,
    }, el("h1", { class: "titlebar", id: "frmSetup-title" }, layout.caption), el("div", { class: "form-body" }, columns, bottom));
  }

  show(values: SetupValues): void {
    this.showValues(values);
    this.element.hidden = false;
    this.focusFirst();
  }

  // The first control that takes the focus, top left first.
  focusFirst(): void {
    this.element.querySelector<HTMLElement>(":is(input, select, button):not(:disabled)")?.focus();
  }

  hide(): void {
    this.element.hidden = true;
  }

  showValues(values: SetupValues): void {
    values.lists.forEach((position, index) => {
      this.lists[index].selectedIndex = position;
    });
    values.boxes.forEach((ticked, index) => {
      this.boxes[index].checked = ticked;
    });
    this.boxes[POWER_CONTROL_BOX].disabled = !values.powerControlEnabled;
    if (values.bandOption >= 0) this.bands[values.bandOption].checked = true;
    this.bandFrame.disabled = !values.bandEnabled;
    this.dtmfId.value = values.dtmfId;
    this.nameId.value = values.nameId;
    this.priChannel.value = values.priChannel;
    this.priChannel.disabled = !values.priChannelEnabled;
    this.priLabel.classList.toggle("disabled", !values.priChannelEnabled);
  }

  // The keys after a refused "OK".
  showKeys(values: SetupValues): void {
    for (const index of KEYS) this.lists[index].selectedIndex = values.lists[index];
  }

  values(): SetupValues {
    return {
      lists: this.lists.map((list) => list.selectedIndex),
      boxes: this.boxes.map((box) => box.checked),
      powerControlEnabled: !this.boxes[POWER_CONTROL_BOX].disabled,
      bandOption: this.bands.findIndex((option) => option.checked),
      bandEnabled: !this.bandFrame.disabled,
      dtmfId: this.dtmfId.value,
      nameId: this.nameId.value,
      priChannel: this.priChannel.value,
      priChannelEnabled: !this.priChannel.disabled,
    };
  }

  private frame(caption: string): HTMLFieldSetElement {
    const frame = el("fieldset", { "data-name": `Frame${++this.frameCount}` });
    if (caption) frame.append(el("legend", {}, caption));
    return frame;
  }
}

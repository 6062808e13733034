// frmGroup: group sizes and the automatic generation of frequencies and
// tones. The controls hold values only; every check, the runs and "Reset"
// come from the core. The window floats above the frame while it is open.
import type { GroupLayout, GroupValues } from "../forms-core.js";
import { el } from "./dom.js";
import { Movable } from "./movable.js";

const EDGE_MARGIN = 8; // pixels between the window and the page's right edge

export interface GroupActions {
  // "Command2", "Command5", "Option1", "Text6" or a typed-in box's name.
  run(action: string, values: GroupValues): void;
  exit(): void;
}

type TextField = "freqStart" | "freqLast" | "frequency" | "step" | "toneStart" | "toneLast" | "toneCode" | "toneStep";
type OptionField = "target" | "freqDirection" | "band" | "toneKind" | "toneDirection";

// Boxes checked on every change.
const TYPING_CHECKED: Partial<Record<TextField, string>> = {
  freqStart: "Text1", freqLast: "Text5", toneStart: "Text3", toneLast: "Text4", toneCode: "Text2",
};

export class GroupWindow {
  readonly element: HTMLElement;
  private readonly texts = {} as Record<TextField, HTMLInputElement>;
  private readonly options = {} as Record<OptionField, HTMLInputElement[]>;
  private readonly scan: HTMLInputElement;
  private readonly groups: HTMLInputElement[] = [];
  private readonly groupFrame: HTMLFieldSetElement;
  private readonly tableCommands: HTMLButtonElement[];
  private readonly movable: Movable;

  constructor(layout: GroupLayout, actions: GroupActions) {
    const text = (field: TextField, name: string, maxLength?: number, list?: string) => {
      const box = el("input", {
        type: "text", "data-name": name, id: `frmGroup-${name}`, maxlength: maxLength ? String(maxLength) : undefined,
        list, autocomplete: "off", size: "8",
      });
      this.texts[field] = box;
      const action = TYPING_CHECKED[field];
      if (action) box.addEventListener("input", () => actions.run(action, this.values()));
      return box;
    };
    const options = (field: OptionField, firstNumber: number, captions: string[]) => {
      this.options[field] = captions.map((_, i) =>
        el("input", { type: "radio", name: `frmGroup-${field}`, "data-name": `Option${firstNumber + i}`, id: `frmGroup-Option${firstNumber + i}` }));
      return el("div", { class: "option-row", role: "radiogroup" },
        ...captions.map((caption, i) => el("label", { class: "option" }, this.options[field][i], caption)));
    };
    const row = (label: string, control: HTMLElement) =>
      el("div", { class: "form-row" }, el("label", { for: control.id }, label), control);
    const datalist = (id: string, items: string[]) => el("datalist", { id }, ...items.map((item) => el("option", { value: item })));
    const button = (name: string, caption: string, action: () => void) => {
      const b = el("button", { type: "button", "data-name": name }, caption);
      b.addEventListener("click", action);
      return b;
    };

    const frequency = text("frequency", "Text6");
    frequency.addEventListener("keydown", (event) => {
      if (event.key === "Enter") {
        event.preventDefault();
        actions.run("Text6", this.values());
      } else if (event.key === "Tab") {
        actions.run("Text6", this.values()); // the focus moves on as usual
      }
    });
    const band = el("fieldset", { "data-name": "Frame2" }, el("legend", {}, "Band"),
      options("band", 8, [layout.narrowCaption, "Wide"]));
    this.scan = el("input", { type: "checkbox", "data-name": "Check1", id: "frmGroup-Check1" });
    const freqFrame = el("fieldset", { "data-name": "Frame1" }, el("legend", {}, "Frequency Set"),
      row("Start Channel", text("freqStart", "Text1", layout.channelBoxLength)),
      row("Last Channel", text("freqLast", "Text5", layout.channelBoxLength)),
      row("Frequency [MHz]", frequency),
      options("target", 3, layout.targetCaptions),
      options("freqDirection", 6, ["Increment", "Decrement"]),
      band,
      el("label", { class: "option" }, this.scan, "Scan"),
      row("Step", text("step", "Combo1", undefined, "frmGroup-steps")),
      datalist("frmGroup-steps", layout.frequencySteps));

    const kind = options("toneKind", 1, ["CTCSS", "DCS"]);
    this.options.toneKind[0].addEventListener("change", () => {
      if (this.options.toneKind[0].checked) actions.run("Option1", this.values());
    });
    const autoButton = button("Command2", "Auto", () => actions.run("Command2", this.values()));
    const resetButton = button("Command5", "Reset", () => actions.run("Command5", this.values()));
    this.tableCommands = [autoButton, resetButton];
    const toneFrame = el("fieldset", { "data-name": "Frame3" }, el("legend", {}, "Tone Set"),
      el("fieldset", { "data-name": "Frame4" }, el("legend", {}, "Tone"), kind),
      row("Start Channel ", text("toneStart", "Text3", layout.channelBoxLength)),
      row("Last Channel ", text("toneLast", "Text4", layout.channelBoxLength)),
      row("Start Tone Code", text("toneCode", "Text2", layout.toneCodeBoxLength)),
      row("Tone Setp", text("toneStep", "Combo2", undefined, "frmGroup-toneSteps")),
      datalist("frmGroup-toneSteps", layout.toneSteps),
      options("toneDirection", 10, ["Increment", "Decrement"]),
      el("div", { class: "buttons" },
        autoButton,
        resetButton,
        button("Command1", "Exit", () => actions.exit())));

    this.groupFrame = el("fieldset", { "data-name": "Frame5" }, el("legend", {}, "Group Set"));
    layout.groupLetters.forEach((letter, i) => {
      const box = el("input", {
        type: "text", "data-name": `Text${7 + i}`, id: `frmGroup-Text${7 + i}`, maxlength: String(layout.groupBoxLength), size: "3",
      });
      this.groups.push(box);
      this.groupFrame.append(row(`Group '${letter}'`, box));
    });

    const title = el("h2", { class: "titlebar", id: "frmGroup-title" }, layout.caption);
    this.element = el("section", {
      id: "frmGroup", class: "window form-window floating", role: "dialog", "aria-labelledby": "frmGroup-title", hidden: true,
    }, title, el("div", { class: "form-body group-columns" }, freqFrame, toneFrame, this.groupFrame));
    this.movable = new Movable(this.element, title);
  }

  get open(): boolean {
    return !this.element.hidden;
  }

  // Opens at the page's right edge below `top` (the frame's toolbar), away
  // from the channel columns it fills, which sit at the grid's left.
  show(values: GroupValues, top: number): void {
    this.showValues(values);
    this.element.hidden = false;
    this.movable.placeAtRight(top, EDGE_MARGIN);
    this.texts.freqStart.focus();
  }

  hide(): void {
    this.element.hidden = true;
  }

  // "Auto" and "Reset" rewrite the channel table: they wait for the port.
  setTableCommandsEnabled(enabled: boolean): void {
    for (const command of this.tableCommands) command.disabled = !enabled;
  }

  focusToneCode(): void {
    this.texts.toneCode.focus();
  }

  showValues(values: GroupValues): void {
    for (const field of Object.keys(this.texts) as TextField[]) {
      // Only a changed text is set, so the cursor of the box being typed in stays.
      if (this.texts[field].value !== values[field]) this.texts[field].value = values[field];
    }
    for (const field of Object.keys(this.options) as OptionField[]) {
      const selected = values[field];
      if (selected >= 0) this.options[field][selected].checked = true;
    }
    this.scan.checked = values.scan;
    values.groups.forEach((size, i) => {
      if (this.groups[i].value !== size) this.groups[i].value = size;
    });
    for (const option of this.options.target) option.disabled = !values.targetsEnabled;
    this.groupFrame.disabled = !values.groupSetEnabled;
  }

  values(): GroupValues {
    const selected = (field: OptionField) => this.options[field].findIndex((option) => option.checked);
    return {
      freqStart: this.texts.freqStart.value,
      freqLast: this.texts.freqLast.value,
      frequency: this.texts.frequency.value,
      target: selected("target"),
      freqDirection: selected("freqDirection"),
      band: selected("band"),
      scan: this.scan.checked,
      step: this.texts.step.value,
      toneKind: selected("toneKind"),
      toneStart: this.texts.toneStart.value,
      toneLast: this.texts.toneLast.value,
      toneCode: this.texts.toneCode.value,
      toneStep: this.texts.toneStep.value,
      toneDirection: selected("toneDirection"),
      groups: this.groups.map((box) => box.value),
      targetsEnabled: !this.options.target[0].disabled,
      groupSetEnabled: !this.groupFrame.disabled,
    };
  }
}

// Toolbar1: the desktop toolbar's positions and icons, from the command table.
import { type Command, type CommandTable, SEPARATOR } from "../commands.js";
import { el } from "./dom.js";

export class Toolbar {
  readonly element: HTMLElement;
  private readonly buttons = new Map<Command, HTMLButtonElement>();

  constructor(iconBase: string, table: CommandTable, onClick: (command: Command) => void) {
    this.element = el("div", { "data-name": "Toolbar1", class: "toolbar", role: "toolbar" });
    for (const entry of table.toolbar) {
      if (entry === SEPARATOR) {
        this.element.append(el("span", { class: "separator", role: "separator" }));
        continue;
      }
      const spec = table.commands[entry];
      const button = el("button", {
        type: "button",
        "data-key": spec.toolbarKey,
        title: spec.toolTip || undefined,
      }, el("img", { src: `${iconBase}/${spec.icon}`, alt: "" }), el("span", {}, spec.toolbarCaption));
      button.addEventListener("click", () => onClick(spec.id));
      this.buttons.set(spec.id, button);
      // As on the desktop, a click on the toolbar leaves the focus where it was (the grid).
      button.addEventListener("mousedown", (event) => event.preventDefault());
      this.element.append(button);
    }
  }

  setEnabled(command: Command, enabled: boolean): void {
    const button = this.buttons.get(command);
    if (button) button.disabled = !enabled;
  }
}

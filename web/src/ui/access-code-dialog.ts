// frmPassword: the access-code window. The code's meaning comes from the core.
import { el } from "./dom.js";

export class AccessCodeDialog {
  readonly element: HTMLElement;
  private readonly text1: HTMLInputElement;

  constructor(iconBase: string, onEnter: (code: string) => void) {
    this.text1 = el("input", { type: "password", "data-name": "Text1", "aria-label": "Access code", autocomplete: "off" });
    this.element = el(
      "section",
      { id: "frmPassword", class: "window", hidden: true, "aria-labelledby": "frmPassword-title" },
      el("div", { class: "titlebar", id: "frmPassword-title" }, "Corvane Password"),
      el("div", { class: "password-body" },
        el("img", { "data-name": "Image1", src: `${iconBase}/key.svg`, alt: "", width: "64", height: "64" }),
        el("fieldset", { "data-name": "Frame1" }, this.text1)),
    );
    this.text1.addEventListener("keydown", (event) => {
      if (event.key !== "Enter") return;
      event.preventDefault();
      onEnter(this.text1.value);
    });
  }

  show(): void {
    this.text1.value = "";
    this.element.hidden = false;
    this.text1.focus();
  }

  focus(): void {
    this.text1.focus();
  }

  hide(): void {
    this.element.hidden = true;
  }
}

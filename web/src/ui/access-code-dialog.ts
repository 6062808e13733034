// frmPassword: the access-code window, the page's first. The code's meaning comes from the core.
import { el } from "./dom.js";

export class AccessCodeDialog {
  readonly element: HTMLElement;
  private readonly text1: HTMLInputElement;
  private onEnter: ((code: string) => void) | null = null;
  private entered: string | null = null;

  // The window shows before the program behind it is ready: a code entered
  // meanwhile waits for it (see answerWith).
  constructor(iconBase: string) {
    this.text1 = el("input", { type: "password", "data-name": "Text1", "aria-label": "Access code", autocomplete: "off" });
    this.element = el(
      "section",
      { id: "frmPassword", class: "window", hidden: true, "aria-labelledby": "frmPassword-title" },
      el("h1", { class: "titlebar", id: "frmPassword-title" }, "Corvane Password"),
      el("div", { class: "password-body" },
        el("img", { "data-name": "Image1", src: `${iconBase}/key.svg`, alt: "", width: "64", height: "64" }),
        el("fieldset", { "data-name": "Frame1" }, this.text1)),
    );
    this.text1.addEventListener("keydown", (event) => {
      if (event.key !== "Enter") return;
      event.preventDefault();
      if (this.onEnter) this.onEnter(this.text1.value);
      else this.entered = this.text1.value;
    });
  }

  // From now on Enter goes to onEnter; a code entered before goes there now.
  answerWith(onEnter: (code: string) => void): void {
    this.onEnter = onEnter;
    this.element.dataset.answering = "";
    const entered = this.entered;
    this.entered = null;
    if (entered !== null) onEnter(entered);
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

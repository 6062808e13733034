// frmHelp, "About Corvane": a fixed information window above the frame,
// closed by its OK button (Command1) or Escape. It does not block the frame.
import { BUILD_ID } from "../site.js";
import { el } from "./dom.js";

const LINES = ["Velta Series PC Programmer", "Version: 1.00.15", "Date: May 12, 2012", "Frequency Range: 420 ~ 450 [MHz]"];

export class AboutWindow {
  readonly element: HTMLDialogElement;
  private readonly ok: HTMLButtonElement;
  private returnFocus: HTMLElement | null = null;

  constructor(iconBase: string) {
    this.ok = el("button", { type: "button", "data-name": "Command1" }, "OK");
    this.ok.addEventListener("click", () => this.close());
    this.element = el(
      "dialog",
      { id: "frmHelp", class: "window about", "aria-labelledby": "frmHelp-title" },
      el("h2", { class: "titlebar", id: "frmHelp-title" }, "About Corvane"),
      el("div", { class: "about-body" },
        el("img", { "data-name": "Image1", src: `${iconBase}/logo.svg`, alt: "Corvane logo", width: "64", height: "64" }),
        el("div", {}, ...LINES.map((line, i) => el("p", { "data-name": `Label${i + 1}` }, line)),
          // Which build of the page this is, to compare with the published one.
          el("p", { "data-name": "BuildId", class: "build-id" }, `Build: ${BUILD_ID}`))),
      el("div", { class: "message-buttons" }, this.ok),
    );
    this.element.addEventListener("keydown", (event) => {
      if (event.key === "Escape") {
        event.preventDefault();
        this.close();
      }
    });
  }

  show(): void {
    if (!this.element.isConnected) document.body.append(this.element);
    if (!this.element.open) {
      this.returnFocus = document.activeElement as HTMLElement | null;
      this.element.show();
    }
    this.ok.focus();
  }

  close(): void {
    if (!this.element.open) return;
    this.element.close();
    this.returnFocus?.focus({ preventScroll: true });
  }
}

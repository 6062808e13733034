// frmPrint, "Print Channel List": the core's sheet (the same HTML as
// corvane-cli print --html) in a frame of its own, laid out as on paper,
// then the browser's print of that frame.
import { el } from "./dom.js";

export type PaperName = "a4" | "letter";

// Where Letter is the paper on the shelf.
const LETTER_LOCALES = /^(en-US|en-CA|fr-CA|es-MX|es-US)\b/i;

export class PrintView {
  readonly element: HTMLDialogElement;
  private readonly frame: HTMLIFrameElement;
  private readonly paper: HTMLSelectElement;
  private readonly pocket: HTMLInputElement;

  constructor(private readonly sheetHtml: (paper: PaperName, pocket: boolean) => string) {
    this.paper = el("select", { "data-name": "cboPaper", id: "frmPrint-paper" },
      el("option", { value: "a4" }, "A4"), el("option", { value: "letter" }, "Letter"));
    this.paper.value = LETTER_LOCALES.test(navigator.language) ? "letter" : "a4";
    this.pocket = el("input", { type: "checkbox", "data-name": "chkPocket", id: "frmPrint-pocket" });
    this.frame = el("iframe", { "data-name": "Sheet", title: "Channel list as printed" });
    const print = el("button", { type: "button", "data-name": "cmdPrint" }, "Print...");
    const close = el("button", { type: "button", "data-name": "cmdClose" }, "Close");
    this.paper.addEventListener("change", () => this.render());
    this.pocket.addEventListener("change", () => this.render());
    print.addEventListener("click", () => this.frame.contentWindow?.print());
    close.addEventListener("click", () => this.element.close());
    this.element = el(
      "dialog",
      { id: "frmPrint", class: "window print-view", "aria-labelledby": "frmPrint-title" },
      el("div", { class: "titlebar", id: "frmPrint-title" }, "Print Channel List"),
      el("div", { class: "print-options" },
        el("label", { for: "frmPrint-paper" }, "Paper: "), this.paper,
        this.pocket, el("label", { for: "frmPrint-pocket" }, "Pocket layout (two columns per page, small type)"),
        print, close),
      this.frame,
    );
  }

  // The sheet of the working set as it stands now.
  open(): void {
    if (!this.element.isConnected) document.body.append(this.element);
    if (!this.element.open) this.element.showModal();
    this.render();
  }

  private render(): void {
    const doc = this.frame.contentDocument;
    const view = this.frame.contentWindow as (Window & typeof globalThis) | null;
    if (!doc || !view) return;
    // The page's content-security-policy refuses style elements and
    // attributes as markup, even to the parser: they are taken out of the
    // core's HTML first (its texts are escaped, so only its own markup
    // matches) and go in through the CSSOM.
    let css = "";
    const html = this.sheetHtml(this.paper.value as PaperName, this.pocket.checked)
      .replace(/<style>([\s\S]*?)<\/style>/g, (_, rules: string) => {
        css += rules;
        return "";
      })
      .replace(/(<[a-z]+[^<>]*?) style="/g, '$1 data-sheet-style="');
    const parsed = new DOMParser().parseFromString(html, "text/html");
    const sheet = new view.CSSStyleSheet();
    sheet.replaceSync(css);
    doc.adoptedStyleSheets = [sheet];
    doc.title = parsed.title;
    doc.body.replaceChildren(...Array.from(parsed.body.childNodes, (node) => doc.importNode(node, true)));
    for (const styled of doc.querySelectorAll<HTMLElement>("[data-sheet-style]")) {
      styled.style.cssText = styled.dataset.sheetStyle ?? "";
      delete styled.dataset.sheetStyle;
    }
  }
}

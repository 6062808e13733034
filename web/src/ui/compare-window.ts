// frmCompare: what the working set and a radio or an image file hold
// differently, with their count; Save as CSV... downloads the table. Before
// a write it also offers Write (Show Changes before Write). Modal; resolves
// true when Write was chosen.
import type { Comparison, CompareTexts } from "../core.js";
import { download } from "../files/transfer.js";
import { el } from "./dom.js";

export function showCompareWindow(caption: string, comparison: Comparison, otherTitle: string, texts: CompareTexts, offerWrite: boolean): Promise<boolean> {
  return new Promise((resolve) => {
    let confirmed = false;
    const head = el("tr", {}, ...[texts.channel, texts.field, texts.program, otherTitle].map((title) => el("th", { scope: "col" }, title)));
    const body = el("tbody", {}, ...comparison.rows.map((row) => el("tr", {}, ...row.map((cell) => el("td", {}, cell)))));
    const save = el("button", { type: "button", "data-name": "Command1", disabled: comparison.rows.length === 0 }, "Save as CSV...");
    const write = el("button", { type: "button", "data-name": "Command2", hidden: !offerWrite }, "Write");
    const close = el("button", { type: "button", "data-name": "Command3" }, offerWrite ? "Cancel" : "Close");
    const dialog = el(
      "dialog",
      { id: "frmCompare", class: "window compare", "aria-labelledby": "frmCompare-title" },
      el("div", { class: "titlebar", id: "frmCompare-title" }, caption),
      el("p", { "data-name": "Label1", role: "status" }, comparison.count),
      el("div", { class: "compare-table" }, el("table", { "data-name": "MSHFlexGrid1" }, el("thead", {}, head), body)),
      el("div", { class: "message-buttons" }, save, write, close),
    );
    save.addEventListener("click", () => download("differences.csv", new TextEncoder().encode(comparison.csv), "text/csv"));
    write.addEventListener("click", () => {
      confirmed = true;
      dialog.close();
    });
    close.addEventListener("click", () => dialog.close());
    dialog.addEventListener("close", () => {
      dialog.remove();
      resolve(confirmed);
    });
    document.body.append(dialog);
    dialog.showModal();
    (offerWrite ? write : close).focus();
  });
}

// The images kept of every write and read (Data/backups), each downloadable.
import { el } from "./dom.js";
import { MESSAGE_TITLE } from "./message-box.js";

export function showBackups(files: readonly { name: string; bytes: () => Uint8Array<ArrayBuffer> }[]): void {
  const list = el("ul", { "data-name": "BackupList" });
  for (const file of files) {
    const link = el("a", { href: "#", "data-name": "Backup", download: file.name }, file.name);
    link.addEventListener("click", (event) => {
      event.preventDefault();
      const url = URL.createObjectURL(new Blob([file.bytes()], { type: "application/octet-stream" }));
      const download = el("a", { href: url, download: file.name });
      download.click();
      setTimeout(() => URL.revokeObjectURL(url), 0);
    });
    list.append(el("li", {}, link));
  }
  const dialog = el(
    "dialog",
    { "data-name": "Backups", "aria-labelledby": "backups-title" },
    el("form", { method: "dialog" },
      el("h2", { class: "titlebar", id: "backups-title" }, `${MESSAGE_TITLE} - Backups`),
      files.length > 0 ? list : el("p", {}, "No image has been written or read yet."),
      el("div", { class: "message-buttons" }, el("button", { type: "submit", "data-name": "OK" }, "OK"))),
  );
  dialog.addEventListener("close", () => dialog.remove());
  document.body.append(dialog);
  dialog.showModal();
}
